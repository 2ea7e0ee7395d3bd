#pragma once
// The interpreter: splits input into program message units, makes each
// header absolute (compound rule), finds its command, runs the handler and
// terminates the response.
#include "communication/SCPI/scpi_types.h"

// Prepares the context: fills null identification entries with defaults,
// empties the input buffer and the error queue.
void SCPI_Init(scpi_t* context);

// Entry for the transports. Each call starts with an empty buffer; a message
// of more than SCPI_INPUT_MAX_MESSAGE bytes is refused with -1 and nothing
// runs. Every part that ends with a newline is executed; text after the last
// newline is not. Returns the result of the last SCPI_Parse (0 when none ran).
int SCPI_Input(scpi_t* context, const char* data, int len);

// Executes every message unit of the text and terminates the response.
// Returns 1 when the last unit ran a command, otherwise 0; -1 without a
// context.
int SCPI_Parse(scpi_t* context, const char* data, int len);

// Finds the extent of the next message unit; fills the parser state and
// returns the number of bytes the unit takes, terminator included.
int SCPI_DetectProgramMessageUnit(scpi_parser_state_t* state, const char* buffer, int len);

// Called after each command's handler has run, before the next command of
// the message starts (null: none). The remote worker installs the wait for
// the requests that command handed to the controller.
typedef void (*scpi_command_end_t)(scpi_t* context);
void SCPI_SetCommandEndHook(scpi_command_end_t hook);

// Hands bytes to the interface's write callback.
size_t SCPI_WriteData(scpi_t* context, const char* data, size_t len);
