#pragma once
// The command reference (docs/scpi-commands.md), generated from the command
// table itself: every record of the table in table order, with what the
// row descriptors say about its parameter, reply, errors and effect.
#include <string>

std::string scpi_command_reference();

// Every record of the table as a JSON list, one object per record: pattern,
// kind of its parameter (none, bool, choice, special, number, real, int,
// text, block; "other" for a record without a descriptor), target, choice
// words, suffix kind, the code of a suffix of another kind, and whether the
// controller checks the value (-801). For programs that walk the table.
std::string scpi_command_rows_json();
