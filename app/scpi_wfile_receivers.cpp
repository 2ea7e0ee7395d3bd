#include "app/scpi_wfile_receivers.h"
#include <QMetaObject>
#include <QPointer>
#include <QString>
#include <cstdio>
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
};

void refreshFileEntry(Ornav72* ctrl, CH_ID ch, int index)
{
    if (Channel* c = ctrl->channelAt(ch))
        if (channelModel* m = c->entry(index))
            m->disUpdate();
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
    ArbWaveData::SaveResult why = ArbWaveData::SaveOk;
    const QString saved = ArbWaveData::SaveDataToFile(channel, fileName, type, data, length, &why);
    if (saved.isEmpty()) {
        qCCritical(lcScpi, "save file error!");
        // Received, but no wave or list file: the user learns it here. A
        // storage that took no copy is a save error; the old file stays.
        SCPI_ErrorPush(&scpi_context,
                       why == ArbWaveData::SaveFailed ? SCPI_ERROR_FILE_SAVE : SCPI_ERROR_ILLEGAL_PARAMETER_VALUE);
        return false;
    }
    Ornav72* ctrl = qobject_cast<Ornav72*>(controller);
    if (!ctrl)
        return true;
    // The record and the channel's tables belong to the controller's thread:
    // the path is stored and the wave loaded there, in this order. The file
    // stays where the record names it, so the channel plays the same wave
    // after a power cycle; the wave itself is loaded from the bytes held,
    // not read back.
    const CH_ID ch = CH_ID(channel);
    auto lent = std::make_shared<LentBytes>();
    lent->data = data;
    lent->length = list ? 0 : length;
    QPointer<Ornav72> guard(ctrl);
    QMetaObject::invokeMethod(
        ctrl,
        [guard, ch, list, base, saved, lent]() {
            std::lock_guard<std::mutex> held(lent->lock);
            lent->loaded = true;
            if (!guard)
                return;
            const QByteArray bytes = lent->lent ? QByteArray::fromRawData(lent->data, int(lent->length)) : lent->own;
            const QByteArray p = saved.toLocal8Bit();
            if (list) {
                guard->chUpdateListMem(ch, saved, true, false);
                sys_param::SetChListFileDir(ch, p.constData(), p.size());
                refreshFileEntry(guard, ch, PARAM_INDEX_MODLISTFILE);
            } else {
                if (base)
                    sys_param::SetChArbFileDir(ch, p.constData(), p.size());
                else
                    sys_param::SetChModArbFileDir(ch, p.constData(), p.size());
                refreshFileEntry(guard, ch, base ? PARAM_INDEX_ARBFILE : PARAM_INDEX_MODARBFILE);
                guard->chLoadArbBytes(ch, saved, bytes, base, true);
            }
        },
        Qt::QueuedConnection);
    // A query that follows sees the wave loaded and the channel applied.
    SCPI_WaitApplied(ctrl, 30000);
    std::lock_guard<std::mutex> held(lent->lock);
    if (!lent->loaded) {
        lent->own = QByteArray(lent->data, int(lent->length));
        lent->lent = false;
    }
    lent->data = nullptr;
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
