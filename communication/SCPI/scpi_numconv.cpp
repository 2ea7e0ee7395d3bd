#include "communication/SCPI/scpi_numconv.h"
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>

static locale_t cLocale()
{
    static locale_t loc = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return loc;
}

void scpi_numconv_init() { (void)cLocale(); }

bool scpi_parse_double(const char* text, int len, double* value)
{
    // A message is at most a few hundred bytes; longer number texts are not
    // numbers this instrument can take.
    char buf[512];
    if (!text || len <= 0 || len >= int(sizeof buf))
        return false;
    memcpy(buf, text, size_t(len));
    buf[len] = '\0';
    char* end = nullptr;
    locale_t loc = cLocale();
    const double v = loc ? strtod_l(buf, &end, loc) : strtod(buf, &end);
    if (end != buf + len || !std::isfinite(v))
        return false;
    *value = v;
    return true;
}

size_t scpi_format_double(char* buf, size_t len, const char* format, double value)
{
    if (!buf || len == 0)
        return 0;
    locale_t loc = cLocale();
    locale_t old = loc ? uselocale(loc) : locale_t(0);
    int n = snprintf(buf, len, format, value);
    if (loc)
        uselocale(old);
    if (n < 0) {
        buf[0] = '\0';
        return 0;
    }
    return size_t(n) < len ? size_t(n) : len - 1;
}
