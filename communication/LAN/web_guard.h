#pragma once
// What keeps the web page safe on a shared LAN:
//
// - Host: every request but the LXI identification must name the
//   instrument in its Host header: an IP address literal, the instrument's
//   host name (also with ".local"), "localhost", or a name listed in the
//   settings key "WebHostNames" (comma-separated). A page that a foreign
//   site's DNS name was rebound to this address therefore gets nothing.
// - Origin: a request that changes state (POST) and carries an Origin must
//   come from the instrument's own page ("http://" + its Host).
// - Session token: a state change must carry the header "X-Ornav-Token"
//   with a token the page obtained from GET /api/session; a foreign page can
//   neither read that reply nor send the header without a CORS grant, which
//   the instrument never gives.
// - Password: "WebPassword" in the settings file is replaced at start-up by
//   "WebPasswordHash" ("sha256$<salt hex>$<digest hex>"); requests are
//   compared against the digest in constant time.
#include <QByteArray>
#include <QString>
#include <QStringList>

#define WEB_TOKEN_HEADER "X-Ornav-Token"

// Salted digest of a password, in the stored form.
QString web_password_hash(const QString& password, const QByteArray& salt);
// Whether password matches the stored form (constant time in the digest).
bool web_password_matches(const QString& stored, const QString& password);
// Reads "WebPassword" / "WebPasswordHash" from the settings file; a clear
// password found there is replaced by its salted digest. Returns the stored
// form, empty when no password is set.
QString web_password_load();

// Whether the Host header names this instrument (names: its host name and
// the extra names allowed).
bool web_host_allowed(const QByteArray& host, const QString& hostname, const QStringList& extraNames);
// Whether an Origin header fits a same-origin request to host.
bool web_origin_allowed(const QByteArray& origin, const QByteArray& host);

// A new session token (128 random bits, hex); the most recent ones stay
// valid.
QByteArray web_token_issue();
bool web_token_valid(const QByteArray& token);
