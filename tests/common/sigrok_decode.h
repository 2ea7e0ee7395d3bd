#pragma once
// Decoding a VCD trace with sigrok-cli's protocol decoders, as a logic
// analyser would: each annotation line "dec-1: TEXT" becomes TEXT.
#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

inline bool sigrokAvailable() { return !QStandardPaths::findExecutable("sigrok-cli").isEmpty(); }

// decoder: e.g. "uart:rx=TX:baudrate=115200"; annotations: e.g. "uart=rx-data".
inline QStringList sigrokDecode(const QString& vcdFile, const QString& decoder, const QString& annotations,
                                QByteArray* diagnostics = nullptr)
{
    QProcess p;
    p.start("sigrok-cli", {"-I", "vcd", "-i", vcdFile, "-P", decoder, "-A", annotations});
    QStringList out;
    if (!p.waitForStarted(10000) || !p.waitForFinished(120000))
        return out;
    if (diagnostics)
        *diagnostics = p.readAllStandardError();
    for (const QByteArray& line : p.readAllStandardOutput().split('\n')) {
        const int colon = line.indexOf(": ");
        if (colon > 0)
            out << QString::fromUtf8(line.mid(colon + 2)).trimmed();
    }
    return out;
}

// Annotations that are two-digit hex bytes (uart/spi data), as bytes.
inline QByteArray hexBytes(const QStringList& texts)
{
    QByteArray b;
    for (const QString& t : texts) {
        bool ok = false;
        const uint v = t.toUInt(&ok, 16);
        if (ok && v < 256)
            b.append(char(v));
    }
    return b;
}
