#include "communication/SCPI/commands/scpi_commands.h"
#include "communication/SCPI/commands/scpi_identify.h"

const scpi_command_t scpi_commands[] = {
    {"*IDN?", SCPI_IdnQ, 0},
    {"IDN?", SCPI_ModelIdnQ, 0},
    {"SYSTem:INFO?", SCPI_SystemInfoQ, 0},
    {"SYSTem:ERRor?", SCPI_SystemErrorQ, 0},
    {"SYSTem:ERRor", SCPI_SystemError, 0},
    {nullptr, nullptr, 0},
};
