// The web server: routing, limits and authentication around libmicrohttpd.
#include "communication/LAN/web_server.h"
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>
#include <arpa/inet.h>
#include <microhttpd.h>
#include <netinet/in.h>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include "communication/LAN/lan_config.h"
#include "communication/LAN/lan_identification.h"
#include "communication/LAN/web_capture.h"
#include "communication/LAN/web_guard.h"
#include "communication/LAN/web_scpi.h"
#include "platform/logging.h"

namespace {

// Started by the LAN services thread, stopped by the program's end.
std::atomic<MHD_Daemon*> g_daemon {nullptr};
std::atomic<int> g_port {-1}; // written by the LAN services thread

// The body of one request, collected over the upload callbacks.
struct Request {
    std::string body;
    bool tooLarge = false;
};

MHD_Result send(MHD_Connection* c, unsigned status, const QByteArray& body, const char* type)
{
    MHD_Response* r = MHD_create_response_from_buffer(size_t(body.size()), const_cast<char*>(body.constData()),
                                                      MHD_RESPMEM_MUST_COPY);
    if (!r)
        return MHD_NO;
    MHD_add_response_header(r, MHD_HTTP_HEADER_CONTENT_TYPE, type);
    MHD_add_response_header(r, MHD_HTTP_HEADER_CACHE_CONTROL, "no-store");
    MHD_add_response_header(r, "X-Content-Type-Options", "nosniff");
    const MHD_Result ret = MHD_queue_response(c, status, r);
    MHD_destroy_response(r);
    return ret;
}

MHD_Result sendText(MHD_Connection* c, unsigned status, const char* text)
{
    return send(c, status, QByteArray(text) + "\n", "text/plain; charset=utf-8");
}

MHD_Result sendJson(MHD_Connection* c, const QJsonObject& o, unsigned status = MHD_HTTP_OK)
{
    return send(c, status, QJsonDocument(o).toJson(QJsonDocument::Compact), "application/json");
}

const char* typeOf(const QString& name)
{
    if (name.endsWith(QLatin1String(".html")))
        return "text/html; charset=utf-8";
    if (name.endsWith(QLatin1String(".css")))
        return "text/css; charset=utf-8";
    if (name.endsWith(QLatin1String(".js")))
        return "application/javascript; charset=utf-8";
    if (name.endsWith(QLatin1String(".png")))
        return "image/png";
    if (name.endsWith(QLatin1String(".svg")))
        return "image/svg+xml";
    return "application/octet-stream";
}

// A file of the page: one plain name below ":/web/", never a path.
MHD_Result servePageFile(MHD_Connection* c, const char* url)
{
    QString name = QString::fromUtf8(url + 1);
    if (name.isEmpty())
        name = QStringLiteral("index.html");
    for (const QChar ch : name) {
        const bool ok =
            ch.isLetterOrNumber() || ch == QLatin1Char('.') || ch == QLatin1Char('-') || ch == QLatin1Char('_');
        if (!ok || ch.unicode() > 127)
            return sendText(c, MHD_HTTP_NOT_FOUND, "not found");
    }
    if (name.startsWith(QLatin1Char('.')))
        return sendText(c, MHD_HTTP_NOT_FOUND, "not found");
    QFile f(QStringLiteral(":/web/") + name);
    if (!f.open(QIODevice::ReadOnly))
        return sendText(c, MHD_HTTP_NOT_FOUND, "not found");
    return send(c, MHD_HTTP_OK, f.readAll(), typeOf(name));
}

bool authorised(MHD_Connection* c)
{
    const QString& stored = lan_config().passwordHash;
    if (stored.isEmpty())
        return true;
    char* pass = nullptr;
    char* user = MHD_basic_auth_get_username_password(c, &pass);
    const bool ok = pass && web_password_matches(stored, QString::fromUtf8(pass));
    if (user)
        MHD_free(user);
    if (pass)
        MHD_free(pass);
    return ok;
}

MHD_Result askForPassword(MHD_Connection* c)
{
    const QByteArray body("password required\n");
    MHD_Response* r = MHD_create_response_from_buffer(size_t(body.size()), const_cast<char*>(body.constData()),
                                                      MHD_RESPMEM_MUST_COPY);
    if (!r)
        return MHD_NO;
    const MHD_Result ret = MHD_queue_basic_auth_fail_response(c, "instrument", r);
    MHD_destroy_response(r);
    return ret;
}

int channelArg(const QUrlQuery& q, const char* key)
{
    bool ok = false;
    const int ch = q.queryItemValue(QLatin1String(key)).toInt(&ok);
    return ok && ch >= 1 && ch <= 4 ? ch : 0;
}

MHD_Result postScpi(MHD_Connection* c, const std::string& body)
{
    QByteArray msg = QByteArray::fromStdString(body).trimmed();
    if (msg.isEmpty() || msg.contains('\0'))
        return sendText(c, MHD_HTTP_BAD_REQUEST, "empty or binary message");
    QByteArray reply;
    QJsonObject o;
    o["ok"] = web_scpi_run(msg, reply);
    o["reply"] = QString::fromUtf8(reply);
    o["errors"] = QJsonArray::fromStringList(web_scpi_errors());
    return sendJson(c, o);
}

MHD_Result postOutput(MHD_Connection* c, const std::string& body)
{
    const QUrlQuery q(QString::fromStdString(body));
    const int ch = channelArg(q, "channel");
    const QString on = q.queryItemValue(QStringLiteral("on"));
    if (!ch || (on != QLatin1String("0") && on != QLatin1String("1")))
        return sendText(c, MHD_HTTP_BAD_REQUEST, "channel 1..4 and on 0|1 expected");
    QByteArray reply;
    QJsonObject o;
    o["ok"] = web_scpi_run("CHANnel" + QByteArray::number(ch) + ":OUTPut " + (on == QLatin1String("1") ? "ON" : "OFF"),
                           reply);
    o["errors"] = QJsonArray::fromStringList(web_scpi_errors());
    return sendJson(c, o);
}

MHD_Result postUpload(MHD_Connection* c, const std::string& body)
{
    const char* chText = MHD_lookup_connection_value(c, MHD_GET_ARGUMENT_KIND, "channel");
    const char* name = MHD_lookup_connection_value(c, MHD_GET_ARGUMENT_KIND, "name");
    bool ok = false;
    const int ch = chText ? QByteArray(chText).toInt(&ok) : 0;
    if (!ok || ch < 1 || ch > 4 || !name || !*name || body.empty())
        return sendText(c, MHD_HTTP_BAD_REQUEST, "channel 1..4, a file name and the file expected");
    QByteArray reply;
    QJsonObject o;
    o["ok"] = web_scpi_upload(ch, QByteArray(name), QByteArray::fromStdString(body), reply);
    o["reply"] = QString::fromUtf8(reply);
    o["errors"] = QJsonArray::fromStringList(web_scpi_errors());
    return sendJson(c, o);
}

MHD_Result route(MHD_Connection* c, const std::string& url, const std::string& method, const Request& req)
{
    const bool get = method == MHD_HTTP_METHOD_GET || method == MHD_HTTP_METHOD_HEAD;
    const bool post = method == MHD_HTTP_METHOD_POST;
    if (url == "/lxi/identification") {
        if (!get)
            return sendText(c, MHD_HTTP_METHOD_NOT_ALLOWED, "GET only");
        return send(c, MHD_HTTP_OK, lan_identification_xml(lan_identity()), "text/xml; charset=utf-8");
    }
    const QByteArray host(MHD_lookup_connection_value(c, MHD_HEADER_KIND, MHD_HTTP_HEADER_HOST));
    if (!web_host_allowed(host, lan_identity().hostname, lan_config().webHostNames))
        return sendText(c, MHD_HTTP_FORBIDDEN, "unknown host name");
    if (!authorised(c))
        return askForPassword(c);
    if (req.tooLarge)
        return sendText(c, MHD_HTTP_CONTENT_TOO_LARGE, "request body too large");
    if (url == "/api/session") {
        if (!get)
            return sendText(c, MHD_HTTP_METHOD_NOT_ALLOWED, "GET only");
        QJsonObject o;
        o["token"] = QString::fromLatin1(web_token_issue());
        return sendJson(c, o);
    }
    if (url == "/api/scpi" || url == "/api/output" || url == "/api/upload") {
        if (!post)
            return sendText(c, MHD_HTTP_METHOD_NOT_ALLOWED, "POST only");
        const QByteArray origin(MHD_lookup_connection_value(c, MHD_HEADER_KIND, "Origin"));
        if (!web_origin_allowed(origin, host))
            return sendText(c, MHD_HTTP_FORBIDDEN, "cross-origin request refused");
        if (!web_token_valid(QByteArray(MHD_lookup_connection_value(c, MHD_HEADER_KIND, WEB_TOKEN_HEADER))))
            return sendText(c, MHD_HTTP_FORBIDDEN, "missing or stale session token");
        if (url == "/api/scpi")
            return postScpi(c, req.body);
        if (url == "/api/output")
            return postOutput(c, req.body);
        return postUpload(c, req.body);
    }
    if (!get)
        return sendText(c, MHD_HTTP_METHOD_NOT_ALLOWED, "GET only");
    if (url == "/api/info") {
        QJsonObject o = lan_identity_json(lan_identity());
        return sendJson(c, o);
    }
    if (url == "/api/channels") {
        QJsonObject o;
        o["channels"] = web_scpi_channels();
        return sendJson(c, o);
    }
    if (url == "/screen.png") {
        QByteArray png;
        if (!lan_capture_png(png))
            return sendText(c, MHD_HTTP_SERVICE_UNAVAILABLE, "no screen capture available");
        return send(c, MHD_HTTP_OK, png, "image/png");
    }
    return servePageFile(c, url.c_str());
}

size_t bodyLimit(const char* url)
{
    return std::strcmp(url, "/api/upload") == 0 ? size_t(WEB_MAX_UPLOAD) : size_t(WEB_MAX_FORM_BODY);
}

MHD_Result onRequest(void*, MHD_Connection* c, const char* url, const char* method, const char*, const char* upload,
                     size_t* uploadSize, void** cls)
{
    auto* req = static_cast<Request*>(*cls);
    if (!req) {
        // First call: the headers only. A declared length past the limit is
        // refused before a byte of the body is read.
        req = new Request;
        *cls = req;
        const char* len = MHD_lookup_connection_value(c, MHD_HEADER_KIND, MHD_HTTP_HEADER_CONTENT_LENGTH);
        if (len && std::strtoull(len, nullptr, 10) > bodyLimit(url)) {
            req->tooLarge = true;
            return sendText(c, MHD_HTTP_CONTENT_TOO_LARGE, "request body too large");
        }
        return MHD_YES;
    }
    if (*uploadSize) {
        if (!req->tooLarge) {
            if (req->body.size() + *uploadSize > bodyLimit(url)) {
                req->tooLarge = true;
                std::string().swap(req->body);
            } else {
                req->body.append(upload, *uploadSize);
            }
        }
        *uploadSize = 0;
        return MHD_YES;
    }
    return route(c, url, method, *req);
}

void onCompleted(void*, MHD_Connection*, void** cls, MHD_RequestTerminationCode)
{
    delete static_cast<Request*>(*cls);
    *cls = nullptr;
}

} // namespace

int web_server_start(int port, bool loopbackOnly)
{
    if (g_daemon)
        return g_port;
    sockaddr_in a;
    std::memset(&a, 0, sizeof a);
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(loopbackOnly ? INADDR_LOOPBACK : INADDR_ANY);
    a.sin_port = htons(uint16_t(port));
    MHD_Daemon* d = MHD_start_daemon(
        MHD_USE_INTERNAL_POLLING_THREAD | MHD_USE_THREAD_PER_CONNECTION | MHD_USE_ERROR_LOG, uint16_t(port), nullptr,
        nullptr, onRequest, nullptr, MHD_OPTION_SOCK_ADDR, &a, MHD_OPTION_CONNECTION_LIMIT,
        unsigned(WEB_MAX_CONNECTIONS), MHD_OPTION_CONNECTION_TIMEOUT, 30u, MHD_OPTION_NOTIFY_COMPLETED, onCompleted,
        nullptr, MHD_OPTION_LISTENING_ADDRESS_REUSE, 1u, MHD_OPTION_END);
    if (!d) {
        ORNAV_LOG_AT(lcLan).critical("cannot serve http on port %d", port);
        return -1;
    }
    const MHD_DaemonInfo* info = MHD_get_daemon_info(d, MHD_DAEMON_INFO_BIND_PORT);
    g_port = info ? int(info->port) : port;
    g_daemon = d;
    return g_port;
}

void web_server_stop()
{
    // Waits for the requests being served; each of them ends quickly once
    // the remote sessions refuse work.
    if (MHD_Daemon* d = g_daemon.exchange(nullptr))
        MHD_stop_daemon(d);
}

int web_server_port() { return g_port; }
