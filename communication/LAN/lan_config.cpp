// The LAN services' ports and web password.
#include "communication/LAN/lan_config.h"
#include <QByteArray>
#include "communication/ETHLXI/vxi11_server.h"
#include "communication/LAN/web_guard.h"
#include "param/settingsfile.h"
#include "platform/platformroot.h"

// Set once by the LAN services thread before it starts the services that
// read it (the web server), never changed after.
static LanConfig g_config;

// A number in lo..hi from the environment or the settings file; anything
// else leaves the default.
static int numberFrom(const char* env, const char* key, int def, int lo, int hi)
{
    bool ok = false;
    int port = def;
    const QVariant stored = SettingsFile::value(QString::fromLatin1(key));
    if (stored.isValid()) {
        const int v = stored.toString().trimmed().toInt(&ok);
        if (ok && v >= lo && v <= hi)
            port = v;
    }
    const QByteArray e = qgetenv(env);
    if (!e.isEmpty()) {
        const int v = e.trimmed().toInt(&ok);
        if (ok && v >= lo && v <= hi)
            port = v;
    }
    return port;
}

static int portFrom(const char* env, const char* key, int def) { return numberFrom(env, key, def, 0, 65535); }

LanConfig lan_config_load()
{
    LanConfig c;
    const bool simulated = PlatformRoot::simulated();
    c.loopbackOnly = simulated || vxi11_loopback_only();
    c.rawPort = portFrom("ORNAV_SCPI_RAW_PORT", "ScpiRawPort", LAN_RAW_PORT_DEFAULT);
    // Port 80 needs privileges a desktop run does not have.
    c.httpPort = portFrom("ORNAV_HTTP_PORT", "HttpPort", simulated ? LAN_HTTP_PORT_SIMULATED : LAN_HTTP_PORT_DEFAULT);
    c.idleSeconds =
        numberFrom("ORNAV_REMOTE_IDLE_SECONDS", "RemoteIdleSeconds", LAN_IDLE_SECONDS_DEFAULT, 1, LAN_IDLE_SECONDS_MAX);
    c.passwordHash = web_password_load();
    for (const QString& name : SettingsFile::value(QStringLiteral("WebHostNames")).toString().split(QLatin1Char(',')))
        if (!name.trimmed().isEmpty())
            c.webHostNames << name.trimmed();
    return c;
}

const LanConfig& lan_config() { return g_config; }

void lan_config_set(const LanConfig& config) { g_config = config; }
