// The capture hook of the web page's screen view.
#include "communication/LAN/web_capture.h"
#include <chrono>
#include <mutex>

static std::mutex g_mutex;
static std::function<QByteArray()> g_capture;
// Pages refresh every second each; several open pages share one grab (the
// grab and the PNG encoding run in the GUI thread).
static std::mutex g_cacheMutex;
static QByteArray g_cached;
static std::chrono::steady_clock::time_point g_cachedAt;
static const std::chrono::milliseconds kReuse(500);

void lan_set_capture(std::function<QByteArray()> fn)
{
    {
        std::lock_guard<std::mutex> l(g_mutex);
        g_capture = std::move(fn);
    }
    std::lock_guard<std::mutex> l(g_cacheMutex);
    g_cached.clear();
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
    std::lock_guard<std::mutex> l(g_cacheMutex);
    const auto now = std::chrono::steady_clock::now();
    if (g_cached.isEmpty() || now - g_cachedAt >= kReuse) {
        g_cached = fn();
        g_cachedAt = now;
    }
    png = g_cached;
    return !png.isEmpty();
}
