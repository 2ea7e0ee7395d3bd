// Remote touch: a press or release at a screen position is written to the
// touch screen's input device as the events its driver would report, so the
// screens receive it exactly like a finger on the panel.
#include "app/ornav72.h"
#include "communication/remote_road.h"
// Before the input header: it defines KEY_INFO as a key code.
#include "hardware/ckeyqthread.h"
#include <QDebug>
#include <QThread>
#include <QVariant>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <linux/input.h>
#include <unistd.h>
#include "platform/platformroot.h"

namespace {
// The screen is 1280 x 800; the panel is mounted turned, with its X axis
// along the screen's height and its Y axis along the width, both reversed.
const int kScreenW = 1280;
const int kScreenH = 800;

input_event ev(time_t sec, unsigned short type, unsigned short code, int value)
{
    input_event e;
    std::memset(&e, 0, sizeof e);
    e.time.tv_sec = sec;
    e.time.tv_usec = 0;
    e.type = type;
    e.code = code;
    e.value = value;
    return e;
}
} // namespace

int Ornav72::simulateClick(int x, int y, int press_status)
{
    if (touchFd < 0) {
        touchFd = ::open(PlatformRoot::cpath("/dev/input/event0").constData(), O_RDWR | O_CLOEXEC);
        if (touchFd < 0) {
            qWarning("open event0 error: %s", strerror(errno));
            return 1;
        }
    }
    const int px = qBound(0, kScreenH - y, kScreenH - 1);
    const int py = qBound(0, kScreenW - x, kScreenW - 1);
    const bool press = press_status != 0;
    const time_t now = ::time(nullptr);

    input_event events[9];
    int n = 0;
    events[n++] = ev(now, EV_ABS, ABS_MT_TRACKING_ID, press ? 1 : -1);
    if (press) {
        events[n++] = ev(now, EV_ABS, ABS_MT_POSITION_X, px);
        events[n++] = ev(now, EV_ABS, ABS_MT_POSITION_Y, py);
        events[n++] = ev(now, EV_ABS, ABS_MT_TOUCH_MAJOR, 2);
        events[n++] = ev(now, EV_ABS, ABS_MT_WIDTH_MAJOR, 2);
    }
    events[n++] = ev(now, EV_KEY, BTN_TOUCH, press ? 1 : 0);
    if (press) {
        events[n++] = ev(now, EV_ABS, ABS_X, px);
        events[n++] = ev(now, EV_ABS, ABS_Y, py);
    }
    events[n++] = ev(now, EV_SYN, SYN_REPORT, 0);

    // The lock mask would swallow the touch during remote control: it is
    // lifted first (the GUI thread takes the request before the input
    // device's events, which come in later than the pause below).
    if (pc_lock)
        emit uidata.screenMaskEnabled(false);
    QThread::msleep(10);
    const ssize_t want = ssize_t(sizeof(input_event)) * n;
    const ssize_t wrote = ::write(touchFd, events, size_t(want));
    if (wrote != want)
        qWarning("event0 write error: %s", wrote < 0 ? strerror(errno) : "short write");
    if (pc_lock) {
        // Back on once the GUI thread has taken the touch's events.
        Uidata* ui = &uidata;
        RemoteRoad::chain(ui, [ui]() { emit ui->screenMaskEnabled(true); });
    }
    return 0;
}
