#pragma once
// The program's implementation of what the command handlers need, over the
// controller that is the SCPI context's parent; the controller puts it into
// the program's context at start-up.
#include "communication/SCPI/commands/scpi_instrument.h"

// Makes the context carry the program's implementation. The program has one
// interpreter context; the implementation lives as long as the process.
void scpi_instrument_qt_attach(scpi_t* context);

// On the controller's thread, once its event loop runs: the queries' copy of
// the record is brought up to date whenever that thread goes idle, so that a
// change made from the front panel reaches the next query.
void scpi_instrument_qt_publish_when_idle();
