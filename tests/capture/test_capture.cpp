// The screen capture into the capture buffer and onto the USB disk, the
// encodings of the remote screen rows, the system information record and the
// upgrade from the USB disk, on a simulated board.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>
#include <QtEndian>
#include <cstring>
#include "communication/SCPI/commands/scpi_display.h"
#include "hardware/fpga_regs.h"
#include "param/settingsfile.h"
#include "param/sys_param.h"
#include "platform/shellrunner.h"
#include "tests/common/controller_fixture.h"

namespace {

QString file(const QTemporaryDir& d, const QString& boardPath) { return d.path() + boardPath; }

void writeFile(const QString& path, const QByteArray& data)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

quint32 le32(const unsigned char* p) { return qFromLittleEndian<quint32>(p); }
quint16 le16(const unsigned char* p) { return qFromLittleEndian<quint16>(p); }

// A raw capture whose upper half of the screen is red and lower half blue
// (the buffer holds the bottom row first).
QByteArray twoColourCapture()
{
    QByteArray raw(SCPI_DISPLAY_CAPTURE_BYTES, '\0');
    raw.replace(0, 54, reinterpret_cast<const char*>(ScreenCapture::kBmpHeader), 54);
    auto* px = reinterpret_cast<quint32*>(raw.data() + 54);
    for (int y = 0; y < 800; ++y)
        for (int x = 0; x < 1280; ++x)
            px[y * 1280 + x] = y < 400 ? 0xFF0000FFu : 0xFFFF0000u;
    return raw;
}

} // namespace

class CaptureTest : public ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        window = new QQuickWindow;
        window->setColor(QColor(0x20, 0x80, 0xC0));
        window->resize(1280, 800);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
        QTest::qWait(100);
        ctrl->mainObject = window;
        sys_param::HWinfo.Beep = 1;
    }
    void TearDown() override
    {
        ctrl->mainObject = nullptr;
        delete window;
        ControllerTest::TearDown();
    }
    QList<int> tipsShown(QSignalSpy& spy)
    {
        QList<int> out;
        for (const auto& a : spy)
            out << a.at(1).toInt();
        return out;
    }
    QQuickWindow* window = nullptr;
};

TEST_F(CaptureTest, CaptureBufferHoldsTheBmpHeaderAndTheFrameBottomRowFirst)
{
    ASSERT_TRUE(ctrl->getscreenShot(true));
    const unsigned char* p = ctrl->capture().pixels();
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p[0], 'B');
    EXPECT_EQ(p[1], 'M');
    EXPECT_EQ(le32(p + 2), 4096000u);
    EXPECT_EQ(le32(p + 6), 0u);
    EXPECT_EQ(le32(p + 10), 54u);
    EXPECT_EQ(le32(p + 14), 40u);
    EXPECT_EQ(le32(p + 18), 1280u);
    EXPECT_EQ(le32(p + 22), 800u);
    EXPECT_EQ(le16(p + 26), 1u);
    EXPECT_EQ(le16(p + 28), 32u);
    for (int off = 30; off < 54; off += 4)
        EXPECT_EQ(le32(p + off), 0u) << off;
    // Blue, green, red, alpha of the window's colour in the first and last pixel.
    const unsigned char* first = p + 54;
    const unsigned char* last = p + 54 + 4 * (1280 * 800 - 1);
    for (const unsigned char* px : {first, last}) {
        EXPECT_EQ(px[0], 0xC0);
        EXPECT_EQ(px[1], 0x80);
        EXPECT_EQ(px[2], 0x20);
        EXPECT_EQ(px[3], 0xFF);
    }
    EXPECT_EQ(ctrl->capture().image().size(), QSize(1280, 800));
    // The buffer is kept and refilled by the next capture.
    const unsigned char* kept = ctrl->capture().pixels();
    window->setColor(Qt::white);
    ASSERT_TRUE(ctrl->getscreenShot(true));
    EXPECT_EQ(ctrl->capture().pixels(), kept);
    EXPECT_EQ(ctrl->capture().pixels()[54], 0xFF);
}

TEST_F(CaptureTest, NextFreeNumberIsUsedAndTheSaveIsReported)
{
    const QString dir = file(this->dir, "/media/usbdisk/screenshot");
    QDir().mkpath(dir);
    writeFile(dir + "/screenshot1.png", "one");
    writeFile(dir + "/screenshot2.png", "two");
    sys_param::HWinfo.PicFormat = 2;
    QSignalSpy tips(ctrl, &Ornav72::TipsMessage);
    fpga().clearWrites();
    EXPECT_TRUE(ctrl->ui().screenShot(true, dir, 1));
    QImage saved(dir + "/screenshot3.png", "png");
    ASSERT_FALSE(saved.isNull());
    EXPECT_EQ(saved.size(), QSize(1280, 800));
    EXPECT_EQ(QColor(saved.pixel(640, 400)), QColor(0x20, 0x80, 0xC0));
    EXPECT_EQ(tipsShown(tips), QList<int> {TIPS_IMAGE_SAVE_OK});
    EXPECT_EQ(writesAt(REG_BUZZER), QList<uint64_t> {8}); // the key beep
    // The other formats of the setting, each with its own numbering.
    sys_param::HWinfo.PicFormat = 0;
    EXPECT_TRUE(ctrl->getscreenShot(true, dir, 1));
    sys_param::HWinfo.PicFormat = 1;
    EXPECT_TRUE(ctrl->getscreenShot(true, dir, 1));
    EXPECT_EQ(QImage(dir + "/screenshot1.bmp", "bmp").size(), QSize(1280, 800));
    EXPECT_EQ(QImage(dir + "/screenshot1.jpeg", "jpeg").size(), QSize(1280, 800));
    EXPECT_EQ(QFile(dir + "/screenshot1.png").readAll(), QByteArray()); // untouched
    EXPECT_FALSE(QFile::exists(dir + "/screenshot4.png"));
}

TEST_F(CaptureTest, MissingFolderReportsTheFailureWithTheWarningBeep)
{
    QSignalSpy tips(ctrl, &Ornav72::TipsMessage);
    fpga().clearWrites();
    const QString dir = file(this->dir, "/media/usbdisk/nowhere");
    ctrl->ui().screenShot(true, dir, 1);
    EXPECT_EQ(tipsShown(tips), QList<int> {TIPS_IMAGE_SAVE_FALSE});
    EXPECT_EQ(writesAt(REG_BUZZER), QList<uint64_t> {10});
    EXPECT_FALSE(QDir(dir).exists());
    // From the remote interface: no beep at all.
    fpga().clearWrites();
    ctrl->getscreenShot(true, dir, 0);
    EXPECT_EQ(writesAt(REG_BUZZER), QList<uint64_t> {});
}

TEST_F(CaptureTest, NoWindowNoCapture)
{
    ctrl->mainObject = nullptr;
    EXPECT_FALSE(ctrl->getscreenShot(true));
    EXPECT_TRUE(ctrl->displayCapture().isEmpty());
}

TEST_F(CaptureTest, RemoteCaptureIsACopyOfTheBuffer)
{
    const QByteArray raw = ctrl->displayCapture();
    ASSERT_EQ(raw.size(), 4096054);
    EXPECT_EQ(std::memcmp(raw.constData(), ctrl->capture().pixels(), 4096054), 0);
    window->setColor(Qt::black);
    ASSERT_TRUE(ctrl->getscreenShot(true));
    EXPECT_EQ(uchar(raw.at(54)), 0xC0); // the copy keeps its frame
}

TEST(DisplayEncoding, ZbmpFrameCarriesItsLengthAndTrailerEvenForNoise)
{
    QByteArray raw = twoColourCapture();
    const QByteArray flat = SCPI_DisplayZbmpFrame(raw);
    ASSERT_GT(flat.size(), 17);
    EXPECT_TRUE(flat.startsWith("#9"));
    EXPECT_EQ(flat.mid(2, 9).toInt(), flat.size() - 11 - 2);
    EXPECT_TRUE(flat.endsWith(QByteArray("\x89\xAB\xCD\xEF\r\n", 6)));
    EXPECT_LT(flat.size(), 100000); // two colours compress well
    // A screen of noise does not compress: the frame grows past the capture
    // and still ends where its length says.
    quint32 s = 1;
    for (int i = 54; i < raw.size(); ++i) {
        s = s * 1664525u + 1013904223u;
        raw[i] = char(s >> 24);
    }
    const QByteArray noisy = SCPI_DisplayZbmpFrame(raw);
    ASSERT_GT(noisy.size(), 4096054);
    EXPECT_EQ(noisy.mid(2, 9).toInt(), noisy.size() - 11 - 2);
    EXPECT_TRUE(noisy.endsWith(QByteArray("\x89\xAB\xCD\xEF\r\n", 6)));
    // The formats themselves: DisplayClients (tests/clients). A capture cut
    // short encodes to nothing.
    EXPECT_TRUE(SCPI_DisplayEncode(raw.left(4096053), 2).isEmpty());
}

TEST(DisplayEncoding, PngOfEachChangedScreenDecodesToThatScreen)
{
    // Screens in a row, each a small change from the one before: the
    // picture keeps the packed rows of an unchanged stretch of the screen,
    // so a change that is missed shows as stale pixels. Rows and columns
    // upright, counted from the top left.
    const struct {
        const char* what;
        int row, column;
    } changes[] = {
        {"nothing changed", -1, 0},
        {"one pixel mid-screen", 417, 5},
        {"the top row", 0, 1279},
        {"the bottom row", 799, 0},
        {"a stretch's last row", 31, 600}, // the row the next stretch's first row
                                           // is filtered against
        {"a stretch's first row", 32, 600},
        {"the same pixel again", 32, 600},
    };
    QByteArray raw = twoColourCapture();
    for (const auto& c : changes) {
        if (c.row >= 0) {
            char* px = raw.data() + 54 + 4 * ((799 - c.row) * 1280 + c.column);
            px[0] = char(~px[0]);
            px[2] = char(px[2] + 1);
        }
        QImage png;
        ASSERT_TRUE(png.loadFromData(SCPI_DisplayEncode(raw, 2), "png")) << c.what;
        const QImage screen =
            QImage(reinterpret_cast<const uchar*>(raw.constData()) + 54, 1280, 800, 1280 * 4, QImage::Format_RGB32)
                .mirrored(false, true);
        EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), screen) << c.what;
    }
}

TEST_F(ControllerTest, SystemInformationRecord)
{
    // Read at construction: a fresh controller for each text.
    auto restart = [this](const char* info) {
        delete ctrl;
        SettingsFile::setValue("SysInfo", info);
        ctrl = new Ornav72();
    };
    restart("ORNAV46Q;EN");
    EXPECT_FALSE(ctrl->educationModel());
    EXPECT_EQ(ctrl->bandwidthVariant(), 0u);
    restart("ORNAV46Q;EN;350");
    EXPECT_TRUE(ctrl->educationModel());
    EXPECT_EQ(ctrl->bandwidthVariant(), 350u);
    EXPECT_EQ(sys_param::SysInfo, QString("ORNAV46Q;EN;350"));

    ctrl->SaveSysInfo("ORNAV46Q;CN;200;extra");
    EXPECT_EQ(SettingsFile::value("SysInfo", "").toString(), QString("ORNAV46Q;CN;200"));
    ctrl->SaveSysHTTP("www.example.org\r\nrest");
    EXPECT_EQ(ctrl->getHttp(), QString("www.example.org"));
    EXPECT_EQ(ctrl->ui().getHttp(), QString("www.example.org"));

    ctrl->SetSN("SN42");
    ctrl->SetSN("SN\"quoted");
    EXPECT_STREQ(Ornav72::GetSN(), "SN42");
    EXPECT_EQ(ctrl->ui().getSN(), QString("      SN42"));
    ctrl->SetSN(QString(40, 'A'));
    EXPECT_EQ(QByteArray(Ornav72::GetSN()), QByteArray(31, 'A'));
    EXPECT_EQ(SettingsFile::value("SN", "").toString(), QString(31, 'A'));
    ctrl->SetSN("ABCDEFGH", 3);
    EXPECT_STREQ(Ornav72::GetSN(), "ABC");

    EXPECT_EQ(ctrl->ui().getSoftVersion(true), QString("1.09.0018"));
    EXPECT_EQ(ctrl->ui().getSoftVersion(false), QString("1.09"));
    sys_param::LogicVersion = "2.3.45";
    EXPECT_EQ(ctrl->ui().getFpgaVersion(false), QString("2.3"));
    EXPECT_EQ(ctrl->ui().getFpgaVersion(true), QString("2.3.45"));
}

TEST_F(ControllerTest, FpgaOnlineCheckLoadsTheStoredBitstream)
{
    QSignalSpy load(&ctrl->ui(), &Uidata::cmd_fpgaconfig);
    EXPECT_TRUE(ctrl->ui().fpgaOnlineCheck());
    EXPECT_EQ(load.count(), 0);
    fpga().setConfigured(false);
    EXPECT_FALSE(ctrl->ui().fpgaOnlineCheck());
    ASSERT_EQ(load.count(), 1);
    EXPECT_EQ(load.at(0).at(0).toString(), QString("/home/root/ORNAV96T_TOP.bit"));
}

class UpgradeTest : public ControllerTest {
protected:
    void SetUp() override
    {
        ControllerTest::SetUp();
        ShellRunner::clearRecorded();
        fpga().setErasePolls(0);
    }
    void TearDown() override
    {
        // The quit the upgrade queued must not end a later test's event loop.
        QCoreApplication::removePostedEvents(QCoreApplication::instance(), QEvent::MetaCall);
        ControllerTest::TearDown();
    }
};

TEST_F(UpgradeTest, PackageRunsThenTheBitstreamThenSyncAndReboot)
{
    const QByteArray bits(3 * 51200 + 10, '\x5A');
    writeFile(file(dir, "/media/usbdisk/ornav96t_v2/update.uas"), "#!/bin/sh\n");
    writeFile(file(dir, "/media/usbdisk/ornav96t_v2/ORNAV96T_TOP.bit"), bits);
    writeFile(file(dir, "/media/usbdisk/ORNAV96T_A/readme.txt"), "no package here");
    ASSERT_TRUE(ctrl->haveUpgradefile());
    EXPECT_EQ(ctrl->upgradePackage().folder(), QString("/media/usbdisk/ornav96t_v2"));

    QSignalSpy progress(&ctrl->fpga(), &fpga_config::write_process);
    QSignalSpy bar(&ctrl->ui(), &Uidata::processBarChanged);
    QSignalSpy quit(QCoreApplication::instance(), &QCoreApplication::aboutToQuit);
    ctrl->upgrade();
    EXPECT_EQ(ctrl->askWindowType(), Uidata::ASK_UPGTADING);
    QList<int> p;
    for (const auto& a : progress)
        p << a.at(0).toInt();
    EXPECT_EQ(p, (QList<int> {10, 50, 50 + 100 / 130, 50 + 150 / 130}));
    ASSERT_EQ(bar.count(), 1);
    EXPECT_EQ(bar.at(0).at(0).toInt(), 99);
    EXPECT_EQ(fpga().bitstream(), bits);
    EXPECT_EQ(ShellRunner::recorded(),
              (QStringList {"'/media/usbdisk/ornav96t_v2/update.uas'", "sync", "sync", "reboot"}));
    // The host is left alone: the quit is queued to the event loop.
    EXPECT_EQ(quit.count(), 0);
}

TEST_F(UpgradeTest, FolderWithoutPackageShowsNoQuestionAndUpgradesNothing)
{
    writeFile(file(dir, "/media/usbdisk/ORNAV96T_V3/ORNAV96T_TOP.bit"), "bits");
    EXPECT_FALSE(ctrl->haveUpgradefile());
    ctrl->upgrade();
    EXPECT_TRUE(ShellRunner::recorded().isEmpty());
    EXPECT_EQ(ctrl->askWindowType(), Uidata::ASK_NONE);
}

TEST_F(UpgradeTest, PackageSwappedForALinkAfterDetectionIsNotRun)
{
    QTemporaryDir outside;
    writeFile(outside.path() + "/update.uas", "elsewhere");
    const QString pkg = file(dir, "/media/usbdisk/ORNAV96T_Q'x/update.uas");
    writeFile(pkg, "package");
    ASSERT_TRUE(ctrl->haveUpgradefile());
    ASSERT_TRUE(QFile::remove(pkg));
    ASSERT_TRUE(QFile::link(outside.path() + "/update.uas", pkg));
    ctrl->upgrade();
    EXPECT_TRUE(ShellRunner::recorded().isEmpty());
    EXPECT_EQ(ctrl->askWindowType(), Uidata::ASK_NONE);
    // Restored, the odd folder name reaches the shell as one quoted word.
    ASSERT_TRUE(QFile::remove(pkg));
    writeFile(pkg, "package");
    ctrl->upgrade();
    ASSERT_FALSE(ShellRunner::recorded().isEmpty());
    EXPECT_EQ(ShellRunner::recorded().first(), QString("'/media/usbdisk/ORNAV96T_Q'\\''x/update.uas'"));
}
