#pragma once
// The command reference (docs/scpi-commands.md), generated from the command
// table itself: every record of the table in table order, with what the
// row descriptors say about its parameter, reply, errors and effect.
#include <string>

std::string scpi_command_reference();
