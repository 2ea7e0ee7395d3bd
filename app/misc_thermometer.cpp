#include "app/misc.h"
#include "platform/platformroot.h"
#include "platform/logging.h"
#include <QByteArray>
#include <QMutex>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

namespace {

QMutex g_lock;
int g_fd = -1;

// Finds the sensor once. Returns false with the board's message when the bus
// folder or the sensor is missing.
bool openSensor(double* failValue)
{
    static const char* kBus = "/sys/bus/w1/devices/";
    const QByteArray bus = PlatformRoot::cpath(kBus);
    DIR* dir = opendir(bus.constData());
    if (!dir) {
        qCWarning(lcHardware, "opendir %s error", kBus);
        *failValue = 1.0;
        return false;
    }
    QByteArray entry;
    while (dirent* e = readdir(dir)) {
        if (strstr(e->d_name, "28-")) {
            entry = e->d_name;
            break;
        }
    }
    closedir(dir);
    if (entry.isEmpty()) {
        qCWarning(lcHardware, "read dir error");
        *failValue = 0.0;
        return false;
    }
    const QByteArray file = QByteArray(kBus) + entry + "/w1_slave";
    g_fd = open(PlatformRoot::cpath(file.constData()).constData(), O_RDONLY | O_CLOEXEC);
    if (g_fd < 0) {
        qCWarning(lcHardware, "Open %s Faile!!!", file.constData());
        *failValue = 0.0;
        return false;
    }
    return true;
}

} // namespace

double misc::ReadDS18B20()
{
    QMutexLocker lock(&g_lock);
    if (g_fd < 0) {
        double failValue = 0.0;
        if (!openSensor(&failValue))
            return failValue;
    }
    char buf[101];
    if (lseek(g_fd, 0, SEEK_SET) < 0) {
        qCWarning(lcHardware, "read error!!!");
        return 0.0;
    }
    const ssize_t n = read(g_fd, buf, 100);
    if (n <= 0) {
        qCWarning(lcHardware, "read error!!!");
        return 0.0;
    }
    buf[n] = '\0';
    const char* t = strstr(buf, "t=");
    if (!t)
        return 0.0;
    return strtod(t + 2, nullptr) / 1000.0;
}

void misc::ResetDS18B20()
{
    QMutexLocker lock(&g_lock);
    if (g_fd >= 0)
        close(g_fd);
    g_fd = -1;
}
