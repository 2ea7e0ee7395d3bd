// Keys of the entries that are chosen rather than typed (switches, choices,
// the harmonic mask), the file entries and the coupling ranges.
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include "tests/signals/signal_fixture.h"
#include "communication/SCPI/sys_error.h"
#include "app/channalmodel_freq.h"
#include "app/channalmodel_sys.h"

class EntryKeys : public SignalTest {
protected:
    channelModel* E(CH_ID c, int index) { return C(c).entry(index); }
    // Writes a file below the simulated root.
    void put(const QString& boardFile, const QByteArray& data)
    {
        const QString host = PlatformRoot::path(boardFile);
        QDir().mkpath(QFileInfo(host).path());
        QFile f(host);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(data);
    }
    static QString text(const char* p) { return QString::fromLocal8Bit(p); }
};

TEST_F(EntryKeys, UserHarmonicMaskBitsCursorAndBorrow)
{
    channelModel* m = E(CH1, PARAM_INDEX_HARMONICUSERTYPE);
    rec(CH1).HarmonicUserType = 0;
    sys_param::HWinfo.Separator = 0;
    EXPECT_EQ(m->onKeyEvent(Key_Up, 0), QStringLiteral("error")) << "not focused";
    EXPECT_EQ(m->onKeyEvent(Key_Ok, 0), QString());
    EXPECT_TRUE(m->rparamfocus());
    EXPECT_EQ(m->onKeyEvent(Key_Down, 0), QString());
    EXPECT_EQ(rec(CH1).HarmonicUserType, 65535u) << "0 - 1 in 16 bits";
    EXPECT_EQ(m->rlistvalue(), QStringLiteral("X111,1111,1111,1111"));

    // Key_0 clears the bit under the cursor and moves it down (not below 0).
    rec(CH1).HarmonicUserType = 0;
    for (int i = 0; i < 20; ++i)
        m->onKeyEvent(Key_Left, 0);
    EXPECT_EQ(static_cast<userHarmonicTypeModel*>(m)->cursor(), 14);
    m->onKeyEvent(Key_1, 0); // bit 14: the second harmonic
    m->onKeyEvent(Key_1, 0); // bit 13
    EXPECT_EQ(rec(CH1).HarmonicUserType, (1u << 14) | (1u << 13));
    EXPECT_EQ(m->rlistvalue(), QStringLiteral("X110,0000,0000,0000"));
    EXPECT_EQ(m->rsPos(), 3) << "cursor on bit 12";
    m->onKeyEvent(Key_Right, 0);
    m->onKeyEvent(Key_Up, 0); // bit 11
    EXPECT_EQ(rec(CH1).HarmonicUserType, (1u << 14) | (1u << 13) | (1u << 11));
    sys_param::HWinfo.Separator = 2;
    m->disUpdate();
    EXPECT_EQ(m->rlistvalue(), QStringLiteral("X110100000000000"));
    EXPECT_EQ(m->onKeyEvent(Key_Cancel, 0), QStringLiteral("quit"));
    EXPECT_FALSE(m->rparamfocus());
}

TEST_F(EntryKeys, SwitchTogglesAndRefusesNoiseSumOnAMergedPair)
{
    channelModel* s = E(CH3, PARAM_INDEX_CHNOISESUMSW);
    rec(CH3).noiseSumSW = false;
    rec(CH4).ChMerge = 4;
    EXPECT_EQ(s->onKeyEvent(Key_Up, 0), QStringLiteral("error"));
    EXPECT_EQ(s->onKeyEvent(Key_Ok, 0), QString());
    EXPECT_FALSE(rec(CH3).noiseSumSW) << "partner merges: refused";
    rec(CH4).ChMerge = 0;
    EXPECT_EQ(s->onKeyEvent(Key_Ok, 0), QStringLiteral("updatelist"));
    EXPECT_TRUE(rec(CH3).noiseSumSW);

    channelModel* inv = E(CH2, PARAM_INDEX_CHREVERSE);
    QSignalSpy applied(&C(CH2), &Channel::signalUpdated);
    rec(CH2).ChInversion = true;
    EXPECT_EQ(inv->onKeyEvent(Key_Ok, 0), QStringLiteral("quit"));
    EXPECT_FALSE(rec(CH2).ChInversion);
    EXPECT_GE(applied.count(), 1);
}

TEST_F(EntryKeys, ChoiceStoresOptionsInRangeAndMergeTogglesTheChannelNumber)
{
    channelModel* m = E(CH2, PARAM_INDEX_MODWAVE);
    rec(CH2).ModWave = 0;
    EXPECT_EQ(m->onKeyEvent(2, 0), QStringLiteral("error")) << "needs the focus first";
    EXPECT_EQ(m->onKeyEvent(Key_Ok, 0), QString());
    EXPECT_EQ(m->onKeyEvent(3, 0), QStringLiteral("updatelist"));
    EXPECT_EQ(rec(CH2).ModWave, 3);

    channelModel* t = E(CH2, PARAM_INDEX_TRIGOUT);
    rec(CH2).TrigerOut = 1;
    Sys_ErrorClear();
    t->onKeyEvent(Key_Ok, 0);
    EXPECT_EQ(t->onKeyEvent(9, 0), QStringLiteral("quit"));
    EXPECT_EQ(rec(CH2).TrigerOut, 1) << "option 9 does not exist";
    EXPECT_EQ(Sys_ErrorPop(), -801);
    t->onKeyEvent(Key_Ok, 0);
    EXPECT_EQ(t->onKeyEvent(Key_Mod, 0), QStringLiteral("error"));

    channelModel* merge = E(CH3, PARAM_INDEX_CHMERGE);
    rec(CH3).ChMerge = 0;
    EXPECT_EQ(merge->onKeyEvent(Key_Ok, 0), QStringLiteral("quit"));
    EXPECT_EQ(rec(CH3).ChMerge, 3);
    merge->onKeyEvent(Key_Ok, 0);
    EXPECT_EQ(rec(CH3).ChMerge, 0);
}

TEST_F(EntryKeys, ArbFileIsPreviewedThenConfirmedAndBadFilesAreRefused)
{
    channelModel* f = E(CH1, PARAM_INDEX_ARBFILE);
    put("/home/root/wave/a.bsv", QByteArray(64, '\x11'));
    put("/home/root/wave/empty.bsv", QByteArray());
    const QString before = text(rec(CH1).ArbFileDir);

    EXPECT_EQ(f->onFileSelectEvent(QStringLiteral("file:///home/root/wave/../wave/a.bsv"), false), QString());
    EXPECT_EQ(text(rec(CH1).ArbFileDir), before) << "a preview stores nothing";
    EXPECT_EQ(f->onFileSelectEvent(QStringLiteral("/home/root/wave/empty.bsv"), true), QStringLiteral("error"));
    EXPECT_EQ(text(rec(CH1).ArbFileDir), before);
    EXPECT_EQ(f->onFileSelectEvent(QStringLiteral("/home/root/wave/a.bsv"), true), QStringLiteral("quit"));
    EXPECT_EQ(text(rec(CH1).ArbFileDir), QStringLiteral("/home/root/wave/a.bsv"));
    EXPECT_EQ(f->rlistvalue(), QStringLiteral("a.bsv"));

    const QString longPath = QStringLiteral("/home/root/") + QString(120, QLatin1Char('x'));
    EXPECT_EQ(f->onFileSelectEvent(longPath, true), QStringLiteral("error"));
    EXPECT_EQ(f->onFileSelectEvent(QString(), false), QStringLiteral("error"));

    // The list entry keeps its own setting.
    channelModel* l = E(CH1, PARAM_INDEX_MODLISTFILE);
    put("/home/root/list.csv", "1000\n2000\n");
    EXPECT_EQ(l->onFileSelectEvent(QStringLiteral("/home/root/list.csv"), true), QStringLiteral("quit"));
    EXPECT_EQ(text(rec(CH1).ListFileDir), QStringLiteral("/home/root/list.csv"));
    EXPECT_EQ(text(rec(CH1).ArbFileDir), QStringLiteral("/home/root/wave/a.bsv"));
}

TEST_F(EntryKeys, MissingFilesAreReplacedBeforeTheEntriesAreBuilt)
{
    CH_DATA& d = rec(CH2);
    put("/home/root/keep.bsv", "x");
    std::strcpy(d.ArbFileDir, "/media/usbdisk/gone.bsv");
    std::strcpy(d.ModArbFileDir, "/home/root/keep.bsv");
    std::strcpy(d.ListFileDir, "/media/usbdisk/gone.csv");
    sys_param::storagePlace[CH2] = STORAGE_EXTERNAL;
    QList<channelModel*> list;
    channelInputParaInit(CH2, list);
    EXPECT_EQ(list.size(), int(PARAM_INDEX_CHMERGE) + 1);
    EXPECT_EQ(text(d.ArbFileDir), QStringLiteral("/usr/share/ArbWaveLib/AntiTrigonome/ACos.bsv"));
    EXPECT_EQ(text(d.ModArbFileDir), QStringLiteral("/home/root/keep.bsv"));
    EXPECT_EQ(text(d.ListFileDir), QString());
    EXPECT_EQ(sys_param::storagePlace[CH2], u8(STORAGE_LOCAL));
    qDeleteAll(list);
}

TEST_F(EntryKeys, CouplingRangesKeepThePartnerInsideItsBandwidth)
{
    const struct {
        CH_ID pair;
        double hiA, hiB;
    } cases[] = {{COUPLE12, 600e6, 600e6}, {COUPLE34, 200e6, 200e6}};
    for (const auto& k : cases) {
        QList<channelModel*> list;
        chCoupleInputParaInit(k.pair, list);
        ASSERT_EQ(list.size(), 12);
        auto at = [&](int index) { return list.at(index - PARAM_INDEX_CHCOUPLEFREQSW); };
        const DataInfo* dev = at(PARAM_INDEX_CHCOUPLEFREQDEV)->descriptor(0);
        EXPECT_DOUBLE_EQ(dev->Min, 1e-6 - k.hiA);
        EXPECT_DOUBLE_EQ(dev->Max, k.hiB - 1e-6);
        const DataInfo* rate = at(PARAM_INDEX_CHCOUPLEFREQRATE)->descriptor(0);
        EXPECT_DOUBLE_EQ(rate->Min, std::max(1e-6 / k.hiA, 1e-4));
        EXPECT_DOUBLE_EQ(rate->Max, std::min(k.hiB / 1e-6, 10000.0));
        EXPECT_DOUBLE_EQ(at(PARAM_INDEX_CHCOUPLEAMPLDEV)->descriptor(0)->Max, 19.998);
        EXPECT_DOUBLE_EQ(at(PARAM_INDEX_CHCOUPLEPHASEDEV)->descriptor(0)->Min, -720);

        // A deviation beyond the partner's bandwidth is pulled back.
        CH_DATA& pr = sys_param::coupleRecord(k.pair);
        pr.ChCoupleFreqDev = 2 * k.hiB;
        EXPECT_FALSE(at(PARAM_INDEX_CHCOUPLEFREQDEV)->UpdateRange());
        EXPECT_DOUBLE_EQ(pr.ChCoupleFreqDev, k.hiB - 1e-6);
        qDeleteAll(list);
    }
}
