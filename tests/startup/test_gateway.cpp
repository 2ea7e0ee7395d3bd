#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include "app/ornav72.h"
#include "platform/platformroot.h"

namespace {
void writeRoute(const QString& root, const QByteArray& text)
{
    QDir().mkpath(root + "/proc/net");
    QFile f(root + "/proc/net/route");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}
const QByteArray kHeader = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";
} // namespace

TEST(DefaultGateway, ReadFromTheRouteTable)
{
    QTemporaryDir dir;
    PlatformRoot::setRoot(dir.path());
    char gw[16] = {};
    // 0x0101A8C0 little-endian is 192.168.1.1.
    writeRoute(dir.path(),
               kHeader +
                   "eth0\t0001A8C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n"
                   "eth0\t00000000\t0101A8C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n");
    EXPECT_EQ(NetworkSettings::get_gateway_addr(gw), 0);
    EXPECT_STREQ(gw, "192.168.1.1");

    writeRoute(dir.path(), kHeader + "eth0\t0001A8C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n");
    EXPECT_EQ(NetworkSettings::get_gateway_addr(gw), -1);

    writeRoute(dir.path(), kHeader + "eth0\tgarbage\n");
    EXPECT_EQ(NetworkSettings::get_gateway_addr(gw), -2);

    QFile::remove(dir.path() + "/proc/net/route");
    EXPECT_EQ(NetworkSettings::get_gateway_addr(gw), -1);
    PlatformRoot::setRoot(QString());
}
