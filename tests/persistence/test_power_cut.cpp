// Power cuts at every step of a save: the differential EEPROM write stopped
// after each single-byte write, the shadow file's replacement stopped at each
// of its steps, then the power-up load run on what is on disk. The record
// that comes back is always the state before or after the save, never the
// factory record.
#include <gtest/gtest.h>
#include <QByteArray>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <cstring>
#include "param/sys_param.h"
#include "param/sysparm.h"
#include "platform/atomicfile.h"
#include "platform/platformroot.h"
#include "tests/common/test_rig.h"
#include "tests/persistence/record_files.h"

namespace {
void setLive(const QByteArray& b) { std::memcpy(&sys_param::HWinfo, b.constData(), 4536); }

// Changes several fields in different parts of the record.
void changeSettings(double f)
{
    sys_param::SetChFrequency(CH1, f);
    sys_param::SetChVpp(CH3, 1.0 + f / 1000.0);
    sys_param::SetChLoad(CH4, 50 + int(f) % 100);
    sys_param::SetChModPhase2(CH2, float(f / 100.0));
    sys_param::SetBackLight(CH_SYS, int(f) % 3);
}

class PowerCut : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(TestRig::useSimulatedBoard(dir.path()));
        TestRig::resetProcessState();
        std::memset(&SysParm::oldhwif, 0, sizeof SysParm::oldhwif);
        QSettings s(dir.path() + "/home/root/settings.ini", QSettings::IniFormat);
        s.setValue("powerUpValue", 1); // last state
    }
    void TearDown() override
    {
        SysParm::setEepromByteHook(nullptr);
        AtomicFile::setStepHook(nullptr);
        TestRig::leaveSimulatedBoard();
    }
    QString eeprom() const { return dir.path() + kEeprom; }
    QString shadow() const { return dir.path() + SysParm::kShadowPath; }

    // A fresh start of the program on what is on disk: the live record is
    // scribbled over first, so only the power-up load can bring it back.
    QByteArray powerUp()
    {
        sys_param::SetChFrequency(CH2, 31.0);
        std::memset(&SysParm::oldhwif, 0, sizeof SysParm::oldhwif);
        SysParm p;
        return liveBytes();
    }

    // Establishes state A on disk (EEPROM and shadow); returns its image.
    QByteArray settleStateA()
    {
        SysParm p;
        changeSettings(1500.0);
        EXPECT_TRUE(p.SaveSysParam("", false));
        const QByteArray a = liveBytes();
        EXPECT_EQ(readFile(eeprom()).left(4536), a);
        EXPECT_EQ(readFile(shadow()), a);
        return a;
    }
    QTemporaryDir dir;
};

// The differential save compares against what the EEPROM holds. After a
// power-up that is the record just loaded; a byte the new state sets back to
// a value the process never wrote (zero here) must still reach the EEPROM.
TEST_F(PowerCut, FirstSaveAfterPowerUpWritesEveryChangedByte)
{
    {
        SysParm p;
        sys_param::SetBackLight(CH_SYS, 2);
        sys_param::SetChModPhase2(CH2, 45.0f);
        ASSERT_TRUE(p.SaveSysParam("", false));
    }
    std::memset(&SysParm::oldhwif, 0, sizeof SysParm::oldhwif); // a new process
    SysParm running;
    ASSERT_EQ(readFile(eeprom()).left(4536), liveBytes());
    sys_param::SetBackLight(CH_SYS, 0);
    sys_param::SetChModPhase2(CH2, 0.0f);
    ASSERT_TRUE(running.SaveSysParam("", false));
    EXPECT_EQ(readFile(eeprom()).left(4536), liveBytes());
    // The next start-up takes the EEPROM copy, not the shadow.
    std::memset(&SysParm::oldhwif, 0, sizeof SysParm::oldhwif);
    EXPECT_TRUE(running.LoadSysParam(QString()));
}

// Saving a preset writes a file; the EEPROM still gets the state on the next
// tick.
TEST_F(PowerCut, APresetSaveLeavesTheLastStateToTheNextTick)
{
    SysParm running;
    ASSERT_TRUE(running.SaveSysParam("", true));
    sys_param::SetBackLight(CH_SYS, 1);
    ASSERT_TRUE(running.SaveSysParam(QString::fromLatin1(SysParm::kPresetPrefix) + "0", false));
    ASSERT_TRUE(running.SaveSysParam("", false));
    EXPECT_EQ(readFile(eeprom()).left(4536), liveBytes());
}

TEST_F(PowerCut, EepromSaveStoppedAfterEveryByteLoadsTheOldOrTheNewState)
{
    const QByteArray a = settleStateA();
    const QByteArray factory = [] {
        TestRig::resetProcessState();
        return liveBytes();
    }();
    const QByteArray diskEeprom = readFile(eeprom());
    const QByteArray diskShadow = readFile(shadow());

    QByteArray b;
    int n = -1;
    for (int k = 0; n < 0 || k <= n; ++k) {
        writeFile(eeprom(), diskEeprom);
        writeFile(shadow(), diskShadow);
        setLive(a);
        std::memcpy(&SysParm::oldhwif, a.constData(), 4536);
        changeSettings(2750.125);
        int written = 0;
        SysParm::setEepromByteHook([&](int) { return written++ < k; });
        bool completed = false;
        {
            // The save runs in the object of the running program; the
            // object is made here without touching the disk by a factory
            // power-up choice.
            QSettings s(dir.path() + "/home/root/settings.ini", QSettings::IniFormat);
            s.setValue("powerUpValue", 0);
        }
        {
            const QByteArray wanted = liveBytes();
            SysParm running;
            setLive(wanted);
            std::memcpy(&SysParm::oldhwif, a.constData(), 4536);
            completed = running.SaveSysParam("", false) && written <= k;
            if (completed && n < 0) {
                n = k; // the number of single-byte writes of this save
                b = liveBytes();
            }
        }
        SysParm::setEepromByteHook(nullptr);
        {
            QSettings s(dir.path() + "/home/root/settings.ini", QSettings::IniFormat);
            s.setValue("powerUpValue", 1);
        }
        const QByteArray loaded = powerUp();
        EXPECT_NE(loaded, factory) << "k=" << k;
        if (k == 0) {
            EXPECT_EQ(loaded, a);
        } else if (n >= 0 && k >= n) {
            EXPECT_EQ(loaded, b) << "k=" << k;
        } else {
            EXPECT_TRUE(loaded == a) << "an interrupted save comes back as the old state, k=" << k;
        }
        // Whatever came back is in the EEPROM again, whole.
        EXPECT_EQ(readFile(eeprom()).left(4536), loaded) << "k=" << k;
        ASSERT_LT(k, 4536);
    }
    ASSERT_GT(n, 4) << "the change must touch several bytes";
}

TEST_F(PowerCut, ShadowReplacementStoppedAtEveryStepLosesNoState)
{
    const QByteArray a = settleStateA();
    const QByteArray diskEeprom = readFile(eeprom());
    const QByteArray diskShadow = readFile(shadow());
    bool finished = false;
    for (int j = 0; !finished; ++j) {
        writeFile(eeprom(), diskEeprom);
        writeFile(shadow(), diskShadow);
        QFile::remove(AtomicFile::tempPath(shadow()));
        std::memset(&SysParm::oldhwif, 0, sizeof SysParm::oldhwif);
        QByteArray b;
        {
            SysParm running; // loads A
            ASSERT_EQ(liveBytes(), a);
            std::memcpy(&SysParm::oldhwif, a.constData(), 4536);
            changeSettings(99.5);
            int steps = 0;
            AtomicFile::setStepHook([&](AtomicFile::Step, qint64) { return steps++ < j; });
            running.SaveSysParam("", false);
            AtomicFile::setStepHook(nullptr);
            finished = steps <= j;
            b = liveBytes();
        }
        ASSERT_NE(a, b);
        // The power went during the shadow's replacement: the EEPROM already
        // holds B, and an unfinished temporary file is never taken for the
        // shadow.
        const QByteArray left = readFile(shadow());
        EXPECT_TRUE(left == a || left == b) << "j=" << j;
        if (finished) {
            EXPECT_EQ(left, b);
        }
        EXPECT_EQ(powerUp(), b) << "j=" << j;
        EXPECT_EQ(readFile(shadow()), b) << "the shadow catches up at power-up, j=" << j;

        // The next save, B -> C, cut in the middle of its EEPROM write.
        {
            SysParm running;
            std::memcpy(&SysParm::oldhwif, b.constData(), 4536);
            sys_param::SetChFrequency(CH1, 123456.0);
            int written = 0;
            SysParm::setEepromByteHook([&](int) { return written++ < 3; });
            running.SaveSysParam("", false);
            SysParm::setEepromByteHook(nullptr);
        }
        EXPECT_EQ(powerUp(), b) << "j=" << j;
        ASSERT_LT(j, 100);
    }
}

TEST_F(PowerCut, BothCopiesRefusedGiveTheFactoryRecord)
{
    const QByteArray a = settleStateA();
    QByteArray e = readFile(eeprom());
    e[100] = char(e[100] ^ 0x40);
    writeFile(eeprom(), e);
    QByteArray s = readFile(shadow());
    s[200] = char(s[200] ^ 0x40);
    writeFile(shadow(), s);
    const QByteArray loaded = powerUp();
    EXPECT_NE(loaded, a);
    EXPECT_EQ(sys_param::HWinfo.PDT[CH1].Frequency, 1000.0); // the factory value
    EXPECT_EQ(readFile(eeprom()).left(4536), loaded);
    EXPECT_EQ(readFile(shadow()), loaded);
}

TEST_F(PowerCut, PresetReplacementStoppedAtEveryStepLeavesOldOrNewFile)
{
    SysParm p;
    const QString preset = QString(SysParm::kPresetPrefix) + "2";
    changeSettings(10.0);
    ASSERT_TRUE(p.SaveSysParam(preset, true));
    const QByteArray a = readFile(dir.path() + preset);
    ASSERT_EQ(a.size(), 4536);
    bool finished = false;
    for (int j = 0; !finished; ++j) {
        writeFile(dir.path() + preset, a);
        changeSettings(20.0 + j);
        int steps = 0;
        AtomicFile::setStepHook([&](AtomicFile::Step, qint64) { return steps++ < j; });
        p.SaveSysParam(preset, true);
        AtomicFile::setStepHook(nullptr);
        finished = steps <= j;
        const QByteArray now = liveBytes();
        const QByteArray onDisk = readFile(dir.path() + preset);
        EXPECT_TRUE(onDisk == a || onDisk == now) << "j=" << j;
        if (finished) {
            EXPECT_EQ(onDisk, now);
        }
        EXPECT_TRUE(p.LoadSysParam(preset)) << "j=" << j;
        ASSERT_LT(j, 100);
    }
}

// The screens and the remote interface change the live record while the tick
// saves it; every stored copy must still match its own CRC, and the change
// reaches the EEPROM with the next save.
TEST_F(PowerCut, RecordChangedDuringASaveLeavesConsistentCopies)
{
    const QByteArray a = settleStateA();
    SysParm p;
    std::memcpy(&SysParm::oldhwif, a.constData(), 4536);
    changeSettings(4321.0);
    bool changed = false;
    SysParm::setEepromByteHook([&](int) {
        if (!changed)
            sys_param::SetChFrequency(CH2, 777.0); // meanwhile, on another thread
        changed = true;
        return true;
    });
    EXPECT_TRUE(p.SaveSysParam("", false));
    SysParm::setEepromByteHook(nullptr);
    ASSERT_TRUE(changed);
    const QByteArray e = readFile(eeprom()).left(4536);
    const QByteArray s = readFile(shadow());
    EXPECT_EQ(e, s);
    const QByteArray live = liveBytes();
    EXPECT_TRUE(p.LoadSysParamData(reinterpret_cast<const unsigned char*>(e.constData()), e.size()))
        << "the EEPROM copy must match its CRC";
    EXPECT_TRUE(p.LoadSysParamData(reinterpret_cast<const unsigned char*>(s.constData()), s.size()))
        << "the shadow copy must match its CRC";
    setLive(live);
    EXPECT_TRUE(p.SaveSysParam("", false));
    EXPECT_EQ(powerUp().mid(4), live.mid(4));
    EXPECT_EQ(sys_param::HWinfo.PDT[CH2].Frequency, 777.0);
}
} // namespace
