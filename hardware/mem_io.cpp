#include "hardware/mem_io.h"
#include "platform/platformroot.h"
#include "platform/shellrunner.h"
#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QThread>
#include <atomic>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {
std::atomic<mem_io*> g_current {nullptr};
} // namespace

mem_io::mem_io()
{
    powerkey = openfd(kPowerKeyLine, true, 0);
    poweroff = openfd(kPowerOffLine, false, 0);
    fm24cl04wp = openfd(kEepromWpLine, false, 0);
    trigIO = openfd(kTrigDirLine, false, 1);
    g_current = this;
}

mem_io::~mem_io()
{
    mem_io* self = this;
    g_current.compare_exchange_strong(self, nullptr);
    for (int fd : {powerkey, poweroff, fm24cl04wp, trigIO})
        if (fd >= 0)
            ::close(fd);
}

mem_io* mem_io::current() { return g_current.load(); }

QString mem_io::valuePath(int line) { return QStringLiteral("/sys/class/gpio/gpio%1/value").arg(line); }

void mem_io::exportIO(int line) { ShellRunner::run(QStringLiteral("echo %1 > /sys/class/gpio/export").arg(line)); }

void mem_io::setDirection(int line, bool in)
{
    ShellRunner::run(QStringLiteral("echo %1 > /sys/class/gpio/gpio%2/direction").arg(in ? "in" : "out").arg(line));
}

int mem_io::openfd(int line, bool isInput, int initialValue)
{
    const QString board = valuePath(line);
    if (!QFile::exists(boardPath(board)))
        exportIO(line);
    setDirection(line, isInput);
    const QByteArray path = PlatformRoot::cpath(board.toLocal8Bit().constData());
    const int fd = ::open(path.constData(), (isInput ? O_RDONLY : O_RDWR) | O_CLOEXEC);
    if (fd < 0) {
        qWarning("open file:%s error.\n", path.constData());
        return -1;
    }
    if (!isInput)
        SetPin(fd, initialValue != 0);
    return fd;
}

bool mem_io::GetPin(int fd)
{
    if (fd < 0)
        return false;
    char c = 0;
    ::lseek(fd, 0, SEEK_SET);
    return ::read(fd, &c, 1) == 1 && c == '1';
}

void mem_io::SetPin(int fd, bool v)
{
    if (fd < 0)
        return;
    ::lseek(fd, 0, SEEK_SET);
    ssize_t r = ::write(fd, v ? "1" : "0", 1);
    (void)r;
}

void mem_io::DirectionOutSetPin(int line, int fd, bool v)
{
    setDirection(line, false);
    SetPin(fd, v);
}

bool mem_io::softPowerOff_Check(PowerDownNotice* controller)
{
    if (powerkey <= 0)
        return count != 0;
    char c = 0;
    ::lseek(powerkey, 0, SEEK_SET);
    if (::read(powerkey, &c, 1) == 1 && c == '0') {
        if (count++ > 0) {
            if (controller)
                controller->showPowerDownNotice();
            // Power off only once the key is let go, so it does not restart
            // the board at once.
            for (;;) {
                ::lseek(powerkey, 0, SEEK_SET);
                if (::read(powerkey, &c, 1) != 1 || c != '0')
                    break;
                QThread::msleep(20);
            }
            ShellRunner::run("umount -a -r");
            ShellRunner::run("sync");
            ShellRunner::run("sleep 1");
            SetPin(poweroff, true);
            ShellRunner::exitProgram("power off");
        }
    } else {
        count = 0;
    }
    return count != 0;
}
