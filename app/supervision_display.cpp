// Display power and back-light level. The levels go straight into their sysfs files; each is written
// only when it changes, so the 500 ms tick does not touch the files each time.
#include "app/supervision.h"
#include "app/ornav72.h"
#include <QDebug>
#include <QVariant>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>
#include "platform/platformroot.h"
#include "param/sys_param.h"

namespace {
const char kBlankFile[] = "/sys/class/graphics/fb0/blank";
const char kBrightnessFile[] = "/sys/devices/platform/backlight/backlight/backlight/brightness";

// Writes one decimal number and a newline to a sysfs attribute.
bool writeNumber(const char* boardFile, int value)
{
    const QByteArray path = PlatformRoot::cpath(boardFile);
    const int fd = ::open(path.constData(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) {
        qWarning("open %s failed", boardFile);
        return false;
    }
    char text[16];
    const int n = std::snprintf(text, sizeof text, "%d\n", value);
    const bool ok = ::write(fd, text, size_t(n)) == n;
    ::close(fd);
    if (!ok)
        qWarning("write %s failed", boardFile);
    return ok;
}
} // namespace

void Supervision::SetBackLightBlank(bool state)
{
    if (lastBlank == int(state))
        return;
    lastBlank = int(state);
    writeNumber(kBlankFile, state ? 1 : 0);
    emit o.ui().screenSaveChanged(state, lockerstatus);
}

void Supervision::SetBrightness(int level)
{
    if (lastBrightness == level)
        return;
    lastBrightness = level;
    // The driver's levels start at 1 (0 switches the back-light off).
    writeNumber(kBrightnessFile, level + 1);
}
