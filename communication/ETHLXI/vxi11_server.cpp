#include "communication/ETHLXI/vxi11_server.h"
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>
#include <cstdio>
#include <cstring>
#include "platform/platformroot.h"
#include "param/sys_param.h"
#include "vxi11/vxi11.h"

extern "C" {
void device_async_1(struct svc_req* rqstp, SVCXPRT* transp);
void device_core_1(struct svc_req* rqstp, SVCXPRT* transp);
void device_intr_1(struct svc_req* rqstp, SVCXPRT* transp);
}

static int fail(int line, const char* what)
{
    fprintf(stderr, "[vxi-ERRO] f:%s,l:%d,%s\r\n", "vxi11_init", line, what);
    return -1;
}

static bool g_loopbackOnly = false;

void vxi11_set_loopback_only(bool on)
{
    g_loopbackOnly = on;
}

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

int vxi11_init()
{
    pmap_unset(DEVICE_ASYNC, DEVICE_ASYNC_VERSION);
    pmap_unset(DEVICE_CORE, DEVICE_CORE_VERSION);
    pmap_unset(DEVICE_INTR, DEVICE_INTR_VERSION);

    SVCXPRT* udp = svcudp_create(boundSocket(SOCK_DGRAM));
    if (!udp)
        return fail(__LINE__, "cannot create udp service.");
    if (!svc_register(udp, DEVICE_ASYNC, DEVICE_ASYNC_VERSION, device_async_1, IPPROTO_UDP))
        return fail(__LINE__, "unable to register (DEVICE_ASYNC, DEVICE_ASYNC_VERSION, udp).");
    if (!svc_register(udp, DEVICE_CORE, DEVICE_CORE_VERSION, device_core_1, IPPROTO_UDP))
        return fail(__LINE__, "unable to register (DEVICE_CORE, DEVICE_CORE_VERSION, udp).");
    if (!svc_register(udp, DEVICE_INTR, DEVICE_INTR_VERSION, device_intr_1, IPPROTO_UDP))
        return fail(__LINE__, "unable to register (DEVICE_INTR, DEVICE_INTR_VERSION, udp).");

    const int ts = boundSocket(SOCK_STREAM);
    if (ts != RPC_ANYSOCK && listen(ts, 16) < 0)
        return fail(__LINE__, "cannot create tcp service.");
    SVCXPRT* tcp = svctcp_create(ts, 0, 0);
    if (!tcp)
        return fail(__LINE__, "cannot create tcp service.");
    if (!svc_register(tcp, DEVICE_ASYNC, DEVICE_ASYNC_VERSION, device_async_1, IPPROTO_TCP))
        return fail(__LINE__, "unable to register (DEVICE_ASYNC, DEVICE_ASYNC_VERSION, tcp).");
    if (!svc_register(tcp, DEVICE_CORE, DEVICE_CORE_VERSION, device_core_1, IPPROTO_TCP))
        return fail(__LINE__, "unable to register (DEVICE_CORE, DEVICE_CORE_VERSION, tcp).");
    if (!svc_register(tcp, DEVICE_INTR, DEVICE_INTR_VERSION, device_intr_1, IPPROTO_TCP))
        return fail(__LINE__, "unable to register (DEVICE_INTR, DEVICE_INTR_VERSION, tcp).");
    return 0;
}

void* vxi11_srv_run_thread(void*)
{
    // No server until the instrument has an address.
    while (sys_param::IP[0] < '0')
        sleep(1);
    const int ret = vxi11_init();
    if (ret < 0) {
        fprintf(stderr, "[usb-ERRO]:vxi11 server init error,retValue=%d\n", ret);
        return nullptr;
    }
    fprintf(stderr, "[usb-WARN]:vxi11_init ok!\n");
    svc_run();
    fprintf(stderr, "[usb-ERRO]:vxi11_srv_run end! erorr\n");
    return nullptr;
}
