#pragma once
// The instrument's command table handed to the interpreter.
#include "communication/SCPI/scpi_types.h"

// Firmware version reported by the identification queries.
#define SCPI_FIRMWARE_VERSION "1.09.0018"
#define SCPI_MANUFACTURER "VELTRIX Technologies"
#define SCPI_MODEL "ORNAV96T"

// Terminated by a record with a null pattern.
extern const scpi_command_t scpi_commands[];

// Installs the receivers of the data that follows the arming commands of
// this table (calibration text, files, digital data). Before the worker runs.
void scpi_commands_install_receivers();
