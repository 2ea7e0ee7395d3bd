// The web page's SCPI traffic.
#include "communication/LAN/web_scpi.h"
#include <QJsonArray>
#include <cstdlib>
#include <cstring>
#include "communication/SCPI/scpi_wfile.h"
#include "communication/scpi_msg_adpt.h"
#include "communication/scpi_msg_session.h"

namespace {

// One session for the lifetime of a request.
struct Session {
    int id = scpi_session_open();
    ~Session()
    {
        // Its armed transfer goes with it.
        scpi_session_close(id);
    }
};

bool deliver(int session, const QByteArray& bytes)
{
    char* buf = static_cast<char*>(std::malloc(size_t(bytes.size()) + 1));
    if (!buf)
        return false;
    std::memcpy(buf, bytes.constData(), size_t(bytes.size()));
    buf[bytes.size()] = '\0';
    return scpi_session_deliver(session, buf, bytes.size()) == 0;
}

bool runOn(int session, const QByteArray& message, QByteArray& reply, int timeoutMs)
{
    QByteArray m = message;
    if (!m.endsWith('\n'))
        m.append('\n');
    if (!deliver(session, m))
        return false;
    const int held = scpi_session_wait_done(session, timeoutMs);
    if (held < 0)
        return false;
    reply.resize(held);
    reply.resize(scpi_session_read(session, reply.data(), held));
    while (reply.endsWith('\n') || reply.endsWith('\r'))
        reply.chop(1);
    return true;
}

} // namespace

bool web_scpi_run(const QByteArray& message, QByteArray& reply, int timeoutMs)
{
    Session s;
    return runOn(s.id, message, reply, timeoutMs);
}

QStringList web_scpi_errors()
{
    QStringList out;
    Session s;
    for (int i = 0; i < 32; ++i) {
        QByteArray e;
        if (!runOn(s.id, "SYSTem:ERRor?", e, 5000) || e.isEmpty() || e.startsWith("0,") || e.startsWith("+0,"))
            break;
        out << QString::fromUtf8(e);
    }
    return out;
}

QJsonArray web_scpi_channels()
{
    static const char* const kFields[][2] = {
        {"wave", "BASe:WAVe?"},
        {"frequency", "BASe:FREQuency?"},
        {"amplitude", "BASe:AMPLitude?"},
        {"offset", "BASe:OFFSet?"},
        {"output", "OUTPut?"},
    };
    QJsonArray channels;
    Session s;
    for (int ch = 1; ch <= 4; ++ch) {
        QJsonObject o;
        o["channel"] = ch;
        for (const auto& f : kFields) {
            QByteArray r;
            const QByteArray q = "CHANnel" + QByteArray::number(ch) + ":" + f[1];
            if (!runOn(s.id, q, r, 5000))
                r.clear();
            o[QLatin1String(f[0])] = QString::fromUtf8(r);
        }
        channels.append(o);
    }
    return channels;
}

bool web_scpi_upload(int channel, const QByteArray& name, const QByteArray& data, QByteArray& reply)
{
    Session s;
    // The name travels inside a quoted string: only characters that cannot
    // end it or leave the wave folder.
    QByteArray safe;
    for (char c : name)
        if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '_' ||
            c == '.')
            safe.append(c);
    while (safe.startsWith('.'))
        safe.remove(0, 1);
    if (safe.isEmpty())
        return false;
    // One message: the arming command with the file as a definite-length
    // block after the name, as any remote client may send it.
    const QByteArray length = QByteArray::number(data.size());
    QByteArray message = "WARB" + QByteArray::number(channel) + ":CARRier \"" + safe + "\",#" +
        QByteArray::number(length.size()) + length;
    message += data;
    message += '\n';
    if (!deliver(s.id, message))
        return false;
    const int held = scpi_session_wait_done(s.id, 60000);
    if (held < 0)
        return false;
    reply.resize(held);
    reply.resize(scpi_session_read(s.id, reply.data(), held));
    return true;
}
