// ornav-sim reaching the simulated FPGA that this test process serves, the
// way it reaches a running ornav72.
#include "tests/fpga/fpga_test_support.h"
#include <QProcess>

namespace {
struct ToolRun {
    int status = -1;
    QByteArray out;
    QByteArray err;
};

ToolRun tool(const QString& root, const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("ORNAV_ROOT");
    p.setProcessEnvironment(env);
    p.start(QString(ORNAV_BIN_DIR) + "/tools/ornav-sim", QStringList {"--root", root} + args);
    ToolRun r;
    if (!p.waitForFinished(20000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}
} // namespace

class OrnavSimTool : public SimBoardTest {
protected:
    void SetUp() override
    {
        SimBoardTest::SetUp();
        openDevice();
        ASSERT_TRUE(fpga().serving());
    }
    ToolRun run(const QStringList& args) { return tool(dir.path(), args); }
};

// Hex output, the stream and a stopped program are read on the running
// program in test_program_bringup.cpp, poke, key and log by the client tests;
// here the address forms, the default count and the refusals.
TEST_F(OrnavSimTool, PeekTakesDecimalAddressesAndOneByteByDefault)
{
    fpga().poke(0x819, bytes({0x09, 0x12, 0x05, 0xAB}));
    const struct {
        const char *address, *out;
    } rows[] = {{"2073", "09\n"}, {"0x81a", "12\n"}, {"0xffff", "00\n"}};
    for (const auto& r : rows)
        EXPECT_EQ(run({"peek", r.address}).out, QByteArray(r.out)) << r.address;
    EXPECT_EQ(run({"stream", "list:1"}).out, QByteArray());
}

TEST_F(OrnavSimTool, WrongAddressesCountsAndBytesAreRefused)
{
    const QList<QStringList> bad = {
        {"peek"},
        {"peek", "0x10000"},
        {"peek", "-1"},
        {"peek", "zz"},
        {"peek", "0x800", "0"},
        {"peek", "0xfff0", "17"},
        {"peek", "0x800", "1", "2"},
        {"poke", "0x800"},
        {"poke", "0x800", "256"},
        {"poke", "0xffff", "1", "2"},
        {"poke", "0x10000", "1"},
        {"key"},
        {"key", "300"},
        {"stream"},
        {"log", "--all"},
    };
    const QByteArray before = fpga().peek(0, SimFpga::kSpaceSize);
    for (const QStringList& args : bad) {
        const ToolRun r = run(args);
        EXPECT_EQ(r.status, 2) << args.join(' ').toStdString();
        EXPECT_FALSE(r.err.isEmpty()) << args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty()) << args.join(' ').toStdString();
    }
    EXPECT_EQ(fpga().peek(0, SimFpga::kSpaceSize), before);
    EXPECT_EQ(fpga().pendingKeys(), 0);
}
