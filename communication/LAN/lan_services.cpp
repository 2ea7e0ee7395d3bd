// Start-up of the raw SCPI socket, the web server and the announcement.
#include "communication/LAN/lan_services.h"
#include <unistd.h>
#include <cstdio>
#include "communication/LAN/lan_config.h"
#include "communication/LAN/lan_identification.h"
#include "communication/LAN/mdns_announce.h"
#include "communication/LAN/scpi_raw.h"
#include "communication/LAN/web_server.h"
#include "communication/remote_stop.h"
#include "communication/tcp_listener.h"
#include "param/sys_param.h"
#include "platform/logging.h"

// VXI-11 clients find the core channel through the port mapper.
static const int kPortMapper = 111;

void* lan_services_thread(void*)
{
    // Set once, before any service reads it.
    const LanConfig config = lan_config_load();
    lan_config_set(config);
    tcpSetIdleTimeoutMs(config.idleSeconds * 1000LL);
    while (sys_param::IP[0] < '0')
        if (remote_stop_sleep_ms(1000))
            return nullptr;
    if (remote_stopping())
        return nullptr;
    int raw = 0, http = 0;
    if (config.rawPort > 0) {
        raw = scpi_raw_start(config.rawPort, config.loopbackOnly);
        if (raw > 0)
            qCWarning(lcLan, "scpi raw socket on port %d", raw);
    }
    if (config.httpPort > 0) {
        http = web_server_start(config.httpPort, config.loopbackOnly);
        if (http > 0)
            qCWarning(lcLan, "web server on port %d", http);
    }
    const LanIdentity id = lan_identity();
    const QByteArray name = (id.model + QStringLiteral(" ") + id.serial).toUtf8();
    mdns_announce_start(name.constData(), http > 0 ? http : 0, raw > 0 ? raw : 0, kPortMapper);
    return nullptr;
}
