#pragma once
// Unit suffixes of numeric parameters ("kHZ", "mVpp", "uS" ...), looked up
// case-insensitively as a whole, so "MS" is milliseconds and "MHZ" megahertz.
#include "communication/SCPI/scpi_types.h"

// The instrument's unit table, ended by a record with a null name.
extern const scpi_unit_def_t scpi_units_def[];

// Looks the suffix up in units (a table ended by a null name); null if absent.
const scpi_unit_def_t* SCPI_FindUnit(const scpi_unit_def_t* units, const char* suffix, int len);

// Name of the unit of that kind whose multiplier is 1 ("HZ" for HERTZ), or
// null when the table has none.
const char* SCPI_UnitBaseName(const scpi_unit_def_t* units, scpi_unit_t unit);

// Writes a number parameter as text: a special value as the name of its
// choice, otherwise "%.16lg" followed by a blank and the base unit name.
// The text is NUL-terminated and cut to len - 1 bytes; returns its length.
size_t SCPI_NumberToStr(scpi_t* context, const scpi_choice_def_t* special, const scpi_number_t* value, char* str,
                        size_t len);
