// Arbitrary-wave and list files: headers, sample scaling, tables, lists,
// and the storing of received files.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>
#include <unistd.h>
#include "WaveView/arbfile_parse.h"
#include "hardware/CSetParam.h"
#include "WaveView/CWaveGreate.h"
#include "tests/arbfiles/arbfile_helpers.h"
#include "WaveView/arbwavedata.h"
#include "platform/platformroot.h"
#include "simboard/simroot.h"
#include "param/sys_param.h"

using namespace arbtest;

namespace {

class ArbFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(SimRoot::create(dir.path()));
        PlatformRoot::setRoot(dir.path());
        CWaveCreate::Init();
    }
    void TearDown() override { PlatformRoot::setRoot(QString()); }

    QString hostOf(const QString& name) { return dir.path() + "/run/media/mmcblk0p1/" + name; }

    bool head(const QByteArray& bytes, ArbParam& p, const QString& name = "w.bsv")
    {
        const QString path = hostOf(name);
        EXPECT_TRUE(write(path, bytes));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        return ArbWaveData::LoadArbHead(f, p);
    }

    // Loads a file's data into fresh tables; returns LoadArbData's result.
    int load(const QByteArray& bytes, const QString& name, ArbParam& p, short** full = nullptr)
    {
        const QString path = hostOf(name);
        EXPECT_TRUE(write(path, bytes));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::ReadOnly));
        if (!ArbWaveData::LoadArbHead(f, p))
            return -2;
        std::memset(t8192, 0x55, sizeof t8192);
        std::memset(t2048, 0x55, sizeof t2048);
        return ArbWaveData::LoadArbData(f, QFileInfo(name).suffix(), full, t8192, t2048, p);
    }

    QStringList userFiles() { return QDir(dir.path() + "/run/media/mmcblk0p1").entryList(QDir::Files); }

    QTemporaryDir dir;
    short t8192[8192];
    short t2048[2048];
};

QVector<int16_t> ramp(int n, int lo, int hi)
{
    QVector<int16_t> v;
    for (int i = 0; i < n; ++i)
        v << int16_t(lo + (hi - lo) * i / (n - 1));
    return v;
}

TEST_F(ArbFiles, DataCountBelowNineIsRefusedNineIsAccepted)
{
    ArbParam p;
    EXPECT_FALSE(head(bsv(ramp(8, -10, 10)), p));
    ASSERT_TRUE(head(bsv(ramp(9, -10, 10)), p));
    EXPECT_EQ(p.TotalPointNum, 9);
    EXPECT_FALSE(p.AvalidLimit);
    EXPECT_EQ(p.Max, 524288);
    EXPECT_EQ(p.Min, 524288);
}

TEST_F(ArbFiles, HeaderKeysInAnyOrderWithCrLf)
{
    ArbParam p;
    const QByteArray extra = "ZIP: 1\r\nHIGH LEVEL: 1.5\r\nMVPP:250\r\nOFFSET:3\r\nMAX:1000\r\nMIN:-900\r\n";
    ASSERT_TRUE(head(bsv(ramp(16, 0, 1), -1, extra), p));
    EXPECT_DOUBLE_EQ(p.Vpp, 2.5); // MVPP counts as MVPP only
    EXPECT_DOUBLE_EQ(p.High, 1.5);
    EXPECT_DOUBLE_EQ(p.Offset, 0);
    EXPECT_TRUE(p.ZIP);
    EXPECT_DOUBLE_EQ(p.Max, 1000);
    EXPECT_DOUBLE_EQ(p.Min, -900);
    EXPECT_DOUBLE_EQ(p.Fre, 1000);
    // A sample rate defines the frequency over the whole wave; a period its inverse.
    ASSERT_TRUE(head(bsv(ramp(1000, -5, 5), -1, "SAMPLE RATE:1000000\r\nFREQUENCY:77\r\n"), p));
    EXPECT_DOUBLE_EQ(p.Fre, 1000.0);
    EXPECT_DOUBLE_EQ(p.SampleRate, 1e6);
    ASSERT_TRUE(head("[HEAD]:\nPERIOD:0.002\n[DATA]:100\n", p, "p.csv"));
    EXPECT_DOUBLE_EQ(p.Fre, 500.0);
}

TEST_F(ArbFiles, HeaderWithoutHeadLineOrDataLineIsRefused)
{
    ArbParam p;
    EXPECT_FALSE(head("VPP:1\n[DATA]:100\n", p));
    QByteArray eleven = "[HEAD]:\n";
    for (int i = 0; i < 10; ++i)
        eleven += "VPP:1\n";
    EXPECT_FALSE(head(eleven + "[DATA]:100\n", p)); // the 10 key lines ran out
    EXPECT_FALSE(head("[HEAD]:\n[DATA]:-5\n", p));
    EXPECT_FALSE(head("[HEAD]:\n[DATA]:abc\n", p));
}

TEST_F(ArbFiles, BsvScalesToFullRangeFromItsOwnExtremes)
{
    ArbParam p;
    short* full = nullptr;
    // Symmetric extremes: sample * 32767 / max, never -32768.
    ASSERT_EQ(load(bsv({0, 100, -100, 50, 0, 0, 0, 0, -50, 25}), "s.bsv", p, &full), 0);
    ASSERT_NE(full, nullptr);
    EXPECT_EQ(full[1], 32767);
    EXPECT_EQ(full[2], -32767);
    EXPECT_EQ(full[3], 16383);
    EXPECT_EQ(full[9], 8191);
    std::free(full);
    full = nullptr;
    // A wave longer than 65536 points scales alike (it goes through a table).
    QVector<int16_t> longWave;
    for (int i = 0; i < 7000; ++i)
        longWave << 0 << 100 << -100 << 50 << 0 << 0 << 0 << 0 << -50 << 25;
    ASSERT_EQ(load(bsv(longWave), "l.bsv", p, &full), 0);
    for (int at : {0, 69990})
        EXPECT_EQ(QVector<int16_t>({full[at + 1], full[at + 2], full[at + 3], full[at + 8], full[at + 9]}),
                  QVector<int16_t>({32767, -32767, 16383, -16383, 8191}))
            << at;
    std::free(full);
    full = nullptr;
    // Offset extremes map linearly onto the full range.
    ASSERT_EQ(load(bsv({1000, 2000, 3000, 1000, 1000, 1000, 1000, 1000, 1000, 3000}), "o.bsv", p, &full), 0);
    EXPECT_EQ(full[0], -32767);
    EXPECT_EQ(full[1], 0);
    EXPECT_EQ(full[2], 32767);
    std::free(full);
    // -32768 .. 32767 keeps the scale and never yields -32768.
    ASSERT_EQ(load(bsv({-32768, 32767, 0, 0, 0, 0, 0, 0, 0, 0}), "x.bsv", p), 0);
    EXPECT_EQ(t8192[0], -32767);
}

TEST_F(ArbFiles, ConstantSamplesLoadAsZeros)
{
    ArbParam p;
    ASSERT_EQ(load(bsv(QVector<int16_t>(100, 1234)), "c.bsv", p), 0);
    for (short s : t8192)
        ASSERT_EQ(s, 0);
    for (short s : t2048)
        ASSERT_EQ(s, 0);
}

TEST_F(ArbFiles, TruncatedBsvLoadsThePointsPresentAndFillsTheTables)
{
    ArbParam p;
    short* full = nullptr;
    // 100 points announced, 20 present: a ramp -19..19 step 2.
    QVector<int16_t> v;
    for (int i = 0; i < 20; ++i)
        v << int16_t(-19 + 2 * i);
    ASSERT_EQ(load(bsv(v, 100), "t.bsv", p, &full), 0);
    EXPECT_EQ(p.TotalPointNum, 20);
    EXPECT_EQ(t8192[0], -32767);
    EXPECT_EQ(t8192[8191], 32767);
    EXPECT_EQ(t2048[0], -32767);
    EXPECT_EQ(t2048[2047], 32767);
    // Interpolated and rising all the way: nothing of the old table is left.
    for (int i = 1; i < 8192; ++i)
        ASSERT_GE(t8192[i], t8192[i - 1]) << i;
    std::free(full);
}

TEST_F(ArbFiles, LongWavesAreDecimatedOntoTheTables)
{
    ArbParam p;
    const QVector<int16_t> v = ramp(20000, -20000, 20000);
    short* full = nullptr;
    ASSERT_EQ(load(bsv(v), "long.bsv", p, &full), 0);
    EXPECT_EQ(p.TotalPointNum, 20000);
    // Output point i takes source point floor(i * (n - 1) / (N - 1)).
    for (int i : {0, 1, 1000, 2047}) {
        const long long j = (long long)i * 19999 / 2047;
        EXPECT_EQ(t2048[i], full[j]) << i;
    }
    EXPECT_EQ(t8192[8191], full[19999]);
    std::free(full);
}

TEST_F(ArbFiles, HugeWaveUsesTheHeaderExtremes)
{
    ArbParam p;
    // 2^26 + 1 points announced, a few present: MAX/MIN of the header scale them.
    const QByteArray b = bsv({500, -1000, 1000, 0, 0, 0, 0, 0, 0, 0}, 0x4000001, "MAX:1000\r\nMIN:-1000\r\n");
    short* full = nullptr;
    ASSERT_EQ(load(b, "huge.bsv", p, &full), 0);
    EXPECT_TRUE(p.AvalidLimit);
    EXPECT_EQ(p.TotalPointNum, 10);
    EXPECT_EQ(full[0], 16383);
    EXPECT_EQ(full[1], -32767);
    EXPECT_EQ(full[2], 32767);
    std::free(full);
}

TEST_F(ArbFiles, CsvLoadsWhatParses)
{
    ArbParam p;
    short* full = nullptr;
    const QByteArray b = csv({"0.0,x", "garbage", "", "1.0", "nan", "-1.0;", "0.5 extra"}, 10);
    ASSERT_EQ(load(b, "g.csv", p, &full), 0);
    ASSERT_EQ(p.TotalPointNum, 4);
    EXPECT_EQ(full[0], 0);
    EXPECT_EQ(full[1], 32767);
    EXPECT_EQ(full[2], -32767);
    EXPECT_EQ(full[3], 16383);
    std::free(full);
}

// Data lines whose white space runs to the end of the buffer: the parsers
// must stop at the buffer's end, which here is the edge of a page with an
// inaccessible page after it (a read past it is a crash, not luck).
TEST(ArbParse, WhiteSpaceToTheEndOfTheBufferStaysInside)
{
    const long page = sysconf(_SC_PAGESIZE);
    char* mem =
        static_cast<char*>(mmap(nullptr, size_t(page) * 2, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    ASSERT_NE(mem, MAP_FAILED);
    ASSERT_EQ(mprotect(mem + page, size_t(page), PROT_NONE), 0);
    const struct {
        const char* text;
        size_t csv;
    } rows[] = {
        {"1\n\r\n\v\f\r", 1},
        {"\r\n\r\r\r", 0},
        {"2\n \t\n3", 2},
        {"4\n\f\n\v", 1},
    };
    for (const auto& r : rows) {
        const size_t n = std::strlen(r.text);
        char* at = mem + page - n;
        std::memcpy(at, r.text, n);
        double v[8];
        size_t bad = 0;
        EXPECT_EQ(arbparse::parseCsvValues(at, n, v, 8), r.csv) << r.text;
        arbparse::parseListValues(at, n, v, 8, &bad);
        EXPECT_LE(bad, n);
    }
    munmap(mem, size_t(page) * 2);
}

TEST_F(ArbFiles, UnknownSuffixIsRefused)
{
    ArbParam p;
    EXPECT_EQ(load(bsv(ramp(16, 0, 9)), "w.txt", p), -1);
    EXPECT_EQ(load(bsv(ramp(16, 0, 9)), "noext", p), -1);
}

TEST_F(ArbFiles, ListHeaderCountMustBeOneTo2048)
{
    for (int n : {0, 2049}) {
        write(hostOf("l.csv"), list(n, {"1000"}));
        QFile f(hostOf("l.csv"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        FreqListParam p;
        EXPECT_FALSE(ArbWaveData::LoadFreqListHead(f, p)) << n;
    }
    for (int n : {1, 2048}) {
        write(hostOf("l.csv"), list(n, {"1000"}));
        QFile f(hostOf("l.csv"));
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        FreqListParam p;
        ASSERT_TRUE(ArbWaveData::LoadFreqListHead(f, p)) << n;
        EXPECT_EQ(p.TotalPointNum, n);
    }
}

TEST_F(ArbFiles, ListValuesAreClampedIntoTheChannelRange)
{
    sys_param::ch(CH1).BaseWave = BASE_Sine;
    CSetParam::state.pCharacter[CH1].InitBandwidth(0);
    // The controller installs the channel characteristics as the list range.
    ArbWaveData::SetListRangeSource([](CH_ID ch, double* lo, double* hi) {
        CSetParam::state.pCharacter[ch].GetBWFreScope(int(sys_param::ch(ch).BaseWave), *lo, *hi);
    });
    write(hostOf("l.csv"), list(5, {"0", "2500.5", "-3", "9e12", "bad", "77"}));
    QFile f(hostOf("l.csv"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    FreqListParam p;
    ASSERT_TRUE(ArbWaveData::LoadFreqListHead(f, p));
    ASSERT_EQ(ArbWaveData::LoadListData(CH1, f), 4); // stops at the line that is no number
    const SWaveMem* w = CWaveCreate::GetWaveMem(CH1);
    EXPECT_EQ(w->ListLen, 4);
    EXPECT_DOUBLE_EQ(w->List[0], 1e-6);
    EXPECT_DOUBLE_EQ(w->List[1], 2500.5);
    EXPECT_DOUBLE_EQ(w->List[2], 1e-6);
    EXPECT_LT(w->List[3], 9e12); // the channel's upper limit
    EXPECT_GT(w->List[3], 1e6);
    EXPECT_DOUBLE_EQ(w->listmaxfre, w->List[3]);
}

TEST_F(ArbFiles, AppendingToAFullListDoesNothing)
{
    SWaveMem* w = CWaveCreate::GetWaveMem(CH3);
    w->ListLen = 2048;
    for (int i = 0; i < 2048; ++i)
        w->List[i] = i + 1;
    QList<QVariant> texts;
    EXPECT_EQ(ArbWaveData::AppendOneList(CH3, texts, 5), 0);
    EXPECT_EQ(w->ListLen, 2048);
    EXPECT_DOUBLE_EQ(w->List[5], 6.0);
    w->ListLen = 0;
    EXPECT_EQ(ArbWaveData::SaveList(CH3, "/run/media/mmcblk0p1/empty.csv"), 0);
    EXPECT_FALSE(QFile::exists(hostOf("empty.csv")));
}

TEST_F(ArbFiles, NewListFileHasOnePointAndIsNeverOverwritten)
{
    ASSERT_TRUE(ArbWaveData::createCsvListFile("/run/media/mmcblk0p1/new.csv"));
    EXPECT_EQ(read(hostOf("new.csv")), QByteArray("[HEAD]:44\r\n[FREQ-POINTS]:1\r\n1.000000\r\n"));
    write(hostOf("new.csv"), "mine");
    EXPECT_FALSE(ArbWaveData::createCsvListFile("/run/media/mmcblk0p1/new.csv"));
    EXPECT_EQ(read(hostOf("new.csv")), QByteArray("mine"));
}

TEST_F(ArbFiles, ReceivedFilesAreNamedByChannelAndType)
{
    const QByteArray l = list(2, {"1000", "2000"});
    EXPECT_EQ(ArbWaveData::SaveDataToFile(1, "L", "List", l.constData(), size_t(l.size())),
              QStringLiteral("/run/media/mmcblk0p1/CH2_List_L"));
    EXPECT_EQ(read(hostOf("CH2_List_L")), l);
    const QByteArray b = bsv(ramp(64, -9, 9));
    // A wave is kept under its own name, the path the record names.
    EXPECT_EQ(ArbWaveData::SaveDataToFile(0, "W.bsv", "Base", b.constData(), size_t(b.size())),
              QStringLiteral("/run/media/mmcblk0p1/W.bsv"));
    EXPECT_EQ(read(hostOf("W.bsv")), b);
    // A storage that takes no copy (here: the temporary name is taken by a
    // folder) reports a save failure and keeps the previous file.
    ASSERT_TRUE(QDir().mkpath(hostOf(".W.bsv.part/x")));
    const QByteArray b2 = bsv(ramp(32, -9, 9));
    ArbWaveData::SaveResult why = ArbWaveData::SaveOk;
    EXPECT_TRUE(ArbWaveData::SaveDataToFile(0, "W.bsv", "Base", b2.constData(), size_t(b2.size()), &why).isEmpty());
    EXPECT_EQ(why, ArbWaveData::SaveFailed);
    EXPECT_EQ(read(hostOf("W.bsv")), b);
    // What a power cut left between writing and renaming goes at the next
    // start; the files themselves stay.
    ASSERT_TRUE(QDir(hostOf(".W.bsv.part")).removeRecursively());
    write(hostOf(".W.bsv.part"), "cut");
    ArbWaveData::RemovePartialSaves();
    EXPECT_FALSE(QFile::exists(hostOf(".W.bsv.part")));
    EXPECT_EQ(read(hostOf("W.bsv")), b);
    // A wave must say what it is: bsv or csv.
    EXPECT_TRUE(ArbWaveData::SaveDataToFile(0, "W.txt", "Base", b.constData(), size_t(b.size())).isEmpty());
    EXPECT_TRUE(ArbWaveData::SaveDataToFile(0, "W", "Mod", b.constData(), size_t(b.size())).isEmpty());
}

TEST_F(ArbFiles, ReceivedFileWithBadHeaderIsDeleted)
{
    // Too few points announced; 9 announced but 8 or 12 sent (a cut or a
    // lying transfer).
    for (const QByteArray& bad : {QByteArray("[HEAD]:\r\n[DATA]:8\r\n1234567812345678"),
                                  QByteArray("[HEAD]:\r\n[DATA]:9\r\n") + QByteArray(16, 'x'),
                                  QByteArray("[HEAD]:\r\n[DATA]:9\r\n") + QByteArray(24, 'x')})
        EXPECT_TRUE(ArbWaveData::SaveDataToFile(0, "bad.bsv", "Base", bad.constData(), size_t(bad.size())).isEmpty());
    const QByteArray badList = list(0, {});
    EXPECT_TRUE(ArbWaveData::SaveDataToFile(3, "bad", "List", badList.constData(), size_t(badList.size())).isEmpty());
    EXPECT_TRUE(userFiles().isEmpty()) << userFiles().join(",").toStdString();
}

TEST_F(ArbFiles, ReceivedNamesNeverLeaveTheStorageFolder)
{
    const QByteArray b = bsv(ramp(64, -9, 9));
    const QStringList bad = {"../x.bsv",
                             "a/b.bsv",
                             "a\\b.bsv",
                             "...bsv",
                             QString("x.bsv") + QChar(1),
                             QString("x") + QChar(0) + "y.bsv",
                             QString(120, QChar('n')) + ".bsv",
                             ""};
    for (const QString& name : bad)
        EXPECT_TRUE(ArbWaveData::SaveDataToFile(0, name, "Base", b.constData(), size_t(b.size())).isEmpty())
            << name.toStdString();
    EXPECT_TRUE(ArbWaveData::SaveDataToFile(4, "ok.bsv", "Base", b.constData(), size_t(b.size())).isEmpty());
    EXPECT_TRUE(ArbWaveData::SaveDataToFile(0, "ok.bsv", "Other", b.constData(), size_t(b.size())).isEmpty());
    EXPECT_TRUE(userFiles().isEmpty());
    EXPECT_FALSE(QFile::exists(dir.path() + "/run/media/x"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/run/media/mmcblk0p1/CH1_Base_a"));
    // The longest name that still fits the record's path field is taken.
    EXPECT_FALSE(
        ArbWaveData::SaveDataToFile(0, QString(102, QChar('n')) + ".bsv", "Base", b.constData(), size_t(b.size()))
            .isEmpty());
    EXPECT_TRUE(
        ArbWaveData::SaveDataToFile(0, QString(103, QChar('n')) + ".bsv", "Base", b.constData(), size_t(b.size()))
            .isEmpty());
}

TEST_F(ArbFiles, ReceivedFileReplacesALinkInsteadOfWritingThroughIt)
{
    const QString outside = dir.path() + "/home/root/precious";
    write(outside, "keep");
    ASSERT_TRUE(QFile::link(outside, hostOf("W.bsv")));
    const QByteArray b = bsv(ramp(64, -9, 9));
    EXPECT_FALSE(ArbWaveData::SaveDataToFile(0, "W.bsv", "Base", b.constData(), size_t(b.size())).isEmpty());
    EXPECT_EQ(read(outside), QByteArray("keep"));
    EXPECT_FALSE(QFileInfo(hostOf("W.bsv")).isSymLink());
}

} // namespace
