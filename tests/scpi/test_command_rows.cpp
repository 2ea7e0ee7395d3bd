// The instrument's command rows against a recorder of the controller
// requests: what each setter asks for, in which order, and what a refused
// command leaves alone. The end-to-end behaviour is in tests/clients.
#include <gtest/gtest.h>
#include <sstream>
#include <cstring>
#include <string>
#include <vector>
#include "communication/SCPI/commands/scpi_commands.h"
#include "communication/SCPI/commands/scpi_instrument.h"
#include "communication/SCPI/commands/scpi_rows.h"
#include "param/global.h"
#include "tests/scpi/scpi_test_table.h"

namespace {

class Recorder : public ScpiInstrument {
public:
    HardWareInfo rec {};
    std::vector<std::string> log;
    bool masked = false;

    void add(const char* what, double a, double b, double c)
    {
        char buf[96];
        snprintf(buf, sizeof buf, "%s %g %g %g", what, a, b, c);
        log.emplace_back(buf);
    }
    const HardWareInfo& record() override { return rec; }
    void recordImage(HardWareInfo* out) override { *out = rec; }
    void setValue(int t, int p, double v) override { add("value", t, p, v); }
    void setUnits(int t, int p, int u) override { add("units", t, p, u); }
    void setModeIndex(int ch, int m, int i) override { add("modeIndex", ch, m, i); }
    void baseWaveSelected(int ch, int w, int where) override { add("wave", ch, w, where); }
    void modeSelected(int ch, int m) override { add("mode", ch, m, 0); }
    void loadRecord(const char*, int length) override { add("load", length, 0, 0); }
    void arbFile(int ch, const std::string& path, bool, bool, bool) override
    {
        log.push_back("arb " + std::to_string(ch) + " " + path);
    }
    bool waitApplied(bool screens, int) override
    {
        log.push_back(screens ? "wait screens" : "wait");
        return true;
    }
    bool outputOn(int) override { return false; }
    bool modelMasked(int, int) override { return masked; }
    int language() override { return 1; }
    std::string serial() override { return "SN1"; }
    void setSerial(const char* t, unsigned n) override { log.push_back("sn " + std::string(t, n)); }
    std::string displayName() override { return "ORNAV46Q"; }
    std::string hardwareVersion() override { return "2.01"; }
    double sineBandwidth(int) override { return 600e6; }
    void storeArbPath(int ch, bool, const std::string& path) override
    {
        log.push_back("store " + std::to_string(ch) + " " + path);
    }
    bool findFile(const char* folder, const std::string& name, std::string*) override
    {
        log.push_back(std::string("find ") + folder + " " + name);
        return false;
    }
    void manualTrigger(int ch) override { add("trigger", ch, 0, 0); }
};

class CommandRows : public ::testing::Test {
protected:
    void SetUp() override
    {
        rig.ctx.cmdlist = scpi_commands;
        rig.ctx.instrument = &inst;
        for (CH_DATA& d : inst.rec.PDT)
            d.Load = 50;
    }
    // Requests of one message, errors emptied into errs.
    std::vector<std::string> send(const std::string& msg)
    {
        inst.log.clear();
        rig.out.clear();
        rig.send(msg + "\n");
        errs = rig.drainErrors();
        return inst.log;
    }
    using L = std::vector<std::string>;
    using E = std::vector<int>;
    Recorder inst;
    ScpiTestRig rig;
    E errs;
};

// A name with a path is refused before anything is looked up (the lookup by
// a plain name is the driver's upload test).
TEST_F(CommandRows, ArbFileWithAPathIsNotLookedUp)
{
    EXPECT_EQ(send("CHANnel1:BASe:ARB USER,\"../x.bsv\""), L {});
    EXPECT_EQ(errs, E {-224});
}

// Handlers reach the instrument their context carries: a second interpreter
// without one takes no request and reads a blank record.
TEST_F(CommandRows, EachContextReachesItsOwnInstrument)
{
    inst.rec.PDT[0].Frequency = 1234;
    ScpiTestRig other;
    other.ctx.cmdlist = scpi_commands;
    inst.log.clear();
    other.send("CHANnel1:BASe:FREQuency 1000\n");
    EXPECT_EQ(inst.log, L {});
    EXPECT_EQ(other.ask("CHANnel1:BASe:FREQuency?\n").find("1.234"), std::string::npos);
    EXPECT_NE(rig.ask("CHANnel1:BASe:FREQuency?\n").find("1.234"), std::string::npos);
    EXPECT_FALSE(send("CHANnel1:BASe:FREQuency 1000").empty());
}

// Every described record of the table has its descriptor, and every query
// runs on an all-zero record without failing on anything but its own rules.
TEST_F(CommandRows, EveryDescribedRowResolves)
{
    int described = 0;
    for (const scpi_command_t* c = scpi_commands; c->pattern; ++c) {
        if (c->callback != SCPI_RowSet && c->callback != SCPI_RowQuery)
            continue;
        ++described;
        const scpi_row_t* row = scpi_row_find(c->tag);
        ASSERT_NE(row, nullptr) << c->pattern;
        const bool query = c->pattern[std::strlen(c->pattern) - 1] == '?';
        EXPECT_EQ(query, c->callback == SCPI_RowQuery) << c->pattern;
        if (query) {
            EXPECT_TRUE(row->query || row->read) << c->pattern;
        }
    }
    EXPECT_EQ(described, 176); // the described rows, set and query forms
}

} // namespace

#include <QFile>
#include "communication/SCPI/commands/scpi_doc.h"

// docs/scpi-commands.md is what tools/scpi-doc writes from today's table:
// regenerate it with `build/tools/scpi-doc docs/scpi-commands.md`.
TEST(CommandReference, CheckedInFileIsCurrent)
{
    QFile f(QString(ORNAV_SOURCE_DIR) + "/docs/scpi-commands.md");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "docs/scpi-commands.md is missing";
    const std::string onDisk = f.readAll().toStdString();
    EXPECT_TRUE(onDisk == scpi_command_reference())
        << "docs/scpi-commands.md is stale: run build/tools/scpi-doc docs/scpi-commands.md";
}

TEST(CommandReference, ListsEveryPatternOfTheTable)
{
    const std::string doc = scpi_command_reference();
    for (const scpi_command_t* c = scpi_commands; c->pattern; ++c) {
        std::string p = c->pattern;
        const std::string base = (!p.empty() && p.back() == '?') ? p.substr(0, p.size() - 1) : p;
        // A set and query pair is listed once as "X[?]".
        if (doc.find("`" + p + "`") == std::string::npos)
            p = base + "[?]";
        EXPECT_NE(doc.find("`" + p + "`"), std::string::npos) << c->pattern;
    }
    // Every command is described: no empty cell in a row of the reference.
    std::istringstream lines(doc);
    for (std::string l; std::getline(lines, l);) {
        if (l.rfind("| `", 0) == 0) {
            EXPECT_EQ(l.find("|  |"), std::string::npos) << l;
        }
    }
}
