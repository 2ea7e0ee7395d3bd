#pragma once
// SCPI messages from the web page: the console, the channel overview, the
// output switches and the arbitrary-wave upload all go through a remote
// session of their own to the one SCPI worker, under the same rules as every
// other remote client.
#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

// Runs one message (a LF is appended when missing) on a new session; reply
// holds its output without the final LF. False when the worker did not take
// it or did not finish within timeoutMs.
bool web_scpi_run(const QByteArray& message, QByteArray& reply, int timeoutMs = 30000);
// Empties the instrument's error list through "SYSTem:ERRor?" (at most 32
// entries) and returns the entries read, "0,..." excluded.
QStringList web_scpi_errors();
// The channel overview (waveform, frequency, amplitude, offset, output) of
// channels 1..4, each field the query's reply ("" when it failed).
QJsonArray web_scpi_channels();
// An arbitrary-wave file for a channel: "WARB<ch>:CARRier" with the file
// name, then the data, on one session, as a remote client would send them.
bool web_scpi_upload(int channel, const QByteArray& name, const QByteArray& data, QByteArray& reply);
