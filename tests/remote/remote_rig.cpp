#include "tests/remote/remote_rig.h"
#include "app/scpi_wfile_receivers.h"
#include "app/scpi_instrument_qt.h"
#include <arpa/inet.h>
#include <netinet/in.h>
#include <pthread.h>
#include <sys/socket.h>
#include <rpc/rpc.h>
#include <unistd.h>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <mutex>
#include "communication/ETHLXI/vxi11_server.h"
#include "communication/SCPI/commands/scpi_commands.h"
#include "communication/SCPI/scpi.h"
#include "communication/USBTMC/usbtmc.h"
#include "app/ornav72.h"
#include "platform/platformroot.h"
#include "communication/scpi_msg_adpt.h"
#include "simboard/simroot.h"
#include "param/sys_param.h"
#include "tests/common/test_rig.h"

namespace {
std::mutex g_lock;
std::vector<DeliveredMessage> g_delivered;
QByteArray g_injected;

void probe(int mode, const char* text, long length)
{
    std::lock_guard<std::mutex> l(g_lock);
    g_delivered.push_back({mode, text ? QByteArray(text, int(length)) : QByteArray()});
    // The worker has just emptied the response buffer for this message:
    // what is written now is part of its reply.
    if (!g_injected.isEmpty()) {
        scpi_msg_reponse_write(g_injected.constData(), g_injected.size());
        g_injected.clear();
    }
}

void* vxiThread(void*)
{
    svc_run();
    return nullptr;
}

void startThread(void* (*fn)(void*), void* arg)
{
    pthread_t t;
    if (pthread_create(&t, nullptr, fn, arg) == 0)
        pthread_detach(t);
}
} // namespace

const char* RemoteRig::displayName() { return "TESTMODEL"; }
const char* RemoteRig::serial() { return "SNTEST42"; }

QByteArray RemoteRig::idn()
{
    return QByteArray("VELTRIX Technologies,") + displayName() + "," + serial() + ",1.09.0018\r\n";
}

RemoteRig& RemoteRig::get()
{
    static RemoteRig rig;
    return rig;
}

RemoteRig::RemoteRig()
{
    static QTemporaryDir dir;
    root_ = dir.path();
    TestRig::useSimulatedBoard(root_);
    Ornav72::startUptimeClock();
    sys_param::DisplayName = displayName();
    Ornav72::useSerialNumber(serial());
    scpi_adpt_set_hooks({scpi_commands, &Ornav72::GetSN, &Ornav72::clock_tick});
    scpi_commands_install_receivers();
    scpi_install_wave_receivers();
    scpi_instrument_qt_attach(&scpi_context);
    scpi_worker_init(nullptr);
    SCPI_SetIdnSerial(&scpi_context, Ornav72::GetSN());
    scpi_msg_set_probe(probe);
    if (scpi_msg_queue_open(true) == 0) {
        startThread(scpi_thread, nullptr);
        startThread(usbtmcThread, nullptr);
        startThread(scpi_hot_plug_thread, nullptr);
    }
    vxiUp_ = vxi11_init() == 0;
    if (vxiUp_)
        startThread(vxiThread, nullptr);
}

std::vector<DeliveredMessage> RemoteRig::delivered()
{
    std::lock_guard<std::mutex> l(g_lock);
    return g_delivered;
}

void RemoteRig::injectReply(const QByteArray& bytes)
{
    std::lock_guard<std::mutex> l(g_lock);
    g_injected = bytes;
}

void RemoteRig::clearDelivered()
{
    std::lock_guard<std::mutex> l(g_lock);
    g_delivered.clear();
}

bool RemoteRig::waitDelivered(size_t n, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < timeoutMs) {
        if (delivered().size() >= n && scpi_wait_idle(0))
            return true;
        usleep(2000);
    }
    return false;
}

int RemoteRig::connectLoopback(int port)
{
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(uint16_t(port));
    if (s >= 0 && ::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0)
        return s;
    if (s >= 0)
        close(s);
    return -1;
}

long RemoteRig::memoryKb(const char* key)
{
    QFile f("/proc/self/status");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').first().toLong();
    return -1;
}

long RemoteRig::rssAboveOnceFreed(long before, int waitMs)
{
    long above = memoryKb("VmRSS:") - before;
    for (int i = 0; i < waitMs / 20 && above >= 8 * 1024; ++i) {
        usleep(20000);
        above = memoryKb("VmRSS:") - before;
    }
    return above;
}
