#include "communication/SCPI/commands/scpi_doc.h"
#include <cstdio>
#include <cstring>
#include <vector>
#include "communication/SCPI/commands/scpi_choices.h"
#include "communication/SCPI/commands/scpi_commands.h"
#include "communication/SCPI/commands/scpi_rows.h"

namespace {

// Rows whose handlers are not described by a descriptor; any row missing
// here is still listed, with its pattern only.
const struct { const char* pattern; const char* text; } kOtherRows[] = {
    {"*IDN?", "\"VELTRIX Technologies,<product>,<serial>,1.09.0018\""},
    {"IDN?", "\"ORNAV96T%EN#SN<serial>\""},
    {"SYSTem:INFO?", "the system information line: firmware, hardware version, bandwidth, sample rate, name, serial"},
    {"SYSTem:ERRor?", "pops the newest code of the error list: `<code>,\"<text>\"`; `0,\"No error\"` when empty"},
    {"SYSTem:ERRor", "empties the error list"},
};

std::string list(const scpi_choice_def_t* c)
{
    std::string s;
    for (; c && c->name; ++c) {
        if (!s.empty())
            s += ", ";
        s += c->name;
    }
    return s;
}

std::string suffixText(int unit)
{
    switch (unit) {
    case SCPI_UNIT_NONE: return "no suffix";
    case SCPI_UNIT_HERTZ: return "Hz: HZ kHZ MHZ GHZ";
    case SCPI_UNIT_SECONDS: return "s: pS nS uS mS S MIN HR";
    case SCPI_UNIT_VOLT: return "V: uV mV V kV";
    case SCPI_UNIT_VPP: return "Vpp: uVpp mVpp Vpp";
    case SCPI_UNIT_BITRATE: return "bps: bps kbps Mbps Gbps";
    case SCPI_UNIT_ANY: return "any suffix";
    default: return "suffix";
    }
}

std::string parameter(const scpi_row_t& r)
{
    const char* title = scpi_list_title(r.choices);
    switch (r.kind) {
    case RK_NONE: return "–";
    case RK_BOOL: return "ON, OFF or a number (non-zero: ON)";
    case RK_CHOICE:
        return std::string(title ? title : "word") + ": " + list(r.choices);
    case RK_SPECIAL:
        return std::string(title ? title : "word") + ": " + list(r.choices);
    case RK_NUMBER: return "number (" + suffixText(r.suffix) + ")";
    case RK_REAL: return "number, no suffix";
    case RK_INT: return "integer, no suffix";
    case RK_TEXT: return "characters or string data";
    case RK_BLOCK: return "–";
    }
    return "–";
}

std::string reply(const scpi_row_t& r)
{
    switch (r.format) {
    case RF_SCIENTIFIC: return "`%-13.6e`";
    case RF_BOOL: return "`1` / `0`";
    case RF_INT: return "integer";
    case RF_NAME: return "name (long form as listed)";
    case RF_NONE: break;
    }
    return r.query ? "see effect" : "–";
}

std::string errors(const scpi_row_t& r)
{
    std::vector<std::string> e;
    if (r.target == RT_CHANNEL)
        e.push_back("-108 channel not 1..4");
    if (r.target == RT_PAIR)
        e.push_back("-200 pair not 1 or 2");
    switch (r.kind) {
    case RK_BOOL: e.push_back("-109 missing"); break;
    case RK_CHOICE: e.push_back("-109 missing, -224 other word, -104 not a word"); break;
    case RK_SPECIAL: e.push_back("-109 missing, -224 other word or a plain number"); break;
    case RK_NUMBER: {
        char b[80];
        snprintf(b, sizeof b, "-109 missing, %d suffix of another kind, -131 unknown suffix",
                 r.suffixError ? r.suffixError : -224);
        e.push_back(r.suffix == SCPI_UNIT_ANY ? "-109 missing, -131 unknown suffix" : b);
        break;
    }
    case RK_REAL:
    case RK_INT: e.push_back("-109 missing, -138 suffix"); break;
    case RK_TEXT: e.push_back("-109 missing"); break;
    default: break;
    }
    if (r.paramIndex >= 0 && r.wait != RW_NONE)
        e.push_back("-801 out of range (controller)");
    std::string s;
    for (const std::string& x : e)
        s += (s.empty() ? "" : "; ") + x;
    return s.empty() ? "–" : s;
}

std::string escape(const std::string& s)
{
    std::string o;
    for (char c : s) {
        if (c == '|')
            o += "\\|";
        else
            o += c;
    }
    return o;
}

const char* areaTitle(int area)
{
    switch (area) {
    case SCPI_AREA_SYSTEM: return "System and factory";
    case SCPI_AREA_OUTPUT: return "Channel output and limits";
    case SCPI_AREA_COUPLE: return "Merge and coupling";
    case SCPI_AREA_BASE: return "Base waveform";
    case SCPI_AREA_MODES: return "Work mode, modulation, sweep and burst";
    case SCPI_AREA_FILES: return "Data transfers";
    default: return "Identification, error list and other commands";
    }
}

// The set pattern of a record, with "[?]" when the query form follows it.
std::string patternOf(const scpi_command_t* c, bool* both)
{
    std::string p = c->pattern;
    *both = false;
    const scpi_command_t* n = c + 1;
    if (!p.empty() && p.back() == '?' && n->pattern && n->tag == c->tag && n->callback == SCPI_RowSet &&
        c->callback == SCPI_RowQuery && p.substr(0, p.size() - 1) == n->pattern) {
        *both = true;
        p = std::string(n->pattern) + "[?]";
    }
    return p;
}

} // namespace

std::string scpi_command_reference()
{
    std::string out;
    out += "# SCPI command reference\n\n";
    out += "<!-- Generated by tools/scpi-doc from the instrument's command table; do not edit. -->\n\n";
    out += "Commands reach the instrument over VXI-11 (device `inst0`), USBTMC, the raw SCPI socket on TCP "
           "port 5025 (`TCPIP::<address>::5025::SOCKET`) and the console of its web page. Headers match their long "
           "form or the short form in capitals, in any letter case; `#` stands for a number (none means 1): "
           "`CHANnel#` is channel 1 to 4, `CHANnel:COUPle#` pair 1 (CH1-CH2) or 2 (CH3-CH4). A pattern "
           "written `X[?]` has a set form `X` and a query form `X?`.\n\n";
    out += "Every setter returns once the instrument has applied it, so a query that follows reads the new "
           "value. Errors go to the list read by `SYSTem:ERRor?` (newest first). A command that fails with a "
           "code of its own also changes nothing; a failure without its own code reports -200.\n\n";
    out += "On the raw socket a message ends at LF and every reply ends with LF. A raw stream has no END "
           "marker, so the data that follows an arming command (`WARB#:CARRier`, `WARB#:MODulate`, "
           "`WFREQLIST#`, `WFILE`, `SYSTem:CONFigure`, `DIGital:DATa`) must come as one IEEE 488.2 "
           "definite-length block, `#` then one digit n, then n digits giving the length, then exactly that "
           "many bytes (`#41000` and 1000 bytes; a trailing LF is allowed); the instrument reads the block by "
           "its length, so LF and CR among the data are data. A block inside a command line is taken by its "
           "length the same way. A block longer than the instrument takes closes that connection. Over VXI-11 "
           "and USBTMC the data is simply the next message.\n\n";
    out += "Example (pyvisa-py):\n\n```python\nimport pyvisa\n"
           "inst = pyvisa.ResourceManager('@py').open_resource('TCPIP::192.168.1.100::inst0::INSTR')\n"
           "inst.write('CHANnel1:BASe:WAVe SQUare; :CHANnel1:BASe:FREQuency 10kHZ')\n"
           "inst.write('CHANnel1:OUTPut ON')\n"
           "print(inst.query('CHANnel1:BASe:FREQuency?'), inst.query('SYSTem:ERRor?'))\n```\n\n";

    int area = -1;
    for (const scpi_command_t* c = scpi_commands; c->pattern; ++c) {
        const bool described = c->callback == SCPI_RowSet || c->callback == SCPI_RowQuery;
        const scpi_row_t* r = described ? scpi_row_find(c->tag) : nullptr;
        const int a = r ? (r->id >> 8) : 0;
        if (a != area) {
            area = a;
            out += std::string("\n## ") + areaTitle(a) + "\n\n";
            out += "| Pattern | Parameter | Reply | Effect | Errors |\n|---|---|---|---|---|\n";
        }
        bool both = false;
        const std::string pattern = patternOf(c, &both);
        if (!r) {
            const char* text = "";
            for (const auto& o : kOtherRows)
                if (std::strcmp(o.pattern, c->pattern) == 0)
                    text = o.text;
            out += "| `" + escape(pattern) + "` | | | " + escape(text) + " | |\n";
            continue;
        }
        std::string effect = r->effect ? r->effect : "";
        if (r->wait != RW_NONE && r->formerPauseMs > 0) {
            char b[64];
            snprintf(b, sizeof b, " (waits until applied; was a fixed %d ms)", int(r->formerPauseMs));
            effect += b;
        }
        const bool isQuery = c->callback == SCPI_RowQuery;
        out += "| `" + escape(pattern) + "` | " + escape(isQuery && !both ? "–" : parameter(*r)) + " | " +
               escape(isQuery || both ? reply(*r) : "–") + " | " + escape(effect) + " | " + escape(errors(*r)) +
               " |\n";
        if (both)
            ++c;
    }

    out += "\n## Choice lists\n\n| List | Words (tag) |\n|---|---|\n";
    const scpi_choice_def_t* lists[] = {
        scpi_list_phase_mode, scpi_list_sleep_time, scpi_list_counter_coupling, scpi_list_number_format,
        scpi_list_picture_format, scpi_list_language, scpi_list_amplitude_unit, scpi_list_noise_unit,
        scpi_list_digital_type, scpi_list_digital_format, scpi_list_uart_parity, scpi_list_base_wave,
        scpi_list_harmonic_type, scpi_list_arb_source, scpi_list_arb_sampling, scpi_list_arb_filter,
        scpi_list_work_mode, scpi_list_trigger_source, scpi_list_mod_source, scpi_list_trigger_output,
        scpi_list_mod_type, scpi_list_qam_map, scpi_list_pn_code, scpi_list_mod_wave, scpi_list_sweep_type,
        scpi_list_burst_type, scpi_list_gate_polarity, scpi_list_touch_action,
    };
    for (const scpi_choice_def_t* l : lists) {
        std::string words;
        for (const scpi_choice_def_t* c = l; c->name; ++c) {
            char b[64];
            snprintf(b, sizeof b, "%s%s (%d)", words.empty() ? "" : ", ", c->name, int(c->tag));
            words += b;
        }
        out += std::string("| ") + scpi_list_title(l) + " | " + words + " |\n";
    }
    return out;
}

namespace {

const char* kindName(const scpi_row_t* r)
{
    if (!r)
        return "other";
    switch (r->kind) {
    case RK_NONE: return "none";
    case RK_BOOL: return "bool";
    case RK_CHOICE: return "choice";
    case RK_SPECIAL: return "special";
    case RK_NUMBER: return "number";
    case RK_REAL: return "real";
    case RK_INT: return "int";
    case RK_TEXT: return "text";
    case RK_BLOCK: return "block";
    }
    return "other";
}

const char* suffixName(int unit)
{
    switch (unit) {
    case SCPI_UNIT_NONE: return "";
    case SCPI_UNIT_HERTZ: return "HZ";
    case SCPI_UNIT_SECONDS: return "S";
    case SCPI_UNIT_VOLT: return "V";
    case SCPI_UNIT_VPP: return "VPP";
    case SCPI_UNIT_BITRATE: return "BPS";
    case SCPI_UNIT_ANY: return "ANY";
    default: return "OTHER";
    }
}

const char* targetName(const scpi_row_t* r)
{
    if (!r)
        return "";
    switch (r->target) {
    case RT_CHANNEL: return "channel";
    case RT_PAIR: return "pair";
    case RT_SYSTEM: return "system";
    case RT_COUNTER: return "counter";
    case RT_NONE: break;
    }
    return "";
}

std::string quoted(const char* s)
{
    std::string o = "\"";
    for (; s && *s; ++s) {
        if (*s == '"' || *s == '\\')
            o += '\\';
        o += *s;
    }
    return o + "\"";
}

} // namespace

std::string scpi_command_rows_json()
{
    std::string out = "[\n";
    for (const scpi_command_t* c = scpi_commands; c->pattern; ++c) {
        const bool described = c->callback == SCPI_RowSet || c->callback == SCPI_RowQuery;
        const scpi_row_t* r = described ? scpi_row_find(c->tag) : nullptr;
        std::string choices = "[";
        for (const scpi_choice_def_t* w = r ? r->choices : nullptr; w && w->name; ++w)
            choices += (choices.size() > 1 ? ", " : "") + quoted(w->name);
        choices += "]";
        char tail[160];
        snprintf(tail, sizeof tail, ", \"suffix\": \"%s\", \"suffix_error\": %d, \"controller\": %s}",
                 r ? suffixName(r->suffix) : "", r && r->suffixError ? int(r->suffixError) : -224,
                 r && r->paramIndex >= 0 && r->wait != RW_NONE ? "true" : "false");
        out += std::string(out.size() > 2 ? ",\n" : "") + "{\"pattern\": " + quoted(c->pattern) +
               ", \"kind\": \"" + kindName(r) + "\", \"target\": \"" + targetName(r) + "\", \"choices\": " +
               choices + tail;
    }
    return out + "\n]\n";
}
