// The screen of the real program on a simulated board, fetched over VXI-11
// by pyvisa-py through the screenshot tool: "DISPlay:DATA?" and
// "DISPlay:ZBMP?" decoded and compared.
#include <gtest/gtest.h>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QThread>
#include <QSet>
#include <QTemporaryDir>
#include <cstring>
#include "app/ornav72.h"
#include "tests/common/instrument_process.h"

namespace {

QString tool() { return QString(ORNAV_SOURCE_DIR) + "/tools/ornav-screenshot.py"; }

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The upright picture held by a raw capture (bottom row first).
QImage captureImage(const QByteArray& raw)
{
    return QImage(reinterpret_cast<const uchar*>(raw.constData()) + 54, 1280, 800, 1280 * 4, QImage::Format_ARGB32)
        .mirrored(false, true);
}

// Pixels whose colour differs by more than tol in a channel.
int differing(const QImage& a, const QImage& b, int tol)
{
    int n = 0;
    for (int y = 0; y < 800; y += 2)
        for (int x = 0; x < 1280; x += 2) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (qAbs(qRed(p) - qRed(q)) > tol || qAbs(qGreen(p) - qGreen(q)) > tol || qAbs(qBlue(p) - qBlue(q)) > tol)
                ++n;
        }
    return n;
}

int colours(const QImage& img)
{
    QSet<QRgb> seen;
    for (int y = 0; y < 800; y += 4)
        for (int x = 0; x < 1280; x += 4)
            seen.insert(img.pixel(x, y) & 0xFFFFFF);
    return seen.size();
}

} // namespace

class DisplayClients : public TestRig::InstrumentSuite {
protected:
    // The screens settle after start-up: the USB disk's message stays two
    // seconds, and the captures below compare pictures taken one after the
    // other.
    static void SetUpTestSuite()
    {
        startOn({}, {"vxi11_init ok!", "usb disk plugged in"});
        QThread::msleep(3000);
    }

    // Runs the screenshot tool; its exit status.
    static int screenshot(const QStringList& args, QByteArray* err = nullptr)
    {
        QProcess p;
        p.start("/usr/bin/python3", QStringList {tool()} + args);
        if (!p.waitForStarted(10000))
            return -1;
        p.waitForFinished(120000);
        if (err)
            *err = p.readAllStandardError();
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
    QString out(const char* name) const { return work.path() + "/" + name; }

    QTemporaryDir work;
};

TEST_F(DisplayClients, ZbmpDecompressesToTheCaptureAndDataMatchesIt)
{
    QByteArray err;
    // python3-lzo decodes the LZO1X-1 data; the tool's own decoder must agree.
    ASSERT_EQ(screenshot({"--zbmp", "--raw", out("lzo.bin"), out("lzo.png")}, &err), 0) << err.constData();
    ASSERT_EQ(screenshot({"--zbmp", "--pure", "--raw", out("pure.bin"), out("pure.png")}, &err), 0) << err.constData();
    const QByteArray raw = readAll(out("lzo.bin"));
    ASSERT_EQ(raw.size(), 4096054);
    EXPECT_EQ(std::memcmp(raw.constData(), ScreenCapture::kBmpHeader, 54), 0);
    const QImage screen = captureImage(raw);
    // The root window's background, and the screens drawn on it the right
    // way up: the top bar's box sits at the top right, nothing at the
    // mirrored place.
    EXPECT_GE(colours(screen), 2);
    // The root window is black: the margin right of the button column.
    EXPECT_EQ(screen.pixel(1270, 300) & 0xFFFFFF, 0x000000u);
    EXPECT_NE(screen.pixel(1175, 130), screen.pixel(1175, 800 - 130));
    const QImage viaPure = captureImage(readAll(out("pure.bin")));
    EXPECT_EQ(differing(screen, viaPure, 0), 0);
    QImage png(out("lzo.png"), "png");
    ASSERT_EQ(png.size(), QSize(1280, 800));
    EXPECT_EQ(differing(screen, png, 0), 0);

    // "DISPlay:DATA?" in the factory picture format (BMP), converted by the tool.
    ASSERT_EQ(screenshot({"--raw", out("data.bmp"), out("data.png")}, &err), 0) << err.constData();
    QImage bmp;
    ASSERT_TRUE(bmp.loadFromData(readAll(out("data.bmp")), "bmp"));
    ASSERT_EQ(bmp.size(), QSize(1280, 800));
    // The same screen, unless a clock or a reading changed in between.
    EXPECT_LT(differing(screen, bmp, 0), 1280 * 800 / 4 / 50);
    EXPECT_EQ(differing(bmp, QImage(out("data.png"), "png"), 0), 0);
}

TEST_F(DisplayClients, DataInEachPictureFormat)
{
    // The picture format of the system page, set over VXI-11.
    const struct {
        const char* name;
        const char* qt;
    } formats[] = {{"BMP", "bmp"}, {"JPEG", "jpeg"}, {"PNG", "png"}};
    QImage reference;
    for (const auto& f : formats) {
        TestRig::runPython(
            TestRig::visaScript(QString("i.write('SYSTem:PICTure:FORMat %1'); i.query('*OPC?')").arg(f.name)));
        QByteArray err;
        const QString raw = out(f.qt);
        // A JPEG cannot be turned into PNG by the standard library: the tool
        // says so, but keeps the reply.
        screenshot({"--raw", raw, out("x.png")}, &err);
        QImage img;
        ASSERT_TRUE(img.loadFromData(readAll(raw), f.qt)) << f.name << err.constData();
        ASSERT_EQ(img.size(), QSize(1280, 800)) << f.name;
        EXPECT_GE(colours(img), 2) << f.name;
        if (reference.isNull())
            reference = img;
        EXPECT_LT(differing(reference, img, 40), 1280 * 800 / 4 / 50) << f.name;
    }
}
