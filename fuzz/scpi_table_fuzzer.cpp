// Fuzz target: the instrument's whole command table.
//
// An input is one remote message, optionally followed by a 0xFF byte and
// bytes that are laid over the parameter record (repeated to fill it), so
// that every handler meets arbitrary messages and arbitrary stored values.
// The controller's requests go to a recorder that checks each one (a valid
// target, a known parameter index, a finite value) instead of a controller.
// Any crash, read past a buffer (AddressSanitizer), undefined behaviour or a
// bad request aborts.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include "communication/SCPI/commands/scpi_commands.h"
#include "communication/SCPI/commands/scpi_instrument.h"
#include "communication/SCPI/scpi.h"
#include "communication/SCPI/scpi_wfile.h"
#include "param/global.h"

namespace {

void bad(const char* what, double a, double b, double c)
{
    fprintf(stderr, "bad request %s %g %g %g\n", what, a, b, c);
    abort();
}

bool channel(int ch) { return ch >= CH1 && ch <= CH4; }

class Recorder : public ScpiInstrument {
public:
    HardWareInfo rec {};
    long requests = 0;

    const HardWareInfo& record() override { return rec; }
    void recordImage(HardWareInfo* out) override { *out = rec; }
    void setValue(int t, int p, double v) override
    {
        const bool target =
            channel(t) || t == COUPLE12 || t == COUPLE34 || t == CH_SYS || t == CH_COUNTER || t == CH_DIGITAL;
        if (!target || p < 0 || p >= PARAM_INDEX_TOTAL || !std::isfinite(v))
            bad("value", t, p, v);
        ++requests;
    }
    void setUnits(int t, int p, int u) override
    {
        if (!channel(t) || p < 0 || p >= PARAM_INDEX_TOTAL || u < 0 || u > 2)
            bad("units", t, p, u);
        ++requests;
    }
    void setModeIndex(int ch, int m, int i) override
    {
        if (!channel(ch) || m < 1 || m > 3 || i < 0 || i > 14)
            bad("modeIndex", ch, m, i);
        ++requests;
    }
    void baseWaveSelected(int ch, int w, int) override
    {
        if (!channel(ch) || w < 0 || w > 8)
            bad("wave", ch, w, 0);
        ++requests;
    }
    void modeSelected(int ch, int m) override
    {
        if (!channel(ch) || m < 0 || m > 3)
            bad("mode", ch, m, 0);
        ++requests;
    }
    void loadRecord(const char*, int length) override
    {
        if (length != 0 && length != int(sizeof(HardWareInfo)))
            bad("load", length, 0, 0);
    }
    void arbFile(int ch, const std::string& path, bool, bool, bool) override
    {
        if (!channel(ch) || path.find("..") != std::string::npos)
            bad("arb", ch, 0, 0);
    }
    bool waitApplied(bool, int) override { return true; }
    bool outputOn(int ch) override { return ch == CH2; }
    bool modelMasked(int list, int) override { return list == CH3; }
    int language() override { return rec.BackLight & 1; }
    std::string serial() override { return "SN0"; }
    void setSerial(const char*, unsigned n) override
    {
        // The row refuses an empty serial; a longer one than the record
        // holds is the instrument's to cut, so any length may arrive here.
        if (n == 0)
            bad("serial", n, 0, 0);
    }
    std::string displayName() override { return "ORNAV46Q"; }
    std::string hardwareVersion() override { return "2.01"; }
    double sineBandwidth(int) override { return 600e6; }
    void storeArbPath(int ch, bool, const std::string& path) override
    {
        if (!channel(ch) || path.size() > 127)
            bad("store", ch, double(path.size()), 0);
    }
    bool findFile(const char*, const std::string& name, std::string* path) override
    {
        if (name.find('/') != std::string::npos)
            bad("find", 0, 0, 0);
        if (name.size() % 2)
            return false;
        *path = "/usr/share/ArbWaveLib/" + name;
        return true;
    }
    void manualTrigger(int ch) override
    {
        if (!channel(ch))
            bad("trigger", ch, 0, 0);
    }
};

Recorder g_recorder;
char g_response[1 << 16];
size_t g_responseLen = 0;

int collect(const char* data, int len)
{
    if (len < 0)
        abort();
    if (g_responseLen + size_t(len) > sizeof g_response)
        return 0; // a full collector drops, as a transport does
    memcpy(g_response + g_responseLen, data, size_t(len));
    g_responseLen += size_t(len);
    return len;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // The table's handlers reach the recorder instead of a controller.
    scpi_context.instrument = &g_recorder;
    scpi_context.cmdlist = scpi_commands;
    SCPI_Init(&scpi_context);
    SCPI_SetResponseSink(collect);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SCPI_ErrorClear(&scpi_context);
    for (int r = 0; r < SCPI_REG_COUNT; r++)
        scpi_context.registers[r] = 0;
    Sys_ErrorClear();
    scpi_wfile_reset();
    g_responseLen = 0;

    size_t msgLen = 0;
    while (msgLen < size && data[msgLen] != 0xFF)
        msgLen++;
    memset(&g_recorder.rec, 0, sizeof g_recorder.rec);
    if (msgLen + 1 < size) {
        unsigned char* rec = reinterpret_cast<unsigned char*>(&g_recorder.rec);
        const size_t n = size - msgLen - 1;
        for (size_t i = 0; i < sizeof g_recorder.rec; i++)
            rec[i] = data[msgLen + 1 + i % n];
    }

    const int len = msgLen > 65536 ? 65536 : int(msgLen);
    char* copy = static_cast<char*>(malloc(len > 0 ? size_t(len) : 1));
    if (len > 0)
        memcpy(copy, data, size_t(len));
    SCPI_Input(&scpi_context, copy, len);
    scpi_wfile_reset();
    // The same bytes straight to the parser from an exact-size copy, so that
    // any read past the message is caught.
    SCPI_Parse(&scpi_context, copy, len);
    scpi_wfile_reset();
    free(copy);

    if (SCPI_ErrorCount(&scpi_context) > SCPI_ERROR_QUEUE_SIZE || Sys_ErrorCount() > SYS_ERROR_STACK_SIZE)
        abort();
    return 0;
}
