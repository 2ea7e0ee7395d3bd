// Read-out of the Ethernet interface into the parameter record.
#include "app/network_settings.h"
#include "platform/platformroot.h"
#include "param/sys_param.h"
#include <QFile>
#include <QNetworkInterface>
#include <arpa/inet.h>
#include <cstdio>
#include <cstring>

namespace {
void copyText(char* dst, size_t size, const QByteArray& text)
{
    std::memset(dst, 0, size);
    std::memcpy(dst, text.constData(), qMin(size_t(text.size()), size));
}
} // namespace

void NetworkSettings::GetHostNetAddress(char* mac, char* ip, char* mask, char* gateway)
{
    std::memset(mac, 0, 18);
    const bool dhcp = !sys_param::IPSetType;
    if (dhcp) {
        std::memset(ip, 0, 16);
        std::memset(mask, 0, 16);
        std::memset(gateway, 0, 16);
    }
    if (PlatformRoot::simulated()) {
        // The simulated board's interface: its MAC text lives in the root, its
        // address is the loopback address the remote servers listen on.
        QFile f(PlatformRoot::path("/sys/class/net/eth0/address"));
        if (f.open(QIODevice::ReadOnly))
            copyText(mac, 17, f.readLine().trimmed());
        if (!dhcp)
            return;
        copyText(ip, 16, "127.0.0.1");
        copyText(mask, 16, "255.0.0.0");
        get_gateway_addr(gateway);
        return;
    }
    const QNetworkInterface eth = QNetworkInterface::interfaceFromName("eth0");
    if (!eth.isValid())
        return;
    copyText(mac, 17, eth.hardwareAddress().toLatin1());
    if (!dhcp)
        return;
    for (const QNetworkAddressEntry& e : eth.addressEntries()) {
        const QByteArray a = e.ip().toString().toLatin1();
        if (a.size() < 16) {
            copyText(ip, 16, a);
            copyText(mask, 16, e.netmask().toString().toLatin1());
        }
    }
    get_gateway_addr(gateway);
}

int NetworkSettings::get_gateway_addr(char* gateway)
{
    QFile f(PlatformRoot::path("/proc/net/route"));
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    f.readLine(); // header
    while (!f.atEnd()) {
        QByteArray line = f.readLine();
        int cut = 0;
        while (cut < line.size() && line[cut] != ' ' && line[cut] != '\t')
            ++cut;
        const QByteArray rest = line.mid(cut);
        unsigned long dest = 0, gw = 0, msk = 0;
        unsigned flags = 0;
        int ref = 0, use = 0, metric = 0;
        if (std::sscanf(rest.constData(), "%lx%lx%X%d%d%d%lx", &dest, &gw, &flags, &ref, &use, &metric, &msk) != 7)
            return -2;
        if (dest == 0) {
            in_addr addr;
            addr.s_addr = in_addr_t(gw);
            copyText(gateway, 16, QByteArray(inet_ntoa(addr)));
            return 0;
        }
    }
    return -1;
}
