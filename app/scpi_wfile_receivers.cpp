#include "app/scpi_wfile_receivers.h"
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include "communication/SCPI/commands/scpi_sync.h"
#include "communication/SCPI/scpi.h"
#include "communication/SCPI/scpi_interface.h"
#include "communication/SCPI/scpi_wfile.h"
#include "communication/scpi_msg_adpt.h"
#include "communication/SCPI/scpi_error.h"
#include "WaveView/arbwavedata.h"
#include "app/channalmodel.h"
#include "app/channel.h"
#include "app/ornav72.h"
#include "param/sys_param.h"
#include "param/systype.h"
#include "platform/logging.h"

namespace {

// The received bytes lent to the controller's thread for the load. The
// worker's message holds them while it waits for the load; only when it
// stops waiting first (a timeout) does it leave a copy behind, so the
// normal path copies nothing. Guarded by lock.
struct LentBytes {
    std::mutex lock;
    const char* data = nullptr; // the worker's message, while lent
    size_t length = 0;
    QByteArray own; // the copy left behind by a worker that stopped waiting
    bool lent = true;
    bool loaded = false; // the load has run
    QString previous;    // the path the record named before the load (set by the load)
};

void refreshFileEntry(Ornav72* ctrl, CH_ID ch, int index)
{
    if (Channel* c = ctrl->channelAt(ch))
        if (channelModel* m = c->entry(index))
            m->disUpdate();
}

void reportSaveError(ArbWaveData::SaveResult why)
{
    qCCritical(lcScpi, "save file error!");
    // Received, but no wave or list file: the user learns it here. A
    // storage that took no copy is a save error; the old file stays.
    SCPI_ErrorPush(&scpi_context,
                   why == ArbWaveData::SaveFailed ? SCPI_ERROR_FILE_SAVE : SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
}

// The record and the channel's tables belong to the controller's thread: the
// path is stored and the wave loaded there, in this order. The file stays
// where the record names it, so the channel plays the same wave after a
// power cycle. `previous` receives the path the record named before.
std::shared_ptr<LentBytes> loadOnControllerAsync(Ornav72* ctrl, CH_ID ch, int mode, const QString& path,
                                                 const char* data, size_t length)
{
    const bool list = mode == WF_LIST;
    const bool base = mode == WF_BaseArb;
    auto lent = std::make_shared<LentBytes>();
    lent->data = data;
    lent->length = list ? 0 : length;
    QPointer<Ornav72> guard(ctrl);
    QMetaObject::invokeMethod(
        ctrl,
        [guard, ch, list, base, path, lent]() {
            std::lock_guard<std::mutex> held(lent->lock);
            lent->loaded = true;
            if (!guard)
                return;
            const CH_DATA& d = sys_param::ch(ch);
            const char* old = list ? d.ListFileDir : (base ? d.ArbFileDir : d.ModArbFileDir);
            lent->previous = QString::fromLocal8Bit(old, int(strnlen(old, 128)));
            const QByteArray bytes = lent->lent ? QByteArray::fromRawData(lent->data, int(lent->length)) : lent->own;
            const QByteArray p = path.toLocal8Bit();
            if (list) {
                guard->chUpdateListMem(ch, path, true, false);
                sys_param::SetChListFileDir(ch, p.constData(), p.size());
                refreshFileEntry(guard, ch, PARAM_INDEX_MODLISTFILE);
            } else {
                if (base)
                    sys_param::SetChArbFileDir(ch, p.constData(), p.size());
                else
                    sys_param::SetChModArbFileDir(ch, p.constData(), p.size());
                refreshFileEntry(guard, ch, base ? PARAM_INDEX_ARBFILE : PARAM_INDEX_MODARBFILE);
                guard->chLoadArbBytes(ch, path, bytes, base, true);
            }
        },
        Qt::QueuedConnection);
    return lent;
}

// Waits for a load (a query that follows sees the wave loaded and the
// channel applied) and takes the bytes back: a load still waiting to run
// gets a copy of its own.
void finishLoad(Ornav72* ctrl, const std::shared_ptr<LentBytes>& lent)
{
    SCPI_WaitApplied(ctrl, 30000);
    std::lock_guard<std::mutex> held(lent->lock);
    if (!lent->loaded) {
        lent->own = QByteArray(lent->data, int(lent->length));
        lent->lent = false;
    }
    lent->data = nullptr;
}

void loadOnController(Ornav72* ctrl, CH_ID ch, int mode, const QString& path, const char* data, size_t length)
{
    finishLoad(ctrl, loadOnControllerAsync(ctrl, CH_ID(ch), mode, path, data, length));
}

// Puts back the file the record named before the load whose file could not
// be stored: the record names it again and the channel plays it (an empty
// or missing one gives the default wave, as at start-up).
void restoreOnController(Ornav72* ctrl, CH_ID ch, int mode, const std::shared_ptr<LentBytes>& load)
{
    const bool base = mode == WF_BaseArb;
    QPointer<Ornav72> guard(ctrl);
    QMetaObject::invokeMethod(
        ctrl,
        [guard, ch, base, load]() {
            if (!guard)
                return;
            // Read here: a load that ran late (after a timed-out wait) ran
            // before this, on the same thread.
            QString previous;
            {
                std::lock_guard<std::mutex> held(load->lock);
                previous = load->previous;
            }
            const QByteArray p = previous.toLocal8Bit();
            if (base)
                sys_param::SetChArbFileDir(ch, p.constData(), p.size());
            else
                sys_param::SetChModArbFileDir(ch, p.constData(), p.size());
            refreshFileEntry(guard, ch, base ? PARAM_INDEX_ARBFILE : PARAM_INDEX_MODARBFILE);
            guard->chUpdateArbMem(ch, previous, base, true, false);
        },
        Qt::QueuedConnection);
    SCPI_WaitApplied(ctrl, 30000);
}

} // namespace

bool scpi_receive_wave_file(QObject* controller, int mode, int channel, const char* name, const char* data,
                            size_t length)
{
    const bool list = mode == WF_LIST;
    const bool base = mode == WF_BaseArb;
    if (!list && !base && mode != WF_ModArb)
        return false;
    const QString type = list ? QStringLiteral("List") : (base ? QStringLiteral("Base") : QStringLiteral("Mod"));
    const QString fileName = QString::fromLocal8Bit(name ? name : "");
    // The name comes from the remote user: it names a file directly in the
    // internal storage or nothing is written at all.
    if (channel < 0 || channel > 3 || !ArbWaveData::ValidRemoteName(fileName, type)) {
        qCCritical(lcScpi, "refused file name \"%s\" for CH%d", name ? name : "", channel + 1);
        SCPI_ErrorPush(&scpi_context, SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return false;
    }
    // Checked on the bytes held before anything else: a file that is no
    // wave or list is neither stored nor loaded.
    ArbWaveData::SaveResult why = ArbWaveData::CheckReceived(channel, fileName, type, data, length);
    Ornav72* ctrl = qobject_cast<Ornav72*>(controller);
    // A list is loaded from its file, so it is stored first; so is anything
    // while no controller runs.
    if (why != ArbWaveData::SaveOk || list || !ctrl) {
        const QString saved = why == ArbWaveData::SaveOk
            ? ArbWaveData::SaveDataToFile(channel, fileName, type, data, length, &why)
            : QString();
        if (saved.isEmpty()) {
            reportSaveError(why);
            return false;
        }
        if (ctrl)
            loadOnController(ctrl, CH_ID(channel), mode, saved, nullptr, 0);
        return true;
    }
    // A wave is loaded from the bytes held while this thread writes them to
    // the storage: the load (parse, scale, wave memory, apply) and the write
    // (with its wait for the medium) overlap. The reply still waits for
    // both, so once it is sent the wave plays and its file is on the medium.
    const QString path = ArbWaveData::ReceivedPath(channel, type, fileName);
    auto load = loadOnControllerAsync(ctrl, CH_ID(channel), mode, path, data, length);
    const QString saved = ArbWaveData::SaveDataToFile(channel, fileName, type, data, length, &why);
    finishLoad(ctrl, load);
    if (saved.isEmpty()) {
        // The storage took no copy: the channel goes back to the wave (and
        // the record to the file) it had, so that what plays is what a
        // restart plays; the user learns of the failed save.
        reportSaveError(why);
        restoreOnController(ctrl, CH_ID(channel), mode, load);
        return false;
    }
    return true;
}

static void receiveWaveFile(const char* data, long length)
{
    scpi_receive_wave_file(scpi_context.parent, wfile_flag, wfile_channel, wfile_name, data,
                           length > 0 ? size_t(length) : 0);
}

void scpi_install_wave_receivers()
{
    scpi_msg_set_data_receiver(WF_BaseArb, receiveWaveFile);
    scpi_msg_set_data_receiver(WF_ModArb, receiveWaveFile);
    scpi_msg_set_data_receiver(WF_LIST, receiveWaveFile);
}
