#include "scpi_commands.h"
#include "scpi_identify.h"
#include "scpi_keys.h"

const scpi_command_t scpi_commands[] = {
    {"*IDN?", SCPI_IdnQ, 0},
    {"IDN?", SCPI_ModelIdnQ, 0},
    {"SYSTem:INFO?", SCPI_SystemInfoQ, 0},
    {"SYSTem:ERRor?", SCPI_SystemErrorQ, 0},
    {"SYSTem:ERRor", SCPI_SystemError, 0},
    // Front panel: keys, key locks and LEDs, remote lock, touch, current channel.
    SCPI_KEY_COMMANDS
    {"SYSTem:LOCK?", SCPI_SystemLockQ, 0},
    {"SYSTem:LOCK", SCPI_SystemLock, 0},
    {"MOUSE", SCPI_Mouse, 0},
    {"CHANnel#:SELect?", SCPI_ChannelSelectQ, 0},
    {"CHANnel#:SELect", SCPI_ChannelSelect, 0},
    {"CHSEL?", SCPI_CurrentChannelQ, 0},
    {nullptr, nullptr, 0},
};
