#pragma once
// What the instrument tells about itself on the network: its identity
// (the fields of "*IDN?" plus the hardware and logic versions), its address
// and the VISA resource strings of its remote interfaces. Used by the LXI
// identification document, the web page and the mDNS announcement.
#include <QByteArray>
#include <QJsonObject>
#include <QString>

struct LanIdentity {
    QString manufacturer, model, serial, firmware, hardware, logic;
    QString hostname, ip, mask, gateway, mac;
    bool dhcp = true;
    int rawPort = 0;
    int httpPort = 0;
    QString vxi11Resource() const; // TCPIP::IP::inst0::INSTR
    QString rawResource() const;   // TCPIP::IP::PORT::SOCKET
};

LanIdentity lan_identity();
// The LXI identification document served at "/lxi/identification".
QByteArray lan_identification_xml(const LanIdentity& id);
// The same facts for the web page.
QJsonObject lan_identity_json(const LanIdentity& id);
