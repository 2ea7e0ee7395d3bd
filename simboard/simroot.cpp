#include "simboard/simroot.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>

const int SimRoot::kGpioLines[4] = {2, 117, 60, 41};

namespace {

bool makeDir(const QString& root, const QString& boardPath, QString* error)
{
    if (QDir().mkpath(root + boardPath))
        return true;
    if (error)
        *error = QStringLiteral("cannot create %1%2").arg(root, boardPath);
    return false;
}

// Writes the file only when it does not exist yet, so a root can be
// re-initialised without losing the state kept in it.
bool makeFile(const QString& root, const QString& boardPath, const QByteArray& content, QString* error)
{
    const QString p = root + boardPath;
    if (QFile::exists(p))
        return true;
    QDir().mkpath(QFileInfo(p).absolutePath());
    QFile f(p);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size()) {
        if (error)
            *error = QStringLiteral("cannot write %1").arg(p);
        return false;
    }
    return true;
}

} // namespace

bool SimRoot::create(const QString& dirIn, QString* error)
{
    const QString dir = QDir(dirIn).absolutePath();
    const char* dirs[] = {
        "/home/root",
        "/dev",
        "/dev/input",
        "/var/log",
        "/media/usbdisk",
        "/media/ram",
        "/run/media/mmcblk0p1",
        "/usr/share/ArbWaveLib",
        "/usr/share/Language",
        "/sys/class/gpio",
        "/sys/class/net/eth0",
        "/sys/bus/w1/devices",
        "/sys/class/graphics/fb0",
        "/sys/devices/platform/backlight/backlight/backlight",
        "/sys/devices/platform/ocp/44e0b000.i2c/i2c-0/0-0050",
        "/proc/net",
        "/etc",
        "/var/run",
    };
    for (const char* d : dirs)
        if (!makeDir(dir, d, error))
            return false;

    bool ok = true;
    ok = ok &&
        makeFile(dir, "/sys/devices/platform/ocp/44e0b000.i2c/i2c-0/0-0050/eeprom", QByteArray(kEepromSize, '\0'),
                 error);
    for (int line : kGpioLines) {
        const QString base = QStringLiteral("/sys/class/gpio/gpio%1/").arg(line);
        // The power key reads '1' while released; the other lines start low,
        // the trigger direction line high (output).
        const QByteArray level = (line == 2 || line == 41) ? "1\n" : "0\n";
        ok = ok && makeFile(dir, base + "value", level, error);
        ok = ok && makeFile(dir, base + "direction", (line == 2) ? "in\n" : "out\n", error);
    }
    ok = ok && makeFile(dir, "/sys/class/gpio/export", QByteArray(), error);
    ok = ok && makeFile(dir, "/sys/class/net/eth0/carrier", "1\n", error);
    // A locally administered MAC address for the simulated interface.
    ok = ok && makeFile(dir, "/sys/class/net/eth0/address", "02:00:00:00:01:00\n", error);
    ok = ok && makeFile(dir, "/sys/class/graphics/fb0/blank", "0\n", error);
    ok = ok && makeFile(dir, "/sys/devices/platform/backlight/backlight/backlight/brightness", "8\n", error);
    ok = ok &&
        makeFile(dir, "/proc/net/route",
                 "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
                 "eth0\t00000000\t0100007F\t0003\t0\t0\t0\t00000000\t0\t0\t0\n"
                 "eth0\t0000007F\t00000000\t0001\t0\t0\t0\t000000FF\t0\t0\t0\n",
                 error);
    ok = ok && makeFile(dir, "/var/log/ornav-shell.log", QByteArray(), error);
    // Stand-in of the touch screen's input device (remote touch writes its
    // events here; the simulated screen reads them back).
    ok = ok && makeFile(dir, "/dev/input/event0", QByteArray(), error);
    // The one-wire board thermometer as the kernel's driver presents it; edit
    // the number after "t=" (milli-degrees Celsius) to change the temperature.
    ok = ok &&
        makeFile(dir, kThermometerFile,
                 "90 01 4b 46 7f ff 0c 10 1c : crc=1c YES\n"
                 "90 01 4b 46 7f ff 0c 10 1c t=25000\n",
                 error);
    // The touch screen's input device and the TF card: files that mark them
    // present for the start-up device check.
    ok = ok && makeFile(dir, "/dev/input/event0", QByteArray(), error);
    ok = ok && makeFile(dir, "/dev/mmcblk0", QByteArray(), error);
    // The FPGA's devices: the files mark them present, the simulated FPGA
    // answers. Its power-on values can be edited before the program starts.
    ok = ok && makeFile(dir, "/dev/fpga", QByteArray(), error);
    ok = ok && makeFile(dir, "/dev/fpga_cfg", QByteArray(), error);
    ok = ok &&
        makeFile(dir, "/etc/ornav-simfpga.ini",
                 "; Power-on values of the simulated FPGA (decimal or 0x hex).\n"
                 "; HwVersion reads as ((v >> 3) + 1).(v & 7); LogicVersion0/1 are the\n"
                 "; two bytes of the logic version; ClockStatus 0xff means an external\n"
                 "; reference is locked; Configured 0 makes the FPGA ask for its\n"
                 "; bitstream; ErasePolls is how long a flash erase stays busy.\n"
                 "HwVersion=0x09\nLogicVersion0=0x12\nLogicVersion1=0x05\n"
                 "ClockStatus=0\nConfigured=1\nErasePolls=3\n",
                 error);
    return ok;
}
