// The running program killed with SIGKILL at random moments of a stream of
// remote setting changes, then started again on the same simulated root: it
// always starts, and its last state passes the record's checks and is one of
// the states the stream went through (tests/clients/sigkill_settings.py).
#include <gtest/gtest.h>
#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>

// The script learns the states first (two system settings away from the
// factory record, then each wave on channel 1) and compares every record but
// channel 1's derived amplitude figures exactly; it checks by itself that a
// factory record would not pass. ORNAV_KILL_ROUNDS overrides the 50 rounds.
TEST(PowerCutProgram, SigkillDuringRemoteSettingChangesKeepsALastStateTheStreamHad)
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
