#pragma once
// Builders of arbitrary-wave and list files for the tests.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QVector>
#include <cstdint>

namespace arbtest {

inline QByteArray bsv(const QVector<int16_t>& samples, int declared = -1, const QByteArray& extra = QByteArray())
{
    QByteArray b = "[HEAD]:0\r\nFREQUENCY:1000\r\n" + extra +
        "[DATA]:" + QByteArray::number(declared < 0 ? samples.size() : declared) + "\r\n";
    for (int16_t s : samples) {
        const uint16_t u = uint16_t(s);
        b.append(char(u & 0xFF));
        b.append(char(u >> 8));
    }
    return b;
}

inline QByteArray csv(const QList<QByteArray>& lines, int declared)
{
    QByteArray b = "[HEAD]:0\nFREQUENCY:1000\n[DATA]:" + QByteArray::number(declared) + "\n";
    for (const QByteArray& l : lines)
        b += l + "\n";
    return b;
}

inline QByteArray list(int declared, const QList<QByteArray>& values)
{
    QByteArray b = "[HEAD]:44\r\n[FREQ-POINTS]:" + QByteArray::number(declared) + "\r\n";
    for (const QByteArray& v : values)
        b += v + "\r\n";
    return b;
}

inline bool write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

inline QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The built-in library computed by the build's tool into root/usr/share/ArbWaveLib.
inline bool installLibrary(const QString& root)
{
    QProcess p;
    p.start(QStringLiteral(ORNAV_BIN_DIR "/tools/ornav-arblib/ornav-arblib"),
            {root + QStringLiteral("/usr/share/ArbWaveLib")});
    return p.waitForFinished(60000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

} // namespace arbtest
