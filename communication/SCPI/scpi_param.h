#pragma once
// Parameter readers for command handlers. Each reads the next parameter of
// the running command and returns true on success. With mandatory set, a
// missing parameter pushes -109 "Missing parameter"; without it, a missing
// parameter just returns false and leaves the destination unchanged.
// A parameter of the wrong kind pushes -104 "Data type error".
#include "communication/SCPI/scpi_types.h"

// The next parameter as its raw program data token.
bool SCPI_Parameter(scpi_t* context, scpi_parameter_t* parameter, bool mandatory);

// Integers: decimal (rounded to the nearest integer), #H, #Q and #B numbers.
// A value outside the type pushes -224; a unit suffix pushes -138.
bool SCPI_ParamInt(scpi_t* context, int32_t* value, bool mandatory);
bool SCPI_ParamUnsignedInt(scpi_t* context, uint32_t* value, bool mandatory);

// Decimal and non-decimal numbers; a unit suffix pushes -138.
bool SCPI_ParamDouble(scpi_t* context, double* value, bool mandatory);

// Number with an optional unit suffix from the context's unit table (an
// unknown suffix pushes -131), or, when special is given, a mnemonic of that
// choice list (special set, tag filled; another mnemonic pushes -224).
bool SCPI_ParamNumber(scpi_t* context, const scpi_choice_def_t* special, scpi_number_t* value, bool mandatory);

// "OFF"/"ON" or a decimal number (non-zero is true).
bool SCPI_ParamBool(scpi_t* context, bool* value, bool mandatory);

// A mnemonic matched against the list (long or short form); its tag. A
// mnemonic not in the list pushes -224. Choice names that begin with a digit
// ("5MIN") are also recognised when sent as written.
bool SCPI_ParamChoice(scpi_t* context, const scpi_choice_def_t* options, int32_t* value, bool mandatory);

// Any parameter as received (string data keeps its quotes).
bool SCPI_ParamCharacters(scpi_t* context, const char** value, size_t* len, bool mandatory);

// Quoted string data only: the text inside the quotes with doubled quotes
// reduced to one, NUL-terminated, cut to buffer_len - 1 bytes.
bool SCPI_ParamCopyText(scpi_t* context, char* buffer, size_t buffer_len, size_t* copy_len, bool mandatory);

// Definite-length block data: pointer to the data and its length.
bool SCPI_ParamArbitraryBlock(scpi_t* context, const char** value, size_t* len, bool mandatory);

// Value of a number token (decimal, #H, #Q, #B) without its suffix.
bool SCPI_ParamToDouble(const scpi_parameter_t* parameter, double* value);
