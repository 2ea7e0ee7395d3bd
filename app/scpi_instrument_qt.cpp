// The program's side of the command handlers: requests become queued signals
// of the controller, queries read the copy of the record the controller
// publishes, direct actions call the hardware layer.
#include "app/scpi_instrument_qt.h"
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPointer>
#include <QThread>
#include <cstring>
#include <mutex>
#include "hardware/CSetParam.h"
#include "communication/SCPI/scpi_types.h"
#include "app/channalmodel.h"
#include "app/ornav72.h"
#include "platform/handoff.h"
#include "platform/platformroot.h"
#include "communication/remote_road.h"
#include "param/sys_param.h"
#include "param/sysparm.h"

namespace {

// The copy of the record the SCPI side reads. The live record belongs to the
// controller's thread, which writes it without a lock (remote requests, keys,
// screens, timers, a reload of the whole record at "*RST"). The controller
// copies it here whenever a remote point is checked applied (a command that
// waited reads what it set) and whenever its thread goes idle (a change made
// from the front panel shows in the next query). Never destroyed: the
// interpreter's thread may still read it at the very end.
struct PublishedRecord {
    std::mutex lock;
    // All guarded by lock.
    HardWareInfo record;
    bool outputOn[4] = {};
    bool counterOn = false;
    bool digitalOn = false;
};
PublishedRecord& published()
{
    static PublishedRecord* p = new PublishedRecord;
    return *p;
}

// On the record's owner thread (the controller's, or the constructing one
// before it starts).
void publishRecord()
{
    PublishedRecord& p = published();
    std::lock_guard<std::mutex> l(p.lock);
    std::memcpy(&p.record, &sys_param::HWinfo, sizeof p.record);
    std::memcpy(p.outputOn, sys_param::OnOff, sizeof p.outputOn);
    p.counterOn = sys_param::CounterOnOff;
    p.digitalOn = sys_param::digitalSW;
}

bool findIn(const QString& dir, const QString& name, QString* found, int depth)
{
    if (depth > 32)
        return false;
    const QFileInfoList entries =
        QDir(dir).entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Unsorted);
    for (const QFileInfo& e : entries) {
        if (e.isDir() && !e.isSymLink()) {
            if (findIn(e.filePath(), name, found, depth + 1))
                return true;
        } else if (e.fileName() == name) {
            *found = e.filePath();
            return true;
        }
    }
    return false;
}

class ProgramInstrument : public ScpiInstrument {
public:
    explicit ProgramInstrument(scpi_t* context) : m_context(context) {}

    const HardWareInfo& record() override
    {
        if (ownerThread())
            return sys_param::HWinfo;
        // One copy per reading thread: a handler may hold a reference while
        // another thread's query takes its own copy.
        thread_local HardWareInfo copy;
        readPublished(&copy);
        return copy;
    }
    void recordImage(HardWareInfo* out) override
    {
        if (ownerThread())
            std::memcpy(out, &sys_param::HWinfo, sizeof *out);
        else
            readPublished(out);
        // Stamped as a stored copy is, so that it passes the checks of a load.
        std::memset(out->product, 0, sizeof out->product);
        std::memset(out->buildtime, 0, sizeof out->buildtime);
        std::strncpy(out->product, SysParm::kProduct, sizeof out->product - 1);
        std::strncpy(out->buildtime, SysParm::buildTime(), sizeof out->buildtime - 1);
        out->CRC16 = SysParm::crc_16(reinterpret_cast<const unsigned char*>(out) + 4, unsigned(sizeof *out - 4));
    }
    void setValue(int target, int paramIndex, double value) override
    {
        if (Ornav72* c = ctrl()) {
            emit c->setValueCmd(target, paramIndex, value);
            RemoteRoad::noteRequest();
        }
    }
    void setUnits(int target, int paramIndex, int unit) override
    {
        if (Ornav72* c = ctrl()) {
            emit c->setUnitsCmd(target, paramIndex, unit);
            RemoteRoad::noteRequest();
        }
    }
    void setModeIndex(int ch, int mode, int index) override
    {
        if (Ornav72* c = ctrl()) {
            emit c->setModeIndexCmd(ch, mode, index);
            RemoteRoad::noteRequest();
        }
    }
    void baseWaveSelected(int ch, int wave, int where) override
    {
        if (Ornav72* c = ctrl()) {
            emit c->chBaseWaveSelectedCmd(ch, wave, where);
            RemoteRoad::noteRequest();
        }
    }
    void modeSelected(int ch, int mode) override
    {
        if (Ornav72* c = ctrl()) {
            emit c->chModSelectedCmd(ch, mode);
            RemoteRoad::noteRequest();
        }
    }
    void loadRecord(const char* data, int length) override
    {
        if (Ornav72* c = ctrl())
            emit c->loadSysParamRemote(length > 0 ? QByteArray(data, length) : QByteArray());
    }
    void arbFile(int ch, const std::string& path, bool base, bool exe, bool tempFile) override
    {
        if (Ornav72* c = ctrl()) {
            emit c->chArbCmd(ch, QString::fromStdString(path), base, exe, tempFile);
            RemoteRoad::noteRequest();
        }
    }
    bool waitApplied(bool, int timeoutMs) override
    {
        // The road counts every follow-up, the round trip of a choice
        // through the channel page included.
        return !ctrl() || RemoteRoad::settle(timeoutMs);
    }
    bool outputOn(int ch) override
    {
        if (ch < 0 || ch >= 4)
            return false;
        if (ownerThread())
            return sys_param::OnOff[ch];
        return readSwitch([ch](const PublishedRecord& p) { return p.outputOn[ch]; });
    }
    bool counterOn() override
    {
        return ownerThread() ? sys_param::CounterOnOff
                             : readSwitch([](const PublishedRecord& p) { return p.counterOn; });
    }
    bool digitalOn() override
    {
        return ownerThread() ? sys_param::digitalSW : readSwitch([](const PublishedRecord& p) { return p.digitalOn; });
    }
    bool modelMasked(int list, int paramIndex) override
    {
        Ornav72* c = ctrl();
        if (!c)
            return false;
        channelModel* m = nullptr;
        handoffSend(&m);
        QMetaObject::invokeMethod(
            c,
            [&]() {
                handoffTake(&m);
                m = c->GetChModelFormIndex(CH_ID(list), paramIndex);
                handoffSend(&m);
            },
            c->thread() == QThread::currentThread() ? Qt::DirectConnection : Qt::BlockingQueuedConnection);
        handoffTake(&m);
        return !m || m->rmask();
    }
    int language() override { return int(sys_param::GetLanguage(CH_SYS)); }
    std::string serial() override { return Ornav72::GetSN(); }
    void setSerial(const char* text, unsigned length) override
    {
        if (Ornav72* c = ctrl())
            c->SetSN(text, length);
    }
    std::string displayName() override { return sys_param::DisplayName.toStdString(); }
    std::string hardwareVersion() override { return sys_param::HardWareVersion.toStdString(); }
    double sineBandwidth(int ch) override { return CSetParam::state.pCharacter[ch].Bandwidth.freqSine; }
    void storeArbPath(int ch, bool base, const std::string& path) override
    {
        auto store = [ch, base, path]() {
            if (base)
                sys_param::SetChArbFileDir(CH_ID(ch), path.c_str(), int(path.size()));
            else
                sys_param::SetChModArbFileDir(CH_ID(ch), path.c_str(), int(path.size()));
        };
        Ornav72* c = ctrl();
        if (!c) {
            store();
            return;
        }
        // The record is written on its owner's thread, ahead of the file
        // load the caller requests next (same queue, same order).
        const int index = base ? PARAM_INDEX_ARBFILE : PARAM_INDEX_MODARBFILE;
        QMetaObject::invokeMethod(
            c,
            [c, ch, index, store]() {
                store();
                if (channelModel* m = c->GetChModelFormIndex(CH_ID(ch), index))
                    m->disUpdate();
            },
            c->thread() == QThread::currentThread() ? Qt::DirectConnection : Qt::QueuedConnection);
        if (c->thread() != QThread::currentThread())
            RemoteRoad::noteRequest();
    }
    bool findFile(const char* boardFolder, const std::string& name, std::string* path) override
    {
        const QString top = boardPath(QString::fromLatin1(boardFolder));
        QString found;
        if (!findIn(top, QString::fromStdString(name), &found, 0))
            return false;
        // The record keeps the board's path, not the simulated root's.
        *path = std::string(boardFolder) + found.mid(top.size()).toStdString();
        return true;
    }
    void manualTrigger(int ch) override { CSetParam::SetManualTrig(CH_ID(ch)); }
    bool savePreset(int n) override
    {
        Ornav72* c = ctrl();
        if (!c || !c->sysParm())
            return false;
        // The live record belongs to the controller's thread: the copy is
        // written there, as the preset page does.
        bool saved = false;
        handoffSend(&saved);
        QMetaObject::invokeMethod(
            c,
            [c, n, &saved]() {
                handoffTake(&saved);
                saved = c->sysParm()->SaveSysParam(presetFile(n), true);
                handoffSend(&saved);
            },
            c->thread() == QThread::currentThread() ? Qt::DirectConnection : Qt::BlockingQueuedConnection);
        handoffTake(&saved);
        return saved;
    }
    bool recallPreset(int n) override
    {
        QFile f(boardPath(presetFile(n)));
        if (!f.open(QIODevice::ReadOnly))
            return false;
        const QByteArray data = f.read(qint64(sizeof(HardWareInfo)) + 1);
        if (data.size() != int(sizeof(HardWareInfo)) || !ctrl())
            return false;
        loadRecord(data.constData(), data.size());
        return true;
    }
    static QString presetFile(int n) { return QStringLiteral("/home/root/Param_Preset_%1").arg(n); }

private:
    // The controller the requests go to: the context's parent of the moment
    // (set and cleared by the remote adapter as controllers come and go).
    Ornav72* ctrl() const { return qobject_cast<Ornav72*>(m_context->parent); }
    // Whether this thread may read the live record: the controller's own, or
    // any while there is no controller (start-up, a rig without one).
    bool ownerThread() const
    {
        Ornav72* c = ctrl();
        return !c || c->thread() == QThread::currentThread();
    }
    template <typename F>
    static bool readSwitch(F f)
    {
        PublishedRecord& p = published();
        std::lock_guard<std::mutex> l(p.lock);
        return f(p);
    }
    static void readPublished(HardWareInfo* out)
    {
        PublishedRecord& p = published();
        std::lock_guard<std::mutex> l(p.lock);
        std::memcpy(out, &p.record, sizeof *out);
    }

    scpi_t* const m_context;
};

} // namespace

void scpi_instrument_qt_attach(scpi_t* context)
{
    static ProgramInstrument program(context);
    // The queries' copy starts from the record as loaded, and follows every
    // applied remote point.
    publishRecord();
    RemoteRoad::setApplyHook(&publishRecord);
    // Written once, before the remote adapter starts the interpreter's
    // thread; a later controller finds it in place and leaves it alone.
    if (context->instrument != &program)
        context->instrument = &program;
}

void scpi_instrument_qt_publish_when_idle()
{
    // Once per event loop: a rig may make several controllers on one thread.
    thread_local QPointer<QAbstractEventDispatcher> hooked;
    QAbstractEventDispatcher* d = QAbstractEventDispatcher::instance();
    if (!d || hooked == d)
        return;
    hooked = d;
    publishRecord();
    QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, &publishRecord);
}
