#pragma once
// Lexer for IEEE 488.2 program messages. Every function looks at the text
// between state->pos and the end given by state->buffer + state->len, never
// beyond it, and never relies on a terminating NUL. On success a function
// fills the token, advances the position past it and returns the number of
// bytes taken; otherwise it returns 0, leaves the position where it was and
// marks the token SCPI_TOKEN_UNKNOWN.
#include "communication/SCPI/scpi_types.h"

void scpiLex_Init(lex_state_t* state, const char* text, int len);
bool scpiLex_IsEos(const lex_state_t* state);
int scpiLex_Remaining(const lex_state_t* state);

// Character classes.
bool scpiLex_IsWs(unsigned char c);
bool scpiLex_IsAlpha(unsigned char c);
bool scpiLex_IsDigit(unsigned char c);

int scpiLex_WhiteSpace(lex_state_t* state, scpi_token_t* token);
int scpiLex_Comma(lex_state_t* state, scpi_token_t* token);
int scpiLex_SemiColon(lex_state_t* state, scpi_token_t* token);
// LF, CR or CR LF.
int scpiLex_NewLine(lex_state_t* state, scpi_token_t* token);

// Common ("*IDN?") or compound (":CHAN1:BAS:FREQ") program header, with the
// trailing "?" of a query. A header that stops after "*" or ":" is returned
// as one of the INCOMPLETE types.
int scpiLex_ProgramHeader(lex_state_t* state, scpi_token_t* token);

// One program data element: decimal number (with an optional suffix),
// #H/#Q/#B number, character data, single- or double-quoted string,
// definite-length block or expression in parentheses.
int scpiLex_ProgramData(lex_state_t* state, scpi_token_t* token);

int scpiLex_DecimalNumericProgramData(lex_state_t* state, scpi_token_t* token);
int scpiLex_NondecimalNumericData(lex_state_t* state, scpi_token_t* token);
int scpiLex_CharacterProgramData(lex_state_t* state, scpi_token_t* token);
int scpiLex_StringProgramData(lex_state_t* state, scpi_token_t* token);
int scpiLex_ArbitraryBlockProgramData(lex_state_t* state, scpi_token_t* token);
int scpiLex_ProgramExpression(lex_state_t* state, scpi_token_t* token);

// Length of the decimal number (sign, mantissa, complete exponent) at the
// start of the text; 0 when the text does not start with one.
int scpiLex_NumberLength(const char* text, int len);

// Offset of the data inside a definite-length block token ("#3123" + data),
// and the data length; false if the token is no well-formed block.
bool scpiLex_BlockData(const scpi_token_t* token, int* offset, int* length);
