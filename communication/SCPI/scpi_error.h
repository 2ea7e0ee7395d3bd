#pragma once
// Error vocabulary of the remote interface and the context's error queue.
// Pushing a code also sets the event status bit of its class, marks the
// error queue in the status byte and hands the code to the interface's error
// callback (the instrument records it on its error list and shows a tip).
#include "communication/SCPI/scpi_types.h"

// Every code with its text, once: the enum and the lookup are made from it.
// The texts are what "SYSTem:ERRor?" answers and the tips show, byte for
// byte, the instrument errors' odd spellings included.
#define SCPI_ERROR_LIST(X)                                                                                             \
    X(SCPI_ERROR_NO_ERROR, 0, "No error")                                                                              \
    X(SCPI_ERROR_INVALID_CHARACTER, -101, "Invalid character")                                                         \
    X(SCPI_ERROR_INVALID_SEPARATOR, -103, "Invalid separator")                                                         \
    X(SCPI_ERROR_DATA_TYPE_ERROR, -104, "Data type error")                                                             \
    X(SCPI_ERROR_PARAMETER_NOT_ALLOWED, -108, "Parameter not allowed")                                                 \
    X(SCPI_ERROR_MISSING_PARAMETER, -109, "Missing parameter")                                                         \
    X(SCPI_ERROR_UNDEFINED_HEADER, -113, "Undefined header")                                                           \
    X(SCPI_ERROR_INVALID_SUFFIX, -131, "Invalid suffix")                                                               \
    X(SCPI_ERROR_SUFFIX_NOT_ALLOWED, -138, "Suffix not allowed")                                                       \
    X(SCPI_ERROR_INVALID_STRING_DATA, -151, "Invalid string data")                                                     \
    X(SCPI_ERROR_EXECUTION_ERROR, -200, "Execution error")                                                             \
    X(SCPI_ERROR_TRIGGER_IGNORED, -211, "Trigger ignored")                                                             \
    X(SCPI_ERROR_DATA_OUT_OF_RANGE, -222, "Data out of range")                                                         \
    X(SCPI_ERROR_ILLEGAL_PARAMETER_VALUE, -224, "Illegal parameter value")                                             \
    X(SCPI_ERROR_FILE_NAME_NOT_FOUND, -256, "File name not found")                                                     \
    X(SCPI_ERROR_SYSTEM_ERROR, -310, "System error")                                                                   \
    X(SCPI_ERROR_INPUT_BUFFER_OVERRUN, -363, "Input buffer overrun")                                                   \
    /* Instrument errors, also raised outside remote control. */                                                       \
    X(SCPI_ERROR_OUT_OF_RANGE, -801, "Out of range!")                                                                  \
    X(SCPI_ERROR_CHANNEL_OVERLOAD, -802, "Channel overload!")                                                          \
    X(SCPI_ERROR_IP_FORMAT, -803, "IP format error!")                                                                  \
    X(SCPI_ERROR_MASK_FORMAT, -804, "Mask format error!")                                                              \
    X(SCPI_ERROR_RENAME, -805, "Rename error!")                                                                        \
    X(SCPI_ERROR_DELETE, -806, "delete error!")                                                                        \
    X(SCPI_ERROR_FILE_SAVE, -807, "file save error!")                                                                  \
    X(SCPI_ERROR_NO_USB, -808, "NO USB disk!")                                                                         \
    X(SCPI_ERROR_NODB_AT_HIGHZ, -809, "No dBm at highZ!")                                                              \
    X(SCPI_ERROR_IO_CONFILICT, -810, "IO confilict!")

enum : int16_t {
#define SCPI_ERROR_ENUM(name, value, text) name = value,
    SCPI_ERROR_LIST(SCPI_ERROR_ENUM)
#undef SCPI_ERROR_ENUM
};

// Text of a code; "Unknown error" for a code without one.
const char* SCPI_ErrorTranslate(int16_t code);

void SCPI_ErrorInit(scpi_t* context);
void SCPI_ErrorPush(scpi_t* context, int16_t code);
// Takes the oldest code of the queue; 0 when it is empty.
int16_t SCPI_ErrorPop(scpi_t* context);
int32_t SCPI_ErrorCount(scpi_t* context);
void SCPI_ErrorClear(scpi_t* context);
