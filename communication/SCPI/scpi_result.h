#pragma once
// Result writers for query handlers. Each returns the number of bytes written
// and counts one result of the running command. Every writer except the
// block writer first writes "," when the command has already produced a
// result, so several results of one query form one comma-separated list.
#include "communication/SCPI/scpi_types.h"

size_t SCPI_ResultCharacters(scpi_t* context, const char* data, size_t len);
size_t SCPI_ResultInt(scpi_t* context, int32_t value);
// Base 16, 8 and 2 are written with the prefixes "#H", "#Q", "#B"; any other
// base is written in decimal.
size_t SCPI_ResultIntBase(scpi_t* context, int32_t value, int8_t base);
size_t SCPI_ResultBool(scpi_t* context, bool value);
// "%.16lg"
size_t SCPI_ResultDouble(scpi_t* context, double value);
// "%-13.6e": six fraction digits, left-aligned, blank-padded to 13 characters.
size_t SCPI_ResultScientific(scpi_t* context, double value);
// The text between double quotes, written as it is.
size_t SCPI_ResultText(scpi_t* context, const char* text);
// "#", the number of length digits, the length, then the data.
size_t SCPI_ResultArbitraryBlock(scpi_t* context, const void* data, size_t len);
