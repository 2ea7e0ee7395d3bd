#include "scpi_commands.h"
#include "scpi_identify.h"
#include "scpi_service.h"

const scpi_command_t scpi_commands[] = {
    {"*IDN?", SCPI_IdnQ, 0},
    {"IDN?", SCPI_ModelIdnQ, 0},
    {"SYSTem:INFO?", SCPI_SystemInfoQ, 0},
    {"SYSTem:ERRor?", SCPI_SystemErrorQ, 0},
    {"SYSTem:ERRor", SCPI_SystemError, 0},
    // Factory and service access: calibration steps and data, direct output-path writes.
    {"SYNC#:CMD#", SCPI_ServiceSync, 0},
    {"WFILE", SCPI_ServiceWFile, 0},
    {"WP#:ADDR#", SCPI_ServiceWrite, 0},
    {"RP#:ADDR#?", SCPI_ServiceReadQ, 0},
    {nullptr, nullptr, 0},
};
