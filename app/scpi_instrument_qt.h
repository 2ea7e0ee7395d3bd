#pragma once
// The program's implementation of what the command handlers need, over the
// controller behind the SCPI context; installed at start-up with
// scpi_instrument_set_program.
#include "communication/SCPI/commands/scpi_instrument.h"

ScpiInstrument& scpi_instrument_program_qt(scpi_t* context);
