#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>
#include "platform/platformroot.h"
#include "platform/shellrunner.h"

TEST(ShellRunner, SimulatedBoardRecordsAndRunsNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    PlatformRoot::setRoot(dir.path());
    ShellRunner::clearRecorded();
    const QString marker = dir.path() + "/must-not-exist";
    EXPECT_EQ(ShellRunner::run("touch " + marker), 0);
    EXPECT_EQ(ShellRunner::run("reboot"), 0);
    EXPECT_FALSE(QFile::exists(marker));
    EXPECT_EQ(ShellRunner::recorded(), QStringList({"touch " + marker, "reboot"}));
    QFile log(PlatformRoot::path(ShellRunner::kLogPath));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(), QByteArray("touch " + marker.toUtf8() + "\nreboot\n"));
    PlatformRoot::setRoot(QString());
}
