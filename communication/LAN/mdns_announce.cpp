// mDNS / DNS-SD announcement through the Avahi client library, on Avahi's
// own thread.
#include "communication/LAN/mdns_announce.h"
#include "platform/logging.h"
#include <avahi-client/client.h>
#include <avahi-client/publish.h>
#include <avahi-common/alternative.h>
#include <avahi-common/error.h>
#include <avahi-common/malloc.h>
#include <avahi-common/thread-watch.h>
#include <atomic>
#include <mutex>
#include <cstdio>
#include <string>

namespace {

// Start and stop (the LAN services thread, the program's exit) under
// g_lifeLock; the poll and the client are made by the start and freed by
// the stop.
std::mutex g_lifeLock;
bool g_stopped = false;              // guarded by g_lifeLock
AvahiThreadedPoll* g_poll = nullptr; // guarded by g_lifeLock
AvahiClient* g_client = nullptr;     // guarded by g_lifeLock
// Avahi's own thread: set before it starts, then used by its callbacks only
// (and by the stop, after that thread has ended).
AvahiEntryGroup* g_group = nullptr;
std::string g_name;
int g_http = 0, g_raw = 0, g_vxi = 0;
bool g_missingLogged = false;
std::atomic<bool> g_announced {false}; // any thread

void createServices(AvahiClient* c);

void groupCallback(AvahiEntryGroup* g, AvahiEntryGroupState state, void*)
{
    switch (state) {
    case AVAHI_ENTRY_GROUP_ESTABLISHED:
        g_announced = true;
        qCWarning(lcLan, "mdns announced as \"%s\"", g_name.c_str());
        break;
    case AVAHI_ENTRY_GROUP_COLLISION: {
        // Another instrument of the same model and serial on the network:
        // the next free alternative name.
        char* alt = avahi_alternative_service_name(g_name.c_str());
        g_name = alt;
        avahi_free(alt);
        g_announced = false;
        createServices(avahi_entry_group_get_client(g));
        break;
    }
    case AVAHI_ENTRY_GROUP_FAILURE:
        g_announced = false;
        qCCritical(lcLan, "mdns announcement failed: %s",
                   avahi_strerror(avahi_client_errno(avahi_entry_group_get_client(g))));
        break;
    default: break;
    }
}

bool add(AvahiClient* c, const char* type, int port, AvahiStringList* txt)
{
    if (port <= 0)
        return true;
    const int ret =
        avahi_entry_group_add_service_strlst(g_group, AVAHI_IF_UNSPEC, AVAHI_PROTO_UNSPEC, AvahiPublishFlags(0),
                                             g_name.c_str(), type, nullptr, nullptr, uint16_t(port), txt);
    if (ret < 0) {
        qCCritical(lcLan, "mdns service %s: %s", type, avahi_strerror(ret));
        (void)c;
        return false;
    }
    return true;
}

void createServices(AvahiClient* c)
{
    if (!g_group)
        g_group = avahi_entry_group_new(c, groupCallback, nullptr);
    if (!g_group) {
        qCCritical(lcLan, "mdns entry group: %s", avahi_strerror(avahi_client_errno(c)));
        return;
    }
    avahi_entry_group_reset(g_group);
    AvahiStringList* http = avahi_string_list_new("path=/", nullptr);
    AvahiStringList* lxi = avahi_string_list_new("path=/lxi/identification", nullptr);
    const bool ok = add(c, "_lxi._tcp", g_http, lxi) && add(c, "_http._tcp", g_http, http) &&
        add(c, "_vxi-11._tcp", g_vxi, nullptr) && add(c, "_scpi-raw._tcp", g_raw, nullptr);
    avahi_string_list_free(http);
    avahi_string_list_free(lxi);
    if (ok)
        avahi_entry_group_commit(g_group);
}

void clientCallback(AvahiClient* c, AvahiClientState state, void*)
{
    switch (state) {
    case AVAHI_CLIENT_S_RUNNING: createServices(c); break;
    case AVAHI_CLIENT_S_COLLISION:
    case AVAHI_CLIENT_S_REGISTERING:
        g_announced = false;
        if (g_group)
            avahi_entry_group_reset(g_group);
        break;
    case AVAHI_CLIENT_CONNECTING:
        // No daemon (yet): the client waits for one to appear.
        if (!g_missingLogged) {
            qCWarning(lcLan, "mdns off: avahi-daemon not running, discovery by name unavailable");
            g_missingLogged = true;
        }
        break;
    case AVAHI_CLIENT_FAILURE:
        g_announced = false;
        // The daemon went away: its groups are gone with it.
        g_group = nullptr;
        qCWarning(lcLan, "mdns off: %s", avahi_strerror(avahi_client_errno(c)));
        break;
    default: break;
    }
}

} // namespace

bool mdns_announce_start(const char* name, int httpPort, int rawPort, int vxi11Port)
{
    std::lock_guard<std::mutex> lock(g_lifeLock);
    if (g_poll)
        return true;
    if (g_stopped)
        return false;
    g_name = name && *name ? name : "instrument";
    g_http = httpPort;
    g_raw = rawPort;
    g_vxi = vxi11Port;
    g_poll = avahi_threaded_poll_new();
    if (!g_poll)
        return false;
    int error = 0;
    // AVAHI_CLIENT_NO_FAIL: without a daemon the client keeps waiting for
    // one instead of failing, so a daemon started later still gets the
    // announcement.
    AvahiClient* client =
        avahi_client_new(avahi_threaded_poll_get(g_poll), AVAHI_CLIENT_NO_FAIL, clientCallback, nullptr, &error);
    if (!client) {
        qCWarning(lcLan, "mdns off: %s", avahi_strerror(error));
        avahi_threaded_poll_free(g_poll);
        g_poll = nullptr;
        return false;
    }
    g_client = client;
    if (avahi_threaded_poll_start(g_poll) < 0) {
        qCWarning(lcLan, "mdns off: avahi poll thread");
        return false;
    }
    return true;
}

void mdns_announce_stop()
{
    std::lock_guard<std::mutex> lock(g_lifeLock);
    g_stopped = true;
    if (!g_poll)
        return;
    // Avahi's thread ends first (a stop of a poll that never started does
    // nothing); freeing the client then withdraws the services in this
    // thread, and no callback can run beside it.
    avahi_threaded_poll_stop(g_poll);
    if (g_client)
        avahi_client_free(g_client);
    g_client = nullptr;
    g_group = nullptr;
    avahi_threaded_poll_free(g_poll);
    g_poll = nullptr;
    g_announced = false;
}

bool mdns_announced() { return g_announced; }
