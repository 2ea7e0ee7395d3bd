// Discovery by name: with a system bus and an Avahi daemon of its own, the
// program's services are found by avahi-browse and `lxi discover -m`.
// Starting them takes a private network and mount namespace (the test runner
// of isolated.sh gives one); anywhere else the test is skipped rather than
// touch the machine's own bus and daemon.
#include <gtest/gtest.h>
#include <QFile>
#include <unistd.h>
#include "tests/lan/lan_instrument.h"

namespace {

// The namespace isolated.sh gives has the loopback interface only; a
// machine's own network never has.
bool privateNetworkNamespace()
{
    QFile dev("/proc/net/dev");
    if (!dev.open(QIODevice::ReadOnly))
        return false;
    int interfaces = 0;
    bool loopbackOnly = true;
    for (const QByteArray& line : dev.readAll().split('\n')) {
        const int colon = line.indexOf(':');
        if (colon < 0)
            continue;
        ++interfaces;
        if (line.left(colon).trimmed() != "lo")
            loopbackOnly = false;
    }
    return interfaces == 1 && loopbackOnly;
}

bool sh(const QString& command)
{
    int code = 0;
    lanRun("/bin/sh", {"-c", command}, &code, 20000);
    return code == 0;
}

} // namespace

TEST(Discovery, AvahiBrowseAndLxiDiscoverFindTheInstrument)
{
    if (!privateNetworkNamespace() || QFile::exists("/run/dbus/system_bus_socket"))
        GTEST_SKIP() << "needs a private network namespace without a system bus (run inside isolated.sh)";
    // mDNS needs a multicast interface; loopback is none. A veth pair lives
    // only inside this namespace, reachable from nowhere else.
    ASSERT_TRUE(sh("mkdir -p /run/dbus /run/avahi-daemon && dbus-daemon --system --fork --nopidfile"));
    ASSERT_TRUE(sh("ip link add lanmd0 type veth peer name lanmd1 && ip addr add 10.231.0.1/24 dev lanmd0 && "
                   "ip link set lanmd0 up && ip link set lanmd1 up"));
    ASSERT_TRUE(sh("avahi-daemon --no-drop-root --no-chroot -D"));
    for (int i = 0; i < 50 && !QFile::exists("/run/avahi-daemon/socket"); ++i)
        usleep(100000);

    LanInstrument inst;
    ASSERT_TRUE(inst.start()) << inst.log().constData();
    EXPECT_TRUE(inst.waitFor("[lan-WARN]:mdns announced as \"ORNAV46Q SN1234567890123\"", 15000))
        << inst.log().constData();

    int code = 0;
    const QByteArray browse = lanRun("/usr/bin/avahi-browse", {"-rtpk", "_lxi._tcp"}, &code, 20000);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(browse.contains("ORNAV46Q\\032SN1234567890123;_lxi._tcp;local;")) << browse.constData();
    EXPECT_TRUE(browse.contains(";8080;\"path=/lxi/identification\"")) << browse.constData();
    for (const char* type : {"_vxi-11._tcp", "_scpi-raw._tcp", "_http._tcp"}) {
        const QByteArray out = lanRun("/usr/bin/avahi-browse", {"-rtpk", type}, &code, 20000);
        EXPECT_TRUE(out.contains(QByteArray("ORNAV46Q\\032SN1234567890123;") + type)) << type << out.constData();
    }
    const QByteArray raw = lanRun("/usr/bin/avahi-browse", {"-rtpk", "_scpi-raw._tcp"}, &code, 20000);
    EXPECT_TRUE(raw.contains(";5025;")) << raw.constData();

    const QByteArray lxi = lanRun("/usr/bin/lxi", {"discover", "-m"}, &code, 30000);
    EXPECT_TRUE(lxi.contains("Found \"ORNAV46Q SN1234567890123\"")) << lxi.constData();
    EXPECT_TRUE(lxi.contains("lxi service on port 8080")) << lxi.constData();

    inst.stop();
    sh("avahi-daemon -k");
    sh("ip link del lanmd0");
}
