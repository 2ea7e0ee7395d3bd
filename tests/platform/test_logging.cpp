#include <gtest/gtest.h>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTemporaryDir>
#include <functional>
#include "app/misc.h"
#include "communication/LAN/scpi_raw.h"
#include "param/sysparm.h"
#include "platform/logging.h"
#include "platform/platformroot.h"

// What the program prints on stderr, with its handler installed, for one
// diagnostic of each subsystem: the field logs and the scripts that watch the
// instrument's output read these prefixes. Where a real fault of the board
// produces the diagnostic, the fault is what the row sets up.
TEST(Diagnostics, EachCategoryPrintsItsBracketedPrefix)
{
    QTemporaryDir empty; // a board root without sensors, EEPROM or anything
    PlatformRoot::setRoot(empty.path());
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::LocalHost, 0));
    const int takenPort = int(taken.serverPort());

    const struct {
        const char* what;
        std::function<void()> emitIt;
        QString expected; // a whole stderr text, as a regular expression
    } rows[] = {
        {"thermometer without its bus", [] { misc::ResetDS18B20(); misc::ReadDS18B20(); },
         R"(\[hardware-WARN\]:opendir /sys/bus/w1/devices/ error\n)"},
        {"EEPROM device missing", [] { SysParm p; unsigned char buf[8192]; p.LoadFromAt24(buf); },
         R"((\[paramFlash-ERRO\]:open error\n)+)"}, // opened at construction and at the load
        {"raw socket port taken", [takenPort] { EXPECT_LT(scpi_raw_start(takenPort, true), 0); },
         QString(R"(\[lan-ERRO\] f:scpi_raw_start,l:\d+,cannot listen on port %1: .+\r\n)").arg(takenPort)},
        {"scpi", [] { qCCritical(lcScpi, "no channel number"); }, R"(\[scpi-ERRO\]:no channel number\n)"},
        {"scpi warning", [] { qCWarning(lcScpi, "busy %d ms", 500); }, R"(\[scpi-WARN\]:busy 500 ms\n)"},
        {"usb", [] { qCCritical(lcUsb, "Disconnect from the computer! %d", -1); },
         R"(\[usb-ERRO\]:Disconnect from the computer! -1\n)"},
        {"usbtmc", [] { ORNAV_LOG_AT(lcUsbtmc).critical("len:%d<12", 3); },
         R"(\[usbtmc-ERRO\] f:[^,]+,l:\d+,len:3<12\r\n)"},
        {"vxi", [] { ORNAV_LOG_AT(lcVxi).critical("alloc mem error!"); },
         R"(\[vxi-ERRO\] f:[^,]+,l:\d+,alloc mem error!\r\n)"},
        // Qt's own and uncategorised messages keep Qt's form.
        {"uncategorised", [] { qWarning("plain %d", 7); }, R"(plain 7\n)"},
    };
    ornavlog::install();
    for (const auto& row : rows) {
        testing::internal::CaptureStderr();
        row.emitIt();
        const QString out = QString::fromStdString(testing::internal::GetCapturedStderr());
        const QRegularExpression re(QRegularExpression::anchoredPattern(row.expected));
        EXPECT_TRUE(re.match(out).hasMatch()) << row.what << ": " << out.toStdString();
    }
    qInstallMessageHandler(nullptr);
    misc::ResetDS18B20();
    PlatformRoot::setRoot(QString());
}
