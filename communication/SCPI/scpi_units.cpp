#include "communication/SCPI/scpi_units.h"
#include <cstring>
#include "communication/SCPI/scpi_numconv.h"

const scpi_unit_def_t scpi_units_def[] = {
    {"uV", SCPI_UNIT_VOLT, 1e-6},     {"mV", SCPI_UNIT_VOLT, 1e-3},     {"V", SCPI_UNIT_VOLT, 1},
    {"kV", SCPI_UNIT_VOLT, 1e3},

    {"uVpp", SCPI_UNIT_VPP, 1e-6},    {"mVpp", SCPI_UNIT_VPP, 1e-3},    {"Vpp", SCPI_UNIT_VPP, 1},

    {"uVrms", SCPI_UNIT_VRMS, 1e-6},  {"mVrms", SCPI_UNIT_VRMS, 1e-3},  {"Vrms", SCPI_UNIT_VRMS, 1},

    {"dBm", SCPI_UNIT_VDBM, 1},       {"dB", SCPI_UNIT_DB, 1},

    {"HZ", SCPI_UNIT_HERTZ, 1},       {"kHZ", SCPI_UNIT_HERTZ, 1e3},    {"MHZ", SCPI_UNIT_HERTZ, 1e6},
    {"GHZ", SCPI_UNIT_HERTZ, 1e9},

    {"bps", SCPI_UNIT_BITRATE, 1},    {"kbps", SCPI_UNIT_BITRATE, 1e3}, {"Mbps", SCPI_UNIT_BITRATE, 1e6},
    {"Gbps", SCPI_UNIT_BITRATE, 1e9},

    {"pS", SCPI_UNIT_SECONDS, 1e-12}, {"nS", SCPI_UNIT_SECONDS, 1e-9},  {"uS", SCPI_UNIT_SECONDS, 1e-6},
    {"mS", SCPI_UNIT_SECONDS, 1e-3},  {"S", SCPI_UNIT_SECONDS, 1},      {"MIN", SCPI_UNIT_SECONDS, 60},
    {"HR", SCPI_UNIT_SECONDS, 3600},

    {nullptr, SCPI_UNIT_NONE, 0},
};

static char upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

const scpi_unit_def_t* SCPI_FindUnit(const scpi_unit_def_t* units, const char* suffix, int len)
{
    if (!units || !suffix || len <= 0)
        return nullptr;
    for (const scpi_unit_def_t* u = units; u->name; u++) {
        if (int(strlen(u->name)) != len)
            continue;
        int i = 0;
        while (i < len && upper(u->name[i]) == upper(suffix[i]))
            i++;
        if (i == len)
            return u;
    }
    return nullptr;
}

const char* SCPI_UnitBaseName(const scpi_unit_def_t* units, scpi_unit_t unit)
{
    if (!units)
        return nullptr;
    for (const scpi_unit_def_t* u = units; u->name; u++)
        if (u->unit == unit && u->mult == 1)
            return u->name;
    return nullptr;
}

size_t SCPI_NumberToStr(scpi_t* context, const scpi_choice_def_t* special, const scpi_number_t* value, char* str,
                        size_t len)
{
    if (!value || !str || len == 0)
        return 0;
    str[0] = '\0';
    if (value->special) {
        const char* name = nullptr;
        for (const scpi_choice_def_t* c = special; c && c->name; c++)
            if (c->tag == value->tag) {
                name = c->name;
                break;
            }
        if (!name)
            return 0;
        strncpy(str, name, len - 1);
        str[len - 1] = '\0';
        return strlen(str);
    }
    size_t n = scpi_format_double(str, len, "%.16lg", value->value);
    const char* unit = nullptr;
    if (value->unit != SCPI_UNIT_NONE)
        unit = SCPI_UnitBaseName((context && context->units) ? context->units : scpi_units_def, value->unit);
    if (unit && n + 1 < len) {
        str[n++] = ' ';
        str[n] = '\0';
        strncpy(str + n, unit, len - 1 - n);
        str[len - 1] = '\0';
        n = strlen(str);
    }
    return n;
}
