// What the system page shows about the unit: names, versions, serial number
// and web address; and the FPGA presence check made once the screens are up.
#include "app/uidata.h"
#include "app/ornav72.h"
#include "hardware/fpga_config.h"
#include "param/sys_param.h"

namespace {
// A version text without its last part ("1.09.0018" -> "1.09").
QString shortVersion(const QString& text, bool full)
{
    if (full)
        return text;
    const int dot = text.lastIndexOf('.');
    return dot < 0 ? text : text.left(dot);
}
} // namespace

QString Uidata::getDeviceName() { return sys_param::DisplayName; }

QString Uidata::getHttp() { return controller ? controller->getHttp() : QString(); }

QString Uidata::getFpgaVersion(bool full) { return shortVersion(sys_param::LogicVersion, full); }

QString Uidata::getSoftVersion(bool full) { return shortVersion(sys_param::SoftWareVersion, full); }

QString Uidata::getHardwaveVersion() { return sys_param::HardWareVersion; }

QString Uidata::getSN() { return QString::asprintf("%10s", Ornav72::GetSN()); }

bool Uidata::fpgaOnlineCheck()
{
    if (!controller)
        return false;
    if (controller->fpga().online())
        return true;
    // Not configured: the stored bitstream is loaded, the dialog shows the
    // progress.
    emit cmd_fpgaconfig(QString::fromLatin1(fpga_config::kBitstreamPath));
    return false;
}
