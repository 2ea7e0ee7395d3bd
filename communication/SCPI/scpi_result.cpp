#include "communication/SCPI/scpi_result.h"
#include <cstdio>
#include <cstring>
#include "communication/SCPI/scpi_numconv.h"
#include "communication/SCPI/scpi_parser.h"

static size_t writeDelimiter(scpi_t* c) { return c->output_count > 0 ? SCPI_WriteData(c, ",", 1) : 0; }

size_t SCPI_ResultCharacters(scpi_t* c, const char* data, size_t len)
{
    if (!c)
        return 0;
    size_t n = writeDelimiter(c);
    if (data && len > 0)
        n += SCPI_WriteData(c, data, len);
    c->output_count++;
    return n;
}

size_t SCPI_ResultInt(scpi_t* c, int32_t value) { return SCPI_ResultIntBase(c, value, 10); }

size_t SCPI_ResultIntBase(scpi_t* c, int32_t value, int8_t base)
{
    char buf[40];
    const uint32_t u = uint32_t(value);
    int n;
    switch (base) {
    case 16: n = snprintf(buf, sizeof buf, "#H%X", unsigned(u)); break;
    case 8: n = snprintf(buf, sizeof buf, "#Q%o", unsigned(u)); break;
    case 2: {
        buf[0] = '#';
        buf[1] = 'B';
        int digits = 1;
        while (digits < 32 && (u >> digits) != 0)
            digits++;
        for (int i = 0; i < digits; i++)
            buf[2 + i] = ((u >> (digits - 1 - i)) & 1) ? '1' : '0';
        n = 2 + digits;
        buf[n] = '\0';
        break;
    }
    default: n = snprintf(buf, sizeof buf, "%ld", long(value)); break;
    }
    return SCPI_ResultCharacters(c, buf, n > 0 ? size_t(n) : 0);
}

size_t SCPI_ResultBool(scpi_t* c, bool value) { return SCPI_ResultCharacters(c, value ? "1" : "0", 1); }

size_t SCPI_ResultDouble(scpi_t* c, double value)
{
    char buf[64];
    const size_t n = scpi_format_double(buf, sizeof buf, "%.16lg", value);
    return SCPI_ResultCharacters(c, buf, n);
}

size_t SCPI_ResultScientific(scpi_t* c, double value)
{
    char buf[64];
    const size_t n = scpi_format_double(buf, sizeof buf, "%-13.6e", value);
    return SCPI_ResultCharacters(c, buf, n);
}

size_t SCPI_ResultText(scpi_t* c, const char* text)
{
    if (!c)
        return 0;
    size_t n = writeDelimiter(c);
    n += SCPI_WriteData(c, "\"", 1);
    if (text)
        n += SCPI_WriteData(c, text, strlen(text));
    n += SCPI_WriteData(c, "\"", 1);
    c->output_count++;
    return n;
}

size_t SCPI_ResultArbitraryBlock(scpi_t* c, const void* data, size_t len)
{
    // The length field holds at most nine digits.
    if (!c || len > 999999999u)
        return 0;
    char length[24];
    const int digits = snprintf(length, sizeof length, "%zu", len);
    char head[32];
    const int h = snprintf(head, sizeof head, "#%d%s", digits, length);
    size_t n = SCPI_WriteData(c, head, size_t(h));
    if (data && len > 0)
        n += SCPI_WriteData(c, static_cast<const char*>(data), len);
    c->output_count++;
    return n;
}
