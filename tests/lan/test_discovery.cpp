// Discovery by name: with a system bus and an Avahi daemon of its own, the
// program's services are found by avahi-browse and `lxi discover -m`.
// The bus and the daemon must never be the machine's own: the test runs its
// body again in new network, mount and PID namespaces (unshare) with a
// private /run, where it starts dbus-daemon, avahi-daemon and the port mapper and
// gives mDNS a multicast interface (a veth pair reachable from nowhere else).
// Only where no namespace can be made is the test skipped, saying why.
#include <gtest/gtest.h>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <unistd.h>
#include "simboard/simroot.h"
#include "tests/common/instrument_process.h"

namespace {

const char* const kInsideVar = "ORNAV_DISCOVERY_NAMESPACE";

bool sh(const QString& command, QByteArray* out = nullptr)
{
    int code = 0;
    const QByteArray o = TestRig::runProgram(
        "/bin/sh", {"-c", "PATH=/usr/sbin:/usr/bin:/sbin:/bin:$PATH; " + command + " 2>&1"}, &code, 20000);
    if (out)
        *out = o;
    return code == 0;
}

// The body, run inside the private namespace.
void discoverInsideNamespace()
{
    QByteArray why;
    ASSERT_TRUE(sh("mount -t tmpfs tmpfs /run && mkdir -p /run/dbus /run/avahi-daemon /run/rpcbind && "
                   "ip link set lo up",
                   &why))
        << why.constData();
    ASSERT_FALSE(QFile::exists("/run/dbus/system_bus_socket"));
    ASSERT_TRUE(sh("dbus-daemon --system --fork --nopidfile", &why)) << why.constData();
    // The program registers VXI-11 with the port mapper of this namespace.
    sh("rpcbind -w");
    ASSERT_TRUE(sh("ip link add lanmd0 type veth peer name lanmd1 && ip addr add 10.231.0.1/24 dev lanmd0 && "
                   "ip link set lanmd0 up && ip link set lanmd1 up",
                   &why))
        << why.constData();
    ASSERT_TRUE(sh("avahi-daemon --no-drop-root --no-chroot -D", &why)) << why.constData();
    for (int i = 0; i < 50 && !QFile::exists("/run/avahi-daemon/socket"); ++i)
        usleep(100000);

    QTemporaryDir dir;
    ASSERT_TRUE(SimRoot::create(dir.path()));
    TestRig::InstrumentProcess inst(dir.path());
    ASSERT_TRUE(inst.start({"ornav72 running"})) << inst.output().constData();
    EXPECT_TRUE(inst.waitFor("[lan-WARN]:mdns announced as \"ORNAV46Q SN1234567890123\"", 15000))
        << inst.output().constData();

    int code = 0;
    const QByteArray browse = TestRig::runProgram("/usr/bin/avahi-browse", {"-rtpk", "_lxi._tcp"}, &code, 20000);
    EXPECT_EQ(code, 0);
    EXPECT_TRUE(browse.contains("ORNAV46Q\\032SN1234567890123;_lxi._tcp;local;")) << browse.constData();
    EXPECT_TRUE(browse.contains(";8080;\"path=/lxi/identification\"")) << browse.constData();
    for (const char* type : {"_vxi-11._tcp", "_scpi-raw._tcp", "_http._tcp"}) {
        const QByteArray out = TestRig::runProgram("/usr/bin/avahi-browse", {"-rtpk", type}, &code, 20000);
        EXPECT_TRUE(out.contains(QByteArray("ORNAV46Q\\032SN1234567890123;") + type)) << type << out.constData();
    }
    const QByteArray raw = TestRig::runProgram("/usr/bin/avahi-browse", {"-rtpk", "_scpi-raw._tcp"}, &code, 20000);
    EXPECT_TRUE(raw.contains(";5025;")) << raw.constData();

    const QByteArray lxi = TestRig::runProgram("/usr/bin/lxi", {"discover", "-m"}, &code, 30000);
    EXPECT_TRUE(lxi.contains("Found \"ORNAV46Q SN1234567890123\"")) << lxi.constData();
    EXPECT_TRUE(lxi.contains("lxi service on port 8080")) << lxi.constData();

    inst.stop();
    // The daemons started here live in this process's own PID namespace:
    // they end with it.
}

} // namespace

TEST(Discovery, AvahiBrowseAndLxiDiscoverFindTheInstrument)
{
    if (qEnvironmentVariableIsSet(kInsideVar)) {
        discoverInsideNamespace();
        return;
    }
    for (const char* tool : {"/usr/bin/unshare", "/usr/bin/dbus-daemon", "/usr/sbin/avahi-daemon",
                             "/usr/bin/avahi-browse", "/usr/bin/lxi"})
        ASSERT_TRUE(QFileInfo::exists(tool)) << tool << " is missing: scripts/deps.sh installs it";
    // Can this process make a namespace at all? (Not in a container without
    // CAP_SYS_ADMIN and without user namespaces.)
    const QStringList plain = {"--net", "--mount", "--propagation", "private", "--pid", "--fork", "--mount-proc"};
    QStringList unshare = plain;
    QByteArray why;
    if (!sh("unshare --net --mount --propagation private --pid --fork --mount-proc true", &why)) {
        unshare = QStringList {"--map-root-user"} + plain;
        QByteArray why2;
        if (!sh("unshare --map-root-user --net --mount --propagation private --pid --fork --mount-proc true", &why2))
            GTEST_SKIP() << "no private network namespace can be made here (unshare: " << why.trimmed().constData()
                         << " / with a user namespace: " << why2.trimmed().constData()
                         << "); the announcement without Avahi is covered by RawSocket.NoAvahiDaemonIsOneLogLine";
    }
    const QString self = QFileInfo("/proc/self/exe").symLinkTarget();
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kInsideVar, "1");
    p.setProcessEnvironment(env);
    p.start("/usr/bin/unshare", unshare + QStringList {self, "--gtest_filter=Discovery.*"});
    ASSERT_TRUE(p.waitForStarted(10000));
    const bool finished = p.waitForFinished(180000);
    if (!finished)
        p.kill();
    const QByteArray out = p.readAll();
    ASSERT_TRUE(finished) << out.constData();
    EXPECT_EQ(p.exitCode(), 0) << out.constData();
    EXPECT_TRUE(out.contains("[  PASSED  ] 1 test")) << out.constData();
}
