#include "app/channalmodel.h"
#include <QDebug>
#include <cmath>
#include <QCoreApplication>
#include <QThread>
#include <algorithm>
#include <vector>
#include "app/channel.h"
#include "app/signal/csignal.h"
#include "app/ornav72.h"
#include "communication/SCPI/sys_error.h"
#include "communication/SCPI/scpi_error.h"
#include "param/paramvalue.h"
#include "param/sys_param.h"

channelModel::channelModel(CH_ID c, DataInfo info, int index, EParamType t, bool multi, QObject* parent)
    : QObject(parent)
{
    init(c, &info, 1, index, t, multi);
}

channelModel::channelModel(CH_ID c, const DataInfo* infos, int n, int index, EParamType t, bool multi, QObject* parent)
    : QObject(parent)
{
    init(c, infos, n, index, t, multi);
}

void channelModel::init(CH_ID c, const DataInfo* infos, int n, int index, EParamType t, bool multi)
{
    if (n < 1)
        n = 1;
    m_MutiParam = new DataInfo[size_t(n)];
    for (int i = 0; i < n; ++i)
        m_MutiParam[i] = infos[i];
    m_param = m_MutiParam;
    m_param_size = uint32_t(n);
    paramindex = index;
    isMultiSelect = multi;
    ch = c;
    type = t;
    m_selectIndex = GetMaxBit(value());
    disUpdate();
}

// Entries changed by the editing thread wait here for the screens' thread.
// A script that sets a value thousands of times a second thus costs the
// screens one refresh per turn of their event loop instead of an event per
// property and value, and the editing thread one flag per entry: the
// request is applied and answered without waiting for the screens either way.
struct ShownQueue {
    std::mutex lock;
    std::vector<channelModel*> entries; // guarded by lock
    bool posted = false;                // a flush is queued; guarded by lock

    static ShownQueue& get()
    {
        // Never destroyed: an entry may go away after the static objects.
        static ShownQueue* q = new ShownQueue;
        return *q;
    }
    // Screens' thread: every queued entry announces its newest state.
    void flush()
    {
        for (;;) {
            channelModel* m = nullptr;
            {
                std::lock_guard<std::mutex> l(lock);
                if (entries.empty()) {
                    posted = false;
                    return;
                }
                m = entries.front();
                entries.erase(entries.begin());
                // Cleared before the screens read it: a change from now on
                // queues the entry again.
                m->m_shownQueued = false;
            }
            emit m->shownChanged();
        }
    }
    void remove(channelModel* m)
    {
        std::lock_guard<std::mutex> l(lock);
        entries.erase(std::remove(entries.begin(), entries.end(), m), entries.end());
    }
};

channelModel::~channelModel()
{
    if (m_shownQueued)
        ShownQueue::get().remove(this);
    delete[] m_MutiParam;
}

void channelModel::announceShown()
{
    QCoreApplication* app = QCoreApplication::instance();
    // In the entry's own thread, or where no event loop of the screens runs
    // (a test of one entry), the screens hear of it at once.
    if (QThread::currentThread() == thread() || !app || app->thread() != thread()) {
        emit shownChanged();
        return;
    }
    if (m_shownQueued.exchange(true))
        return; // already waiting: the screens will read the newest state
    ShownQueue& q = ShownQueue::get();
    bool post = false;
    {
        std::lock_guard<std::mutex> l(q.lock);
        q.entries.push_back(this);
        post = !q.posted;
        q.posted = true;
    }
    if (post)
        QMetaObject::invokeMethod(
            app, [] { ShownQueue::get().flush(); }, Qt::QueuedConnection);
}

void channelModel::setParent(Channel* c)
{
    channel = c;
    QObject::setParent(c);
}

bool channelModel::GetValue(double& v) const
{
    if (!m_param || !m_param->GetValue)
        return false;
    v = m_param->GetValue(ch);
    return true;
}

bool channelModel::GetValue(int& v) const
{
    double d = 0;
    if (!GetValue(d))
        return false;
    v = int(d);
    return true;
}

double channelModel::value() const
{
    double v = 0;
    GetValue(v);
    return v;
}

int channelModel::rvalue() const { return int(value()); }

bool channelModel::selectParam(int index)
{
    if (index < 0 || uint32_t(index) >= m_param_size)
        return false;
    m_param = &m_MutiParam[index];
    return true;
}

int channelModel::GetMaxBit(double x) { return ::GetMaxBit(x); }

bool channelModel::ValueCheck(double& v)
{
    if (!m_param)
        return true;
    if (v > m_param->Max + 1e-13) {
        v = m_param->Max;
        return false;
    }
    if (v < m_param->Min - 1e-13) {
        v = m_param->Min;
        return false;
    }
    return true;
}

bool channelModel::SetValue(double v, int unitIndex)
{
    if (std::isnan(v)) {
        // Not a number: nothing to clamp it to, so nothing is stored.
        Sys_Error(SCPI_ERROR_OUT_OF_RANGE);
        if (pOrnav72)
            emit pOrnav72->TipsMessage(MESSAGE_TYPE_TIPS, TIPS_OUT_OF_RANGE, false, QString(), true);
        qWarning("[wainning] %s out of range,set value modfied ", "SetValue");
        return false;
    }
    if (unitIndex < 0 || uint32_t(unitIndex) >= m_param_size)
        unitIndex = paramIndexInUse();
    DataInfo* d = &m_MutiParam[unitIndex];
    DataInfo* inUse = m_param;
    // The check runs against the descriptor the value is given in.
    m_param = d;
    const bool ok = ValueCheck(v);
    m_param = inUse;
    if (!ok) {
        Sys_Error(SCPI_ERROR_OUT_OF_RANGE);
        if (pOrnav72)
            emit pOrnav72->TipsMessage(MESSAGE_TYPE_TIPS, TIPS_OUT_OF_RANGE, false, QString(), true);
        qWarning("[wainning] %s out of range,set value modfied ", "SetValue");
    }
    if (d->GetValue && d->SetValue && d->GetValue(ch) != v) {
        d->SetValue(ch, v);
        mulitInputTypeSync(unitIndex);
        m_selectIndex = GetMaxBit(v);
        valueChangedProcess();
        disUpdate();
    }
    return ok;
}

bool channelModel::checkedFormValue(int u, double& v)
{
    if (u < 0 || uint32_t(u) >= m_param_size || !m_MutiParam[u].GetValue)
        return false;
    const DataInfo& di = m_MutiParam[u];
    v = di.GetValue(ch);
    DataInfo* inUse = m_param;
    m_param = &m_MutiParam[u];
    const bool inside = ValueCheck(v);
    m_param = inUse;
    if (!inside && di.SetValue)
        di.SetValue(ch, v);
    return true;
}

bool channelModel::SetRange(double min, double max, int unitIndex)
{
    if (unitIndex < 0 || uint32_t(unitIndex) >= m_param_size)
        return false;
    DataInfo& d = m_MutiParam[unitIndex];
    bool changed = false;
    if (d.Max != max) {
        d.Max = max;
        changed = true;
    }
    if (d.Min != min) {
        d.Min = min;
        changed = true;
    }
    if (changed && &d == m_param)
        return SetValueWitheCheck(value(), d.Min, d.Max, unitIndex);
    return false;
}

bool channelModel::SetValueWitheCheck(double v, double min, double max, int unitIndex)
{
    if (v <= max + 1e-10 && v >= min - 1e-10)
        return true;
    if (!isMultiSelect && (unitIndex < 0 || uint32_t(unitIndex) >= m_param_size)) {
        qWarning("[wainning] unitIndex %d >= m_param_size:%u %s", unitIndex, m_param_size, "SetValueWitheCheck");
        return false;
    }
    const int idx = (unitIndex >= 0 && uint32_t(unitIndex) < m_param_size) ? unitIndex : paramIndexInUse();
    const DataInfo& d = m_MutiParam[idx];
    const double limit = v > max ? max : min;
    if (d.SetValue)
        d.SetValue(ch, limit);
    mulitInputTypeSync(idx);
    m_selectIndex = GetMaxBit(limit);
    announceValue();
    disUpdate();
    qWarning("[wainning] %s out of range,paramindex:%d", "SetValueWitheCheck", paramindex);
    return false;
}

bool channelModel::UpdateRange()
{
    if (!m_param)
        return true;
    return SetValueWitheCheck(value(), m_param->Min, m_param->Max, paramIndexInUse());
}

void channelModel::valueChangedProcess()
{
    announceValue();
    if (curSignal) {
        curSignal->drawWave(false);
        curSignal->updatePse();
    }
    if (channel)
        emit channel->signalUpdated(ch);
}

void channelModel::updateDataInfo()
{
    publishShown();
    emit keyboardtypeChanged(m_param ? QString::fromLatin1(m_param->keyboardtype) : QString());
    emit unitsChanged();
    emit unitChanged();
    disUpdate();
}

void channelModel::wmask(bool m)
{
    mask = m;
    emit maskChanged(m);
}

void channelModel::wlistvalue(QString v)
{
    {
        std::lock_guard<std::mutex> l(m_textLock);
        m_value = v;
    }
    emit listvalueChanged(v);
    announceShown();
}

void channelModel::wsPos(int p)
{
    m_sIndex = p;
    emit sPosChanged(p);
    announceShown();
}

void channelModel::disfocused()
{
    if (curSignal)
        curSignal->paramSelected(this);
}

bool channelModel::isSymbol() const { return m_param && (m_param->HType == IsDouble || m_param->HType == IsInt); }

QString channelModel::rkeyboardtype() { return m_param ? QString::fromLatin1(m_param->keyboardtype) : QString(); }

int channelModel::runits() { return 0; }
int channelModel::runit() { return paramIndexInUse(); }
QString channelModel::rlistgroup() { return QStringLiteral("base"); }
int channelModel::rnameindex() { return 0; }
void channelModel::mulitInputTypeSync(int) {}

void channelModel::reloadFromRecord() {}
bool channelModel::coupleState() { return m_couplestate; }

bool channelModel::coupledLive()
{
    if (paramindex != PARAM_INDEX_PHASE)
        return false;
    const CH_ID pair = (ch == CH1 || ch == CH2) ? COUPLE12 : COUPLE34;
    return sys_param::GetChCouplePhaseSW(pair) != 0;
}

void channelModel::wnameindex(int i)
{
    nameIndex = i;
    emit nameindexChanged();
}

void channelModel::wlistgroup(QString) {}

void channelModel::wparamfocus(bool focus)
{
    if (focus != m_paramfocus) {
        inputting = false;
        m_paramfocus = focus;
        emit paramfocusChanged(focus);
    }
    disUpdate();
}

QString channelModel::formatValue(double v) const
{
    QString text;
    int sPos = 0, sLen = 0;
    paramValueToString(v, displayUnitType(), m_param ? m_param->MinBit : 0, text, false, 0, sPos, sLen);
    return text;
}

UintType channelModel::displayUnitType() const
{
    if (!m_param)
        return UintUndefined;
    // A PRBS "frequency" is its bit rate.
    if (paramindex == PARAM_INDEX_FREQ && ch >= CH1 && ch <= CH4 && int(sys_param::GetChBaseWave(ch)) == BASE_Prbs)
        return UintBitRate;
    return m_param->UType;
}

void channelModel::disUpdate()
{
    double v = 0;
    if (!GetValue(v))
        return;
    QString text;
    int sPos = 0, sLen = 0;
    paramValueToString(v, displayUnitType(), m_param->MinBit, text, m_paramfocus, m_selectIndex, sPos, sLen);
    if (m_sIndex != sPos) {
        m_sIndex = sPos;
        emit sPosChanged(sPos);
    }
    if (m_sLenth != sLen) {
        m_sLenth = sLen;
        emit sLenthChanged(sLen);
    }
    publishShown();
    wlistvalue(text);
}

void channelModel::publishShown()
{
    m_shownValue = rvalue();
    m_shownUnit = rshownUnit();
    m_shownUnits = runits();
    m_shownUnitIndex = runit();
    m_shownNameIndex = rnameindex();
    m_shownCoupled = coupledLive();
    const QString keyboard = rkeyboardtype();
    std::lock_guard<std::mutex> l(m_textLock);
    m_shownKeyboard = keyboard;
}

namespace {
// The thread that edits the entries and writes the record: the controller's
// (any thread while there is no controller, as in a test of one entry).
bool inEditingThread() { return !pOrnav72 || QThread::currentThread() == pOrnav72->thread(); }
} // namespace

int channelModel::shownValue()
{
    if (inEditingThread())
        publishShown();
    return m_shownValue;
}

int channelModel::shownUnitRow()
{
    if (inEditingThread())
        publishShown();
    return m_shownUnit;
}

int channelModel::shownUnits()
{
    if (inEditingThread())
        publishShown();
    return m_shownUnits;
}

int channelModel::shownUnitIndex()
{
    if (inEditingThread())
        publishShown();
    return m_shownUnitIndex;
}

int channelModel::shownNameIndex()
{
    if (inEditingThread())
        publishShown();
    return m_shownNameIndex;
}

bool channelModel::isCoupled()
{
    if (inEditingThread())
        publishShown();
    return m_shownCoupled;
}

QString channelModel::shownKeyboardType()
{
    if (inEditingThread())
        publishShown();
    std::lock_guard<std::mutex> l(m_textLock);
    return m_shownKeyboard;
}

int channelModel::rshownUnit()
{
    double v = 0;
    if (!GetValue(v))
        return -1;
    QString text;
    int sPos = 0, sLen = 0;
    return paramValueToString(v, displayUnitType(), m_param->MinBit, text, false, 0, sPos, sLen);
}

void channelModel::reClicked() {}
QString channelModel::onFileSelectEvent(QString, bool) { return QStringLiteral("quit"); }

void channelModel::unitClicked(int)
{
    if (m_paramfocus)
        wparamfocus(false);
}

QString channelModel::getNoteText() { return QString(); }
