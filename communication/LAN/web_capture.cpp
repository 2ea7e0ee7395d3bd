// The capture hook of the web page's screen view.
#include "communication/LAN/web_capture.h"
#include <mutex>

static std::mutex g_mutex;
static std::function<QByteArray()> g_capture;

void lan_set_capture(std::function<QByteArray()> fn)
{
    std::lock_guard<std::mutex> l(g_mutex);
    g_capture = std::move(fn);
}

bool lan_capture_png(QByteArray& png)
{
    std::function<QByteArray()> fn;
    {
        std::lock_guard<std::mutex> l(g_mutex);
        fn = g_capture;
    }
    if (!fn)
        return false;
    png = fn();
    return !png.isEmpty();
}
