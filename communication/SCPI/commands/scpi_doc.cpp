#include "communication/SCPI/commands/scpi_doc.h"
#include <cstdio>
#include <cstring>
#include <vector>
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/commands/scpi_choices.h"
#include "communication/SCPI/commands/scpi_commands.h"
#include "communication/SCPI/commands/scpi_rows.h"

namespace {

// Commands whose handlers are not described by a row: parameter, reply and
// what they do. A command missing here is still listed, with its pattern only.
struct OtherRow {
    const char* pattern;
    const char* parameter;
    const char* reply;
    const char* text;
};
const OtherRow kOtherRows[] = {
    {"*IDN?", "–", "`VELTRIX Technologies,ORNAV46Q,SN1234567890123,1.09.0018`",
     "maker, model (from the unit's system information), serial number, firmware version"},
    {"IDN?", "–", "`ORNAV96T%EN#SN1234567890123`", "short identification: product code and serial number"},
    {"SYSTem:INFO?", "–", "text",
     "the system information line: firmware, hardware version, bandwidth, sample rate, name, serial"},
    {"SYSTem:ERRor?", "–", "`-224,\"Illegal parameter value\"`; `0,\"No error\"` when empty",
     "takes the newest entry off the error list"},
    {"SYSTem:ERRor", "–", "–", "empties the error list"},
    {"*CLS", "–", "–",
     "clears the event status register, the error list and the status byte's summaries; the enable registers stay"},
    {"*ESE", "integer 0..255 (else -224)", "–", "sets the standard event status enable register"},
    {"*ESE?", "–", "integer, e.g. `32`", "the standard event status enable register"},
    {"*ESR?", "–", "integer, e.g. `1`",
     "the standard event status register (bit 0 operation complete, bit 5 command error ...); reading clears it"},
    {"*OPC", "–", "–", "sets bit 0 of the event status register once every setting sent before it is applied"},
    {"*OPC?", "–", "`1`", "answers once every setting sent before it is applied (-200 after 30 s)"},
    {"*SRE", "integer 0..255 (else -224)", "–", "sets the service request enable register (bit 6 ignored)"},
    {"*SRE?", "–", "integer, e.g. `0`", "the service request enable register"},
    {"*STB?", "–", "integer, e.g. `4`",
     "the status byte (bit 2 error list not empty, bit 5 event summary); not cleared"},
    {"*TST?", "–", "`0` passed, `1` failed", "self-test: whether the FPGA register device answered at start"},
    {"*WAI", "–", "–", "returns once every setting sent before it is applied"},
    {"*TRG", "–", "–",
     "one manual trigger of every channel in sweep or burst with trigger source MANual (none waits: -211)"},
    {"*SAV", "integer 1..5 (else -222)", "–", "stores the settings as that preset"},
    {"*RCL", "integer 1..5 (else -222)", "–", "applies that preset (nothing stored there: -200)"},
    {"*OPT?", "–", "`0`", "the installed options: none"},
    {"*PSC", "0 or 1", "–", "power-on status clear flag (the enable registers start cleared either way)"},
    {"*PSC?", "–", "`1` / `0`", "the power-on status clear flag"},
    {"SYSTem:VERSion?", "–", "`1999.0`", "the SCPI version"},
    {"SYSTem:ERRor:NEXT?", "–", "as SYSTem:ERRor?", "takes the newest entry off the error list"},
    {"SYSTem:ERRor:COUNt?", "–", "integer", "the number of entries on the error list"},
    {"STATus:OPERation?", "–", "integer",
     "operation event register (8 sweeping, 32 waiting for a trigger); reading clears it"},
    {"STATus:OPERation:EVENt?", "–", "integer", "as STATus:OPERation?"},
    {"STATus:OPERation:CONDition?", "–", "integer", "operation conditions now"},
    {"STATus:OPERation:ENABle", "integer 0..65535", "–",
     "operation enable register: its summary is bit 7 of the status byte"},
    {"STATus:OPERation:ENABle?", "–", "integer", "operation enable register"},
    {"STATus:QUEStionable?", "–", "integer",
     "questionable event register (1 output overload, 16 over temperature, 32 reference clock lost); reading clears "
     "it"},
    {"STATus:QUEStionable:EVENt?", "–", "integer", "as STATus:QUEStionable?"},
    {"STATus:QUEStionable:CONDition?", "–", "integer", "questionable conditions now"},
    {"STATus:QUEStionable:ENABle", "integer 0..65535", "–",
     "questionable enable register: its summary is bit 3 of the status byte"},
    {"STATus:QUEStionable:ENABle?", "–", "integer", "questionable enable register"},
    {"STATus:PRESet", "–", "–", "clears the operation and questionable enable registers"},
    {"SYNC#:CMD#", "–", "–",
     "calibration station states: CMD0/CMD1 DC/AC calibration, CMD4/CMD5 verification, CMD3 saves the calibration, "
     "CMD6 clears it (SYNC number: channel)"},
    {"WFILE", "–", "–",
     "the next message is the calibration text, read into the channel characteristics (saved by SYNC#:CMD3)"},
    {"WP#:ADDR#", "number, or a block (one byte, or a little-endian double)", "–",
     "service write: range, offset and amplitude words of channel WP# at service address ADDR#"},
    {"RP#:ADDR#?", "–", "number", "service read of the same addresses"},
    {"KEY:LOCK?", "–", "one `0`/`1` a key, e.g. `0000000000000000000000000000000000000`",
     "which keys are locked, in table order"},
    {"KEY:LED?", "–", "18 `0`/`1`, e.g. `100000000000001000`",
     "the key LEDs: 14 of the current channel's keys, then CH1..CH4"},
    {"SYSTem:LOCK", "ON, OFF", "–",
     "locks the whole front panel (UTILity releases it unless keys were locked one by one)"},
    {"SYSTem:LOCK?", "–", "`1` / `0`", "whether the front panel is locked"},
    {"MOUSE", "DOWN or UP, x, y (screen pixels)", "–", "touches the screen at x, y as the touch panel would"},
    {"CHANnel#:SELect", "–", "–", "makes the channel the current one, as its CH key (-108 channel not 1..4)"},
    {"CHANnel#:SELect?", "–", "`1` / `0`", "whether the channel is the current one"},
    {"CHSEL?", "–", "integer 0..3 (255: none)", "the current channel, counted from 0"},
    {"SYSTem:CYMometer", "ON, OFF", "–", "switches the frequency counter on the counter input on or off"},
    {"SYSTem:CYMometer?", "–", "`1` / `0`", "whether the counter is on"},
    {"SYSTem:CYMometer:FREQuency?", "–", "`%-13.6e` Hz, e.g. `1.000000e+03`", "measured frequency (0 without input)"},
    {"SYSTem:CYMometer:PERiod?", "–", "`%-13.6e` s", "measured period"},
    {"SYSTem:CYMometer:DUTY?", "–", "`%-13.6e` %", "measured duty cycle"},
    {"SYSTem:CYMometer:PWIDTh?", "–", "`%-13.6e` s", "measured positive pulse width"},
    {"SYSTem:CYMometer:NWIDTh?", "–", "`%-13.6e` s", "measured negative pulse width"},
    {"SYSTem:CYMometer:TRIGger:COUPling", "counter coupling: AC, DC, NONe", "–", "input coupling"},
    {"SYSTem:CYMometer:TRIGger:COUPling?", "–", "name", "input coupling"},
    {"SYSTem:CYMometer:TRIGger:HF", "ON, OFF", "–", "high-frequency rejection filter"},
    {"SYSTem:CYMometer:TRIGger:HF?", "–", "`1` / `0`", "high-frequency rejection filter"},
    {"SYSTem:CYMometer:TRIGger:LEVel", "number", "–", "trigger level"},
    {"SYSTem:CYMometer:TRIGger:LEVel?", "–", "`%-13.6e`", "trigger level"},
    {"SYSTem:CYMometer:TRIGger:SENSitivity", "number", "–", "trigger sensitivity"},
    {"SYSTem:CYMometer:TRIGger:SENSitivity?", "–", "`%-13.6e`", "trigger sensitivity"},
    {"DIGital", "ON, OFF", "–", "switches the digital protocol output on or off"},
    {"DIGital?", "–", "`1` / `0`", "whether the digital output is on"},
    {"DIGital:TYPe", "digital type: SPI, IIC, UART", "–", "protocol of the digital output"},
    {"DIGital:TYPe?", "–", "name", "protocol of the digital output"},
    {"DIGital:AMPLitude", "number (V)", "–", "logic high level of the output"},
    {"DIGital:AMPLitude?", "–", "`%-13.6e`", "logic high level"},
    {"DIGital:FORMat", "digital format: HEX, CHAR", "–",
     "how the DIGital:DATa message is read: hexadecimal digits or characters"},
    {"DIGital:FORMat?", "–", "name", "data format"},
    {"DIGital:DATa", "–", "–",
     "the next message is the data to send (at most 2048 bytes; a final LF or CR LF is dropped)"},
    {"DIGital:DATa?", "–", "the data as loaded", "the data last loaded"},
    {"DIGital:TRIGger", "–", "–", "sends the loaded data once (manual sending)"},
    {"DIGital:AS", "ON, OFF", "–", "automatic sending: repeats the data every interval"},
    {"DIGital:AS?", "–", "`1` / `0`", "automatic sending"},
    {"DIGital:AS:INTerval", "number (s)", "–", "interval of automatic sending"},
    {"DIGital:AS:INTerval?", "–", "`%-13.6e`", "interval of automatic sending"},
    {"DIGital:SPI:CLOCk", "number (Hz)", "–", "SPI clock"},
    {"DIGital:SPI:CLOCk?", "–", "`%-13.6e`", "SPI clock"},
    {"DIGital:IIC:CLOCk", "number (Hz)", "–", "I2C clock"},
    {"DIGital:IIC:CLOCk?", "–", "`%-13.6e`", "I2C clock"},
    {"DIGital:IIC:ADDRess", "integer 0..1023 (else -224)", "–", "I2C target address (above 127: 10-bit addressing)"},
    {"DIGital:IIC:ADDRess?", "–", "integer", "I2C target address"},
    {"DIGital:UART:BAUDrate", "number (bps)", "–", "UART baud rate"},
    {"DIGital:UART:BAUDrate?", "–", "`%-13.6e`", "UART baud rate"},
    {"DIGital:UART:DATa", "integer (data bits)", "–", "UART data bits"},
    {"DIGital:UART:DATa?", "–", "integer", "UART data bits"},
    {"DIGital:UART:STOP", "number (stop bits)", "–", "UART stop bits"},
    {"DIGital:UART:STOP?", "–", "number", "UART stop bits"},
    {"DIGital:UART:PARity", "uart parity: NONe, EVEN, ODD", "–", "UART parity"},
    {"DIGital:UART:PARity?", "–", "name", "UART parity"},
    {"DISPlay:DATA?", "–", "definite-length block `#9000768054...`",
     "the screen as a picture in the format of SYSTem:PICTure:FORMat (BMP, JPEG or PNG)"},
    {"DISPlay:ZBMP?", "–", "`#9`, nine digits, data, 89 AB CD EF, CR LF",
     "the raw screen (BMP header and 1280 x 800 BGRA pixels, bottom row first) compressed with LZO1X-1"},
};

// The front-panel key rows, described by their form: "KEY:<key>",
// "KEY:<key>:LOCK", "KEY:<key>:LOCK?", "KEY:<key>:LED?".
bool keyRow(const std::string& p, OtherRow* out)
{
    if (p.compare(0, 4, "KEY:") != 0 || p == "KEY:LOCK?" || p == "KEY:LED?")
        return false;
    auto ends = [&](const char* s) {
        const size_t n = std::strlen(s);
        return p.size() > n && p.compare(p.size() - n, n, s) == 0;
    };
    if (ends(":LOCK?"))
        *out = {"", "–", "`1` / `0`", "whether this key is locked"};
    else if (ends(":LOCK"))
        *out = {"", "ON, OFF", "–", "locks or unlocks this front-panel key"};
    else if (ends(":LED?"))
        *out = {"", "–", "`1` / `0`", "whether this key's LED is lit"};
    else
        *out = {"", "–", "–", "presses and releases this front-panel key"};
    return true;
}

// The words of a choice list, each as `word` writes it, joined by ", ": the
// parameter column, the table of choice lists and the JSON rows all list
// words this one way.
template <typename Word>
std::string joinWords(const scpi_choice_def_t* c, Word word)
{
    std::string s;
    for (; c && c->name; ++c)
        s += (s.empty() ? "" : ", ") + word(*c);
    return s;
}

std::string nameOf(const scpi_choice_def_t& c) { return c.name; }

// "<title of the list>: WORD1, WORD2, ..."
std::string choiceText(const scpi_choice_def_t* choices)
{
    const char* title = scpi_list_title(choices);
    return std::string(title ? title : "word") + ": " + joinWords(choices, nameOf);
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
    switch (r.kind) {
    case RK_NONE: return "–";
    case RK_BOOL: return "ON, OFF or a number (non-zero: ON)";
    case RK_CHOICE:
    case RK_SPECIAL: return choiceText(r.choices);
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
        snprintf(b, sizeof b, "-109 missing, %d suffix of another kind, -131 unknown suffix", int(r.suffixError));
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

// One line of a group's table: the pattern, then the other columns escaped.
std::string tableLine(const std::string& pattern, const std::string& parameter, const std::string& reply,
                      const std::string& effect, const std::string& errors)
{
    return "| `" + escape(pattern) + "` | " + escape(parameter) + " | " + escape(reply) + " | " + escape(effect) +
        " | " + (errors.empty() ? "" : escape(errors) + " ") + "|\n";
}

// The groups of the reference, in the order a user meets them, each with an
// example.
struct Group {
    const char* title;
    const char* example;
};
const Group kGroups[] = {
    {"Identification, status and error list", "*IDN?\n*RST\n*OPC?\nSYSTem:ERRor?"},
    {"Channel output and limits", "CHANnel1:OUTPut ON\nCHANnel1:LOAD 50\nCHANnel1:OUTPut?"},
    {"Base waveform",
     "CHANnel1:BASe:WAVe SINe\nCHANnel1:BASe:FREQuency 10kHZ\nCHANnel1:BASe:AMPLitude 2Vpp\n"
     "CHANnel1:BASe:OFFSet 500mV\nCHANnel1:BASe:FREQuency?"},
    {"Work mode, modulation, sweep and burst",
     "CHANnel1:MODE MODulation\nCHANnel1:MODulate:TYPe AM\nCHANnel1:MODulate:WAVe SINe\n"
     "CHANnel2:SWEep:TYPe LINe\nCHANnel2:SWEep:TIMe 1S\nCHANnel3:BURSt:TYPe NCYC\nCHANnel3:BURSt:CYCLes 3"},
    {"Merge and coupling", "CHANnel:COUPle1:FREQuency ON\nCHANnel:COUPle1:FREQuency:SCALe 2\nCHANnel2:BASe:FREQuency?"},
    {"Data transfers", "WARB1:CARRier \"ramp.bsv\"\n<the file's bytes as the next message>"},
    {"System and factory", "SYSTem:PICTure:FORMat PNG\nSYSTem:LANGuage?"},
    {"Frequency counter", "SYSTem:CYMometer ON\nSYSTem:CYMometer:FREQuency?"},
    {"Digital protocol output",
     "DIGital:TYPe UART\nDIGital:UART:BAUDrate 115200\nDIGital:FORMat CHAR\nDIGital:DATa\n"
     "<the data as the next message>\nDIGital ON\nDIGital:TRIGger"},
    {"Screen capture", "SYSTem:PICTure:FORMat PNG\nDISPlay:DATA?"},
    {"Front panel", "KEY:SINe\nKEY:OK:LOCK ON\nKEY:LOCK?\nSYSTem:LOCK OFF\nMOUSE DOWN,640,400"},
    {"Calibration and service", "SYNC1:CMD6\nRP1:ADDR3?"},
};

bool starts(const std::string& s, const char* prefix) { return s.compare(0, std::strlen(prefix), prefix) == 0; }

// The group of a command: a described row's area, the others by header.
int groupOf(const scpi_row_t* r, const std::string& p)
{
    if (r) {
        switch (r->id >> 8) {
        case SCPI_AREA_OUTPUT: return 1;
        case SCPI_AREA_BASE: return 2;
        case SCPI_AREA_MODES: return 3;
        case SCPI_AREA_COUPLE: return 4;
        case SCPI_AREA_FILES: return 5;
        case SCPI_AREA_SYSTEM: return 6;
        default: return 0;
        }
    }
    if (starts(p, "SYSTem:CYMometer"))
        return 7;
    if (starts(p, "DIGital"))
        return 8;
    if (starts(p, "DISPlay"))
        return 9;
    if (starts(p, "KEY:") || starts(p, "SYSTem:LOCK") || starts(p, "MOUSE") || starts(p, "CHANnel#:SELect") ||
        starts(p, "CHSEL"))
        return 10;
    if (starts(p, "SYNC") || starts(p, "WFILE") || starts(p, "WP") || starts(p, "RP"))
        return 11;
    return 0;
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
    out += "An arming command (`WARB#:CARRier`, `WARB#:MODulate`, `WFREQLIST#`, `WFILE`, `SYSTem:CONFigure`, "
           "`DIGital:DATa`) takes its data in the same message as an IEEE 488.2 definite-length block after the "
           "file name and a comma (after the header and a blank when it takes no name): "
           "`WARB1:CARRier \"ramp.bsv\",#42056` and 2056 bytes, which is what pyvisa's `write_binary_values` "
           "sends on every transport. Commands after the block follow a `;`. A block whose length does not match "
           "the bytes sent reports -224 and arms nothing. The data may also come as the message after the arming "
           "command, as below.\n\n";
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

    const int nGroups = int(sizeof kGroups / sizeof kGroups[0]);
    std::vector<std::string> rows(nGroups);
    for (const scpi_command_t* c = scpi_commands; c->pattern; ++c) {
        const bool described = c->callback == SCPI_RowSet || c->callback == SCPI_RowQuery;
        const scpi_row_t* r = described ? scpi_row_find(c->tag) : nullptr;
        bool both = false;
        const std::string pattern = patternOf(c, &both);
        std::string& group = rows[groupOf(r, c->pattern)];
        if (!r) {
            OtherRow o = {"", "", "", ""};
            if (!keyRow(pattern, &o))
                for (const auto& x : kOtherRows)
                    if (std::strcmp(x.pattern, c->pattern) == 0)
                        o = x;
            group += tableLine(pattern, o.parameter, o.reply, o.text, "");
            continue;
        }
        std::string effect = r->effect ? r->effect : "";
        if (c->pattern == std::string("CHANnel#:SWEep:HOLD") || c->pattern == std::string("CHANnel#:SWEep:HOLD?"))
            effect = "another name for SWEep:TIMe: sets and reads the same time (there is no separate hold time)";
        if (r->wait != RW_NONE && r->formerPauseMs > 0)
            effect += " (waits until applied)";
        const bool isQuery = c->callback == SCPI_RowQuery;
        group += tableLine(pattern, isQuery && !both ? "–" : parameter(*r), isQuery || both ? reply(*r) : "–", effect,
                           errors(*r));
        if (both)
            ++c;
    }
    for (int g = 0; g < nGroups; ++g) {
        if (rows[g].empty())
            continue;
        out += std::string("\n## ") + kGroups[g].title + "\n\n```\n" + kGroups[g].example + "\n```\n\n";
        out += "| Pattern | Parameter | Reply | Effect | Errors |\n|---|---|---|---|---|\n" + rows[g];
    }

    out += "\n## Choice lists\n\n| List | Words (tag) |\n|---|---|\n";
    const scpi_choice_def_t* lists[] = {
        scpi_list_phase_mode,     scpi_list_sleep_time,     scpi_list_counter_coupling, scpi_list_number_format,
        scpi_list_picture_format, scpi_list_language,       scpi_list_amplitude_unit,   scpi_list_noise_unit,
        scpi_list_digital_type,   scpi_list_digital_format, scpi_list_uart_parity,      scpi_list_base_wave,
        scpi_list_harmonic_type,  scpi_list_arb_source,     scpi_list_arb_sampling,     scpi_list_arb_filter,
        scpi_list_work_mode,      scpi_list_trigger_source, scpi_list_mod_source,       scpi_list_trigger_output,
        scpi_list_mod_type,       scpi_list_qam_map,        scpi_list_pn_code,          scpi_list_mod_wave,
        scpi_list_sweep_type,     scpi_list_burst_type,     scpi_list_gate_polarity,    scpi_list_touch_action,
    };
    for (const scpi_choice_def_t* l : lists) {
        const std::string words = joinWords(
            l, [](const scpi_choice_def_t& c) { return std::string(c.name) + " (" + std::to_string(c.tag) + ")"; });
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
        const std::string choices =
            "[" + joinWords(r ? r->choices : nullptr, [](const scpi_choice_def_t& w) { return quoted(w.name); }) + "]";
        char tail[160];
        snprintf(tail, sizeof tail, ", \"suffix\": \"%s\", \"suffix_error\": %d, \"controller\": %s}",
                 r ? suffixName(r->suffix) : "", r ? int(r->suffixError) : int(SCPI_ERROR_ILLEGAL_PARAMETER_VALUE),
                 r && r->paramIndex >= 0 && r->wait != RW_NONE ? "true" : "false");
        out += std::string(out.size() > 2 ? ",\n" : "") + "{\"pattern\": " + quoted(c->pattern) + ", \"kind\": \"" +
            kindName(r) + "\", \"target\": \"" + targetName(r) + "\", \"choices\": " + choices + tail;
    }
    return out + "\n]\n";
}
