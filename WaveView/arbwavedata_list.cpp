// Frequency lists: the list header and values, and the list editor's
// operations on a channel's List / ListLen with the texts the editor shows.
#include "WaveView/arbwavedata.h"
#include <QDebug>
#include <QFileInfo>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include "WaveView/CWaveGreate.h"
#include "param/paramvalue.h"
#include "platform/platformroot.h"
#include "param/sys_param.h"

namespace {

const int kListMax = WAVE_MOD_POINTS; // 2048
const double kListMinHz = 1e-6;
ArbWaveData::ListRangeSource g_listRange = nullptr;
const double kNewPointHz = 1000.0;
// The list values of a file are read from at most this many bytes.
const qint64 kListReadMax = qint64(kListMax) * 4096;

void writeBack()
{
    if (!PlatformRoot::simulated())
        ::sync();
}

} // namespace

QString ArbWaveData::listText(double hz)
{
    QString text;
    int sPos = 0, sLen = 0;
    paramValueToString(hz, UintFre, -6, text, false, 0, sPos, sLen);
    return text;
}

bool ArbWaveData::LoadFreqListHead(QFile& file, FreqListParam& param)
{
    if (!file.isOpen() || !file.seek(0))
        return false;
    const QByteArray head = file.read(2 * qint64(arbparse::kDataLineMax + 1));
    size_t offset = 0;
    long long count = 0;
    switch (arbparse::parseListHead(head.constData(), size_t(head.size()), param, &offset, &count)) {
    case arbparse::ListHeadOk: return file.seek(qint64(offset));
    case arbparse::ListHeadNoHeadLine: qDebug("check freq list head error"); return false;
    case arbparse::ListHeadBadCount: qDebug("check freq list error len:%lld", count); return false;
    }
    return false;
}

void ArbWaveData::SetListRangeSource(ListRangeSource source) { g_listRange = source; }

int ArbWaveData::LoadListData(CH_ID ch, QFile& file)
{
    if (ch < CH1 || ch > CH4)
        return 0;
    SWaveMem* w = CWaveCreate::GetWaveMem(ch);
    w->ListLen = 0;
    double lo = kListMinHz, hi = 0;
    if (g_listRange)
        g_listRange(ch, &lo, &hi);
    const QByteArray text = file.read(kListReadMax);
    double values[kListMax];
    size_t bad = 0;
    const size_t n = arbparse::parseListValues(text.constData(), size_t(text.size()), values, kListMax, &bad);
    if (bad < size_t(text.size()) && n < size_t(kListMax)) {
        const QByteArray line = text.mid(int(bad), int(arbparse::kDataLineMax)).split('\n').value(0);
        qDebug("read error! %s", line.constData());
    }
    double maxv = -1.0;
    for (size_t i = 0; i < n; ++i) {
        double v = values[i];
        if (hi > 0 && v > hi)
            v = hi;
        if (v > maxv)
            maxv = v;
        if (v < kListMinHz)
            v = kListMinHz;
        w->List[i] = v;
    }
    w->ListLen = int(n);
    w->listmaxfre = maxv;
    return int(n);
}

void ArbWaveData::LoadList(CH_ID ch, QList<QVariant>& list)
{
    list.clear();
    if (ch < CH1 || ch > CH4)
        return;
    const SWaveMem* w = CWaveCreate::GetWaveMem(ch);
    for (int i = 0; i < w->ListLen && i < kListMax; ++i)
        list.append(listText(w->List[i]));
}

int ArbWaveData::ChangeList(CH_ID ch, QList<QVariant>& list, int index, double value)
{
    if (ch < CH1 || ch > CH4 || !std::isfinite(value))
        return 0;
    SWaveMem* w = CWaveCreate::GetWaveMem(ch);
    if (index < 0 || index >= w->ListLen)
        return 0;
    if (value < kListMinHz)
        value = kListMinHz;
    w->List[index] = value;
    if (index < list.size())
        list[index] = listText(value);
    return 1;
}

int ArbWaveData::AppendOneList(CH_ID ch, QList<QVariant>& list, int index)
{
    if (ch < CH1 || ch > CH4)
        return 0;
    SWaveMem* w = CWaveCreate::GetWaveMem(ch);
    if (w->ListLen >= kListMax)
        return 0;
    // An index past the end appends.
    if (index < 0)
        index = 0;
    if (index > w->ListLen)
        index = w->ListLen;
    std::memmove(&w->List[index + 1], &w->List[index], size_t(w->ListLen - index) * sizeof(double));
    w->List[index] = kNewPointHz;
    ++w->ListLen;
    list.insert(qMin(index, list.size()), listText(kNewPointHz));
    return 1;
}

int ArbWaveData::DeleteOneList(CH_ID ch, QList<QVariant>& list, int index)
{
    if (ch < CH1 || ch > CH4)
        return 0;
    SWaveMem* w = CWaveCreate::GetWaveMem(ch);
    if (w->ListLen <= 0 || index < 0 || index >= w->ListLen)
        return 0;
    if (index < list.size())
        list.removeAt(index);
    std::memmove(&w->List[index], &w->List[index + 1], size_t(w->ListLen - index - 1) * sizeof(double));
    --w->ListLen;
    return 1;
}

int ArbWaveData::ExchangeOneList(CH_ID ch, QList<QVariant>& list, int i, int j)
{
    if (ch < CH1 || ch > CH4)
        return 1;
    SWaveMem* w = CWaveCreate::GetWaveMem(ch);
    if (i >= 0 && j >= 0 && i < w->ListLen && j < w->ListLen) {
        std::swap(w->List[i], w->List[j]);
        if (i < list.size() && j < list.size())
            list.swapItemsAt(i, j);
    }
    return 1;
}

int ArbWaveData::SaveList(CH_ID ch, QString path)
{
    if (ch < CH1 || ch > CH4)
        return 0;
    const SWaveMem* w = CWaveCreate::GetWaveMem(ch);
    if (w->ListLen < 1)
        return 0;
    QByteArray out;
    out.reserve(32 + w->ListLen * 24);
    out += "[HEAD]:44\r\n";
    out += "[FREQ-POINTS]:" + QByteArray::number(w->ListLen) + "\r\n";
    char line[64];
    for (int i = 0; i < w->ListLen && i < kListMax; ++i) {
        const int k = std::snprintf(line, sizeof line, "%lf\r\n", w->List[i]);
        out.append(line, k < int(sizeof line) ? k : int(sizeof line) - 1);
    }
    QFile f(PlatformRoot::path(path));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 0;
    const bool ok = f.write(out) == out.size() && f.flush();
    ::fsync(f.handle());
    f.close();
    writeBack();
    return ok ? 1 : 0;
}

bool ArbWaveData::createCsvListFile(QString path)
{
    const QString host = PlatformRoot::path(path);
    if (QFileInfo::exists(host))
        return false;
    QFile f(host);
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        qDebug("open file :%s false", qPrintable(path));
        return false;
    }
    const QByteArray text = "[HEAD]:44\r\n[FREQ-POINTS]:1\r\n1.000000\r\n";
    const bool ok = f.write(text) == text.size();
    f.close();
    writeBack();
    return ok;
}
