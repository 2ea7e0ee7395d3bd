// The instrument's identity and network facts, as LXI identification XML
// and as JSON for the web page.
#include "communication/LAN/lan_identification.h"
#include <QXmlStreamWriter>
#include <unistd.h>
#include "communication/LAN/scpi_raw.h"
#include "communication/LAN/web_server.h"
#include "communication/SCPI/scpi.h"
#include "communication/scpi_msg_adpt.h"
#include "param/sys_param.h"

static QString idnField(int i)
{
    const char* s = scpi_context.idn[i];
    return QString::fromLatin1(s ? s : "");
}

QString LanIdentity::vxi11Resource() const { return QStringLiteral("TCPIP::%1::inst0::INSTR").arg(ip); }

QString LanIdentity::rawResource() const { return QStringLiteral("TCPIP::%1::%2::SOCKET").arg(ip).arg(rawPort); }

LanIdentity lan_identity()
{
    LanIdentity id;
    // The same identity as "*IDN?": the model is the instrument's display
    // name, the serial number the one the controller handed over.
    id.manufacturer = idnField(0);
    id.model = sys_param::DisplayName.isEmpty() ? idnField(1) : sys_param::DisplayName;
    id.serial = QString::fromLatin1(scpi_adpt_serial());
    id.firmware = sys_param::SoftWareVersion;
    id.hardware = sys_param::HardWareVersion;
    id.logic = sys_param::LogicVersion;
    char host[256] = {0};
    if (gethostname(host, sizeof host - 1) == 0)
        id.hostname = QString::fromLocal8Bit(host);
    // The address strings are written by the network thread; a copy of a
    // fixed-size array never runs past it.
    id.ip = QString::fromLatin1(sys_param::IP, int(qstrnlen(sys_param::IP, sizeof sys_param::IP)));
    id.mask = QString::fromLatin1(sys_param::Mask, int(qstrnlen(sys_param::Mask, sizeof sys_param::Mask)));
    id.gateway = QString::fromLatin1(sys_param::Gateway, int(qstrnlen(sys_param::Gateway, sizeof sys_param::Gateway)));
    id.mac = QString::fromLatin1(sys_param::MAC, int(qstrnlen(sys_param::MAC, sizeof sys_param::MAC)));
    id.dhcp = !sys_param::IPSetType;
    // The ports actually served (a service that could not start is left
    // out).
    id.rawPort = scpi_raw_port() > 0 ? scpi_raw_port() : 0;
    id.httpPort = web_server_port() > 0 ? web_server_port() : 0;
    return id;
}

QByteArray lan_identification_xml(const LanIdentity& id)
{
    static const QString ns = QStringLiteral("http://www.lxistandard.org/InstrumentIdentification/1.0");
    static const QString xsi = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");
    const QString base = id.httpPort == 80 ? QStringLiteral("http://%1/").arg(id.ip)
                                           : QStringLiteral("http://%1:%2/").arg(id.ip).arg(id.httpPort);
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.writeStartDocument();
    w.writeDefaultNamespace(ns);
    w.writeNamespace(xsi, QStringLiteral("xsi"));
    w.writeStartElement(ns, QStringLiteral("LXIDevice"));
    w.writeAttribute(xsi, QStringLiteral("schemaLocation"),
                     ns + QStringLiteral(" ") + base + QStringLiteral("lxi/identification/LXIIdentification.xsd"));
    w.writeTextElement(ns, QStringLiteral("Manufacturer"), id.manufacturer);
    w.writeTextElement(ns, QStringLiteral("Model"), id.model);
    w.writeTextElement(ns, QStringLiteral("SerialNumber"), id.serial);
    w.writeTextElement(ns, QStringLiteral("FirmwareRevision"), id.firmware);
    w.writeTextElement(ns, QStringLiteral("ManufacturerDescription"),
                       QStringLiteral("Four-channel arbitrary/function waveform generator, hardware %1, logic %2")
                           .arg(id.hardware, id.logic));
    w.writeTextElement(ns, QStringLiteral("HomepageURL"), base);
    w.writeTextElement(ns, QStringLiteral("DriverURL"), base);
    w.writeTextElement(ns, QStringLiteral("UserDescription"), id.model + QStringLiteral(" ") + id.serial);
    w.writeTextElement(ns, QStringLiteral("IdentificationURL"), base + QStringLiteral("lxi/identification"));
    w.writeStartElement(ns, QStringLiteral("Interface"));
    w.writeAttribute(xsi, QStringLiteral("type"), QStringLiteral("NetworkInformation"));
    w.writeAttribute(QStringLiteral("InterfaceType"), QStringLiteral("LXI"));
    w.writeAttribute(QStringLiteral("IPType"), QStringLiteral("IPv4"));
    w.writeAttribute(QStringLiteral("InterfaceName"), QStringLiteral("eth0"));
    w.writeTextElement(ns, QStringLiteral("InstrumentAddressString"), id.vxi11Resource());
    if (id.rawPort > 0)
        w.writeTextElement(ns, QStringLiteral("InstrumentAddressString"), id.rawResource());
    w.writeTextElement(ns, QStringLiteral("Hostname"), id.hostname);
    w.writeTextElement(ns, QStringLiteral("IPAddress"), id.ip);
    w.writeTextElement(ns, QStringLiteral("SubnetMask"), id.mask);
    w.writeTextElement(ns, QStringLiteral("MACAddress"), id.mac);
    w.writeTextElement(ns, QStringLiteral("Gateway"), id.gateway);
    w.writeTextElement(ns, QStringLiteral("DHCPEnabled"), id.dhcp ? QStringLiteral("true") : QStringLiteral("false"));
    w.writeTextElement(ns, QStringLiteral("AutoIPEnabled"), QStringLiteral("false"));
    w.writeEndElement();
    w.writeTextElement(ns, QStringLiteral("Domain"), QStringLiteral("0"));
    w.writeTextElement(ns, QStringLiteral("LXIVersion"), QStringLiteral("1.5"));
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

QJsonObject lan_identity_json(const LanIdentity& id)
{
    QJsonObject o;
    o["manufacturer"] = id.manufacturer;
    o["model"] = id.model;
    o["serial"] = id.serial;
    o["firmware"] = id.firmware;
    o["hardware"] = id.hardware;
    o["logic"] = id.logic;
    o["hostname"] = id.hostname;
    o["ip"] = id.ip;
    o["mask"] = id.mask;
    o["gateway"] = id.gateway;
    o["mac"] = id.mac;
    o["dhcp"] = id.dhcp;
    o["vxi11"] = id.vxi11Resource();
    if (id.rawPort > 0)
        o["raw"] = id.rawResource();
    return o;
}
