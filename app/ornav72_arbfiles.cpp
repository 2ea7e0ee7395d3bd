// Loading arbitrary-wave and frequency-list files into a channel, and the
// translated library folders the file browser shows.
#include <QDebug>
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
#include "app/ornav72.h"
#include "platform/platformroot.h"
#include "app/signal/csignal.h"
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

void Ornav72::chUpdateArbMem(int chIndex, QString arbfile, bool base, bool exe, bool tempfile)
{
    if (chIndex < CH1 || chIndex > CH4)
        return;
    const CH_ID ch = CH_ID(chIndex);
    QString path = stripUrl(arbfile);
    if (path.isEmpty() || !QFileInfo(PlatformRoot::path(path)).isFile()) {
        qDebug() << "file no exist:" << path;
        path = QString::fromLatin1(ArbWaveData::kDefaultArb);
        storePath(ch, base, path);
        tempfile = false;
    }
    QFile file(PlatformRoot::path(path));
    if (!file.open(QIODevice::ReadOnly)) {
        qWarning() << "open arb file false:" << path;
        return;
    }
    ArbParam head;
    if (!ArbWaveData::LoadArbHead(file, head)) {
        qWarning() << "error arb file head" << path;
        emit TipsMessage(MESSAGE_TYPE_TIPS, TIPS_FILE_FORMAT_ERROR, false, QString(), true);
        file.close();
        if (tempfile)
            QFile::remove(PlatformRoot::path(path));
        return;
    }
    const bool big = head.TotalPointNum > kBigLoad;
    if (big)
        SetInfoWindowState(QStringLiteral("fileloadding"), Uidata::ASK_FILELOADING);
    SWaveMem* w = CWaveCreate::GetWaveMem(ch);
    const QString suffix = QFileInfo(path).suffix();
    int rc;
    if (base) {
        short* full = nullptr;
        rc = ArbWaveData::LoadArbData(file, suffix, &full, w->Arb, nullptr, head);
        if (rc == 0 && full) {
            w->ArbLen = head.TotalPointNum;
            // CH1 and CH2 play a wave sample by sample from their deep memory.
            if (ch == CH1 || ch == CH2)
                CSetParam::SetBaseWaveData(ch, full, w->ArbLen, true);
            w->BaseWaveChanged = true;
        }
        std::free(full);
    } else {
        rc = ArbWaveData::LoadArbData(file, suffix, nullptr, nullptr, w->MArb, head);
        // The modulating wave's length is its own: the carrier's ArbLen
        // sets the sample-played repetition rate and must not change.
        if (rc == 0)
            w->MArbLen = head.TotalPointNum;
    }
    file.close();
    if (big)
        SetInfoWindowState(QStringLiteral("closed"), Uidata::ASK_NONE);
    if (tempfile)
        QFile::remove(PlatformRoot::path(path));
    if (rc != 0) {
        emit TipsMessage(MESSAGE_TYPE_TIPS, TIPS_FILE_FORMAT_ERROR, false, QString(), true);
        return;
    }
    Channel* c = channel[ch];
    if (!c)
        return;
    if (channelModel* m = c->entry(base ? PARAM_INDEX_ARBFILE : PARAM_INDEX_MODARBFILE))
        m->disUpdate();
    if (c->currentSignal) {
        c->currentSignal->drawWave(true);
        c->currentSignal->updatePse();
    }
    if (exe)
        chParamChanged(ch);
}

void Ornav72::chUpdateListMem(int chIndex, QString file, bool exe, bool tempfile)
{
    if (chIndex < CH1 || chIndex > CH4)
        return;
    const CH_ID ch = CH_ID(chIndex);
    const QString path = stripUrl(file);
    if (path.isEmpty() || !QFileInfo(PlatformRoot::path(path)).isFile()) {
        if (!path.isEmpty())
            qDebug() << "list file no exist:" << path;
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
        SetInfoWindowState(QStringLiteral("fileloadding"), Uidata::ASK_FILELOADING);
    FreqListParam head;
    const bool ok = ArbWaveData::LoadFreqListHead(f, head) && ArbWaveData::LoadListData(ch, f) > 0;
    f.close();
    if (big)
        SetInfoWindowState(QStringLiteral("closed"), Uidata::ASK_NONE);
    if (tempfile)
        QFile::remove(PlatformRoot::path(path));
    if (!ok)
        emit TipsMessage(MESSAGE_TYPE_TIPS, TIPS_FILE_FORMAT_ERROR, false, QString(), true);
    Channel* c = channel[ch];
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
        chParamChanged(ch);
}

void Ornav72::SetArbDir(QVariantList list)
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
