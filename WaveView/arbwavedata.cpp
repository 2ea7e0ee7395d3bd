// Arbitrary-wave files: storing received files, headers, sample data.
#include "WaveView/arbwavedata.h"
#include <QByteArray>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include <QtEndian>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <unistd.h>
#include "Method/GlobalMethod.h"
#include "platform/platformroot.h"

const char* const ArbWaveData::kLibraryDir = "/usr/share/ArbWaveLib";
const char* const ArbWaveData::kUserDir = "/run/media/mmcblk0p1";
const char* const ArbWaveData::kUsbDir = "/media/usbdisk";
const char* const ArbWaveData::kDefaultArb = "/usr/share/ArbWaveLib/AntiTrigonome/ACos.bsv";

namespace {

// Path fields of the record hold 127 bytes and the NUL.
const int kMaxBoardPath = 127;
// A flush that keeps failing is given up after this many 1 ms retries.
const int kFlushRetries = 1000;

QString receivedPath(int ch, const QString& type, const QString& name)
{
    return QStringLiteral("%1/CH%2_%3_").arg(QLatin1String(ArbWaveData::kUserDir)).arg(ch + 1).arg(type) + name;
}

// Full-scale 16-bit samples: -32767 .. +32767.
const int kFull = 32767;

short clampSample(double v)
{
    if (!(v > -kFull))
        return short(-kFull);
    if (v > kFull)
        return short(kFull);
    return short(v);
}

// Scales samples from [lo, hi] to -32767..+32767. Equal extremes give the
// middle of the range (0). Extremes symmetric about zero scale by
// 32767 / hi alone, in integer arithmetic; others map linearly.
void scaleSamples(short* s, size_t m, double lo, double hi)
{
    if (hi == lo) {
        std::memset(s, 0, m * sizeof(short));
        return;
    }
    const double mid = (lo + hi) / 2;
    const bool wholeNumbers = lo == std::floor(lo) && hi == std::floor(hi);
    if (std::fabs(mid) <= 1 && hi >= 1 && wholeNumbers) {
        const long long div = (long long)hi;
        for (size_t i = 0; i < m; ++i) {
            long long v = (long long)s[i] * kFull / div;
            s[i] = short(v > kFull ? kFull : (v < -kFull ? -kFull : v));
        }
        return;
    }
    // Rounded, so that the extremes land exactly on the ends of the range.
    const double scale = 2.0 * kFull / (hi - lo);
    for (size_t i = 0; i < m; ++i)
        s[i] = clampSample(std::round((s[i] - mid) * scale));
}

// A table of n points from the m loaded samples: interpolated when the
// wave is shorter, points picked (no filtering) when it is longer.
void fillTable(short* dst, int n, const short* src, size_t m)
{
    if (m == 0)
        return;
    if (m < size_t(n)) {
        GlobalMethod::SampleLine(dst, n, src, int(m));
        return;
    }
    for (int i = 0; i < n; ++i)
        dst[i] = src[(unsigned long long)i * (m - 1) / unsigned(n - 1)];
}

bool validType(const QString& type)
{
    return type == QLatin1String("Base") || type == QLatin1String("Mod") || type == QLatin1String("List");
}

} // namespace

bool ArbWaveData::ValidRemoteName(const QString& name, const QString& type)
{
    if (name.isEmpty() || !validType(type))
        return false;
    for (const QChar c : name) {
        const ushort u = c.unicode();
        if (u < 0x20 || u == 0x7f || c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return false;
    }
    if (name.contains(QLatin1String("..")))
        return false;
    // A wave is read by its suffix: a name without "bsv" or "csv" could
    // never be played.
    if (type != QLatin1String("List")) {
        const QString suffix = QFileInfo(name).suffix().toLower();
        if (suffix != QLatin1String("bsv") && suffix != QLatin1String("csv"))
            return false;
    }
    return receivedPath(0, type, name).toLocal8Bit().size() <= kMaxBoardPath;
}

QString ArbWaveData::SaveDataToFile(int ch, QString name, QString type, const char* data, size_t length)
{
    if (ch < 0 || ch > 3 || !ValidRemoteName(name, type)) {
        qWarning("refused received file name for CH%d: %s", ch + 1, qPrintable(name));
        return QString();
    }
    if (data == nullptr && length > 0)
        return QString();
    const QString board = receivedPath(ch, type, name);
    const QString host = PlatformRoot::path(board);
    const QString dir = QFileInfo(host).absolutePath();
    if (!QDir().mkpath(dir)) {
        qWarning() << "mkdir error:" << dir;
        return QString();
    }
    qDebug() << "save to:" << board;
    // A link planted under the name must not lead the write elsewhere.
    if (QFileInfo(host).isSymLink())
        QFile::remove(host);
    {
        QFile f(host);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            qWarning() << "open error:" << board;
            return QString();
        }
        const qint64 wrote = f.write(data, qint64(length));
        bool flushed = false;
        for (int tries = 0; wrote == qint64(length) && tries < kFlushRetries; ++tries) {
            if ((flushed = f.flush()))
                break;
            qDebug("save flush...");
            QThread::msleep(1);
        }
        if (!flushed) {
            qWarning() << "write error:" << board;
            f.close();
            QFile::remove(host);
            return QString();
        }
        ::fsync(f.handle());
        f.close();
    }
    QFile f(host);
    bool ok = f.open(QIODevice::ReadOnly);
    if (type == QLatin1String("List")) {
        FreqListParam p;
        ok = ok && LoadFreqListHead(f, p);
        if (!ok)
            qWarning("list head check error!");
    } else {
        ArbParam p;
        ok = ok && LoadArbHead(f, p);
        if (!ok)
            qWarning("save head check error!");
    }
    f.close();
    if (!ok) {
        QFile::remove(host);
        return QString();
    }
    // The file is on its medium (fsync above); on the board the other
    // file systems are written back too, as before a power cut.
    if (!PlatformRoot::simulated())
        ::sync();
    return board;
}

bool ArbWaveData::LoadArbHead(QFile& file, ArbParam& param)
{
    if (!file.isOpen() || !file.seek(0))
        return false;
    const QByteArray head = file.read(qint64(arbparse::kHeadScanBytes));
    size_t offset = 0;
    long long count = 0;
    switch (arbparse::parseArbHead(head.constData(), size_t(head.size()), param, &offset, &count)) {
    case arbparse::HeadOk:
        return file.seek(qint64(offset));
    case arbparse::HeadNoHeadLine:
        qDebug("check head error");
        return false;
    case arbparse::HeadBadCount:
        qDebug("check data error len:%lld", count);
        return false;
    case arbparse::HeadNoDataLine:
        qDebug("check head error: no data line");
        return false;
    }
    return false;
}

int ArbWaveData::LoadArbData(QFile& file, QString suffix, short** full, short* table8192, short* table2048,
                             ArbParam& param)
{
    const long long n = param.TotalPointNum;
    if (n < 1)
        return -1;
    const qint64 remaining = file.size() - file.pos();
    if (remaining <= 0)
        return -1;
    short* samples = nullptr;
    size_t m = 0;
    const QString type = suffix.toLower();
    if (type == QLatin1String("bsv")) {
        // Never more than the file holds: a header may promise more.
        const size_t want = size_t(std::min<long long>(n, remaining / 2));
        if (want == 0)
            return -1;
        samples = static_cast<short*>(std::malloc(want * sizeof(short)));
        if (!samples) {
            qWarning("malloc error !%s %d", __FILE__, __LINE__);
            return -1;
        }
        const qint64 got = file.read(reinterpret_cast<char*>(samples), qint64(want * 2));
        m = got > 0 ? size_t(got) / 2 : 0;
#if Q_BYTE_ORDER == Q_BIG_ENDIAN
        for (size_t i = 0; i < m; ++i)
            samples[i] = qFromLittleEndian<qint16>(samples[i]);
#endif
        if (m == 0) {
            std::free(samples);
            return -1;
        }
        if (param.AvalidLimit && param.Max > param.Min) {
            // Too long to scan: the header's extremes give the scale.
            const double lo = std::max(param.Min, -32768.0), hi = std::min(param.Max, 32767.0);
            if (hi > lo)
                scaleSamples(samples, m, lo, hi);
        } else if (!param.AvalidLimit) {
            scaleSamples(samples, m, GlobalMethod::Min(samples, int(m)), GlobalMethod::Max(samples, int(m)));
        }
        // Without usable header extremes a long wave keeps its 16-bit values.
    } else if (type == QLatin1String("csv")) {
        // Every value takes at least one character and a line feed.
        const size_t cap = size_t(std::min<long long>(n, remaining / 2 + 1));
        double* values = static_cast<double*>(std::malloc(cap * sizeof(double)));
        if (!values) {
            qWarning("malloc error !%s %d", __FILE__, __LINE__);
            return -1;
        }
        const QByteArray text = file.read(remaining);
        m = arbparse::parseCsvValues(text.constData(), size_t(text.size()), values, cap);
        samples = m ? static_cast<short*>(std::malloc(m * sizeof(short))) : nullptr;
        if (!samples) {
            if (m)
                qWarning("malloc error !%s %d", __FILE__, __LINE__);
            std::free(values);
            return -1;
        }
        GlobalMethod::Normalize(values, int(m), -32767.0, 32767.0);
        for (size_t i = 0; i < m; ++i)
            samples[i] = clampSample(values[i]);
        std::free(values);
    } else {
        qWarning("unknow file type");
        return -1;
    }
    param.TotalPointNum = int(m);
    if (table2048)
        fillTable(table2048, 2048, samples, m);
    if (table8192) {
        fillTable(table8192, 8192, samples, m);
        if (full) {
            std::free(*full);
            *full = samples;
            return 0;
        }
    }
    std::free(samples);
    return 0;
}
