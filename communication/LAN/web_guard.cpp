#include "communication/LAN/web_guard.h"
#include <QCryptographicHash>
#include <QRandomGenerator>
#include <arpa/inet.h>
#include <deque>
#include <mutex>
#include "param/settingsfile.h"

namespace {

// Tokens handed out and still honoured; the oldest gives way. Guarded by
// g_tokensMutex (the web server runs a thread per connection).
const size_t kTokensKept = 64;
std::mutex g_tokensMutex;
std::deque<QByteArray> g_tokens;

QByteArray randomHex(int bytes)
{
    QByteArray b(bytes, '\0');
    for (int i = 0; i < bytes; ++i)
        b[i] = char(QRandomGenerator::system()->bounded(256));
    return b.toHex();
}

QByteArray digest(const QByteArray& salt, const QString& password)
{
    return QCryptographicHash::hash(salt + password.toUtf8(), QCryptographicHash::Sha256).toHex();
}

bool equalConstantTime(const QByteArray& a, const QByteArray& b)
{
    if (a.size() != b.size())
        return false;
    unsigned char d = 0;
    for (int i = 0; i < a.size(); ++i)
        d |= static_cast<unsigned char>(a[i] ^ b[i]);
    return d == 0;
}

// The host part of a Host header: "[::1]:8080" -> "::1", "a.b:80" -> "a.b".
QString hostPart(const QByteArray& host)
{
    QString h = QString::fromLatin1(host).trimmed().toLower();
    if (h.startsWith(QLatin1Char('['))) {
        const int end = h.indexOf(QLatin1Char(']'));
        return end > 0 ? h.mid(1, end - 1) : QString();
    }
    const int colon = h.lastIndexOf(QLatin1Char(':'));
    if (colon >= 0)
        h.truncate(colon);
    if (h.endsWith(QLatin1Char('.')))
        h.chop(1);
    return h;
}

} // namespace

QString web_password_hash(const QString& password, const QByteArray& salt)
{
    return QStringLiteral("sha256$") + QString::fromLatin1(salt) + QLatin1Char('$') +
        QString::fromLatin1(digest(salt, password));
}

bool web_password_matches(const QString& stored, const QString& password)
{
    const QStringList parts = stored.split(QLatin1Char('$'));
    if (parts.size() != 3 || parts[0] != QLatin1String("sha256"))
        return false;
    return equalConstantTime(digest(parts[1].toLatin1(), password), parts[2].toLatin1());
}

QString web_password_load()
{
    const QString clear = SettingsFile::value(QStringLiteral("WebPassword")).toString();
    if (!clear.isEmpty()) {
        const QString stored = web_password_hash(clear, randomHex(16));
        // Kept in memory even when the storage is read-only; the clear text
        // leaves the file only once its digest is safely there.
        if (SettingsFile::setValue(QStringLiteral("WebPasswordHash"), stored))
            SettingsFile::remove(QStringLiteral("WebPassword"));
        return stored;
    }
    return SettingsFile::value(QStringLiteral("WebPasswordHash")).toString();
}

bool web_host_allowed(const QByteArray& host, const QString& hostname, const QStringList& extraNames)
{
    const QString h = hostPart(host);
    if (h.isEmpty())
        return false;
    // An address literal cannot be rebound: any of them is fine.
    unsigned char addr[16];
    const QByteArray latin = h.toLatin1();
    if (inet_pton(AF_INET, latin.constData(), addr) == 1 || inet_pton(AF_INET6, latin.constData(), addr) == 1)
        return true;
    if (h == QLatin1String("localhost"))
        return true;
    const QString own = hostname.toLower();
    if (!own.isEmpty() && (h == own || h == own + QLatin1String(".local")))
        return true;
    for (const QString& name : extraNames)
        if (!name.trimmed().isEmpty() && h == name.trimmed().toLower())
            return true;
    return false;
}

bool web_origin_allowed(const QByteArray& origin, const QByteArray& host)
{
    if (origin.isEmpty())
        return true; // not a browser's cross-site request: tools send none
    return origin.trimmed().toLower() == "http://" + host.trimmed().toLower();
}

QByteArray web_token_issue()
{
    const QByteArray t = randomHex(16);
    std::lock_guard<std::mutex> l(g_tokensMutex);
    g_tokens.push_back(t);
    while (g_tokens.size() > kTokensKept)
        g_tokens.pop_front();
    return t;
}

bool web_token_valid(const QByteArray& token)
{
    if (token.size() != 32)
        return false;
    std::lock_guard<std::mutex> l(g_tokensMutex);
    bool found = false;
    for (const QByteArray& t : g_tokens)
        found |= equalConstantTime(t, token);
    return found;
}
