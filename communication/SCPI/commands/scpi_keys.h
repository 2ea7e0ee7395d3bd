#pragma once
// Remote rows of the front panel: key presses, key locks and key LEDs, the
// remote lock, remote touch and the current channel.
#include "communication/SCPI/scpi_types.h"

scpi_result_t SCPI_KeyPress(scpi_t* context);
scpi_result_t SCPI_KeyLock(scpi_t* context);
scpi_result_t SCPI_KeyLockQ(scpi_t* context);
scpi_result_t SCPI_KeyAllLockQ(scpi_t* context);
scpi_result_t SCPI_KeyLedQ(scpi_t* context);
scpi_result_t SCPI_KeyAllLedQ(scpi_t* context);
scpi_result_t SCPI_SystemLock(scpi_t* context);
scpi_result_t SCPI_SystemLockQ(scpi_t* context);
scpi_result_t SCPI_Mouse(scpi_t* context);
scpi_result_t SCPI_ChannelSelect(scpi_t* context);
scpi_result_t SCPI_ChannelSelectQ(scpi_t* context);
scpi_result_t SCPI_CurrentChannelQ(scpi_t* context);

// The KEY rows of the command table, in table order, as one block.
#define SCPI_KEY_PRESS_ROW(word, code) {"KEY:" word, SCPI_KeyPress, code},
#define SCPI_KEY_LOCK_ROW(word, code) {"KEY:" word ":LOCK", SCPI_KeyLock, code},
#define SCPI_KEY_LOCKQ_ROW(word, code) {"KEY:" word ":LOCK?", SCPI_KeyLockQ, code},
#define SCPI_KEY_LEDQ_ROW(word, code) {"KEY:" word ":LED?", SCPI_KeyLedQ, code},

// The 37 keys in table order.
#define SCPI_KEYS_ALL(X)                                                                                               \
    X("NUM0", 56)                                                                                                      \
    X("NUM1", 57) X("NUM2", 58) X("NUM3", 59) X("NUM4", 60) X("NUM5", 61) X("NUM6", 62) X("NUM7", 63) X("NUM8", 64)    \
        X("NUM9", 65) X("DOT", 66) X("SYMBOL", 67) X("BACKspace", 68) X("COUNtinue", 32) X("MOD", 33) X("SWEep", 34)   \
            X("BURSt", 35) X("SINe", 36) X("SQUare", 37) X("RAMP", 38) X("PULSe", 39) X("ARB", 40) X("HARMonic", 41)   \
                X("NOISe", 42) X("DC", 43) X("PRBS", 44) X("WARB", 45) X("CH1", 46) X("CH2", 47) X("CH3", 48)          \
                    X("CH4", 49) X("UTILity", 50) X("RIGHt", 51) X("LEFT", 52) X("OK", 53) X("UP", 54) X("DOWN", 55)

// The 18 keys with an LED.
#define SCPI_KEYS_LED(X)                                                                                               \
    X("CH1", 46)                                                                                                       \
    X("CH2", 47) X("CH3", 48) X("CH4", 49) X("COUNtinue", 32) X("MOD", 33) X("SWEep", 34) X("BURSt", 35) X("SINe", 36) \
        X("SQUare", 37) X("RAMP", 38) X("PULSe", 39) X("ARB", 40) X("HARMonic", 41) X("NOISe", 42) X("DC", 43)         \
            X("PRBS", 44) X("WARB", 45)

#define SCPI_KEY_COMMANDS                                                                                              \
    {"KEY:LED?", SCPI_KeyAllLedQ, 0},                                                                                  \
        SCPI_KEYS_ALL(SCPI_KEY_PRESS_ROW) SCPI_KEYS_ALL(SCPI_KEY_LOCK_ROW) {"KEY:LOCK?", SCPI_KeyAllLockQ, 0},         \
        SCPI_KEYS_ALL(SCPI_KEY_LOCKQ_ROW) SCPI_KEYS_LED(SCPI_KEY_LEDQ_ROW)
