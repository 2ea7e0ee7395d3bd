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
#include "communication/LAN/lan_services.h"
#include "communication/SCPI/scpi.h"
#include "communication/USBTMC/usbtmc.h"
#include "platform/platformroot.h"
#include "platform/shellrunner.h"

static const char kCarrierPath[] = "/sys/class/net/eth0/carrier";

static const scpi_command_t kNoCommands[] = {{nullptr, nullptr, 0}};
static scpi_adpt_hooks_t g_hooks = {kNoCommands, nullptr, nullptr};
static bool g_privateQueue = false;

void scpi_adpt_set_hooks(const scpi_adpt_hooks_t& hooks)
{
    g_hooks = hooks;
    if (!g_hooks.commands)
        g_hooks.commands = kNoCommands;
}

const scpi_command_t* scpi_adpt_commands()
{
    return g_hooks.commands;
}

const char* scpi_adpt_serial()
{
    return g_hooks.serial ? g_hooks.serial() : "";
}

qint64 scpi_adpt_clock_ms()
{
    return g_hooks.clock_ms ? g_hooks.clock_ms() : 0;
}

void scpi_msg_queue_set_private(bool privateQueue)
{
    g_privateQueue = privateQueue;
}

int getlocktatus()
{
    // No front-panel key is locked until the key-lock commands exist.
    return 0;
}

void* scpi_hot_plug_thread(void*)
{
    const QByteArray path = PlatformRoot::cpath(kCarrierPath);
    for (;;) {
        const int fd = open(path.constData(), O_RDONLY);
        if (fd < 0) {
            fprintf(stderr, "[scpi-ERRO]:~open fiel err=%d\n", errno);
            return nullptr;
        }
        char text[51];
        const ssize_t n = read(fd, text, 50);
        close(fd);
        if (n <= 0) {
            // Read again at once; the short pause keeps a file that reads
            // empty (being rewritten, interface going away) from spinning.
            usleep(10000);
            continue;
        }
        text[n] = '\0';
        scpi_carrier_apply(text);
        sleep(2);
    }
}

// The serial number reaches the shell; it is remote-writable text, so only
// characters that cannot change the command survive.
static QString shellSafe(const char* text)
{
    QString out;
    for (const char* p = text; p && *p; ++p) {
        const char c = *p;
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' ||
            c == '_' || c == '.')
            out += QLatin1Char(c);
    }
    return out;
}

static void startThread(void* (*fn)(void*), void* arg, const char* failure)
{
    pthread_t t;
    const int ret = pthread_create(&t, nullptr, fn, arg);
    if (ret != 0)
        fprintf(stderr, failure, ret);
    else
        pthread_detach(t);
}

QString scpi_modprobe_command(const char* product, const char* serial)
{
    return QString("modprobe g_usbtmc Product=%1 Serial=%2").arg(shellSafe(product), shellSafe(serial));
}

void scpi_adpt_detach(QObject* controller)
{
    if (scpi_context.parent == controller)
        scpi_context.parent = nullptr;
}

int scpi_adpt_init(QObject* controller)
{
    // The queue, the threads and the RPC registration exist once per
    // process; a later controller only takes over as the worker's parent.
    static bool started = false;
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
        fprintf(stderr, "[scpi-ERRO]:internal error - lzo_init() failed !!!\n");
        fprintf(stderr, "[scpi-ERRO]:(this usually indicates a compiler bug - try recompiling\n"
                        "without optimizations, and enable '-DLZO_DEBUG' for diagnostics)\n");
    }
    SCPI_SetIdnSerial(&scpi_context, scpi_adpt_serial());
    ShellRunner::run(scpi_modprobe_command(scpi_context.idn[1], scpi_adpt_serial()));
    if (scpi_msg_queue_open(g_privateQueue) < 0) {
        fprintf(stderr, "[usb-ERRO]:failed to create scpi sem!\n");
        return -1;
    }
    startThread(usbtmcThread, nullptr, "[usb-ERRO]:usbtmcThread create error,retValue=%d\n");
    startThread(scpi_thread, controller, "[usb-ERRO]:scpi_thread create error,retValue=%d\n");
    startThread(scpi_hot_plug_thread, nullptr, "[usb-ERRO]:scpi_hot_plug_thread create error,retValue=%d\n");
    startThread(vxi11_srv_run_thread, nullptr, "[usb-ERRO]:scpi_thread create error,retValue=%d\n");
    startThread(lan_services_thread, nullptr, "[lan-ERRO]:lan_services_thread create error,retValue=%d\n");
    return 0;
}
