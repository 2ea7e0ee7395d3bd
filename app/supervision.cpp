// The periodic system tick: output protection, external reference, USB disk,
// remote links, key lock, board temperature, power key, screen saver,
// last-state saving and the DHCP monitor. Its timer runs in a thread of its
// own; the tick itself runs on the controller's thread.
#include "app/supervision.h"
#include "app/ornav72.h"
#include <QCoreApplication>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>
#include <atomic>
#include "hardware/CSetParam.h"
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/scpi_ieee488.h"
#include "communication/SCPI/sys_error.h"
#include "communication/USBTMC/usbtmc_device.h"
#include "app/channalmodel.h"
#include "app/channel.h"
#include "app/misc.h"
#include "platform/platformroot.h"
#include "communication/SCPI/commands/scpi_service.h"
#include "communication/scpi_msg_adpt.h"
#include "param/sys_param.h"
#include "param/sysparm.h"

#include "hardware/ckeyqthread.h"

namespace {
std::atomic<qint64 (*)()> g_uptimeSource {nullptr};
std::atomic<qint64> g_uptimeOffset {0};

// Where a test leaves an uptime offset for a program on a simulated board.
const char kUptimeOffsetFile[] = "/var/run/ornav-uptime-offset";
const char kUsbDisk[] = "/media/usbdisk";
// Over this board temperature (°C) every output is switched off.
const float kMaxBoardTemp = 65.0f;
// The factory protection test runs the tick at this interval; only the
// overload poll runs then.
const int kFactoryInterval = 10;

void readSimulatedUptimeOffset()
{
    if (!PlatformRoot::simulated())
        return;
    QFile f(PlatformRoot::path(kUptimeOffsetFile));
    if (!f.open(QIODevice::ReadOnly))
        return;
    bool ok = false;
    const qint64 ms = f.readAll().trimmed().toLongLong(&ok);
    if (ok && ms >= 0)
        g_uptimeOffset = ms;
}

// Whole idle minutes after which each screen-saver setting blanks the display
// (setting 1: 5 minutes ... 4: 60 minutes); 0 never.
int saverLimitMinutes(int setting)
{
    switch (setting) {
    case 1: return 4;
    case 2: return 14;
    case 3: return 29;
    case 4: return 59;
    default: return -1;
    }
}
} // namespace

qint64 Ornav72::clock_tick()
{
    qint64 (*source)() = g_uptimeSource.load();
    const qint64 base = source ? source() : (runRecondTime.isValid() ? runRecondTime.elapsed() : 0);
    return base + g_uptimeOffset.load();
}

void Ornav72::setUptimeSource(qint64 (*source)()) { g_uptimeSource = source; }
void Ornav72::setUptimeOffset(qint64 ms) { g_uptimeOffset = ms; }

Supervision::Supervision(Ornav72& owner) : o(owner) {}

Supervision::~Supervision() { stopTick(); }

void Supervision::startTick()
{
    if (timerthread)
        return;
    // The 500 ms system tick: its timer runs in a thread of its own, so
    // that a busy screen never delays it, but the tick itself runs on the
    // controller's thread, the owner of every field it reads and writes,
    // between two requests. A tick still waiting to run is not queued a
    // second time.
    timerthread = new QThread();
    timerthread->setObjectName(QStringLiteral("tick"));
    appTimer = new QTimer();
    appTimer->start(500);
    appTimer->moveToThread(timerthread);
    QObject::connect(&o, SIGNAL(cmdSetTimer(int)), appTimer, SLOT(start(int)), Qt::BlockingQueuedConnection);
    QObject::connect(&o, SIGNAL(cmdStopTimer()), appTimer, SLOT(stop()), Qt::BlockingQueuedConnection);
    QObject::connect(
        appTimer, &QTimer::timeout, &o,
        [this]() {
            if (!tickQueued.exchange(true))
                QMetaObject::invokeMethod(
                    &o,
                    [this]() {
                        tickQueued = false;
                        o.SysTimer_Slots();
                    },
                    Qt::QueuedConnection);
        },
        Qt::DirectConnection);
    QObject::connect(timerthread, &QThread::finished, appTimer, &QObject::deleteLater);
    timerthread->start();
}

void Supervision::stopTick()
{
    if (!timerthread)
        return;
    // The tick must not run while the controller goes away; it may be
    // waiting for the screens, which this thread serves meanwhile.
    timerthread->quit();
    while (!timerthread->wait(5))
        if (QThread::currentThread() == qApp->thread())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    appTimer = nullptr; // deleted in its own thread as that thread finished
    delete timerthread;
    timerthread = nullptr;
}

void Supervision::showPowerDownNotice()
{
    // Info-window state shown while the board powers down.
    o.SetInfoWindowState(QStringLiteral("fileloadding"), Uidata::ASK_TYPE(6));
}

bool Supervision::clrSavescreen()
{
    lastIpActiveTime = Ornav72::clock_tick();
    return ScreenSaved;
}

void Supervision::releaseRemoteLock()
{
    pc_lock = false;
    if (o.keyReader())
        o.keyReader()->unlockALLKey();
    qInfo("remote link lost: remote lock released");
}

void Supervision::tick()
{
    readSimulatedUptimeOffset();
    const qint64 now = Ornav72::clock_tick();

    // Output protection: both overload bits of a channel set. The poll also
    // clears the channel's latch.
    const unsigned char overloaded = CSetParam::PollOverload();
    for (int ch = CH1; ch <= CH4; ++ch) {
        if (!(overloaded & (1u << ch)))
            continue;
        if (Channel* c = o.channelAt(ch))
            c->safeOff = true;
        channelProtect(ch, ERROR_CH_PROTECT, true);
    }
    SCPI_StatusCondition(SCPI_REG_QUES, QUES_VOLTAGE, overloaded != 0);

    // Operation status: a channel sweeping on its own, a channel in sweep or
    // burst that waits for a manual or external trigger.
    bool sweeping = false, waiting = false;
    for (int ch = CH1; ch <= CH4; ++ch) {
        const CH_DATA& d = sys_param::HWinfo.PDT[ch];
        const uint32_t mode = workModeOf(d.WorkMode);
        if (!sys_param::OnOff[ch] || (mode != workModeOf(WORK_SCAN) && mode != workModeOf(WORK_BURST)))
            continue;
        if (d.TrigerSource != 0)
            waiting = true;
        else if (mode == workModeOf(WORK_SCAN))
            sweeping = true;
    }
    SCPI_StatusCondition(SCPI_REG_OPER, OPER_SWEEPING, sweeping);
    SCPI_StatusCondition(SCPI_REG_OPER, OPER_WAIT_TRIGGER, waiting);

    const int interval = appTimer ? appTimer->interval() : 500;
    if (interval <= kFactoryInterval)
        return;

    // External reference lost or back.
    SCPI_StatusCondition(SCPI_REG_QUES, QUES_FREQUENCY,
                         sys_param::HWinfo.ClockSource && !CSetParam::GetInputClkValid());
    if (sys_param::HWinfo.ClockSource) {
        const bool valid = CSetParam::GetInputClkValid();
        if (valid != exit10MValid) {
            exit10MValid = valid;
            emit o.TipsMessage(MESSAGE_TYPE_INFO, STATUSBAR_EXT10FALSE, !valid, "", true);
        }
    }

    // USB disk plugged in or pulled out.
    const bool disk = QFileInfo(boardPath(kUsbDisk)).isDir();
    if (disk != usbdiskstatus) {
        usbdiskstatus = disk;
        qInfo("usb disk %s", disk ? "plugged in" : "removed");
        emit o.TipsMessage(MESSAGE_TYPE_INFO, STATUSBAR_USBDISK, disk);
        if (disk) {
            // The automounter may still be filling the mount point: a disk
            // without a package is looked at once more a second later (on
            // this thread, without holding it up meanwhile).
            auto look = [this](bool last) {
                if (!usbdiskstatus)
                    return true;
                if (o.haveUpgradefile()) {
                    qInfo("upgrade package found in %s", qPrintable(o.upgradePackage().folder()));
                    o.SetInfoWindowState("askWindow", Uidata::ASK_UPGTADE);
                    return true;
                }
                if (last)
                    qInfo("no upgrade package on the usb disk");
                return false;
            };
            if (!look(false))
                QTimer::singleShot(1000, &o, [look]() { look(true); });
        } else {
            if (o.askWindowType() == Uidata::ASK_UPGTADE) {
                qInfo("usb disk removed: upgrade question closed");
                o.SetInfoWindowState("closed", Uidata::ASK_NONE);
            }
            // The file browser of the disk that went away closes.
            const int shown = o.currentChannel();
            if (shown >= CH1 && shown <= CH4 && sys_param::storagePlace[shown] == 2)
                emit o.ui().browserCloseRequested();
        }
    }

    // USB device link.
    const bool usb = usbtmc_dev_is_open();
    if (usb != usbhoststatus) {
        if (!usb && pc_lock)
            releaseRemoteLock();
        usbhoststatus = usb;
        emit o.TipsMessage(MESSAGE_TYPE_INFO, STATUSBAR_USBHOST, usb);
    }

    // Network link.
    const bool net = getethnetstatus() == 0;
    if (net != ethnetstatus) {
        if (!net && pc_lock)
            releaseRemoteLock();
        ethnetstatus = net;
        emit o.TipsMessage(MESSAGE_TYPE_INFO, STATUSBAR_NETWORK, net);
        o.network().refreshSoon();
    }

    // Front-panel key lock.
    const bool locked = o.keyReader() && o.keyReader()->IsKeylock();
    if (locked != lockerstatus) {
        lockerstatus = locked;
        emit o.TipsMessage(MESSAGE_TYPE_INFO, STATUSBAR_LOCKER, locked);
    }

    // Board temperature.
    const float temp = float(misc::ReadDS18B20());
    if (temp != CSetParam::state.boardtemp) {
        CSetParam::state.boardtemp = temp;
        SCPI_StatusCondition(SCPI_REG_QUES, QUES_TEMPERATURE, temp > kMaxBoardTemp);
        qDebug("board temperature %.2f", double(temp));
        if (temp > kMaxBoardTemp) {
            qWarning("board temperature %.2f C: switching every output off", double(temp));
            for (int ch = CH1; ch <= CH4; ++ch)
                channelProtect(ch, ERROR_HIGH_TEMP_PROTECT, false);
        }
        emit o.tempdis(temp);
    }

    // Power key: a press is user activity; held over two ticks it shuts down.
    if (o.boardLines().softPowerOff_Check(this))
        lastIpActiveTime = now;

    // Screen saver.
    const int saver = sys_param::HWinfo.Screensaver;
    if (saver != 0) {
        const qint64 idle = qAbs(now - lastIpActiveTime) / 1000 / 60;
        const int limit = saverLimitMinutes(saver);
        ScreenSaved = limit >= 0 && idle > limit;
        SetBackLightBlank(ScreenSaved);
    }

    // Last state: only the bytes that changed reach the EEPROM.
    if (o.sysParm() && o.sysParm()->powerUpSet == POWERON_LAST)
        o.sysParm()->SaveSysParam("", false);

    // DHCP: the shown addresses refreshed.
    o.network().monitor(now);
}

void Supervision::channelProtect(int ch, int msgid, bool chdis)
{
    if (ch < CH1 || ch > CH4)
        return;
    qWarning("CH%d protected!!!!!!!!!\n", ch + 1);
    Sys_Error(SCPI_ERROR_CHANNEL_OVERLOAD);
    const QString header = (chdis ? QStringLiteral("CH%1").arg(ch + 1) : QString()) + ":";
    // Switching outputs goes through the channel entries, which belong to the
    // controller's thread; from the timer thread it is queued there.
    auto act = [this, ch, msgid, header]() {
        Channel* c = o.channelAt(ch);
        if (!c)
            return;
        switch (c->alterfun) {
        case CHANNEL_ALTERFUN_CLOSED:
            if (sys_param::GetChOnOff(CH_ID(ch)) != 0) {
                emit o.TipsMessage(MESSAGE_TYPE_ERROR, msgid, false, header, true);
                o.ChannelOnOff(CH_ID(ch), false);
            }
            break;
        case CHANNEL_ALTERFUN_SYNCOUT: {
            // CH3 carries the sync of CH1, CH4 that of CH2.
            const CH_ID source = CH_ID(ch % 2);
            if (sys_param::GetChOnOff(source) != 0) {
                emit o.TipsMessage(MESSAGE_TYPE_ERROR, msgid, false, header, true);
                o.ChannelOnOff(source, false);
            }
            break;
        }
        case CHANNEL_ALTERFUN_DIGITAL:
            if (sys_param::digitalSW) {
                emit o.TipsMessage(MESSAGE_TYPE_ERROR, msgid, false, header, true);
                if (channelModel* m = o.GetChModelFormIndex(CH_DIGITAL, PARAM_IDNEX_DIGITALSW))
                    m->SetValue(0, 0);
                else
                    sys_param::digitalSW = false;
                o.digital().digitalDisUpdate();
            }
            break;
        default: break;
        }
    };
    if (QThread::currentThread() == o.thread())
        act();
    else
        QMetaObject::invokeMethod(&o, act, Qt::QueuedConnection);
}

void Supervision::powerCheck()
{
    QString lines;
    if (!o.sysParm() || o.sysParm()->at24fd < 0)
        lines += "EEPROM :no found\n";
    if (!QFile::exists(boardPath("/dev/input/event0")))
        lines += "Touch  :no found\n";
    if (!QFile::exists(boardPath("/dev/mmcblk0")))
        lines += "TF card:no found\n";
    if (lines.isEmpty())
        return;
    qWarning("%s", qPrintable(lines));
    o.setAskWindowType(Uidata::ASK_POWERUPINFO);
    emit o.ui().powerInfoRequested(QString("ERROR!\n") + lines, int(Uidata::ASK_POWERUPINFO));
}
