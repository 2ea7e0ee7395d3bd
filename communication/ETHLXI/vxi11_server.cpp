#include "communication/ETHLXI/vxi11_server.h"
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <poll.h>
#include <unistd.h>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>
#include "platform/platformroot.h"
#include "param/sys_param.h"
#include "vxi11/vxi11.h"
#include "communication/ETHLXI/vxi11_tcp.h"
#include "communication/remote_stop.h"
#include "platform/logging.h"

extern "C" {
void device_async_1(struct svc_req* rqstp, SVCXPRT* transp);
void device_core_1(struct svc_req* rqstp, SVCXPRT* transp);
void device_intr_1(struct svc_req* rqstp, SVCXPRT* transp);
}

// After the first failed registration the retries stay quiet (the VXI-11
// server thread only).
static bool g_quiet = false;

static int fail(int line, const char* what)
{
    if (!g_quiet)
        QMessageLogger(nullptr, line, "vxi11_init", lcVxi().categoryName()).critical("%s", what);
    return -1;
}

// Chosen by the program's entry before the remote threads start.
static bool g_loopbackOnly = false;

void vxi11_set_loopback_only(bool on) { g_loopbackOnly = on; }

bool vxi11_loopback_only() { return g_loopbackOnly; }

// On a simulated board the server answers on the loopback interface only, so
// that a test instrument is never reachable from the network.
static int boundSocket(int type)
{
    if (!g_loopbackOnly)
        return RPC_ANYSOCK;
    const int s = socket(AF_INET, type, 0);
    if (s < 0)
        return RPC_ANYSOCK;
    sockaddr_in a;
    std::memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&a), sizeof a) < 0) {
        close(s);
        return RPC_ANYSOCK;
    }
    return s;
}

static void unregisterAll()
{
    pmap_unset(DEVICE_ASYNC, DEVICE_ASYNC_VERSION);
    pmap_unset(DEVICE_CORE, DEVICE_CORE_VERSION);
    pmap_unset(DEVICE_INTR, DEVICE_INTR_VERSION);
}

// UDP calls are served by the RPC library's dispatch loop; TCP connections
// by the server of vxi11_tcp.cpp, one thread each.
int vxi11_init()
{
    static SVCXPRT* udp = nullptr;
    unregisterAll();
    if (udp) {
        // An earlier attempt that failed half-way.
        svc_unregister(DEVICE_ASYNC, DEVICE_ASYNC_VERSION);
        svc_unregister(DEVICE_CORE, DEVICE_CORE_VERSION);
        svc_unregister(DEVICE_INTR, DEVICE_INTR_VERSION);
        svc_destroy(udp);
        udp = nullptr;
    }
    udp = svcudp_create(boundSocket(SOCK_DGRAM));
    if (!udp)
        return fail(__LINE__, "cannot create udp service.");
    if (!svc_register(udp, DEVICE_ASYNC, DEVICE_ASYNC_VERSION, device_async_1, IPPROTO_UDP))
        return fail(__LINE__, "unable to register (DEVICE_ASYNC, DEVICE_ASYNC_VERSION, udp).");
    if (!svc_register(udp, DEVICE_CORE, DEVICE_CORE_VERSION, device_core_1, IPPROTO_UDP))
        return fail(__LINE__, "unable to register (DEVICE_CORE, DEVICE_CORE_VERSION, udp).");
    if (!svc_register(udp, DEVICE_INTR, DEVICE_INTR_VERSION, device_intr_1, IPPROTO_UDP))
        return fail(__LINE__, "unable to register (DEVICE_INTR, DEVICE_INTR_VERSION, udp).");

    const int port = vxi11_tcp_start();
    if (port <= 0)
        return fail(__LINE__, "cannot create tcp service.");
    if (!pmap_set(DEVICE_ASYNC, DEVICE_ASYNC_VERSION, IPPROTO_TCP, u_short(port)))
        return fail(__LINE__, "unable to register (DEVICE_ASYNC, DEVICE_ASYNC_VERSION, tcp).");
    if (!pmap_set(DEVICE_CORE, DEVICE_CORE_VERSION, IPPROTO_TCP, u_short(port)))
        return fail(__LINE__, "unable to register (DEVICE_CORE, DEVICE_CORE_VERSION, tcp).");
    if (!pmap_set(DEVICE_INTR, DEVICE_INTR_VERSION, IPPROTO_TCP, u_short(port)))
        return fail(__LINE__, "unable to register (DEVICE_INTR, DEVICE_INTR_VERSION, tcp).");
    return 0;
}

// The RPC library's dispatch loop for the UDP transport, with the end of
// the program as one more descriptor: svc_run() itself never returns. Only
// this thread registers or removes RPC transports, so the library's
// descriptor table does not change under the poll.
static void serveUntilStopped()
{
    std::vector<pollfd> fds;
    while (!remote_stopping()) {
        const int n = svc_max_pollfd;
        fds.assign(svc_pollfd, svc_pollfd + n);
        fds.push_back({remote_stop_fd(), POLLIN, 0});
        const int ready = poll(fds.data(), nfds_t(fds.size()), -1);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            qCCritical(lcUsb, "vxi11_srv_run end! erorr");
            return;
        }
        if (fds.back().revents)
            return;
        svc_getreq_poll(fds.data(), ready);
    }
}

void* vxi11_srv_run_thread(void*)
{
    // No server until the instrument has an address.
    while (sys_param::IP[0] < '0')
        if (remote_stop_sleep_ms(1000))
            return nullptr;
    // The port mapper may start after the instrument (or restart): the
    // registration is tried again every few seconds until it succeeds.
    for (;;) {
        if (remote_stopping())
            return nullptr;
        const int ret = vxi11_init();
        if (ret == 0)
            break;
        if (!g_quiet) {
            qCCritical(lcUsb, "vxi11 server init error,retValue=%d", ret);
            qCWarning(lcUsb, "vxi11 registration retried every %d s", int(VXI11_RETRY_SECONDS));
            g_quiet = true;
        }
        remote_stop_sleep_ms(VXI11_RETRY_SECONDS * 1000);
    }
    g_quiet = false;
    qCWarning(lcUsb, "vxi11_init ok!");
    serveUntilStopped();
    // Clients asking the port mapper from now on find no instrument.
    unregisterAll();
    return nullptr;
}
