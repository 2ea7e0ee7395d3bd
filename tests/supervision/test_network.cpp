// Address mode of the Ethernet interface (the static mode's commands at
// start-up: SupervisedProgram in tests/clients): the commands each mode runs, the
// refusal of stored addresses that are not addresses, the DHCP refresh and
// the remote-lock release when a link goes away.
#include "tests/supervision/supervision_fixture.h"
#include <cstring>
#include "app/channalmodel.h"
#include "communication/SCPI/commands/scpi_service.h"
#include "communication/scpi_msg_adpt.h"

namespace {
void putField(char* field, const char* text)
{
    std::memset(field, 0, 16);
    std::memcpy(field, text, std::min<size_t>(std::strlen(text), 16));
}
QString field(const char* f) { return QString::fromLatin1(f, int(strnlen(f, 16))); }
// The kernel's route table: its header, then rows.
const char kRoute[] = "/proc/net/route";
QByteArray routes(const QByteArray& rows)
{
    return "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n" + rows;
}
// A default route through gateway (little-endian hex: 0101A8C0 is
// 192.168.1.1), after the rows before.
QByteArray defaultRoute(const char* iface, const char* gateway, const QByteArray& before = {})
{
    return routes(before + iface + "\t00000000\t" + gateway + "\t0003\t0\t0\t0\t00000000\t0\t0\t0\n");
}
const QStringList kStaticDefaults = {
    "killall udhcpc",    "ifconfig eth0 192.168.1.10 255.255.255.0", "route del default",
    "route del default", "route add default gw 192.168.1.1",
};
} // namespace

TEST_F(SupervisionTest, DhcpModeRestartsTheClientAndMasksTheEntries)
{
    start(false);
    ctrl->IPSetTypeChanged();
    EXPECT_EQ(ShellRunner::recorded(), (QStringList {"killall udhcpc", "udhcpc&"}));
    for (int index : {PARAM_INDEX_SYSIPSET, PARAM_INDEX_SYSIPMASK, PARAM_INDEX_SYSIPGATEWAY})
        EXPECT_TRUE(ctrl->GetChModelFormIndex(CH_SYS, index)->mask) << index;
    // Switching the mode entry to static applies the stored addresses.
    ShellRunner::clearRecorded();
    ctrl->GetChModelFormIndex(CH_SYS, PARAM_INDEX_SYSIPSETTYPE)->SetValue(1, 0);
    settle();
    EXPECT_EQ(ShellRunner::recorded(), kStaticDefaults);
    for (int index : {PARAM_INDEX_SYSIPSET, PARAM_INDEX_SYSIPMASK, PARAM_INDEX_SYSIPGATEWAY})
        EXPECT_FALSE(ctrl->GetChModelFormIndex(CH_SYS, index)->mask) << index;
    EXPECT_EQ(ctrl->GetChModelFormIndex(CH_SYS, PARAM_INDEX_SYSIPSET)->rlistvalue(), QString("192.168.1.10"));
}

TEST_F(SupervisionTest, StoredAddressesThatAreNoAddressesRunNothing)
{
    start(false);
    struct Case {
        const char* ip;
        const char* mask;
        const char* gw;
        int error;
    };
    const Case cases[] = {
        {"1.2.3.4;reboot", "255.255.255.0", "192.168.1.1", -803},
        {"192.168.1.10", "255.255.255.0", "1.1.1.1 &&x", -803},
        {"192.168.1.10", "255.255.255.0$(", "192.168.1.1", -804},
        {"192.168.1.256", "255.255.255.0", "192.168.1.1", -803},
        {"192.168.1.", "255.255.255.0", "192.168.1.1", -803},
        {"192.168.1.1.2", "255.255.255.0", "192.168.1.1", -803},
        {"+1.2.3.4", "255.255.255.0", "192.168.1.1", -803},
        {"1234.1.1.1", "255.255.255.0", "192.168.1.1", -803},
        {"192.168.1.10", "255.0.255.0", "192.168.1.1", -804},
        {"1111111111111111", "255.255.255.0", "192.168.1.1", -803},
    };
    for (const Case& c : cases) {
        putField(sys_param::IP, c.ip);
        putField(sys_param::Mask, c.mask);
        putField(sys_param::Gateway, c.gw);
        ShellRunner::clearRecorded();
        Sys_ErrorClear();
        ctrl->network().SetIPType_static();
        EXPECT_TRUE(ShellRunner::recorded().isEmpty()) << c.ip << " " << c.mask << " " << c.gw;
        EXPECT_EQ(errors(), QList<int> {c.error}) << c.ip << " " << c.mask << " " << c.gw;
    }
    settle();
    EXPECT_TRUE(calls().contains(QString("tips 1 %1 ").arg(TIPS_IP_FROMAT_ERROR)));
    EXPECT_TRUE(calls().contains(QString("tips 1 %1 ").arg(TIPS_MASK_ERROR)));

    // Leading zeros are written as plain numbers (ifconfig would read them as octal).
    putField(sys_param::IP, "010.001.002.003");
    putField(sys_param::Mask, "255.255.0.0");
    putField(sys_param::Gateway, "10.1.0.1");
    ShellRunner::clearRecorded();
    ctrl->network().SetIPType_static();
    EXPECT_TRUE(ShellRunner::recorded().contains("ifconfig eth0 10.1.2.3 255.255.0.0"))
        << ShellRunner::recorded().join('\n').toStdString();
}

TEST_F(SupervisionTest, DhcpRefreshReadsTheInterfaceEveryTenSeconds)
{
    start();
    ASSERT_FALSE(sys_param::IPSetType);
    ctrl->network().refreshSoon();
    // A default route on another interface still gives the gateway.
    writeFile(kRoute, defaultRoute("wlan0", "0101A8C0"));
    // 0: the first tick reads the interface at once.
    supervision::now() = 1 * 1000;
    tick();
    EXPECT_EQ(field(sys_param::Gateway), QString("192.168.1.1"));
    EXPECT_EQ(ctrl->network().lastRefresh(), 1);
    writeFile(kRoute, defaultRoute("eth0", "0301A8C0"));
    supervision::now() = 11 * 1000;
    tick();
    EXPECT_EQ(field(sys_param::Gateway), QString("192.168.1.1"));
    supervision::now() = 12 * 1000;
    tick();
    EXPECT_EQ(field(sys_param::Gateway), QString("192.168.1.3"));
    EXPECT_EQ(ctrl->network().lastRefresh(), 12);
    EXPECT_EQ(ctrl->GetChModelFormIndex(CH_SYS, PARAM_INDEX_SYSIPGATEWAY)->rlistvalue(), QString("192.168.1.3"));

    writeFile(kRoute, defaultRoute("eth0", "0201A8C0"));
    supervision::now() = 22 * 1000;
    tick();
    EXPECT_EQ(field(sys_param::Gateway), QString("192.168.1.3"));
    supervision::now() = 23 * 1000;
    tick();
    EXPECT_EQ(field(sys_param::Gateway), QString("192.168.1.2"));
}

// Only a default route gives a gateway; a table that cannot be read is told
// apart from one without a default route.
TEST_F(SupervisionTest, GatewayComesFromTheDefaultRouteOnly)
{
    char gw[16] = {};
    const QByteArray local = "eth0\t0001A8C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n";
    writeFile(kRoute, defaultRoute("eth0", "0101A8C0", local));
    EXPECT_EQ(NetworkSettings::get_gateway_addr(gw), 0);
    EXPECT_STREQ(gw, "192.168.1.1");
    writeFile(kRoute, routes(local));
    EXPECT_EQ(NetworkSettings::get_gateway_addr(gw), -1);
    writeFile(kRoute, routes("eth0\tgarbage\n"));
    EXPECT_EQ(NetworkSettings::get_gateway_addr(gw), -2);
    QFile::remove(file(kRoute));
    EXPECT_EQ(NetworkSettings::get_gateway_addr(gw), -1);
}

TEST_F(SupervisionTest, StaticModeShowsTheStoredAddressesWithoutRefresh)
{
    setting("IPSetType", 1);
    start();
    ctrl->network().refreshSoon();
    supervision::now() = 60 * 1000;
    tick();
    EXPECT_EQ(field(sys_param::IP), QString("192.168.1.10"));
    EXPECT_EQ(field(sys_param::Gateway), QString("192.168.1.1"));
    EXPECT_EQ(ctrl->network().lastRefresh(), 0);
}

TEST_F(SupervisionTest, LosingTheNetworkLinkReleasesTheRemoteLock)
{
    start();
    // The network hot-plug thread may read the carrier file meanwhile: it
    // says the same.
    writeFile("/sys/class/net/eth0/carrier", "1\n");
    scpi_carrier_apply("1\n");
    tick();
    ASSERT_TRUE(ctrl->supervision().networkUp());
    pc_lock = true;
    writeFile(kRoute, defaultRoute("eth0", "0701A8C0"));
    writeFile("/sys/class/net/eth0/carrier", "0\n");
    scpi_carrier_apply("0\n");
    tick();
    EXPECT_FALSE(ctrl->supervision().networkUp());
    EXPECT_FALSE(pc_lock);
    EXPECT_EQ(field(sys_param::Gateway), QString("192.168.1.7")); // the addresses were read again at once
    EXPECT_TRUE(calls().contains("tips 0 4 ")) << calls().join('\n').toStdString();
    // Back up: the lock stays as it is.
    pc_lock = true;
    writeFile("/sys/class/net/eth0/carrier", "1\n");
    scpi_carrier_apply("1\n");
    tick();
    EXPECT_TRUE(ctrl->supervision().networkUp());
    EXPECT_TRUE(pc_lock);
    pc_lock = false;
}

TEST_F(SupervisionTest, MaskEntryRefusesNonContiguousMasksAndShowsTheStoredOne)
{
    setting("IPSetType", 1);
    start(false);
    channelModel* mask = ctrl->GetChModelFormIndex(CH_SYS, PARAM_INDEX_SYSIPMASK);
    ShellRunner::clearRecorded();
    for (int k : {Key_2, Key_5, Key_5, Key_Dot, Key_0, Key_Dot, Key_2, Key_5, Key_5, Key_Dot, Key_0})
        mask->onKeyEvent(k, 0);
    EXPECT_EQ(mask->onKeyEvent(Key_Ok, 0), QStringLiteral("error"));
    EXPECT_EQ(errors(), QList<int> {-804});
    EXPECT_EQ(mask->rlistvalue(), QString("255.255.255.0"));
    // Not a dotted address at all: reported as an address error.
    for (int k : {Key_2, Key_5, Key_5, Key_Dot, Key_0})
        mask->onKeyEvent(k, 0);
    EXPECT_EQ(mask->onKeyEvent(Key_Ok, 0), QStringLiteral("error"));
    EXPECT_EQ(errors(), QList<int> {-803});
    EXPECT_EQ(field(sys_param::Mask), QString("255.255.255.0"));
    EXPECT_TRUE(ShellRunner::recorded().isEmpty());

    // An accepted mask is stored and applied.
    for (int k : {Key_2, Key_5, Key_5, Key_Dot, Key_2, Key_5, Key_5, Key_Dot, Key_0, Key_Dot, Key_0})
        mask->onKeyEvent(k, 0);
    EXPECT_EQ(mask->onKeyEvent(Key_Ok, 0), QStringLiteral("quit"));
    settle();
    EXPECT_EQ(field(sys_param::Mask), QString("255.255.0.0"));
    EXPECT_EQ(QSettings(file("/home/root/settings.ini"), QSettings::IniFormat).value("Mask").toString(),
              QString("255.255.0.0"));
    EXPECT_TRUE(ShellRunner::recorded().contains("ifconfig eth0 192.168.1.10 255.255.0.0"))
        << ShellRunner::recorded().join('\n').toStdString();
}
