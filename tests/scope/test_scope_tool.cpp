// ornav-sim scope against the simulated FPGA this test process serves, the
// way it reaches a running ornav72: the printed measurements, the CSV and the
// picture.
#include "tests/scope/scope_fixture.h"
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>

namespace {
struct ToolRun {
    int status = -1;
    QString out;
    QString err;
};

ToolRun scopeTool(const QString& root, const QStringList& args)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove("ORNAV_ROOT");
    env.insert("QT_QPA_PLATFORM", "offscreen");
    p.setProcessEnvironment(env);
    p.start(QString(ORNAV_BIN_DIR) + "/tools/ornav-sim", QStringList{"--root", root, "scope"} + args);
    ToolRun r;
    if (!p.waitForFinished(60000))
        return r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = QString::fromUtf8(p.readAllStandardOutput());
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}

// The value of a printed measurement in base units ("Freq   1.00000 kHz").
double measured(const QString& out, const QString& name)
{
    const QRegularExpression re("^" + name + "\\s+(-?[0-9.]+) ?([pnumkMG]?)", QRegularExpression::MultilineOption);
    const auto m = re.match(out);
    if (!m.hasMatch())
        return std::nan("");
    static const QString prefixes = "pnum kMG";
    const QString p = m.captured(2);
    const int e = p.isEmpty() ? 4 : prefixes.indexOf(p);
    return m.captured(1).toDouble() * std::pow(1000.0, e - 4);
}
} // namespace

class ScopeTool : public Scope {
protected:
    ToolRun run(const QStringList& args) { return scopeTool(dir.path(), args); }
};

TEST_F(ScopeTool, PrintsTheMeasurementsOfASquareAndWritesCsvAndPicture)
{
    ASSERT_TRUE(fpga().serving());
    select(0, BASE_Square);
    set(0, PARAM_INDEX_FREQ, 1000);
    set(0, PARAM_INDEX_AMP, 2.0);
    set(0, PARAM_INDEX_OFFSET, 0.5);
    set(0, PARAM_INDEX_DUTYPULSE, 25);
    const QString csv = dir.path() + "/trace.csv", png = dir.path() + "/trace.png";
    const ToolRun r = run({"1", "--span", "5e-3", "--points", "50000", "--csv", csv, "--png", png});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_NEAR(measured(r.out, "Freq"), 1000, 0.01) << r.out.toStdString();
    EXPECT_NEAR(measured(r.out, "Vpp"), 2.0, 2e-3);
    EXPECT_NEAR(measured(r.out, "Vmax"), 1.5, 2e-3);
    EXPECT_NEAR(measured(r.out, "Vmin"), -0.5, 2e-3);
    EXPECT_NEAR(measured(r.out, "Duty"), 25, 0.01);
    EXPECT_FALSE(r.out.contains("Note")) << r.out.toStdString();

    QFile f(csv);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = f.readAll().trimmed().split('\n');
    ASSERT_EQ(lines.size(), 50001);
    EXPECT_EQ(lines[0], QByteArray("time_s,volts"));
    // 0.25 ms into the period the square has just fallen: its low level.
    const QList<QByteArray> at = lines[1 + 3000].split(',');
    EXPECT_NEAR(at[0].toDouble(), 0.3e-3, 1e-12);
    EXPECT_NEAR(at[1].toDouble(), -0.5, 2e-3);

    QImage img(png);
    ASSERT_FALSE(img.isNull());
    EXPECT_GE(img.width(), 800);
    // CH1's screen colour (dark red) is on the picture.
    int trace = 0;
    for (int y = 0; y < img.height(); y += 2)
        for (int x = 0; x < 780; x += 2)
            if (qRed(img.pixel(x, y)) > 120 && qGreen(img.pixel(x, y)) < 60 && qBlue(img.pixel(x, y)) < 60)
                ++trace;
    EXPECT_GT(trace, 100);
}

TEST_F(ScopeTool, OutputOffAndArgumentErrors)
{
    select(1, BASE_Sine);
    set(1, PARAM_INDEX_OFFSET, 1.0);
    ctrl->ChannelOnOff(CH2, false);
    settle();
    ToolRun r = run({"2", "--span", "1e-3", "--points", "1000"});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains("Output off"));
    EXPECT_EQ(measured(r.out, "Vmax"), 0);
    EXPECT_EQ(measured(r.out, "Vmin"), 0);

    EXPECT_EQ(run({"5"}).status, 2);
    EXPECT_EQ(run({"1", "--span", "-1"}).status, 2);
    EXPECT_EQ(run({"1", "--points", "3"}).status, 2);
    EXPECT_EQ(run({"1", "--load", "0"}).status, 2);
    EXPECT_EQ(run({"1", "--bogus", "1"}).status, 2);
}
