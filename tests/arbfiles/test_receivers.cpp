// The SCPI worker's file receivers, in process: "WARB#:MODulate name" and
// "WFREQLIST# name" followed by the file as the next message. Carrier
// uploads, refused names and bad headers are run over real clients in
// tests/clients/test_arb_uploads.cpp.
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
        scpi_msg_t rec {};
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
    QString recordText(const char* p) { return QString::fromLocal8Bit(p, int(strnlen(p, 128))); }
};

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

} // namespace
