#include "app/ornav72.h"
#include "app/scpi_wfile_receivers.h"
#include "WaveView/arbwavedata.h"
#include "app/scpi_instrument_qt.h"
#include "hardware/CSetParam.h"
#include "WaveView/CWaveGreate.h"
#include "hardware/ckeyqthread.h"
#include "app/channalmodel.h"
#include "app/channel.h"
#include "app/channalmodel_sys.h"
#include "communication/remote_road.h"
#include "communication/scpi_msg_adpt.h"
#include "communication/SCPI/scpi_interface.h"
#include "param/sys_param.h"
#include "param/sysparm.h"
#include "platform/handoff.h"
#include "app/misc.h"
#include "communication/SCPI/commands/scpi_commands.h"
#include <QCoreApplication>
#include <QDebug>
#include <QThread>
#include <QTimer>
#include <unistd.h>

Ornav72* pOrnav72 = nullptr;
QElapsedTimer Ornav72::runRecondTime;
char Ornav72::SN[32];

// What a channel announces reaches the screens and the pair settings here;
// the calls stay synchronous, as part of the channel's slot.
static void connectChannel(Ornav72* self, Channel* c)
{
    const auto direct = Qt::DirectConnection;
    QObject::connect(c, &Channel::coupleAmplMaskChanged, self, &Ornav72::coupleAmplSwitchMask, direct);
    QObject::connect(c, &Channel::mergeMaskChanged, self, &Ornav72::ChDisableMergeDisUpdate, direct);
    QObject::connect(c, &Channel::phaseSyncNeeded, self, &Ornav72::channelFourcePhaseSync, direct);
    QObject::connect(c, &Channel::coupleTypeChanged, self, &Ornav72::chCoupleTypeChanged, direct);
    QObject::connect(c, &Channel::copyButtonDisplayChanged, self, &Ornav72::chCopyBtnObjectDisUpdate, direct);
    QObject::connect(c, &Channel::mergeDisplayChanged, self, &Ornav72::chMergeDisUpdate, direct);
    QObject::connect(c, &Channel::loadDisplayChanged, self, &Ornav72::chLoadDisUpdate, direct);
    QObject::connect(c, &Channel::reverseDisplayChanged, self, &Ornav72::chReverseDisUpdate, direct);
    QObject::connect(c, &Channel::limitDisplayChanged, self, &Ornav72::chLimitDisUpdate, direct);
    QObject::connect(c, &Channel::switchDisplayChanged, self, &Ornav72::chSwDisUpdate, direct);
    QObject::connect(c, &Channel::syncOutputChanged, self, &Ornav72::ChannelSyncOut, direct);
    QObject::connect(c, &Channel::handTriggerChanged, self, &Ornav72::setHandlTrig, direct);
    QObject::connect(c, &Channel::copyRequested, self, &Ornav72::channalCopy, direct);
    c->conflictCheck = [self](CH_ID ch, QString& names) { return self->conflictIOCheck(ch, names); };
}

Ornav72::Ornav72()
{
    if (!pOrnav72)
        pOrnav72 = this;
    // 1. Embedded objects are constructed with their start values above.
    uidata.controller = this;
    qInfo("*********Ornav72 start-up ************");

    // 2. System information and serial number.
    InitSysInfo();

    // 3. Register layer and waveform tables.
    CSetParam::Init(bandwidth);
    CWaveCreate::Init();
    // 4. Parameter record: factory values, EEPROM open, then the power-up source.
    sysparm = new SysParm();

    // 5. Arbitrary-wave and list reloads run queued in the worker thread.
    // Each load is a counted hop of the road (remote_road.h): a remote
    // "*OPC?" waits for the wave memory and the channel's re-apply.
    connect(
        this, &Ornav72::chArbCmd, this,
        [this](int ch, QString file, bool base, bool exe, bool temp) {
            RemoteRoad::chain(this, [=]() { chUpdateArbMem(ch, file, base, exe, temp); });
        },
        Qt::DirectConnection);
    connect(
        this, &Ornav72::chListCmd, this,
        [this](int ch, QString file, bool exe, bool temp) {
            RemoteRoad::chain(this, [=]() { chUpdateListMem(ch, file, exe, temp); });
        },
        Qt::DirectConnection);

    // 6..9. Channels, their pairing and the merge list.
    for (int ch = CH4; ch >= CH1; --ch) {
        channel[ch] = new Channel();
        connectChannel(this, channel[ch]);
        channel[ch]->InitSignal(CH_ID(ch));
        const CH_DATA& d = sys_param::HWinfo.PDT[ch];
        emit chArbCmd(ch, QString::fromLocal8Bit(d.ArbFileDir, int(strnlen(d.ArbFileDir, 128))), true, false, false);
        emit chArbCmd(ch, QString::fromLocal8Bit(d.ModArbFileDir, int(strnlen(d.ModArbFileDir, 128))), false, false,
                      false);
        if (d.ListFileDir[0] != '\0')
            emit chListCmd(ch, QString::fromLocal8Bit(d.ListFileDir, int(strnlen(d.ListFileDir, 128))), false, false);
        for (int index : {int(PARAM_INDEX_MODWAVE), int(PARAM_INDEX_HARMONICTYPE)})
            if (channelModel* m = channel[ch]->entry(index))
                connect(m, &channelModel::valueChanged, this, &Ornav72::ParamListChanged);
    }
    // Files the stored record names that are gone: the user hears of it.
    for (const QString& path : takeMissingRecordFiles())
        reportMissingFile(path);
    channel[CH1]->pFriendCh = channel[CH2];
    channel[CH2]->pFriendCh = channel[CH1];
    channel[CH3]->pFriendCh = channel[CH4];
    channel[CH4]->pFriendCh = channel[CH3];
    channel[CH1]->pSyncCh = channel[CH3];
    channel[CH2]->pSyncCh = channel[CH4];
    for (Channel* c : channel) {
        // The channel's re-apply runs later on this thread, as a counted hop.
        connect(
            c, &Channel::signalUpdated, this,
            [this](int ch) { RemoteRoad::chain(this, [this, ch]() { chParamChanged(ch); }); }, Qt::DirectConnection);
        connect(c, &Channel::sendTipsMessage, this, [this](int type, int index, bool status, QString header) {
            emit TipsMessage(type, index, status, header, true);
        });
    }

    // 10. Current channel; the digital protocol output starts off.
    currentCh = CH1;
    shownCh = CH1;
    sys_param::SetDigitalSW(CH_SYS, 0);

    // 11. System and coupling editing models.
    InitSysSetlist();
    InitCoupleSetlist();

    // 13. Calibration data, then the temperature factors that ride on its
    // points, corrected from the board temperature as it is now (the system
    // tick keeps it up to date afterwards).
    CSetParam::SetSerialNumberSource(&Ornav72::GetSN);
    CSetParam::LoadCalData(QString());
    CSetParam::LoadTempCalData();
    CSetParam::state.boardtemp = float(misc::ReadDS18B20());
    // Shown from the start; the tick reports the changes.
    uidata.setBoardTemperature(QString::asprintf("%2.2f", double(CSetParam::state.boardtemp)));

    // 14. Network read-out, 15. serial number fallback from the MAC.
    NetworkSettings::GetHostNetAddress(sys_param::MAC, sys_param::IP, sys_param::Mask, sys_param::Gateway);
    if (channelModel* m = GetChModelFormIndex(CH_SYS, PARAM_INDEX_SYSMACADDR))
        m->disUpdate();
    const unsigned char first = static_cast<unsigned char>(SN[0]);
    if (SN[0] == '\0' || first < '0' || first > 'z') {
        const QString mac = QString::fromLatin1(sys_param::MAC, int(strnlen(sys_param::MAC, sizeof(sys_param::MAC))));
        const QString sn = serialFromMac(mac);
        qInfo("serial Num:%s mac:%s", qPrintable(sn), qPrintable(mac));
        SetSN(sn);
    }

    // The screens' copies of the record start from the record just loaded.
    uidata.publishRecord();

    // 16. Remote-command signals, queued into the worker thread.
    // A whole record from a remote thread is applied here and waited for.
    // The hand-over is ours rather than a blocking connection's: its
    // argument copy on the sender's stack is read in this thread, an order
    // only Qt's own semaphore gives.
    connect(
        this, &Ornav72::loadSysParamRemote, this,
        [this](QByteArray data) {
            if (thread() == QThread::currentThread()) {
                systemAllParamReload(data);
                return;
            }
            handoffSend(&data);
            QMetaObject::invokeMethod(
                this,
                [this, &data]() {
                    handoffTake(&data);
                    systemAllParamReload(data);
                    handoffSend(&data);
                },
                Qt::BlockingQueuedConnection);
            handoffTake(&data);
        },
        Qt::DirectConnection);
    connect(this, &Ornav72::setModeIndexCmd, this, &Ornav72::setModeIndexCmdProcess, Qt::QueuedConnection);
    connect(this, &Ornav72::setValueCmd, this, &Ornav72::setValueCmdProcess, Qt::QueuedConnection);
    connect(this, &Ornav72::setUnitsCmd, this, &Ornav72::setUnitsCmdProcess, Qt::QueuedConnection);
    connect(this, &Ornav72::chCmd, this, &Ornav72::chChanged, Qt::QueuedConnection);
    connect(this, &Ornav72::cmdClick, this, &Ornav72::simulateClick, Qt::QueuedConnection);
    connect(this, &Ornav72::chModSelectedCmd, this, &Ornav72::chModSelected, Qt::QueuedConnection);
    connect(this, &Ornav72::chBaseWaveSelectedCmd, this, &Ornav72::chBaseWaveSelected, Qt::QueuedConnection);

    // 17. Remote-control threads and message queue; the remote layer gets the
    // command set, the serial number and the clock from here.
    scpi_adpt_set_hooks({scpi_commands, &Ornav72::GetSN, &Ornav72::clock_tick});
    scpi_commands_install_receivers();
    scpi_install_wave_receivers();
    ArbWaveData::SetListRangeSource([](CH_ID ch, double* lo, double* hi) {
        CSetParam::state.pCharacter[ch].GetBWFreScope(int(sys_param::ch(ch).BaseWave), *lo, *hi);
    });
    scpi_instrument_qt_attach(&scpi_context);
    // Runs once this object's thread (the controller's) runs its loop.
    QMetaObject::invokeMethod(
        this, [] { scpi_instrument_qt_publish_when_idle(); }, Qt::QueuedConnection);
    scpi_adpt_init(this);
    // 18. The last user activity is now.
    supervision_.clrSavescreen();
}

Ornav72::~Ornav72()
{
    scpi_adpt_detach(this);
    if (pOrnav72 == this)
        pOrnav72 = nullptr;
    // The key reader stops before what its keys reach goes away.
    delete KeyQThread;
    KeyQThread = nullptr;
    if (touchFd >= 0)
        ::close(touchFd);
    // The tick must not run while the controller goes away.
    supervision_.stopTick();
    for (Channel*& c : channel) {
        delete c;
        c = nullptr;
    }
    // The system and coupling entries are this controller's own (the
    // screens' lists only point at them), as is the record's store with its
    // open EEPROM file; the channels that used them are gone.
    qDeleteAll(sysparalist);
    sysparalist.clear();
    qDeleteAll(ch12CoupleParalist);
    ch12CoupleParalist.clear();
    qDeleteAll(ch34CoupleParalist);
    ch34CoupleParalist.clear();
    delete sysparm;
    sysparm = nullptr;
}

void Ornav72::SetInfoWindowState(QString state, Uidata::ASK_TYPE type)
{
    askwindtype = type;
    emit uidata.askWindowRequested(state, int(type));
}

void Ornav72::UIStartUpInit(QObject* root)
{
    mainObject = root;
    initObject();
    for (const QString& text : arbFiles_.takePendingTips())
        emit TipsMessage(MESSAGE_TYPE_ERROR, ERROR_SCPI, false, text, true);
    // The channels' parameter lists and previews on the screens.
    for (int ch = CH1; ch <= CH4; ++ch) {
        if (!channel[ch])
            continue;
        channel[ch]->qmlparamLoad();
        if (pseObject[ch])
            channel[ch]->setpse(pseObject[ch]);
    }
    // Sync outputs, amplitude and phase coupling, merges as stored.
    applyStoredPairState();
    supervision_.powerCheck();
    // The stored address mode is applied in the controller's thread.
    if (channelModel* m = GetChModelFormIndex(CH_SYS, PARAM_INDEX_SYSIPSETTYPE))
        m->announceValue();
    // The record was loaded in the constructor, before any channel existed;
    // only now can each channel bring the hardware to its stored settings
    // (registers and output relay), on the controller's own thread.
    QMetaObject::invokeMethod(
        this, [this]() { applyStoredSettings(); }, Qt::QueuedConnection);
    qInfo("UI start-up done");
}

void Ornav72::initObject()
{
    connect(this, &Ornav72::tempdis, this, &Ornav72::SendTempDis, Qt::QueuedConnection);
    connect(this, &Ornav72::TipsMessage, this, &Ornav72::SendTipsMessageDis, Qt::QueuedConnection);
    connect(
        this, &Ornav72::channelParamChanged, this,
        [this](int ch) { RemoteRoad::chain(this, [this, ch]() { chParamChanged(ch); }); }, Qt::DirectConnection);
    if (mainObject) {
        // The screens may not declare every signal yet; a missing one is skipped.
        const struct {
            const char* sig;
            const char* slot;
        } qmlLinks[] = {
            {SIGNAL(beep(int)), SLOT(beep(int))},
            {SIGNAL(warnBeep(int)), SLOT(warnBeep(int))},
            {SIGNAL(chSignalSelected(int, int, int, bool, int)), SLOT(chSignalSelected(int, int, int, bool, int))},
            {SIGNAL(keyPress(int, int, int, int, int)), SLOT(keyPress(int, int, int, int, int))},
        };
        for (const auto& l : qmlLinks) {
            const QByteArray sig = QMetaObject::normalizedSignature(l.sig + 1);
            if (mainObject->metaObject()->indexOfSignal(sig) >= 0)
                connect(mainObject, l.sig, this, l.slot, Qt::QueuedConnection);
        }
    }
    connect(&uidata, &Uidata::listfreqUpdate, this, &Ornav72::listfreqChanged, Qt::QueuedConnection);
    connect(&uidata, &Uidata::upgrade, this, &Ornav72::upgrade, Qt::QueuedConnection);
    connect(this, &Ornav72::setKeyCmd, this, QOverload<int, int, int>::of(&Ornav72::keyPress), Qt::QueuedConnection);

    // The front-panel key reader and its two threads.
    if (!KeyQThread) {
        KeyQThread = new CKeyQThread();
        connect(KeyQThread, QOverload<int, int, int>::of(&CKeyQThread::SendKey), this,
                QOverload<int, int, int>::of(&Ornav72::keyPress), Qt::QueuedConnection);
        connect(KeyQThread, &CKeyQThread::WarnBeep, this, &Ornav72::warnBeep, Qt::QueuedConnection);
        connect(KeyQThread, &CKeyQThread::TipsMessage, this, &Ornav72::TipsMessage, Qt::QueuedConnection);
    }

    if (mainObject)
        getMainBarFromQml(mainObject);
    ArbWaveData::RemovePartialSaves();

    // 6. External reference icon from the stored clock source.
    supervision_.setExternalReferenceValid(sys_param::HWinfo.ClockSource);
    SendTipsMessageDis(MESSAGE_TYPE_INFO, STATUSBAR_EXT10, sys_param::HWinfo.ClockSource, "", false);
    // 7. Reference clock input and output as stored, then the phases restart.
    CSetParam::SetExtCLKIn(sys_param::HWinfo.ClockSource, sys_param::HWinfo.ClockOut);
    CSetParam::ResetFPFGA(true);

    runRecondTime.start();
    supervision_.clrSavescreen();

    // 10. The 500 ms system tick.
    supervision_.startTick();
}
