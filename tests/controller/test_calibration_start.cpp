// The controller loads the calibration at start and carries out the
// calibration station's channel preparation.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cstdlib>
#include <cstring>
#include "tests/common/controller_fixture.h"
#include "communication/SCPI/commands/scpi_service.h"
#include "communication/SCPI/scpi.h"
#include "app/misc.h"
#include "communication/scpi_msg_adpt.h"
#include "communication/scpi_msg_session.h"
#include "param/sys_param.h"

namespace {

class CalibrationStart : public ControllerTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(SimRoot::create(dir.path()));
        put("/home/root/Local.cal",
            "[SN:X]\r\n[T:DC]\r\n[CH:1]\r\n[ATT:09][A:1.050000][B:0.001000]\r\n[CH:END]\r\n[T:END]\r\n"
            "[T:AC]\r\n[CH:1]\r\n[ATT:08]\r\n[V:0.100000]\r\n[1.000e+03:0.998000]\r\n[CH:END]\r\n[T:END]\r\n");
        put("/home/root/Htemp.fac",
            "[T:AC]\r\n[CH:1]\r\n[ATT:08]\r\n[V:0.100000]\r\n[1.000e+03:1.100000]\r\n[CH:END]\r\n[T:END]\r\n");
        put(SimRoot::kThermometerFile, "4b 01 4b 46 7f ff 05 10 e1 t=31500\n");
        misc::ResetDS18B20();
        log = new LogCapture;
        ControllerTest::SetUp();
    }
    void TearDown() override
    {
        ControllerTest::TearDown();
        delete log;
        for (CChCharacter& c : CSetParam::state.pCharacter) {
            c.SetAllDCCalValue(1.0, 0.0);
            c.ClearAcCalValue();
        }
        CSetParam::state.isDcCal = false;
        CSetParam::state.isAcCal = false;
        CChCharacter::SetBoardTemperatureSource(nullptr);
        misc::ResetDS18B20();
    }
    void put(const char* boardFile, const QByteArray& bytes)
    {
        const QString p = dir.path() + boardFile;
        QDir().mkpath(QFileInfo(p).path());
        QFile f(p);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
    }
    // One message through the program's own message queue and SCPI worker
    // thread, the way a transport delivers it; the controller's queued work
    // runs here meanwhile. Returns the reply.
    static QByteArray deliver(const QByteArray& m)
    {
        scpi_msg_reponse_buf_clear();
        char* b = static_cast<char*>(std::malloc(size_t(m.size())));
        std::memcpy(b, m.constData(), size_t(m.size()));
        EXPECT_GE(scpi_msg_cmd_write(b, m.size()), 0);
        QElapsedTimer t;
        t.start();
        while (scpi_muti_write_busy() && t.elapsed() < 20000) {
            QCoreApplication::processEvents();
            QThread::msleep(5);
        }
        EXPECT_FALSE(scpi_muti_write_busy());
        QCoreApplication::processEvents();
        char buf[512];
        const int n = scpi_session_read(SCPI_SESSION_DEFAULT, buf, sizeof buf);
        return QByteArray(buf, n > 0 ? n : 0);
    }
    LogCapture* log = nullptr;
};

} // namespace

TEST_F(CalibrationStart, CalibrationAndBoardTemperatureAreLoadedAtStart)
{
    EXPECT_TRUE(log->contains(" calibrate file:/home/root/Local.cal"));
    EXPECT_TRUE(log->contains("Htemp factor file is /home/root/Htemp.fac"));
    EXPECT_TRUE(log->contains("Ltemp factor file not found "));
    const AmpSWMap* m9 = CSetParam::state.pCharacter[1].GetATTtoAmpMap(9);
    EXPECT_EQ(m9->DC_a, 1.05);
    EXPECT_EQ(m9->DC_b, 0.001);
    const AmpSWMap* m8 = CSetParam::state.pCharacter[1].GetATTtoAmpMap(8);
    ASSERT_EQ(m8->ACFreAmp.size(), 1u);
    EXPECT_NEAR(m8->ACFreAmp[0].Points.at(0).tmpHfactor, 0.1, 1e-12);
    // The flatness correction starts from the board thermometer's reading.
    EXPECT_FLOAT_EQ(CSetParam::state.boardtemp, 31.5f);
    EXPECT_DOUBLE_EQ(CChCharacter::BoardTemperature(), 31.5);
}

TEST_F(CalibrationStart, TheStationsStepOpensTheOutputAndLoadsFiftyOhm)
{
    ctrl->ChannelOnOff(CH1, true);
    sys_param::SetChLoad(CH1, 1000000);
    QCoreApplication::processEvents();
    ASSERT_EQ(sys_param::GetChOnOff(CH1), 1.0);
    pc_lock = false;
    deliver("SYNC1:CMD0\n");
    EXPECT_TRUE(pc_lock);
    EXPECT_EQ(sys_param::GetChOnOff(CH1), 0.0);
    EXPECT_EQ(sys_param::GetChLoad(CH1), 50.0);
    EXPECT_TRUE(CSetParam::state.isDcCal);
}

TEST_F(CalibrationStart, FactoryItemsAreWrittenThroughTheController)
{
    auto input = [](const QByteArray& m) { return deliver(m); };
    // The serial number takes any channel number; 31 bytes are too many.
    input("WP9:ADDR2048 #18SN-F0042\n");
    EXPECT_STREQ(Ornav72::GetSN(), "SN-F0042");
    input("WP1:ADDR2048 #231" + QByteArray(31, 'x') + "\n");
    EXPECT_STREQ(Ornav72::GetSN(), "SN-F0042");
    const QByteArray sn = input("RP1:ADDR2048?\n");
    EXPECT_EQ(sn.left(30), QByteArray("SN-F0042") + QByteArray(22, '\0'));

    input("WP1:ADDR2304 #217ORNAV96T;EN;600;x\n");
    input("WP2:ADDR2305 #219www.example.org\r\nzz\n");
    QFile ini(dir.path() + "/home/root/settings.ini");
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    const QByteArray settings = ini.readAll();
    EXPECT_TRUE(settings.contains("SN=SN-F0042")) << settings.constData();
    EXPECT_TRUE(settings.contains("ORNAV96T;EN;600\"")) << settings.constData();
    EXPECT_EQ(input("RP1:ADDR2305?\n"), QByteArray("www.example.org\r\n"));
    const QByteArray info = input("RP1:ADDR2304?\n");
    EXPECT_TRUE(info.startsWith("ORNAV96T;EN;600;1.09;")) << info.constData();
}
