// Start-up of remote control and the network hot-plug thread.
#include "communication/scpi_msg_adpt.h"
#include <QObject>
#include <QString>
#include <fcntl.h>
#include <lzo/lzo1x.h>
#include <pthread.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include "communication/ETHLXI/vxi11_server.h"
#include "communication/ETHLXI/vxi11_tcp.h"
#include "communication/LAN/lan_services.h"
#include "communication/LAN/mdns_announce.h"
#include "communication/LAN/scpi_raw.h"
#include "communication/LAN/web_server.h"
#include "communication/scpi_msg_session.h"
#include <atomic>
#include <time.h>
#include "communication/remote_road.h"
#include "communication/remote_stop.h"
#include "communication/SCPI/scpi.h"
#include "communication/USBTMC/usbtmc.h"
#include "platform/platformroot.h"
#include "platform/shellrunner.h"
#include "platform/logging.h"

static const char kCarrierPath[] = "/sys/class/net/eth0/carrier";

static const scpi_command_t kNoCommands[] = {{nullptr, nullptr, 0}};
// Both set by the program's entry before the remote threads start, read
// only after.
static scpi_adpt_hooks_t g_hooks = {kNoCommands, nullptr, nullptr};
static bool g_privateQueue = false;

void scpi_adpt_set_hooks(const scpi_adpt_hooks_t& hooks)
{
    g_hooks = hooks;
    if (!g_hooks.commands)
        g_hooks.commands = kNoCommands;
}

const scpi_command_t* scpi_adpt_commands() { return g_hooks.commands; }

const char* scpi_adpt_serial() { return g_hooks.serial ? g_hooks.serial() : ""; }

qint64 scpi_adpt_clock_ms() { return g_hooks.clock_ms ? g_hooks.clock_ms() : 0; }

void scpi_msg_queue_set_private(bool privateQueue) { g_privateQueue = privateQueue; }

int getlocktatus()
{
    // No front-panel key is locked until the key-lock commands exist.
    return 0;
}

void* scpi_hot_plug_thread(void*)
{
    const QByteArray path = PlatformRoot::cpath(kCarrierPath);
    while (!remote_stopping()) {
        const int fd = open(path.constData(), O_RDONLY);
        if (fd < 0) {
            qCCritical(lcScpi, "~open fiel err=%d", errno);
            return nullptr;
        }
        char text[51];
        const ssize_t n = read(fd, text, 50);
        close(fd);
        if (n <= 0) {
            // Read again at once; the short pause keeps a file that reads
            // empty (being rewritten, interface going away) from spinning.
            remote_stop_sleep_ms(10);
            continue;
        }
        text[n] = '\0';
        scpi_carrier_apply(text);
        remote_stop_sleep_ms(2000);
    }
    return nullptr;
}

// The serial number reaches the shell; it is remote-writable text, so only
// characters that cannot change the command survive.
static QString shellSafe(const char* text)
{
    QString out;
    for (const char* p = text; p && *p; ++p) {
        const char c = *p;
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '_' ||
            c == '.')
            out += QLatin1Char(c);
    }
    return out;
}

// Transport and service threads still running (USBTMC, network hot-plug,
// VXI-11 RPC loop, LAN services): each ends by itself once the end of the
// program is asked for (remote_stop.h); the shutdown waits for the count to
// reach 0.
static std::atomic<int> g_threadsRunning {0};

struct ThreadStart {
    void* (*fn)(void*);
    void* arg;
};

static void* countedThread(void* p)
{
    const ThreadStart start = *static_cast<ThreadStart*>(p);
    delete static_cast<ThreadStart*>(p);
    start.fn(start.arg);
    g_threadsRunning--;
    return nullptr;
}

static void startThread(void* (*fn)(void*), void* arg, const QLoggingCategory& category, const char* name)
{
    pthread_t t;
    g_threadsRunning++;
    auto* start = new ThreadStart {fn, arg};
    const int ret = pthread_create(&t, nullptr, countedThread, start);
    if (ret != 0) {
        delete start;
        g_threadsRunning--;
        qCCritical(category, "%s create error,retValue=%d", name, ret);
    } else {
        pthread_detach(t);
    }
}

// The SCPI worker: started once by scpi_adpt_init, ended by
// scpi_adpt_shutdown, which waits for it.
static std::atomic<bool> g_workerRunning {false};

static void* workerMain(void* controller)
{
    pthread_setname_np(pthread_self(), "scpi-worker");
    scpi_thread(controller);
    g_workerRunning = false;
    return nullptr;
}

static long long monotonicMs()
{
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000LL + t.tv_nsec / 1000000;
}

bool scpi_adpt_shutdown(int timeoutMs, void (*pump)())
{
    const long long deadline = monotonicMs() + timeoutMs;
    // Every transport and service thread's waits end (remote_stop.h).
    remote_stop_request();
    // Clients waiting for a reply or for room wake up, nothing new runs,
    // and a command waiting for the controller gives up.
    scpi_session_shutdown();
    scpi_adpt_release();
    RemoteRoad::attach(nullptr);
    vxi11_tcp_stop();
    scpi_raw_stop();
    if (g_workerRunning)
        scpi_msg_queue_send(nullptr, 0, SCPI_STOP_OWNER, 0);
    for (;;) {
        const bool done =
            !g_workerRunning && g_threadsRunning == 0 && vxi11_tcp_connections() == 0 && scpi_raw_connections() == 0;
        if (done || monotonicMs() >= deadline) {
            // The web server's requests end quickly now that sessions
            // refuse work; its stop waits for them. The announcement is
            // withdrawn and Avahi's thread ends.
            web_server_stop();
            mdns_announce_stop();
            if (!done)
                qCWarning(lcScpi, "remote control not ended within %d ms", timeoutMs);
            return done;
        }
        if (pump)
            pump();
        usleep(2000);
    }
}

QString scpi_modprobe_command(const char* product, const char* serial)
{
    return QString("modprobe g_usbtmc Product=%1 Serial=%2").arg(shellSafe(product), shellSafe(serial));
}

void scpi_adpt_detach(QObject* controller)
{
    RemoteRoad::detach(controller);
    if (scpi_context.parent == controller)
        scpi_context.parent = nullptr;
}

int scpi_adpt_init(QObject* controller)
{
    // The queue, the threads and the RPC registration exist once per
    // process; a later controller only takes over as the worker's parent.
    static bool started = false;
    RemoteRoad::attach(controller);
    if (started) {
        scpi_context.parent = controller;
        return 0;
    }
    started = true;
    // The interpreter is set up here, before any thread that could reach it
    // runs: set up later by the worker itself, it would be reset under a
    // message already being parsed (its input buffer emptied mid-parse).
    scpi_worker_init(controller);
    if (lzo_init() != LZO_E_OK) {
        qCCritical(lcScpi, "internal error - lzo_init() failed !!!");
        qCCritical(lcScpi,
                   "(this usually indicates a compiler bug - try recompiling\n"
                   "without optimizations, and enable '-DLZO_DEBUG' for diagnostics)");
    }
    SCPI_SetIdnSerial(&scpi_context, scpi_adpt_serial());
    ShellRunner::run(scpi_modprobe_command(scpi_context.idn[1], scpi_adpt_serial()));
    if (scpi_msg_queue_open(g_privateQueue) < 0) {
        qCCritical(lcUsb, "failed to create scpi sem!");
        return -1;
    }
    startThread(usbtmcThread, nullptr, lcUsb(), "usbtmcThread");
    g_workerRunning = true;
    pthread_t worker;
    const int ret = pthread_create(&worker, nullptr, workerMain, controller);
    if (ret != 0) {
        g_workerRunning = false;
        qCCritical(lcUsb, "scpi_thread create error,retValue=%d", ret);
    } else {
        pthread_detach(worker);
    }
    startThread(scpi_hot_plug_thread, nullptr, lcUsb(), "scpi_hot_plug_thread");
    startThread(vxi11_srv_run_thread, nullptr, lcUsb(), "vxi11_srv_run_thread");
    startThread(lan_services_thread, nullptr, lcLan(), "lan_services_thread");
    return 0;
}
