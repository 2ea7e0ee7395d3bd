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
#include <fcntl.h>
#include <unistd.h>
#include <algorithm>
#include <vector>
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
    return ReceivedPath(0, type, name).toLocal8Bit().size() <= kMaxBoardPath;
}

QString ArbWaveData::ReceivedPath(int ch, const QString& type, const QString& name)
{
    if (type == QLatin1String("List"))
        return QStringLiteral("%1/CH%2_List_").arg(QLatin1String(kUserDir)).arg(ch + 1) + name;
    return QLatin1String(kUserDir) + QLatin1Char('/') + name;
}

void ArbWaveData::RemovePartialSaves()
{
    QDir dir(PlatformRoot::path(QLatin1String(kUserDir)));
    const QStringList parts = dir.entryList({QStringLiteral(".*.part")}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QString& p : parts)
        if (!dir.remove(p))
            qWarning() << "cannot remove" << dir.filePath(p);
}

bool ArbWaveData::ParseArbHead(const char* data, size_t length, ArbParam& param, size_t* dataOffset)
{
    long long count = 0;
    size_t offset = 0;
    switch (arbparse::parseArbHead(data, std::min(length, arbparse::kHeadScanBytes), param, &offset, &count)) {
    case arbparse::HeadOk:
        if (dataOffset)
            *dataOffset = offset;
        return true;
    case arbparse::HeadNoHeadLine: qDebug("check head error"); return false;
    case arbparse::HeadBadCount: qDebug("check data error len:%lld", count); return false;
    case arbparse::HeadNoDataLine: qDebug("check head error: no data line"); return false;
    }
    return false;
}

ArbWaveData::SaveResult ArbWaveData::CheckReceived(int ch, const QString& name, const QString& type, const char* data,
                                                   size_t length)
{
    if (ch < 0 || ch > 3 || !ValidRemoteName(name, type)) {
        qWarning("refused received file name for CH%d: %s", ch + 1, qPrintable(name));
        return SaveBadName;
    }
    if (data == nullptr && length > 0)
        return SaveBadHeader;
    // Checked on the bytes held, before the storage is touched: a file that
    // is no wave or list never replaces one that is.
    bool ok;
    if (type == QLatin1String("List")) {
        FreqListParam p;
        long long count = 0;
        size_t offset = 0;
        ok = data &&
            arbparse::parseListHead(data, std::min(length, 2 * (arbparse::kDataLineMax + 1)), p, &offset, &count) ==
                arbparse::ListHeadOk;
        if (!ok)
            qWarning("list head check error!");
    } else {
        ArbParam p;
        size_t offset = 0;
        ok = data && ParseArbHead(data, length, p, &offset);
        // A bsv upload carries exactly its points (a line end after them
        // is allowed): fewer is a cut transfer, more a wrong count.
        if (ok && QFileInfo(name).suffix().toLower() == QLatin1String("bsv")) {
            const size_t bytes = length - offset, want = 2 * size_t(p.TotalPointNum);
            ok = bytes >= want && bytes <= want + 2;
            if (!ok)
                qWarning("save data length error: %zu bytes for %d points", bytes, p.TotalPointNum);
        }
        if (!ok)
            qWarning("save head check error!");
    }
    return ok ? SaveOk : SaveBadHeader;
}

QString ArbWaveData::SaveDataToFile(int ch, QString name, QString type, const char* data, size_t length,
                                    SaveResult* result)
{
    SaveResult dummy;
    SaveResult& res = result ? *result : dummy;
    res = CheckReceived(ch, name, type, data, length);
    if (res != SaveOk)
        return QString();
    res = SaveFailed;
    const QString board = ReceivedPath(ch, type, name);
    const QString host = PlatformRoot::path(board);
    const QFileInfo info(host);
    const QString dir = info.absolutePath();
    if (!QDir().mkpath(dir)) {
        qWarning() << "mkdir error:" << dir;
        return QString();
    }
    qDebug() << "save to:" << board;
    // Written beside the old file and renamed over it once it is on the
    // medium: a full storage, a cut write or a power cut keeps the old one.
    // A rename also replaces a link planted under the name instead of
    // writing through it.
    const QString part = dir + QStringLiteral("/.") + info.fileName() + QStringLiteral(".part");
    QFile::remove(part);
    QFile f(part);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        qWarning() << "open error:" << board;
        return QString();
    }
    bool written = f.write(data, qint64(length)) == qint64(length);
    for (int tries = 0; written && tries < kFlushRetries; ++tries) {
        if (f.flush())
            break;
        qDebug("save flush...");
        QThread::msleep(1);
        written = tries + 1 < kFlushRetries;
    }
    written = written && ::fsync(f.handle()) == 0;
    f.close();
    if (!written || ::rename(QFile::encodeName(part).constData(), QFile::encodeName(host).constData()) != 0) {
        qWarning() << "write error:" << board;
        QFile::remove(part);
        return QString();
    }
    // The new name itself on the medium: the folder's entry.
    const int d = ::open(QFile::encodeName(dir).constData(), O_RDONLY | O_DIRECTORY);
    if (d >= 0) {
        ::fsync(d);
        ::close(d);
    }
    if (!PlatformRoot::simulated())
        ::sync();
    res = SaveOk;
    return board;
}

bool ArbWaveData::LoadArbHead(QFile& file, ArbParam& param)
{
    if (!file.isOpen() || !file.seek(0))
        return false;
    const QByteArray head = file.read(qint64(arbparse::kHeadScanBytes));
    size_t offset = 0;
    return ParseArbHead(head.constData(), size_t(head.size()), param, &offset) && file.seek(qint64(offset));
}

int ArbWaveData::LoadArbData(QFile& file, QString suffix, short** full, short* table8192, short* table2048,
                             ArbParam& param)
{
    const qint64 pos = file.pos();
    const qint64 remaining = file.size() - pos;
    if (remaining <= 0 || param.TotalPointNum < 1)
        return -1;
    // Mapped: the samples are read once, straight into the loader's buffer.
    if (uchar* mapped = file.map(pos, remaining)) {
        const int rc = LoadArbBytes(reinterpret_cast<const char*>(mapped), size_t(remaining), suffix, full, table8192,
                                    table2048, param);
        file.unmap(mapped);
        return rc;
    }
    const QByteArray bytes = file.read(remaining);
    return LoadArbBytes(bytes.constData(), size_t(bytes.size()), suffix, full, table8192, table2048, param);
}

namespace {

// Points handled between two progress reports.
const size_t kProgressStep = 1 << 18;

// Copies m little-endian 16-bit samples and finds their extremes, in steps
// of kProgressStep points; the first half of the progress.
void copySamples(short* dst, const char* src, size_t m, short* lo, short* hi, const ArbWaveData::Progress& progress)
{
    short mn = 32767, mx = -32768;
    for (size_t off = 0; off < m; off += kProgressStep) {
        const size_t k = std::min(kProgressStep, m - off);
        short* d = dst + off;
        std::memcpy(d, src + 2 * off, k * 2);
#if Q_BYTE_ORDER == Q_BIG_ENDIAN
        for (size_t i = 0; i < k; ++i)
            d[i] = qFromLittleEndian<qint16>(d[i]);
#endif
        for (size_t i = 0; i < k; ++i) {
            mn = d[i] < mn ? d[i] : mn;
            mx = d[i] > mx ? d[i] : mx;
        }
        if (progress)
            progress(int((off + k) * 50 / m));
    }
    *lo = mn;
    *hi = mx;
}

// Scales in steps too; the second half of the progress. A sample is one of
// 65536 values: a long wave goes through a table of all of them, scaled
// once by the same routine, instead of a division per sample (the same
// results, in a fraction of the time).
void scaleInSteps(short* s, size_t m, double lo, double hi, const ArbWaveData::Progress& progress)
{
    std::vector<short> table;
    if (m > 65536) {
        table.resize(65536);
        for (int v = 0; v < 65536; ++v)
            table[size_t(v)] = short(v - 32768);
        scaleSamples(table.data(), table.size(), lo, hi);
    }
    for (size_t off = 0; off < m; off += kProgressStep) {
        const size_t k = std::min(kProgressStep, m - off);
        if (table.empty()) {
            scaleSamples(s + off, k, lo, hi);
        } else {
            short* d = s + off;
            for (size_t i = 0; i < k; ++i)
                d[i] = table[size_t(d[i] + 32768)];
        }
        if (progress)
            progress(50 + int((off + k) * 50 / m));
    }
}

} // namespace

int ArbWaveData::LoadArbBytes(const char* data, size_t length, QString suffix, short** full, short* table8192,
                              short* table2048, ArbParam& param, const Progress& progress)
{
    const long long n = param.TotalPointNum;
    if (n < 1 || data == nullptr || length == 0)
        return -1;
    short* samples = nullptr;
    size_t m = 0;
    const QString type = suffix.toLower();
    if (type == QLatin1String("bsv")) {
        // Never more than the data holds: a header may promise more.
        m = size_t(std::min<long long>(n, (long long)(length / 2)));
        if (m == 0)
            return -1;
        samples = static_cast<short*>(std::malloc(m * sizeof(short)));
        if (!samples) {
            qWarning("malloc error !%s %d", __FILE__, __LINE__);
            return -1;
        }
        short lo = 0, hi = 0;
        copySamples(samples, data, m, &lo, &hi, progress);
        if (param.AvalidLimit && param.Max > param.Min) {
            // Too long to scan: the header's extremes give the scale.
            const double l = std::max(param.Min, -32768.0), h = std::min(param.Max, 32767.0);
            if (h > l)
                scaleInSteps(samples, m, l, h, progress);
        } else if (!param.AvalidLimit) {
            scaleInSteps(samples, m, lo, hi, progress);
        }
        // Without usable header extremes a long wave keeps its 16-bit values.
    } else if (type == QLatin1String("csv")) {
        // Every value takes at least one character and a line feed.
        const size_t cap = size_t(std::min<long long>(n, (long long)(length / 2 + 1)));
        double* values = static_cast<double*>(std::malloc(cap * sizeof(double)));
        if (!values) {
            qWarning("malloc error !%s %d", __FILE__, __LINE__);
            return -1;
        }
        // Whole lines at a time, about 1 MiB each, for the progress.
        for (size_t pos = 0; pos < length && m < cap;) {
            size_t end = std::min(length, pos + (size_t(1) << 20));
            if (end < length) {
                const char* nl = static_cast<const char*>(std::memchr(data + end, '\n', length - end));
                end = nl ? size_t(nl - data) + 1 : length;
            }
            m += arbparse::parseCsvValues(data + pos, end - pos, values + m, cap - m);
            pos = end;
            if (progress)
                progress(int(pos * 90 / length));
        }
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
        if (progress)
            progress(100);
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
