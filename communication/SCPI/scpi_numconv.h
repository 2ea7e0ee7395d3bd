#pragma once
// Number text conversions that ignore the process locale. The application
// sets the user's locale at start-up; a decimal comma there must neither
// change how "1.5" is read nor how results are written.
#include <cstddef>

// Reads a decimal number from exactly len bytes (no NUL needed). False when
// the bytes are not one complete number or the value is not finite.
bool scpi_parse_double(const char* text, int len, double* value);

// snprintf with one double argument in the "C" locale. Returns the length of
// the text placed in buf (cut to len - 1), always NUL-terminated.
size_t scpi_format_double(char* buf, size_t len, const char* format, double value);

// Prepares the "C" locale object; called once by SCPI_Init so that parsing
// itself never allocates.
void scpi_numconv_init();
