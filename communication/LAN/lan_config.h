#pragma once
// Where the LAN services (raw SCPI socket, web server, mDNS announcement)
// listen and what protects the web page. Read once at start-up from the
// settings file, overridable from the environment for test benches.
//
//   settings file key   environment           board default   simulated board
//   "ScpiRawPort"       ORNAV_SCPI_RAW_PORT   5025            5025
//   "HttpPort"          ORNAV_HTTP_PORT       80              8080
//   "WebPassword"       -                     none            none
//   "WebHostNames"      -                     none            none
//   "RemoteIdleSeconds" ORNAV_REMOTE_IDLE_SECONDS 600         600
//
// "WebPassword" is replaced by its salted digest "WebPasswordHash" at the
// first start that reads it; "WebHostNames" lists further names (comma-
// separated) under which the web page may be reached, beside the address,
// the host name and "localhost".
//
// "RemoteIdleSeconds" is how long a VXI-11 or raw-socket connection, or a
// link created over UDP, may stay silent before it is closed (at least 1 s;
// a connection gives way sooner when every slot is taken).
//
// A port of 0 turns that service off. On a simulated board every service
// listens on the loopback interface only.
#include <QString>
#include <QStringList>

struct LanConfig {
    int rawPort = 5025;
    int httpPort = 80;
    QString passwordHash; // stored form of the password; empty: the page is open
    QStringList webHostNames;
    bool loopbackOnly = false;
    int idleSeconds = 600;
};

enum { LAN_IDLE_SECONDS_DEFAULT = 600, LAN_IDLE_SECONDS_MAX = 7 * 24 * 3600 };
enum { LAN_RAW_PORT_DEFAULT = 5025, LAN_HTTP_PORT_DEFAULT = 80, LAN_HTTP_PORT_SIMULATED = 8080 };

// Reads the settings file and the environment.
LanConfig lan_config_load();
// The configuration the services were started with (defaults before).
const LanConfig& lan_config();
void lan_config_set(const LanConfig& config);
