#include "scpi_commands.h"
#include "scpi_identify.h"
#include "scpi_arbfiles.h"

const scpi_command_t scpi_commands[] = {
    {"*IDN?", SCPI_IdnQ, 0},
    {"IDN?", SCPI_ModelIdnQ, 0},
    {"SYSTem:INFO?", SCPI_SystemInfoQ, 0},
    {"SYSTem:ERRor?", SCPI_SystemErrorQ, 0},
    {"SYSTem:ERRor", SCPI_SystemError, 0},
    // Wave and list uploads: arm the file receivers for the next message.
    {"WARB#:CARRier", SCPI_WarbCarrier, 0},
    {"WARB#:MODulate", SCPI_WarbModulate, 0},
    {"WFREQLIST#", SCPI_WFreqList, 0},
    {nullptr, nullptr, 0},
};
