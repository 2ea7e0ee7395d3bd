// The SCPI worker's file receiver of "WARB#:MODulate name" followed by the
// file as the next message, in process. Carrier and list uploads, refused
// names and bad headers are run over real clients in
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
    QString recordText(const char* p) { return QString::fromLocal8Bit(p, int(strnlen(p, 128))); }
};

TEST_F(Receivers, ModulatingWaveUpload)
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
}

} // namespace
