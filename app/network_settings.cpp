// Address mode of the Ethernet interface: DHCP or the stored static address,
// mask and gateway, applied with the system's network tools; in DHCP mode the
// shown addresses are refreshed from the interface by the system tick.
#include "app/network_settings.h"
#include "app/ornav72.h"
#include <QDebug>
#include <QThread>
#include <cstring>
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/sys_error.h"
#include "app/channalmodel.h"
#include "app/channalmodel_sys.h"
#include "platform/shellrunner.h"
#include "param/sys_param.h"

namespace {

const int kAddressModels[3] = {PARAM_INDEX_SYSIPSET, PARAM_INDEX_SYSIPMASK, PARAM_INDEX_SYSIPGATEWAY};

// A stored address field (16 characters, not always terminated) as the
// dotted form "%d.%d.%d.%d". The field may have come in with a whole record
// over the remote interface, and it is put into shell commands: only four
// groups of one to three decimal digits, each 0..255, are accepted.
bool storedAddress(const char* field, QString* out)
{
    const int n = int(strnlen(field, 16));
    int groups[4] = {0, 0, 0, 0};
    int group = 0, digits = 0;
    for (int i = 0; i < n; ++i) {
        const char c = field[i];
        if (c >= '0' && c <= '9') {
            if (++digits > 3)
                return false;
            groups[group] = groups[group] * 10 + (c - '0');
            if (groups[group] > 255)
                return false;
        } else if (c == '.') {
            if (digits == 0 || ++group > 3)
                return false;
            digits = 0;
        } else {
            return false;
        }
    }
    if (group != 3 || digits == 0)
        return false;
    *out = QStringLiteral("%1.%2.%3.%4").arg(groups[0]).arg(groups[1]).arg(groups[2]).arg(groups[3]);
    return true;
}

QString fieldText(const char* field) { return QString::fromLatin1(field, int(strnlen(field, 16))); }

} // namespace

void NetworkSettings::typeChanged()
{
    sys_param::IPSetInit(CH_SYS);
    paramChanged();
}

void NetworkSettings::paramChanged()
{
    const bool dhcp = !sys_param::IPSetType;
    // The address entries are only editable in static mode.
    for (int index : kAddressModels) {
        if (channelModel* m = o.GetChModelFormIndex(CH_SYS, index)) {
            m->wmask(dhcp);
            m->wlistvalue(m->rlistvalue());
        }
    }
    if (dhcp)
        SetIPType_dhcp();
    else
        SetIPType_static();
    // The next tick in DHCP mode reads the interface at once.
    lastIpUpdateTime = 0;
}

void NetworkSettings::SetIPType_dhcp()
{
    ShellRunner::run("killall udhcpc");
    ShellRunner::run("udhcpc&");
}

void NetworkSettings::SetIPType_static()
{
    QString ip, mask, gateway;
    const bool ipOk = storedAddress(sys_param::IP, &ip) && storedAddress(sys_param::Gateway, &gateway);
    const bool maskOk = storedAddress(sys_param::Mask, &mask) && ipModel::getMaskbit(mask) >= 0;
    if (!ipOk || !maskOk) {
        // Nothing is run: the interface keeps the address it has.
        qWarning("stored network address not valid, not applied: ip \"%s\" mask \"%s\" gateway \"%s\"",
                 qPrintable(fieldText(sys_param::IP)), qPrintable(fieldText(sys_param::Mask)),
                 qPrintable(fieldText(sys_param::Gateway)));
        Sys_Error(ipOk ? SCPI_ERROR_MASK_FORMAT : SCPI_ERROR_IP_FORMAT);
        emit o.TipsMessage(MESSAGE_TYPE_TIPS, ipOk ? TIPS_MASK_ERROR : TIPS_IP_FROMAT_ERROR, false, QString(), true);
        return;
    }
    ShellRunner::run("killall udhcpc");
    const QString ifconfig = QStringLiteral("ifconfig eth0 %1 %2").arg(ip, mask);
    qInfo("set static ip cmd:%s", qPrintable(ifconfig));
    ShellRunner::run(ifconfig);
    const QString route = QStringLiteral("route add default gw %1").arg(gateway);
    qInfo("set gatway ip cmd:%s", qPrintable(route));
    ShellRunner::run("route del default");
    ShellRunner::run("route del default");
    ShellRunner::run(route);
    for (int index : kAddressModels)
        if (channelModel* m = o.GetChModelFormIndex(CH_SYS, index))
            m->disUpdate();
}

void NetworkSettings::AutoIPMonitor() { IPUpdate(); }

void NetworkSettings::IPUpdate()
{
    GetHostNetAddress(sys_param::MAC, sys_param::IP, sys_param::Mask, sys_param::Gateway);
    // The entries belong to the controller's thread; the tick asks there.
    auto redraw = [this]() {
        for (int index : kAddressModels)
            if (channelModel* m = o.GetChModelFormIndex(CH_SYS, index))
                m->disUpdate();
        // The MAC is read with them (its entry is built before the first read).
        if (channelModel* m = o.GetChModelFormIndex(CH_SYS, PARAM_INDEX_SYSMACADDR))
            m->disUpdate();
    };
    if (QThread::currentThread() == o.thread())
        redraw();
    else
        QMetaObject::invokeMethod(&o, redraw, Qt::QueuedConnection);
}

void NetworkSettings::monitor(qint64 now)
{
    // DHCP: refresh the shown addresses every 10 s; 0 (start-up, a new mode,
    // a link change) asks for a refresh at once.
    if (!sys_param::IPSetType && (lastIpUpdateTime == 0 || lastIpUpdateTime + 10 < now / 1000)) {
        lastIpUpdateTime = qMax<qint64>(1, now / 1000);
        AutoIPMonitor();
    }
}
