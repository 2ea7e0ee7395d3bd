// Loading arbitrary-wave and frequency-list files into a channel, and the
// translated library folders the file browser shows.
#include <QDebug>
#include <QElapsedTimer>
#include <algorithm>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdlib>
#include "hardware/CSetParam.h"
#include "WaveView/CWaveGreate.h"
#include "WaveView/arbwavedata.h"
#include "app/boardfiles.h"
#include "app/channalmodel.h"
#include "app/channel.h"
#include "app/arbfiles.h"
#include "app/ornav72.h"
#include "platform/platformroot.h"
#include "app/signal/csignal.h"
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_interface.h"
#include "communication/SCPI/sys_error.h"
#include "param/sys_param.h"

namespace {

// Waves of more points than this (and lists of more bytes) show the
// loading window while they load.
const int kBigLoad = 0x100000;

QString stripUrl(QString path)
{
    if (path.startsWith(QLatin1String("file://")))
        path = path.mid(7);
    return path;
}

void storePath(CH_ID ch, bool base, const QString& path)
{
    const QByteArray p = path.toLocal8Bit();
    if (base)
        sys_param::SetChArbFileDir(ch, p.constData(), p.size());
    else
        sys_param::SetChModArbFileDir(ch, p.constData(), p.size());
}

} // namespace

// The loading message and its progress bar. A load of more points than
// kBigLoad shows the message at once; any other shows it when it is still
// running after kShowAfterMs, so that only loads a user waits for flash it.
class LoadProgress {
public:
    LoadProgress(Ornav72* ctrl, bool big) : ctrl_(ctrl)
    {
        timer_.start();
        if (big)
            show();
    }
    ~LoadProgress()
    {
        if (!shown_)
            return;
        // 100 takes the bar down with the message.
        ctrl_->ui().updateProcessBar(100);
        ctrl_->SetInfoWindowState(QStringLiteral("closed"), Uidata::ASK_NONE);
    }
    // Per cent of the whole load.
    void report(int percent)
    {
        if (!shown_ && timer_.elapsed() >= kShowAfterMs)
            show();
        percent = std::max(0, std::min(99, percent));
        if (shown_ && percent != last_) {
            last_ = percent;
            ctrl_->ui().updateProcessBar(percent);
        }
    }
    // A part of the load that covers [from, to] of the whole.
    ArbWaveData::Progress part(int from, int to)
    {
        return [this, from, to](int p) { report(from + p * (to - from) / 100); };
    }

private:
    static const qint64 kShowAfterMs = 300;
    void show()
    {
        shown_ = true;
        ctrl_->SetInfoWindowState(QStringLiteral("fileloadding"), Uidata::ASK_FILELOADING);
        ctrl_->ui().updateProcessBar(0);
        last_ = 0;
    }
    Ornav72* ctrl_;
    QElapsedTimer timer_;
    bool shown_ = false;
    int last_ = -1;
};

void ArbFiles::reportMissingFile(const QString& path)
{
    qDebug() << "file no exist:" << path;
    // The library's own wave is part of the installation, not a user's
    // file: a board without it has nothing a user could act on.
    if (path == QLatin1String(ArbWaveData::kDefaultArb))
        return;
    Sys_Error(SCPI_ERROR_FILE_NAME_NOT_FOUND);
    char tip[96];
    SCPI_FormatErrorTip(tip, sizeof tip, SCPI_ERROR_FILE_NAME_NOT_FOUND);
    const QString text = QString::fromUtf8(tip) + QLatin1Char(' ') + QFileInfo(path).fileName() + QLatin1Char(' ');
    if (o.mainObject)
        emit o.TipsMessage(MESSAGE_TYPE_ERROR, ERROR_SCPI, false, text, true);
    else
        pendingFileTips << text;
}

void ArbFiles::chUpdateArbMem(int chIndex, QString arbfile, bool base, bool exe, bool tempfile)
{
    if (chIndex < CH1 || chIndex > CH4)
        return;
    const CH_ID ch = CH_ID(chIndex);
    QString path = stripUrl(arbfile);
    if (path.isEmpty() || !QFileInfo(PlatformRoot::path(path)).isFile()) {
        if (!path.isEmpty())
            reportMissingFile(path);
        path = QString::fromLatin1(ArbWaveData::kDefaultArb);
        storePath(ch, base, path);
        tempfile = false;
    }
    QFile file(PlatformRoot::path(path));
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning() << "open arb file false:" << path;
        return;
    }
    // Mapped, not read: the loader takes the samples straight from the page cache.
    const qint64 size = file.size();
    uchar* mapped = size > 0 ? file.map(0, size) : nullptr;
    QByteArray copy;
    if (!mapped)
        copy = file.readAll();
    const char* data = mapped ? reinterpret_cast<const char*>(mapped) : copy.constData();
    const size_t length = mapped ? size_t(size) : size_t(copy.size());
    loadArbInto(ch, path, data, length, base, exe);
    if (mapped)
        file.unmap(mapped);
    file.close();
    if (tempfile)
        QFile::remove(PlatformRoot::path(path));
}

void ArbFiles::chLoadArbBytes(int chIndex, QString path, QByteArray bytes, bool base, bool exe)
{
    if (chIndex < CH1 || chIndex > CH4)
        return;
    loadArbInto(CH_ID(chIndex), path, bytes.constData(), size_t(bytes.size()), base, exe);
}

bool ArbFiles::loadArbInto(CH_ID ch, const QString& path, const char* data, size_t length, bool base, bool exe)
{
    ArbParam head;
    size_t offset = 0;
    if (!ArbWaveData::ParseArbHead(data, length, head, &offset)) {
        qWarning() << "error arb file head" << path;
        emit o.TipsMessage(MESSAGE_TYPE_TIPS, TIPS_FILE_FORMAT_ERROR, false, QString(), true);
        return false;
    }
    SWaveMem* w = CWaveCreate::GetWaveMem(ch);
    const QString suffix = QFileInfo(path).suffix();
    int rc;
    {
        LoadProgress progress(&o, head.TotalPointNum > kBigLoad);
        if (base) {
            // CH1 and CH2 play a wave sample by sample from their deep
            // memory: half the progress is the parse, half the stream.
            const bool deep = ch == CH1 || ch == CH2;
            short* full = nullptr;
            rc = ArbWaveData::LoadArbBytes(data + offset, length - offset, suffix, &full, w->Arb, nullptr, head,
                                           progress.part(0, deep ? 50 : 100));
            if (rc == 0 && full) {
                w->ArbLen = head.TotalPointNum;
                if (deep)
                    CSetParam::SetDeepWaveData(ch, full, w->ArbLen, progress.part(50, 100));
                w->BaseWaveChanged = true;
            }
            std::free(full);
        } else {
            rc = ArbWaveData::LoadArbBytes(data + offset, length - offset, suffix, nullptr, nullptr, w->MArb, head,
                                           progress.part(0, 100));
            // The modulating wave's length is its own: the carrier's ArbLen
            // sets the sample-played repetition rate and must not change.
            if (rc == 0)
                w->MArbLen = head.TotalPointNum;
        }
    }
    if (rc != 0) {
        emit o.TipsMessage(MESSAGE_TYPE_TIPS, TIPS_FILE_FORMAT_ERROR, false, QString(), true);
        return false;
    }
    Channel* c = o.channelAt(ch);
    if (!c)
        return true;
    if (channelModel* m = c->entry(base ? PARAM_INDEX_ARBFILE : PARAM_INDEX_MODARBFILE))
        m->disUpdate();
    if (c->currentSignal) {
        c->currentSignal->drawWave(true);
        c->currentSignal->updatePse();
    }
    if (exe)
        o.chParamChanged(ch);
    return true;
}

void ArbFiles::chUpdateListMem(int chIndex, QString file, bool exe, bool tempfile)
{
    if (chIndex < CH1 || chIndex > CH4)
        return;
    const CH_ID ch = CH_ID(chIndex);
    const QString path = stripUrl(file);
    if (path.isEmpty() || !QFileInfo(PlatformRoot::path(path)).isFile()) {
        if (!path.isEmpty())
            reportMissingFile(path);
        sys_param::SetChListFileDir(ch, "", 0);
        return;
    }
    QFile f(PlatformRoot::path(path));
    if (!f.open(QIODevice::ReadOnly)) {
        qWarning() << "open list file false:" << path;
        return;
    }
    const bool big = f.size() > kBigLoad;
    if (big)
        o.SetInfoWindowState(QStringLiteral("fileloadding"), Uidata::ASK_FILELOADING);
    FreqListParam head;
    const bool ok = ArbWaveData::LoadFreqListHead(f, head) && ArbWaveData::LoadListData(ch, f) > 0;
    f.close();
    if (big)
        o.SetInfoWindowState(QStringLiteral("closed"), Uidata::ASK_NONE);
    if (tempfile)
        QFile::remove(PlatformRoot::path(path));
    if (!ok)
        emit o.TipsMessage(MESSAGE_TYPE_TIPS, TIPS_FILE_FORMAT_ERROR, false, QString(), true);
    Channel* c = o.channelAt(ch);
    if (!c)
        return;
    if (channelModel* m = c->entry(PARAM_INDEX_MODLISTFILE))
        m->disUpdate();
    c->SyncFreq(false);
    if (c->currentSignal) {
        c->currentSignal->drawWave(true);
        c->currentSignal->updatePse();
    }
    if (exe)
        o.chParamChanged(ch);
}

void ArbFiles::SetArbDir(const QVariantList& list)
{
    // The file browser shows the library folders under their translated
    // names: links in "/media/ram" (a RAM folder) to the library folders.
    const QString ram = PlatformRoot::path(QStringLiteral("/media/ram"));
    if (!boardfiles::clearFolder(ram))
        qWarning() << "cannot empty" << ram;
    QDir().mkpath(ram);
    const QString lib = PlatformRoot::path(QLatin1String(ArbWaveData::kLibraryDir));
    const QFileInfoList folders = QDir(lib).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QVariant& v : list) {
        const QVariantList pair = v.toList();
        if (pair.size() < 2)
            continue;
        const QString name = pair.at(0).toString();
        const QString shown = pair.at(1).toString();
        if (!boardfiles::plainName(shown))
            continue;
        for (const QFileInfo& d : folders) {
            if (d.fileName() != name)
                continue;
            if (!QFile::link(d.absoluteFilePath(), ram + QLatin1Char('/') + shown))
                qWarning() << "link failed:" << shown;
        }
    }
}

QStringList ArbFiles::takePendingTips()
{
    QStringList tips;
    tips.swap(pendingFileTips);
    return tips;
}
