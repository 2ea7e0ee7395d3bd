// The real program on a simulated board root: its bring-up writes, seen from
// outside with ornav-sim while it runs.
#include <gtest/gtest.h>
#include <QProcess>
#include <QSettings>
#include <QTemporaryDir>
#include "simboard/simfpga.h"
#include "simboard/simroot.h"

namespace {
QString bin(const char* name) { return QString(ORNAV_BIN_DIR) + name; }

struct Tool {
    int status = -1;
    QByteArray out, err;
};

Tool sim(const QString& root, const QStringList& args)
{
    QProcess p;
    p.start(bin("/tools/ornav-sim"), QStringList {"--root", root} + args);
    Tool t;
    if (p.waitForFinished(20000) && p.exitStatus() == QProcess::NormalExit)
        t.status = p.exitCode();
    t.out = p.readAllStandardOutput();
    t.err = p.readAllStandardError();
    return t;
}

QString le16(unsigned w) { return QString::asprintf("%02x %02x", w & 0xFF, w >> 8); }
} // namespace

TEST(ProgramBringUp, BringUpWritesAreSeenWithOrnavSim)
{
    QTemporaryDir dir;
    ASSERT_TRUE(SimRoot::create(dir.path()));
    {
        QSettings s(dir.path() + SimFpga::kPowerOnPath, QSettings::IniFormat);
        s.setValue("HwVersion", "0x0a");     // 2.02
        s.setValue("LogicVersion0", "0x21"); // 2.01.
        s.setValue("LogicVersion1", "0x2a"); // 042
    }

    QProcess prog;
    prog.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.remove("ORNAV_ROOT");
    prog.setProcessEnvironment(env);
    prog.start(bin("/ornav72"), {"--root", dir.path()});
    ASSERT_TRUE(prog.waitForStarted(10000));
    QByteArray output;
    for (int i = 0; i < 300 && !output.contains("ornav72 running"); ++i) {
        prog.waitForReadyRead(100);
        output += prog.readAll();
        if (prog.state() != QProcess::Running)
            break;
    }
    ASSERT_TRUE(output.contains("ornav72 running")) << output.constData();
    EXPECT_TRUE(output.contains("logic version 2.01.042, hardware version 2.02")) << output.constData();

    const Tool log = sim(dir.path(), {"log"});
    ASSERT_EQ(log.status, 0) << log.err.constData();
    const QStringList lines = QString::fromUtf8(log.out).split('\n', Qt::SkipEmptyParts);

    // The main DACs first, in the AD9122's start-up order.
    const unsigned dac[24] = {0x0020, 0x0000, 0x1048, 0x1601, 0x1704, 0x0B00, 0x0A00, 0x0C01,
                              0x0D01, 0x0E01, 0x1BE0, 0x1C01, 0x1D00, 0x1E01, 0x44FF, 0x4503,
                              0x40FF, 0x4103, 0x1803, 0x1800, 0x1803, 0x1800, 0x1803, 0x1800};
    QStringList want;
    for (unsigned w : dac)
        want << "0x0702 " + le16(w);
    // Flat amplitude tables on all four channels, then the digital output off.
    const int sizes[4] = {4096, 4096, 1536, 1536};
    for (int ch = 0; ch < 4; ++ch)
        want << QString::asprintf("0x0601 %02x", ch * 4 + 2) << "0x0602 01"
             << QString("0x0603 [%1 words]").arg(sizes[ch]) << "0x0602 00";
    want << "0x0900 00";
    ASSERT_GE(lines.size(), want.size()) << log.out.constData();
    EXPECT_EQ(lines.mid(0, want.size()), want);

    // The tables themselves, and the versions the program read.
    const Tool table = sim(dir.path(), {"stream", "table:3:flat"});
    ASSERT_EQ(table.status, 0);
    const QList<QByteArray> words = table.out.split('\n');
    EXPECT_EQ(words.size(), 1536 + 1);
    EXPECT_EQ(words.count("65535"), 1536);
    EXPECT_EQ(sim(dir.path(), {"peek", "0x819", "3"}).out, QByteArray("0a 21 2a\n"));

    prog.terminate();
    ASSERT_TRUE(prog.waitForFinished(15000));
    EXPECT_EQ(prog.exitCode(), 0);

    // Gone: ornav-sim says so and fails with status 2.
    const Tool after = sim(dir.path(), {"peek", "0x819"});
    EXPECT_EQ(after.status, 2);
    EXPECT_TRUE(after.err.contains("no ornav72 is running")) << after.err.constData();
}
