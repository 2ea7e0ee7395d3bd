// The SCPI worker's file receivers, in process: "WARB#:CARRier name",
// "WARB#:MODulate name" and "WFREQLIST# name" followed by the file as the
// next message.
#include <QDir>
#include <cstdlib>
#include <cstring>
#include "WaveView/CWaveGreate.h"
#include "communication/SCPI/scpi.h"
#include "communication/SCPI/scpi_wfile.h"
#include "tests/arbfiles/arbfile_helpers.h"
#include "communication/scpi_msg_adpt.h"
#include "communication/scpi_msg_session.h"
#include "param/sys_param.h"
#include "tests/common/controller_fixture.h"

using namespace arbtest;

namespace {

class Receivers : public ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        QCoreApplication::processEvents();
        scpi_worker_init(ctrl);
        while (SCPI_ErrorCount(&scpi_context) > 0)
            SCPI_ErrorPop(&scpi_context);
        scpi_wfile_reset();
        fpga().clearWrites();
    }
    void TearDown() override
    {
        scpi_wfile_reset();
        scpi_session_drop_transfer(SCPI_SESSION_DEFAULT);
        scpi_worker_init(nullptr);
        ControllerTest::TearDown();
    }
    // One delivered message, as a transport hands it over.
    void deliver(const QByteArray& bytes)
    {
        scpi_msg_t rec{};
        rec.mtype = 20;
        rec.owner = SCPI_SESSION_DEFAULT;
        rec.msglen = int32_t(bytes.size());
        rec.mtext = static_cast<char*>(std::malloc(size_t(bytes.size()) + 1));
        std::memcpy(rec.mtext, bytes.constData(), size_t(bytes.size()));
        scpi_msg_execute(&rec);
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
    }
    QList<int> errors()
    {
        QList<int> e;
        while (SCPI_ErrorCount(&scpi_context) > 0)
            e << SCPI_ErrorPop(&scpi_context);
        return e;
    }
    // The transfer the delivered messages armed for their session.
    static scpi_transfer_t armed() { return scpi_session_transfer(SCPI_SESSION_DEFAULT); }
    QStringList userFiles() { return QDir(dir.path() + "/run/media/mmcblk0p1").entryList(QDir::Files); }
    QString recordText(const char* p) { return QString::fromLocal8Bit(p, int(strnlen(p, 128))); }
};

TEST_F(Receivers, CarrierUploadIsStoredLoadedAndPlayed)
{
    QVector<int16_t> v;
    for (int i = 0; i < 64; ++i)
        v << int16_t(i % 2 ? 1000 : -1000);
    deliver("WARB1:CARRier \"wave1.bsv\"\n");
    EXPECT_EQ(armed().mode, int(WF_BaseArb));
    EXPECT_EQ(armed().channel, 0);
    deliver(bsv(v));
    EXPECT_EQ(armed().mode, int(WF_None));
    EXPECT_TRUE(errors().isEmpty());
    EXPECT_EQ(recordText(sys_param::GetChArbFileDir(CH1)), QString("/run/media/mmcblk0p1/wave1.bsv"));
    const SWaveMem* w = CWaveCreate::GetWaveMem(CH1);
    EXPECT_EQ(w->ArbLen, 64);
    const QVector<quint64> deep = stream("deep:1");
    ASSERT_EQ(deep.size(), 64);
    EXPECT_EQ(deep[0], quint64(uint16_t(-32767)));
    EXPECT_EQ(deep[1], quint64(32767));
    // The file stays where the record names it, byte for byte, so that the
    // channel plays it again after a power cycle.
    EXPECT_EQ(userFiles(), QStringList({"wave1.bsv"}));
    QFile kept(dir.path() + "/run/media/mmcblk0p1/wave1.bsv");
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), bsv(v));
}

TEST_F(Receivers, ModulatingAndListUploads)
{
    QVector<int16_t> v;
    for (int i = 0; i < 32; ++i)
        v << int16_t(i - 16);
    deliver("WARB3:MODulate \"m.bsv\"\n");
    deliver(bsv(v));
    EXPECT_TRUE(errors().isEmpty());
    EXPECT_EQ(recordText(sys_param::GetChModArbFileDir(CH3)), QString("/run/media/mmcblk0p1/m.bsv"));
    EXPECT_EQ(CWaveCreate::GetWaveMem(CH3)->MArbLen, 32);
    EXPECT_EQ(CWaveCreate::GetWaveMem(CH3)->MArb[0], -32767);

    deliver("WFREQLIST2 \"L\"\n");
    EXPECT_EQ(armed().mode, int(WF_LIST));
    // A message after the arming command is data even when it reads like a command.
    deliver(list(2, {"1500", "3000"}));
    EXPECT_TRUE(errors().isEmpty());
    const SWaveMem* w = CWaveCreate::GetWaveMem(CH2);
    ASSERT_EQ(w->ListLen, 2);
    EXPECT_DOUBLE_EQ(w->List[1], 3000.0);
    EXPECT_EQ(recordText(sys_param::GetChListFileDir(CH2)), QString("/run/media/mmcblk0p1/CH2_List_L"));
}

TEST_F(Receivers, NamesOutsideTheStorageWriteNothing)
{
    const QByteArray file = bsv(QVector<int16_t>(16, 5));
    for (const QByteArray& cmd : {QByteArray("WARB1:CARRier \"../../home/root/evil.bsv\"\n"),
                                  QByteArray("WARB2:CARRier \"a/b.bsv\"\n"), QByteArray("WARB1:MODulate \"...bsv\"\n"),
                                  QByteArray("WFREQLIST1 \"x\\\\y\"\n"), QByteArray("WARB1:CARRier \"w.txt\"\n"),
                                  QByteArray("WARB5:CARRier \"ok.bsv\"\n")}) {
        // A name with a folder part or a wrong channel is refused at arming
        // (nothing is armed); a name the file checks refuse is refused when
        // the file arrives.
        deliver(cmd);
        if (armed().mode != int(WF_None))
            deliver(file);
        const int expected = cmd.startsWith("WARB5") ? -108 : -224;
        EXPECT_EQ(errors(), QList<int>({expected})) << cmd.constData();
        EXPECT_EQ(armed().mode, int(WF_None));
    }
    EXPECT_TRUE(userFiles().isEmpty());
    EXPECT_FALSE(QFile::exists(dir.path() + "/home/root/evil"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/run/media/mmcblk0p1/CH1_Base_..%2F..%2Fhome"));
}

TEST_F(Receivers, BadHeaderLeavesNoFile)
{
    const char* before = sys_param::GetChArbFileDir(CH4);
    const QString path = recordText(before);
    deliver("WARB4:CARRier \"broken.bsv\"\n");
    deliver("[HEAD]:\n[DATA]:4\nabcdefgh");
    EXPECT_EQ(errors(), QList<int>({-224}));
    EXPECT_TRUE(userFiles().isEmpty());
    EXPECT_EQ(recordText(sys_param::GetChArbFileDir(CH4)), path);
    // A missing name is refused at once.
    deliver("WARB1:CARRier\n");
    EXPECT_EQ(armed().mode, int(WF_None));
    EXPECT_EQ(errors(), QList<int>({-109}));
}

} // namespace
