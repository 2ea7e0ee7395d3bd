#pragma once
// The property table of the Python driver (python/ornav72/_commands.py),
// generated from the command table like the command reference, so that the
// driver and the instrument never disagree on names, units, ranges and
// choices. `tools/scpi-doc --python FILE` writes it.
#include <string>

// The Python module text: one dictionary per property or action.
std::string scpi_driver_table_python();

// Patterns of the driver table that the command table lacks (empty when
// every entry names a command that exists).
std::string scpi_driver_table_missing();
