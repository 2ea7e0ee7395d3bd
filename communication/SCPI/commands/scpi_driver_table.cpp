// What a script sees of the command set: the property name, unit and range of
// each setting a script would use. The command table says how a command is
// parsed and answered (kind, choice list, reply format); the limits of a
// value live with the controller's entries, so the widest limits the entry
// accepts (on any waveform, load and frequency) are repeated here for the
// driver's client-side check. The controller still refuses values outside
// the limits of the moment with -801.
#include "communication/SCPI/commands/scpi_driver_table.h"
#include <cmath>
#include <cstdio>
#include <cstring>
#include "communication/SCPI/commands/scpi_choices.h"
#include "communication/SCPI/commands/scpi_commands.h"
#include "communication/SCPI/commands/scpi_rows.h"

namespace {

// Channel frequency limits: CH1/CH2 reach 600 MHz, CH3/CH4 200 MHz.
const double kF12 = 6e8, kF34 = 2e8;
const double N = NAN; // no value / same as CH1/CH2

struct DriverRow {
    const char* pattern; // the set form (the query form is pattern + "?"), or a query
    const char* name;    // the property name; "{n}" for the number of an indexed header
    const char* scope;   // channel, pair, system, counter, digital
    const char* unit;    // for the documentation: Hz, s, V, Vpp, Vrms, dBm, %, deg, ohm, bps
    double lo, hi;       // accepted range (NAN: none)
    double lo34, hi34;   // CH3/CH4 range where it differs
    const char* suffix;  // unit suffix sent with the value ("" none)
    // Rows without a descriptor: kind (bool, choice, number, int, action) and choices.
    const char* kind;
    const scpi_choice_def_t* choices;
    int indexLo, indexHi; // numbers a "#" inside the header takes (0: none)
    double step;          // values are multiples of this (0: any)
    int replyMask;        // bits of an integer reply that carry the value (0: all)
};

#define R(pat, name, scope, unit, lo, hi)                                                                              \
    {                                                                                                                  \
        pat, name, scope, unit, lo, hi, N, N, "", nullptr, nullptr, 0, 0, 0, 0                                         \
    }
#define R34(pat, name, unit, lo, hi, lo34, hi34)                                                                       \
    {                                                                                                                  \
        pat, name, "channel", unit, lo, hi, lo34, hi34, "", nullptr, nullptr, 0, 0, 0, 0                               \
    }
#define RX(pat, name, scope, unit, lo, hi, kind, choices)                                                              \
    {                                                                                                                  \
        pat, name, scope, unit, lo, hi, N, N, "", kind, choices, 0, 0, 0, 0                                            \
    }

// ---- driver properties (python/ornav72) -------------------------------------------
const DriverRow kRows[] = {
    // system
    R("SYSTem:PHASe:MODe", "phase_mode", "system", "", N, N),
    R("SYSTem:LANGuage", "language", "system", "", N, N),
    R("SYSTem:NUMBer:FORMat", "number_format", "system", "", N, N),
    R("SYSTem:PICTure:FORMat", "picture_format", "system", "", N, N),
    R("SYSTem:BEEP", "beep", "system", "", N, N),
    {"SYSTem:BRIGhtness", "brightness", "system", "%", 30, 100, N, N, "", nullptr, nullptr, 0, 0, 10, 0},
    R("SYSTem:SLEEP:TIMe", "sleep_time", "system", "", N, N),
    // output, load and limits
    R("CHANnel#:OUTPut", "output", "channel", "", N, N),
    R("CHANnel#:INVersion", "inverted", "channel", "", N, N),
    R("CHANnel#:OUTPut:SYNC", "sync_output", "channel", "", N, N),
    R("CHANnel#:OUTPut:SYNC:INVersion", "sync_inverted", "channel", "", N, N),
    R("CHANnel#:LIMit:ENABle", "limit_enabled", "channel", "", N, N),
    R("CHANnel#:LIMit:LOWer", "limit_low", "channel", "V", -10, 10),
    R("CHANnel#:LIMit:UPPer", "limit_high", "channel", "V", -10, 10),
    R("CHANnel#:LOAD", "load", "channel", "ohm", 1, 1000000),
    // merge and coupling
    R("CHANnel#:MERGe", "merged", "channel", "", N, N),
    R("CHANnel:COUPle#:FREQuency", "frequency_coupling", "pair", "", N, N),
    R("CHANnel:COUPle#:FREQuency:SCALe", "frequency_ratio", "pair", "", 0.0001, 10000),
    R("CHANnel:COUPle#:FREQuency:DEV", "frequency_difference", "pair", "Hz", -kF12, kF12),
    R("CHANnel:COUPle#:AMPLitude", "amplitude_coupling", "pair", "", N, N),
    R("CHANnel:COUPle#:AMPLitude:SCALe", "amplitude_ratio", "pair", "", 0.0001, 10000),
    R("CHANnel:COUPle#:AMPLitude:DEV", "amplitude_difference", "pair", "Vpp", -19.998, 19.998),
    R("CHANnel:COUPle#:PHASe", "phase_coupling", "pair", "", N, N),
    R("CHANnel:COUPle#:PHASe:SCALe", "phase_ratio", "pair", "", 0.0001, 10000),
    R("CHANnel:COUPle#:PHASe:DEV", "phase_difference", "pair", "deg", -720, 720),
    // base wave
    R("CHANnel#:BASe:WAVe", "waveform", "channel", "", N, N),
    R34("CHANnel#:BASe:FREQuency", "frequency", "Hz", 1e-6, kF12, 1e-6, kF34),
    R34("CHANnel#:NOISe:BANDwith", "noise_bandwidth", "Hz", 1e-6, kF12, 1e-6, kF34),
    R34("CHANnel#:PRBS:BITRatio", "prbs_bit_rate", "Hz", 1e-6, kF12, 1e-6, kF34),
    R34("CHANnel#:BASe:PERiod", "period", "s", 1 / kF12, 1e6, 5e-9, 1e6),
    R("CHANnel#:BASe:PHASe", "phase", "channel", "deg", -360, 360),
    // The amplitude in each unit: the suffix also makes it the unit of the entry.
    {"CHANnel#:BASe:AMPLitude", "amplitude", "channel", "Vpp", 0.002, 20, N, N, "VPP", nullptr, nullptr, 0, 0, 0, 0},
    {"CHANnel#:BASe:AMPLitude", "amplitude_vrms", "channel", "Vrms", 0.0007, 7.072, N, N, "VRMS", nullptr, nullptr, 0,
     0, 0, 0},
    {"CHANnel#:BASe:AMPLitude", "amplitude_dbm", "channel", "dBm", -57, 24, N, N, "DBM", nullptr, nullptr, 0, 0, 0, 0},
    R("CHANnel#:AMPLitude:UNIT", "amplitude_unit", "channel", "", N, N),
    R("CHANnel#:BASe:OFFSet", "offset", "channel", "V", -10, 10),
    R("CHANnel#:BASe:HIGH", "high_level", "channel", "V", -10, 10),
    R("CHANnel#:BASe:LOW", "low_level", "channel", "V", -10, 10),
    R("CHANnel#:BASe:DUTY", "duty", "channel", "%", 1e-6, 99.999999),
    R("CHANnel#:BASe:PWIDth", "pulse_width", "channel", "s", 0, 1e6),
    R("CHANnel#:RAMP:SYMMetry", "symmetry", "channel", "%", 0, 100),
    R("CHANnel#:PULSe:RISe", "rise_time", "channel", "s", 1e-9, 1e4),
    R("CHANnel#:PULSe:FALL", "fall_time", "channel", "s", 1e-9, 1e4),
    R("CHANnel#:HARMonic:TOTal:ORDer", "harmonic_order", "channel", "", 1, 16),
    R("CHANnel#:HARMonic:TYPe", "harmonic_type", "channel", "", N, N),
    {"CHANnel#:HARMonic:USEr:TYPe", "harmonic_user_mask", "channel", "", 0, 32767, N, N, "", nullptr, nullptr, 0, 0, 0,
     0x7FFF},
    {"CHANnel#:HARMonic:ORDer#:AMPLitude", "harmonic_amplitude_{n}", "channel", "Vpp", 0.002, 20, N, N, "", nullptr,
     nullptr, 2, 16, 0, 0},
    {"CHANnel#:HARMonic:ORDer#:PHASe", "harmonic_phase_{n}", "channel", "deg", -360, 360, N, N, "", nullptr, nullptr, 2,
     16, 0, 0},
    R("CHANnel#:ARB:MODe", "arb_sampling", "channel", "", N, N),
    R("CHANnel#:ARB:FILTer", "arb_filter", "channel", "", N, N),
    R("CHANnel#:NS", "noise_sum", "channel", "", N, N),
    R("CHANnel#:NS:SNR:UNIT", "noise_sum_unit", "channel", "", N, N),
    // In the unit of noise_sum_unit: from 0 dB, or from a ratio of 1, up.
    R("CHANnel#:NS:SNR", "noise_sum_snr", "channel", "dB or ratio", 0, 100000),
    // work mode, trigger, modulation, sweep, burst
    R("CHANnel#:MODE", "mode", "channel", "", N, N),
    R("CHANnel#:TRIGger:SOURce", "trigger_source", "channel", "", N, N),
    R("CHANnel#:OSK:TRIGger:SOURce", "osk_trigger_source", "channel", "", N, N),
    R("CHANnel#:TRIGger:OUTPut", "trigger_output", "channel", "", N, N),
    R("CHANnel#:SWEep:TRIGger", "trigger_sweep", "channel", "", N, N),
    R("CHANnel#:BURSt:TRIGger", "trigger_burst", "channel", "", N, N),
    R("CHANnel#:MODulate:TYPe", "modulation_type", "channel", "", N, N),
    R("CHANnel#:MODulate:IQMap", "qam_map", "channel", "", N, N),
    R("CHANnel#:PNCode", "pn_code", "channel", "", N, N),
    R("CHANnel#:MODulate:WAVe", "modulation_waveform", "channel", "", N, N),
    R("CHANnel#:MODulate:SOURce", "modulation_source", "channel", "", N, N),
    R("CHANnel#:MODulate:FREQuency", "modulation_frequency", "channel", "Hz", 1e-6, 2e6),
    R("CHANnel#:MODulate:RATio", "osk_rate", "channel", "bps", 1e-6, 2e6),
    R("CHANnel#:MODulate:BITRatio", "bit_rate", "channel", "bps", 1e-6, 2e6),
    R("CHANnel#:MODulate:DEPTh", "modulation_depth", "channel", "%", 0, 120),
    R34("CHANnel#:FM:FREQuency:DEV", "fm_deviation", "Hz", 0, kF12, 0, kF34),
    R("CHANnel#:PM:PHASe:DEV", "pm_deviation", "channel", "deg", 0, 360),
    {"CHANnel#:PSK:PHASe#", "psk_phase_{n}", "channel", "deg", 0, 360, N, N, "", nullptr, nullptr, 1, 4, 0, 0},
    {"CHANnel#:FSK:FREQuency#", "fsk_frequency_{n}", "channel", "Hz", 1e-6, kF12, 1e-6, kF34, "", nullptr, nullptr, 1,
     3, 0, 0},
    R("CHANnel#:OSK:TIMe", "osk_time", "channel", "s", 1e-9, 1),
    R("CHANnel#:PWM:DUTY:DEV", "pwm_deviation", "channel", "%", 1, 99),
    R("CHANnel#:SWEep:TYPe", "sweep_type", "channel", "", N, N),
    R34("CHANnel#:SWEep:FREQuency:STARt", "sweep_start", "Hz", 1e-6, kF12, 1e-6, kF34),
    R34("CHANnel#:SWEep:FREQuency:STOP", "sweep_stop", "Hz", 1e-6, kF12, 1e-6, kF34),
    R("CHANnel#:SWEep:TIMe", "sweep_time", "channel", "s", 0.001, 500),
    R("CHANnel#:SWEep:STEPs", "sweep_steps", "channel", "", 2, 2048),
    R("CHANnel#:BURSt:TYPe", "burst_type", "channel", "", N, N),
    R("CHANnel#:BURSt:PERiod", "burst_period", "channel", "s", 0.001001, 500),
    R("CHANnel#:BURSt:CYCLes", "burst_cycles", "channel", "", 1, 50000),
    R("CHANnel#:BURSt:PHASe", "burst_phase", "channel", "deg", 0, 360),
    R("CHANnel#:BURSt:GATe:POLarity", "gate_polarity", "channel", "", N, N),
    // frequency counter
    RX("SYSTem:CYMometer", "enabled", "counter", "", N, N, "bool", nullptr),
    RX("SYSTem:CYMometer:FREQuency?", "frequency", "counter", "Hz", N, N, "number", nullptr),
    RX("SYSTem:CYMometer:PERiod?", "period", "counter", "s", N, N, "number", nullptr),
    RX("SYSTem:CYMometer:DUTY?", "duty", "counter", "%", N, N, "number", nullptr),
    RX("SYSTem:CYMometer:PWIDTh?", "positive_width", "counter", "s", N, N, "number", nullptr),
    RX("SYSTem:CYMometer:NWIDTh?", "negative_width", "counter", "s", N, N, "number", nullptr),
    RX("SYSTem:CYMometer:TRIGger:COUPling", "coupling", "counter", "", N, N, "choice", scpi_list_counter_coupling),
    RX("SYSTem:CYMometer:TRIGger:HF", "hf_reject", "counter", "", N, N, "bool", nullptr),
    RX("SYSTem:CYMometer:TRIGger:LEVel", "trigger_level", "counter", "V", -2.5, 2.5, "number", nullptr),
    RX("SYSTem:CYMometer:TRIGger:SENSitivity", "sensitivity", "counter", "%", 0, 100, "number", nullptr),
    // digital protocol output
    RX("DIGital", "enabled", "digital", "", N, N, "bool", nullptr),
    RX("DIGital:TYPe", "protocol", "digital", "", N, N, "choice", scpi_list_digital_type),
    RX("DIGital:AMPLitude", "amplitude", "digital", "V", 0.001, 10, "number", nullptr),
    RX("DIGital:FORMat", "data_format", "digital", "", N, N, "choice", scpi_list_digital_format),
    RX("DIGital:TRIGger", "send", "digital", "", N, N, "action", nullptr),
    RX("DIGital:AS", "auto_send", "digital", "", N, N, "bool", nullptr),
    RX("DIGital:AS:INTerval", "auto_send_interval", "digital", "s", 2e-8, 1000, "number", nullptr),
    RX("DIGital:SPI:CLOCk", "spi_clock", "digital", "Hz", 1, 5e7, "int", nullptr),
    RX("DIGital:IIC:CLOCk", "i2c_clock", "digital", "Hz", 1, 5e7, "int", nullptr),
    RX("DIGital:IIC:ADDRess", "i2c_address", "digital", "", 0, 1023, "int", nullptr),
    RX("DIGital:UART:BAUDrate", "uart_baud_rate", "digital", "bps", 1, 1000000, "int", nullptr),
    RX("DIGital:UART:DATa", "uart_data_bits", "digital", "", 4, 8, "int", nullptr),
    RX("DIGital:UART:STOP", "uart_stop_bits", "digital", "", 1, 2, "int", nullptr),
    RX("DIGital:UART:PARity", "uart_parity", "digital", "", N, N, "choice", scpi_list_uart_parity),
};

const scpi_command_t* findCommand(const std::string& pattern)
{
    for (const scpi_command_t* c = scpi_commands; c->pattern; ++c)
        if (pattern == c->pattern)
            return c;
    return nullptr;
}

bool isQuery(const char* pattern)
{
    const size_t n = std::strlen(pattern);
    return n > 0 && pattern[n - 1] == '?';
}

// A Python float literal that reads back as the same double.
std::string num(double v)
{
    char b[40];
    snprintf(b, sizeof b, "%.17g", v);
    double back = 0;
    for (int p = 6; p <= 17; ++p) {
        snprintf(b, sizeof b, "%.*g", p, v);
        std::sscanf(b, "%lf", &back);
        if (back == v)
            break;
    }
    std::string s = b;
    if (s.find_first_of(".eEn") == std::string::npos)
        s += ".0";
    return s;
}

std::string str(const char* s)
{
    std::string o = "'";
    for (const char* p = s ? s : ""; *p; ++p) {
        if (*p == '\'' || *p == '\\')
            o += '\\';
        o += *p;
    }
    return o + "'";
}

std::string range(double lo, double hi)
{
    if (std::isnan(lo) || std::isnan(hi))
        return "None";
    return "(" + num(lo) + ", " + num(hi) + ")";
}

const char* kindOf(const scpi_row_t& r)
{
    switch (r.kind) {
    case RK_NONE: return "action";
    case RK_BOOL: return "bool";
    case RK_CHOICE:
    case RK_SPECIAL: return "choice";
    case RK_NUMBER:
    case RK_REAL: return r.format == RF_INT ? "int" : "number";
    case RK_INT: return "int";
    case RK_TEXT: return "text";
    case RK_BLOCK: return "block";
    }
    return "action";
}

const char* scopeOf(const scpi_row_t& r)
{
    switch (r.target) {
    case RT_CHANNEL: return "channel";
    case RT_PAIR: return "pair";
    default: return "system";
    }
}

} // namespace

std::string scpi_driver_table_missing()
{
    std::string missing;
    for (const DriverRow& d : kRows) {
        const scpi_command_t* c = findCommand(d.pattern);
        const bool described = c && (c->callback == SCPI_RowSet || c->callback == SCPI_RowQuery);
        const scpi_row_t* r = described ? scpi_row_find(c->tag) : nullptr;
        if (!c || (!r && !d.kind) || (r && std::strcmp(scopeOf(*r), d.scope) != 0))
            missing += std::string(missing.empty() ? "" : " ") + d.pattern;
    }
    return missing;
}

std::string scpi_driver_table_python()
{
    std::string out;
    out += "# Generated by tools/scpi-doc --python from the instrument's command table; do not edit.\n";
    out += "# Regenerate: build/tools/scpi-doc --python python/ornav72/_commands.py\n";
    out += "#\n# One entry per property (or action) of the driver. scope: the sub-object that\n"
           "# holds it; set/query: the command forms ('#' is the channel or pair number, a\n"
           "# second '#' the entry's index); kind: bool, choice, number, int or action;\n"
           "# range/range34: accepted values (range34 for CH3/CH4 when it differs); choices:\n"
           "# the words, long form as the instrument answers; suffix: unit suffix sent with\n"
           "# the value; index: the numbers of an indexed header; step: values are\n"
           "# multiples of it; reply_mask: the bits of an integer reply that hold the value.\n\n";
    out += "COMMANDS = [\n";
    for (const DriverRow& d : kRows) {
        const scpi_command_t* c = findCommand(d.pattern);
        if (!c)
            continue;
        const bool described = c->callback == SCPI_RowSet || c->callback == SCPI_RowQuery;
        const scpi_row_t* r = described ? scpi_row_find(c->tag) : nullptr;
        if (!r && !d.kind)
            continue;
        std::string setForm, queryForm;
        if (isQuery(d.pattern)) {
            queryForm = d.pattern;
        } else {
            setForm = d.pattern;
            if (findCommand(std::string(d.pattern) + "?"))
                queryForm = std::string(d.pattern) + "?";
        }
        const char* kind = d.kind ? d.kind : kindOf(*r);
        const scpi_choice_def_t* choices = d.choices ? d.choices : (r ? r->choices : nullptr);
        std::string words = "None";
        if (choices && std::strcmp(kind, "choice") == 0) {
            words = "(";
            for (const scpi_choice_def_t* w = choices; w->name; ++w)
                words += str(w->name) + ", ";
            words += ")";
        }
        const char* doc = r && r->effect ? r->effect : "";
        std::string index = "None";
        if (d.indexLo || d.indexHi)
            index = "(" + std::to_string(d.indexLo) + ", " + std::to_string(d.indexHi) + ")";
        out += "    {'name': " + str(d.name) + ", 'scope': " + str(d.scope) + ", 'kind': " + str(kind) + ",\n";
        out += "     'set': " + (setForm.empty() ? std::string("None") : str(setForm.c_str())) +
            ", 'query': " + (queryForm.empty() ? std::string("None") : str(queryForm.c_str())) + ",\n";
        out += "     'unit': " + str(d.unit) + ", 'range': " + range(d.lo, d.hi) +
            ", 'range34': " + range(d.lo34, d.hi34) + ", 'step': " + (d.step > 0 ? num(d.step) : "None") + ",\n";
        out += "     'choices': " + words + ",\n";
        out += "     'suffix': " + str(d.suffix) + ", 'index': " + index +
            ", 'reply_mask': " + (d.replyMask ? std::to_string(d.replyMask) : std::string("None")) + ",\n";
        out += "     'doc': " + str(doc) + "},\n";
    }
    out += "]\n";
    return out;
}
