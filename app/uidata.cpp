#include "app/uidata.h"
#include <QCoreApplication>
#include <QDir>
#include <cstdlib>
#include <QVariant>
#include "app/channalmodel.h"
#include "app/channel.h"
#include "app/digital_protocol.h"
#include "app/ornav72.h"
#include "app/on_controller.h"
#include "platform/platformroot.h"
#include "platform/shellrunner.h"
#include "app/signal/csignal.h"
#include "param/sys_param.h"

Uidata::Uidata(QObject* parent) : QObject(parent)
{
    connect(&counterTimer, &QTimer::timeout, this, &Uidata::counterUpdate_Slots, Qt::QueuedConnection);
}

void Uidata::updateProcessBar(int value)
{
    m_process = value;
    emit processBarChanged(value);
}

QVariantList* Uidata::getCurInputlist(int ch) { return ch >= 0 && ch < 4 ? &chInputList[ch] : nullptr; }

QVariantList* Uidata::getChSetlist(int ch) { return ch >= 0 && ch < 4 ? &chSetList[ch] : nullptr; }

void Uidata::sendInputListChanged(int ch)
{
    publishChannel(ch);
    switch (ch) {
    case 0: emit ch1InputListChanged(shownList(chInputList[0])); break;
    case 1: emit ch2InputListChanged(shownList(chInputList[1])); break;
    case 2: emit ch3InputListChanged(shownList(chInputList[2])); break;
    case 3: emit ch4InputListChanged(shownList(chInputList[3])); break;
    default: break;
    }
}

void Uidata::sendAllChsetListChanged()
{
    emit ch1SetListChanged(shownList(chSetList[0]));
    emit ch2SetListChanged(shownList(chSetList[1]));
    emit ch3SetListChanged(shownList(chSetList[2]));
    emit ch4SetListChanged(shownList(chSetList[3]));
}

void Uidata::switchToCh(int ch)
{
    if (controller && ch >= 0 && ch < 4)
        emit controller->chCmd(ch);
}

void Uidata::chSwitch(int ch, bool on)
{
    if (!controller)
        return;
    emit controller->setValueCmd(ch, PARAM_INDEX_CHSWITCH, on);
    controller->beep(2);
}

void Uidata::chReverse(int ch, bool on)
{
    if (!controller)
        return;
    emit controller->setValueCmd(ch, PARAM_INDEX_CHREVERSE, on);
    controller->beep(2);
}

void Uidata::chSetLoad(int ch, double load)
{
    if (!controller)
        return;
    emit controller->setValueCmd(ch, PARAM_INDEX_CHLOAD, load);
    controller->beep(2);
}

void Uidata::mergeClick(int ch, bool on)
{
    if (ch < 0 || ch > 3)
        return;
    // The merge entry and the record it checks belong to the controller's
    // thread.
    Ornav72* o = controller;
    onController(o, [o, ch, on]() {
        if (!o->channelAt(ch))
            return;
        channelModel* merge = o->channelAt(ch)->entry(PARAM_INDEX_CHMERGE);
        if (!merge)
            return;
        if (merge->mask) {
            o->warnBeep(2);
            qWarning("channel disabled! can't merge!");
            return;
        }
        const CH_ID c = CH_ID(ch);
        const CH_ID partner = CH_ID(ch ^ 1);
        if (sys_param::GetChNoiseSumSW(c) == 0 && sys_param::GetChNoiseSumSW(partner) == 0) {
            merge->SetValue(on ? ch + 1 : 0, 0);
            o->beep(2);
        } else {
            emit o->TipsMessage(MESSAGE_TYPE_TIPS, TIPS_CONFILICT_NOISESUM_AND_MERGE, false, QString(), true);
            o->warnBeep(2);
        }
    });
}

void Uidata::channelCopy(int ch)
{
    if (ch < 0 || ch > 3)
        return;
    Ornav72* o = controller;
    onController(o, [o, ch]() {
        if (o->channelAt(ch) && o->channelAt(ch)->alterfun == CHANNEL_ALTERFUN_CLOSED)
            o->channalCopy(CH_ID(ch));
    });
}

void Uidata::publishChannel(int ch)
{
    if (ch < 0 || ch >= 4)
        return;
    const CH_DATA& d = sys_param::ch(CH_ID(ch));
    ShownChannel c;
    c.workMode = d.WorkMode;
    c.baseWave = d.BaseWave;
    c.modType = d.ModType;
    c.sweepType = d.SweepType;
    c.burstType = d.BurstType;
    std::lock_guard<std::mutex> k(shownLock);
    m_shownCh[ch] = c;
}

void Uidata::publishDigital()
{
    const HardWareInfo& hw = sys_param::HWinfo;
    ShownDigital d;
    d.type = hw.digitalType;
    d.textFormat = hw.digitalfromat;
    d.autoSend = hw.digitalAutoSend;
    d.on = sys_param::digitalSW;
    d.uartDataBits = hw.digitalUARTDataBits;
    d.uartStopBits = hw.digitalUARTStopBits;
    d.uartParity = hw.digitalUARTParity;
    for (int t = 0; t < 8; ++t)
        if (DigitalProtocol::digitalIOAvalid(uint(t)))
            d.freeTypes |= 1 << t;
    std::lock_guard<std::mutex> k(shownLock);
    m_shownDigital = d;
}

void Uidata::publishRecord()
{
    for (int ch = 0; ch < 4; ++ch)
        publishChannel(ch);
    publishDigital();
    counterSwitchedOn = sys_param::CounterOnOff;
}

Uidata::ShownChannel Uidata::shownChannel(int ch) const
{
    std::lock_guard<std::mutex> k(shownLock);
    return ch >= 0 && ch < 4 ? m_shownCh[ch] : ShownChannel();
}

Uidata::ShownDigital Uidata::shownDigital() const
{
    std::lock_guard<std::mutex> k(shownLock);
    return m_shownDigital;
}

int Uidata::getCurrentModel(int ch)
{
    if (ch < 0 || ch >= 4) {
        qWarning("[error]ch:%d", ch);
        return 0;
    }
    return int(shownChannel(ch).workMode >> 12);
}

int Uidata::getcurIndex(int ch, int kind)
{
    if (ch < 0 || ch >= 4)
        return 0;
    const ShownChannel d = shownChannel(ch);
    switch (kind) {
    case 0: return int(d.baseWave) & 0xF;
    case 1: return int(d.modType) & 0xF;
    case 2: return int(d.sweepType) & 0xF;
    case 3: return int(d.burstType) & 0xF;
    default: return 0;
    }
}

// kind 1 modulation, 2 sweep, 3 burst.
int Uidata::firstSupported(int ch, int kind)
{
    if (!controller || ch < 0 || ch >= 4 || !controller->channelAt(ch))
        return -1;
    // The signal lists and their base-wave masks are built once with the
    // channel and never change.
    Channel* c = controller->channelAt(ch);
    const QList<Signal*>& list = kind == 1 ? c->modulateSignal : kind == 2 ? c->sweepSignal : c->burstSignal;
    const int wave = int(shownChannel(ch).baseWave);
    auto supports = [&](int i) {
        const Signal_mod* m = i >= 0 && i < list.size() ? dynamic_cast<const Signal_mod*>(list.at(i)) : nullptr;
        return m && m->allowsBase(wave);
    };
    const int stored = getcurIndex(ch, kind);
    if (supports(stored))
        return stored;
    for (int i = 0; i < list.size(); ++i) {
        if (!supports(i))
            continue;
        // The page asks the controller for this type next, which stores it
        // in the record; until then the copy answers with it.
        std::lock_guard<std::mutex> k(shownLock);
        ShownChannel& d = m_shownCh[ch];
        if (kind == 1)
            d.modType = u32(sys_param::modTypeOfIndex(i));
        else if (kind == 2)
            d.sweepType = u32(WORK_SCAN + i);
        else
            d.burstType = u32(WORK_BURST + i);
        return i;
    }
    return -1;
}

int Uidata::modulateSelected(int ch) { return firstSupported(ch, 1); }
int Uidata::sweepSelected(int ch) { return firstSupported(ch, 2); }
int Uidata::burstSelected(int ch) { return firstSupported(ch, 3); }

static const char kTfCard[] = "/run/media/mmcblk0p1";
static const char kUsbDisk[] = "/media/usbdisk";

static bool usbDiskPresent()
{
    // The mount point exists on the board at all times; a disk is present
    // when something is mounted there, i.e. it is not empty.
    QDir d(PlatformRoot::path(kUsbDisk));
    return d.exists() && !d.entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty();
}

bool Uidata::setstorage(int ch, int place)
{
    if (ch < 0 || ch >= 4)
        return false;
    const CH_ID c = CH_ID(ch);
    if (place == STORAGE_USER || place == STORAGE_EXTERNAL) {
        const bool present = place == STORAGE_USER ? QDir(PlatformRoot::path(kTfCard)).exists() : usbDiskPresent();
        if (!present) {
            if (sys_param::storagePlace[ch] != STORAGE_LOCAL)
                sys_param::storagePlace[ch] = STORAGE_LOCAL;
            if (controller)
                emit controller->TipsMessage(MESSAGE_TYPE_TIPS,
                                             place == STORAGE_USER ? TIPS_TF_DISK_NOAVALID : TIPS_USB_DISK_NOAVALID,
                                             false, QString(), true);
            return false;
        }
    }
    if (place < 0 || place >= 3)
        return false;
    sys_param::storagePlace[c] = u8(place);
    return true;
}

int Uidata::storagePlace(int ch)
{
    if (ch < 0 || ch >= 4)
        return 0;
    if (controller && controller->listFileShown(ch) && sys_param::storagePlace[ch] == STORAGE_LOCAL)
        sys_param::storagePlace[ch] = STORAGE_USER;
    if (sys_param::storagePlace[ch] == STORAGE_EXTERNAL && !usbDiskPresent())
        sys_param::storagePlace[ch] = STORAGE_USER;
    return sys_param::storagePlace[ch];
}

QString Uidata::storageLocal(int) { return QStringLiteral("file:///media/ram"); }

QString Uidata::storageUser(int)
{
    return QDir(PlatformRoot::path(kTfCard)).exists() ? QStringLiteral("file:///run/media/mmcblk0p1") : QString();
}

QString Uidata::storageExternal(int) { return usbDiskPresent() ? QStringLiteral("file:///media/usbdisk") : QString(); }

void Uidata::askProcess(int type)
{
    if (!controller)
        return;
    switch (type) {
    case ASK_UPGTADE: emit upgrade(); return;
    case ASK_FACTORY: controller->systemAllParamReload(QByteArray()); break;
    case ASK_LANGUAGE:
        // The new language takes effect after a restart of the instrument.
        ShellRunner::run(QStringLiteral("reboot"));
        ShellRunner::exitProgram("restart");
        return;
    default: break;
    }
    controller->SetInfoWindowState(QStringLiteral("closed"), ASK_NONE);
}

void Uidata::clrAskWindowtype()
{
    if (controller)
        controller->setAskWindowType(ASK_NONE);
}

void Uidata::setBoardTemperature(const QString& text)
{
    if (text == m_temperature)
        return;
    m_temperature = text;
    emit boardTemperatureChanged();
}

QVariantList Uidata::chMask() const
{
    QVariantList l;
    for (bool d : m_disabled)
        l << d;
    l << false; // the utility tab
    return l;
}

void Uidata::setChRole(int ch, bool disabled, const QString& label)
{
    if (ch < 0 || ch > 3 || (m_disabled[ch] == disabled && m_roles[ch] == label))
        return;
    m_disabled[ch] = disabled;
    m_roles[ch] = label;
    emit chRolesChanged();
}
