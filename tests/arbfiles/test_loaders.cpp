// The controller's loaders put waves and lists into the channels and the
// FPGA; the library links are made without a shell.
#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <cstring>
#include "WaveView/CWaveGreate.h"
#include "tests/arbfiles/arbfile_helpers.h"
#include "WaveView/arbwavedata.h"
#include "app/channel.h"
#include "platform/shellrunner.h"
#include "param/sys_param.h"
#include "communication/SCPI/sys_error.h"
#include "tests/common/controller_fixture.h"

using namespace arbtest;

namespace {

class Loaders : public ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        // Start-up loads run queued; let them finish before the test.
        QCoreApplication::processEvents();
        fpga().clearWrites();
    }
    QString user(const QString& name) { return dir.path() + "/run/media/mmcblk0p1/" + name; }
    static QString board(const QString& name) { return "/run/media/mmcblk0p1/" + name; }
    QString recordText(const char* p) { return QString::fromLocal8Bit(p, int(strnlen(p, 128))); }

    // -50 .. 50: symmetric, so each loaded sample is s * 32767 / 50.
    static QVector<int16_t> ramp101()
    {
        QVector<int16_t> v;
        for (int i = 0; i <= 100; ++i)
            v << int16_t(i - 50);
        return v;
    }
    static short scaled(int s) { return short(s * 32767 / 50); }
};

TEST_F(Loaders, CarrierOfCh3HasNoDeepMemoryButReachesTheTablePort)
{
    ASSERT_TRUE(write(user("w.csv"), csv({"-1", "0", "1", "0", "-1", "0", "1", "0", "-1", "0"}, 10)));
    CH_DATA& d = sys_param::ch(CH3);
    d.BaseWave = BASE_Arb;
    d.WorkMode = WORK_BASE;
    sys_param::SetChOnOff(CH3, 1);
    ctrl->channalReload(CH3);
    QCoreApplication::processEvents();
    fpga().clearWrites();
    ctrl->chUpdateArbMem(CH3, board("w.csv"), true, true, true);
    EXPECT_TRUE(stream("deep:1").isEmpty());
    const QVector<quint64> table = stream("table:3:base");
    ASSERT_EQ(table.size(), 8192);
    const SWaveMem* w = CWaveCreate::GetWaveMem(CH3);
    for (int i = 0; i < 8192; ++i)
        ASSERT_EQ(table[i], quint64(uint16_t(w->Arb[i]))) << i;
    EXPECT_EQ(w->Arb[0], -32767);
    EXPECT_FALSE(QFile::exists(user("w.csv"))); // a temporary file goes once loaded
}

TEST_F(Loaders, ModulatingWaveFillsOnlyMArb)
{
    ASSERT_TRUE(write(user("m.bsv"), bsv(ramp101())));
    SWaveMem* w = CWaveCreate::GetWaveMem(CH2);
    const int arbLen = w->ArbLen;
    short arb[8192];
    std::memcpy(arb, w->Arb, sizeof arb);
    ctrl->chUpdateArbMem(CH2, board("m.bsv"), false, false, false);
    EXPECT_EQ(w->MArb[0], scaled(-50));
    EXPECT_EQ(w->MArb[2047], scaled(50));
    EXPECT_EQ(w->MArbLen, 101);
    EXPECT_EQ(w->ArbLen, arbLen);
    EXPECT_EQ(std::memcmp(arb, w->Arb, sizeof arb), 0);
    EXPECT_TRUE(stream("deep:2").isEmpty());
}

TEST_F(Loaders, MissingFileFallsBackToTheLibraryWave)
{
    ASSERT_TRUE(installLibrary(dir.path()));
    Sys_ErrorClear();
    ctrl->chUpdateArbMem(CH2, board("gone.bsv"), true, false, false);
    EXPECT_EQ(recordText(sys_param::GetChArbFileDir(CH2)), QString(ArbWaveData::kDefaultArb));
    const SWaveMem* w = CWaveCreate::GetWaveMem(CH2);
    EXPECT_EQ(w->ArbLen, 8192);
    // Arc cosine: from its largest value down to its smallest.
    EXPECT_EQ(w->Arb[0], 32767);
    EXPECT_EQ(w->Arb[8191], -32767);
    ctrl->chUpdateArbMem(CH2, board("gone.bsv"), false, false, false);
    EXPECT_EQ(recordText(sys_param::GetChModArbFileDir(CH2)), QString(ArbWaveData::kDefaultArb));
    // Each lost file is on the error list, not only in the log.
    EXPECT_EQ(Sys_ErrorCount(), 2);
    EXPECT_EQ(Sys_ErrorPop(), -256);
}

TEST_F(Loaders, BadHeaderShowsTheFormatTipAndKeepsTheWave)
{
    SWaveMem* w = CWaveCreate::GetWaveMem(CH1);
    short arb[8192];
    std::memcpy(arb, w->Arb, sizeof arb);
    ASSERT_TRUE(write(user("bad.bsv"), "[HEAD]:\n[DATA]:3\n\1\0\2\0\3\0"));
    QSignalSpy tips(ctrl, &Ornav72::TipsMessage);
    ctrl->chUpdateArbMem(CH1, board("bad.bsv"), true, true, true);
    ASSERT_EQ(tips.count(), 1);
    EXPECT_EQ(tips[0][1].toInt(), int(TIPS_FILE_FORMAT_ERROR));
    EXPECT_EQ(std::memcmp(arb, w->Arb, sizeof arb), 0);
    EXPECT_TRUE(stream("deep:1").isEmpty());
    EXPECT_FALSE(QFile::exists(user("bad.bsv")));
}

TEST_F(Loaders, MissingListClearsTheChannelsListPath)
{
    sys_param::SetChListFileDir(CH4, "/run/media/mmcblk0p1/x.csv", 26);
    ctrl->chUpdateListMem(CH4, board("x.csv"), false, false);
    EXPECT_EQ(recordText(sys_param::GetChListFileDir(CH4)), QString());
    QSignalSpy tips(ctrl, &Ornav72::TipsMessage);
    ASSERT_TRUE(write(user("bad.csv"), list(0, {"5"})));
    ctrl->chUpdateListMem(CH4, board("bad.csv"), false, false);
    ASSERT_EQ(tips.count(), 1);
    EXPECT_EQ(tips[0][1].toInt(), int(TIPS_FILE_FORMAT_ERROR));
}

TEST_F(Loaders, LibraryFoldersAreLinkedUnderTheirShownNamesWithoutAShell)
{
    ASSERT_TRUE(installLibrary(dir.path()));
    const QString ram = dir.path() + "/media/ram";
    ASSERT_TRUE(write(ram + "/stale", "x"));
    ASSERT_TRUE(QDir().mkpath(ram + "/olddir/sub"));
    ShellRunner::clearRecorded();
    QVariantList pairs;
    pairs << QVariant(QVariantList {"AntiTrigonome", "Inverse"}) << QVariant(QVariantList {"Noise", "Rauschen"})
          << QVariant(QVariantList {"Maths", "../evil"}) << QVariant(QVariantList {"NoSuch", "x"});
    ctrl->SetArbDir(pairs);
    QStringList entries = QDir(ram).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System);
    entries.sort();
    EXPECT_EQ(entries, QStringList({"Inverse", "Rauschen"}));
    EXPECT_TRUE(QFileInfo(ram + "/Inverse").isSymLink());
    EXPECT_TRUE(QFile::exists(ram + "/Inverse/ACos.bsv"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/media/evil"));
    for (const QString& c : ShellRunner::recorded())
        EXPECT_FALSE(c.startsWith("rm") || c.startsWith("ln")) << c.toStdString();
    // Emptying again removes the links, never the library behind them.
    ctrl->SetArbDir(QVariantList());
    EXPECT_TRUE(QDir(ram).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System).isEmpty());
    EXPECT_TRUE(QFile::exists(dir.path() + "/usr/share/ArbWaveLib/AntiTrigonome/ACos.bsv"));
}

TEST_F(Loaders, EveryLibraryFileLoads)
{
    ASSERT_TRUE(installLibrary(dir.path()));
    const QString lib = dir.path() + "/usr/share/ArbWaveLib";
    const QStringList folders = {"AntiTrigonome", "Bioelect", "Common", "Complex_Wavelets", "Engine",
                                 "Maths",         "Medical",  "Other",  "SectMod",          "Automotive",
                                 "Trigonome",     "Window",   "Noise"};
    int files = 0;
    for (const QString& f : folders) {
        const QFileInfoList waves = QDir(lib + "/" + f).entryInfoList({"*.bsv"}, QDir::Files);
        EXPECT_GE(waves.size(), 8) << f.toStdString();
        for (const QFileInfo& fi : waves) {
            QFile file(fi.absoluteFilePath());
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            ArbParam p;
            ASSERT_TRUE(ArbWaveData::LoadArbHead(file, p)) << fi.fileName().toStdString();
            short t8192[8192], t2048[2048];
            short* full = nullptr;
            ASSERT_EQ(ArbWaveData::LoadArbData(file, fi.suffix(), &full, t8192, t2048, p), 0);
            EXPECT_EQ(p.TotalPointNum, 8192);
            // A real wave: it spans the whole range.
            EXPECT_EQ(*std::max_element(full, full + 8192), 32767) << fi.fileName().toStdString();
            EXPECT_EQ(*std::min_element(full, full + 8192), -32767) << fi.fileName().toStdString();
            std::free(full);
            ++files;
        }
    }
    EXPECT_GE(files, 13 * 8);
}

} // namespace
