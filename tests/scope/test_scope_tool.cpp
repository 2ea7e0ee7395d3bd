// ornav-sim scope against the simulated FPGA this test process serves, the
// way it reaches a running ornav72: the picture and the refusal of bad
// arguments. Its printed measurements and CSV against the real program:
// tests/clients (ScopeClients, scope_rows.py).
#include "tests/scope/scope_fixture.h"
#include <QImage>
#include <QProcess>

class ScopeTool : public Scope {
protected:
    // The tool's exit status (-1 when it did not end).
    int run(const QStringList& args)
    {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove("ORNAV_ROOT");
        env.insert("QT_QPA_PLATFORM", "offscreen");
        p.setProcessEnvironment(env);
        p.start(QString(ORNAV_BIN_DIR) + "/tools/ornav-sim", QStringList {"--root", dir.path(), "scope"} + args);
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
            return -1;
        return p.exitCode();
    }
};

TEST_F(ScopeTool, DrawsTheTraceInTheChannelsColourAndRefusesBadArguments)
{
    ASSERT_TRUE(fpga().serving());
    select(0, BASE_Square);
    set(0, PARAM_INDEX_AMP, 2.0);
    const QString png = dir.path() + "/trace.png";
    ASSERT_EQ(run({"1", "--span", "5e-3", "--points", "50000", "--png", png}), 0);
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

    for (const QStringList& bad : {QStringList {"5"},
                                   {"1", "--span", "-1"},
                                   {"1", "--points", "3"},
                                   {"1", "--load", "0"},
                                   {"1", "--bogus", "1"}})
        EXPECT_EQ(run(bad), 2) << bad.join(' ').toStdString();
}
