// A full and a read-only internal storage: a preset save, the settings file,
// the calibration file and the shadow of the last state report the failure,
// the old files stay byte for byte, and nothing in memory is lost. The board
// root is a small tmpfs mounted in a private mount namespace (the test
// program runs itself again under "unshare -m"), so no folder of the host is
// ever filled or remounted.
#include <gtest/gtest.h>
#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>
#include "hardware/CSetParam.h"
#include "param/settingsfile.h"
#include "param/sys_param.h"
#include "param/sysparm.h"
#include "platform/atomicfile.h"
#include "platform/platformroot.h"
#include "tests/common/test_rig.h"
#include "tests/persistence/record_files.h"

namespace {
const char kInside[] = "ORNAV_PRIVATE_MOUNTS";

// Fills the file system holding dir until it refuses more bytes.
void fillDisk(const QString& dir)
{
    const QByteArray name = QFile::encodeName(dir + "/filler");
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ASSERT_GE(fd, 0);
    const QByteArray block(4096, 'f');
    while (::write(fd, block.constData(), size_t(block.size())) > 0) {}
    const QByteArray small(1, 's');
    while (::write(fd, small.constData(), 1) > 0) {}
    EXPECT_EQ(errno, ENOSPC);
    ::close(fd);
}

class DiskFailureInside : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::getenv(kInside))
            GTEST_SKIP() << "runs only in the private mount namespace";
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(::mount("tmpfs", QFile::encodeName(dir.path()).constData(), "tmpfs", 0, "size=16m"), 0)
            << std::strerror(errno);
        mounted = true;
        ASSERT_TRUE(TestRig::useSimulatedBoard(dir.path()));
        TestRig::resetProcessState();
        std::memset(&SysParm::oldhwif, 0, sizeof SysParm::oldhwif);
    }
    void TearDown() override
    {
        TestRig::leaveSimulatedBoard();
        if (mounted)
            ::umount2(QFile::encodeName(dir.path()).constData(), MNT_DETACH);
    }
    QString home() const { return dir.path() + "/home/root"; }

    // Saves a preset, the settings file and the calibration file while the
    // disk works, breaks the disk with breakDisk, then saves new contents
    // of all of them: every save reports failure and the old bytes stay.
    void checkEverySaveFailsKeepingTheOldFiles(const std::function<void()>& breakDisk)
    {
        SysParm p;
        const QString preset = QString(SysParm::kPresetPrefix) + "1";
        sys_param::SetChFrequency(CH1, 1111.0);
        ASSERT_TRUE(p.SaveSysParam(preset, true));
        ASSERT_TRUE(SettingsFile::setValue("language", 1));
        ASSERT_TRUE(CSetParam::SaveCalData());
        ASSERT_TRUE(p.SaveSysParam("", true)); // EEPROM and its shadow
        const QByteArray oldPreset = readFile(dir.path() + preset);
        const QByteArray oldSettings = readFile(home() + "/settings.ini");
        const QByteArray oldCal = readFile(dir.path() + CSetParam::kCalFile);
        const QByteArray oldShadow = readFile(dir.path() + SysParm::kShadowPath);
        ASSERT_EQ(oldPreset.size(), 4536);
        ASSERT_FALSE(oldSettings.isEmpty());
        ASSERT_FALSE(oldCal.isEmpty());
        ASSERT_EQ(oldShadow.size(), 4536);

        breakDisk();

        sys_param::SetChFrequency(CH1, 2222.0);
        const QByteArray live = liveBytes();
        EXPECT_FALSE(p.SaveSysParam(preset, true));
        EXPECT_FALSE(SettingsFile::setValue("language", 2));
        EXPECT_FALSE(CSetParam::SaveCalData());
        // The EEPROM takes the change; only its shadow can't be replaced.
        EXPECT_TRUE(p.SaveSysParam("", false));

        EXPECT_EQ(readFile(dir.path() + preset), oldPreset);
        EXPECT_EQ(readFile(home() + "/settings.ini"), oldSettings);
        EXPECT_EQ(readFile(dir.path() + CSetParam::kCalFile), oldCal);
        EXPECT_EQ(readFile(dir.path() + SysParm::kShadowPath), oldShadow);
        EXPECT_FALSE(QFile::exists(AtomicFile::tempPath(dir.path() + preset)));
        EXPECT_FALSE(QFile::exists(AtomicFile::tempPath(dir.path() + SysParm::kShadowPath)));
        // Nothing in memory was lost, and the old preset still loads.
        EXPECT_EQ(liveBytes().mid(56), live.mid(56));
        EXPECT_EQ(sys_param::HWinfo.PDT[CH1].Frequency, 2222.0);
        EXPECT_TRUE(p.LoadSysParam(preset));
        EXPECT_EQ(sys_param::HWinfo.PDT[CH1].Frequency, 1111.0);
    }

    QTemporaryDir dir;
    bool mounted = false;
};

TEST_F(DiskFailureInside, FullDisk)
{
    checkEverySaveFailsKeepingTheOldFiles([this] { fillDisk(dir.path()); });
}

TEST_F(DiskFailureInside, ReadOnlyDisk)
{
    // The storage folder alone turns read-only (the EEPROM is another chip).
    checkEverySaveFailsKeepingTheOldFiles([this] {
        const QByteArray h = QFile::encodeName(home());
        ASSERT_EQ(::mount(h.constData(), h.constData(), nullptr, MS_BIND, nullptr), 0) << std::strerror(errno);
        ASSERT_EQ(::mount(nullptr, h.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr), 0)
            << std::strerror(errno);
    });
}

// Runs the two tests above in a private mount namespace.
TEST(DiskFailure, FullAndReadOnlyStorageInAPrivateMountNamespace)
{
    if (std::getenv(kInside))
        GTEST_SKIP() << "already inside";
    if (QProcess::execute("unshare", {"-m", "--propagation", "private", "true"}) != 0)
        GTEST_SKIP() << "no private mount namespace for this user";
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kInside, "1");
    p.setProcessEnvironment(env);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start("unshare",
            {"-m", "--propagation", "private", QFile::symLinkTarget("/proc/self/exe"),
             "--gtest_filter=DiskFailureInside.*"});
    ASSERT_TRUE(p.waitForFinished(120000));
    const QByteArray out = p.readAll();
    EXPECT_EQ(p.exitCode(), 0) << out.constData();
    EXPECT_TRUE(out.contains("[  PASSED  ] 2 tests")) << out.constData();
}
} // namespace
