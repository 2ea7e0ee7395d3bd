#pragma once
// The application controller: owns the persistence object, the channels, the
// system editing models, the QML-facing state, the key reader and the board
// lines; runs the start-up sequence and routes parameter changes and status
// messages. Constructed in the GUI thread, then moved to its worker thread.
#include <atomic>
#include <functional>
#include <QElapsedTimer>
#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QByteArray>
#include <QVariantList>
#include "param/global.h"
#include "app/uidata.h"
#include "hardware/fpga_config.h"
#include "hardware/mem_io.h"
#include "app/counter.h"
#include "app/supervision.h"
#include "app/network_settings.h"
#include "app/screen_capture.h"
#include "app/upgrade.h"
#include "app/arbfiles.h"
#include "app/digital_protocol.h"
#include "communication/SCPI/commands/scpi_service_host.h"
#include "communication/SCPI/commands/scpi_display_host.h"
#include "communication/SCPI/commands/scpi_digital_host.h"

class Channel;
class CKeyQThread;
class PseWave;
class SysParm;
class channelModel;
class QTimer;
class QThread;

class Ornav72 : public QObject, public ScpiServiceHost, public ScpiDigitalHostOwner, public ScpiDisplayHostOwner {
    Q_OBJECT
public:
    Ornav72();
    ~Ornav72() override;

    void UIStartUpInit(QObject* root);
    void initObject();
    // Takes the waveform previews of the screens (GUI thread, at start-up).
    void getMainBarFromQml(QObject* root);

    static qint64 clock_tick();
    // The current channel 0..3 (CH_ID); asked by the remote channel queries
    // from the SCPI worker's thread, hence the published copy.
    Q_INVOKABLE int currentChannel() const { return shownCh.load(); }
    void SetInfoWindowState(QString state, Uidata::ASK_TYPE type);
    // The factory and service rows of the remote interface.
    void serviceSetValue(int ch, int paramIndex, double value) override;
    void serviceSetSerial(const char* text, unsigned length) override;
    QString serviceSysInfo() override;
    void serviceSaveSysInfo(const QString& text) override;
    void serviceSaveHttp(const QString& text) override;
    QString serviceHttp() override;
    void serviceWakeScreen() override;
    // The digital-output rows of the remote interface, answered by the part
    // that drives the output.
    ScpiDigitalHost* digitalHost() override { return &digital_; }
    DigitalProtocol& digital() { return digital_; }

    // System information and serial number (settings file "SysInfo", "SN").
    QString InitSysInfo();
    void SaveSysInfo(QString text);
    void SaveSysHTTP(QString text);
    QString getHttp();
    void SetSN(QString text);
    void SetSN(const char* text, unsigned length);
    static const char* GetSN();
    static const char* GetSoftwareVersion();
    // ---- screen capture ---------------------------------------------------------
    // Reads the rendered frame into the capture buffer; with convert, also
    // into an image, and with a folder saves it there as the next free
    // "screenshot<N>" file. Runs in the GUI thread.
    bool getscreenShot(bool convert = false, QString savePath = QString(), int where = 0)
    {
        return capture_.getscreenShot(convert, savePath, where);
    }
    // The remote screen rows: a capture made in the GUI thread, copied out.
    QByteArray displayCapture() { return capture_.displayCapture(); }
    ScpiDisplayHost* displayHost() override { return &capture_; }
    const ScreenCapture& capture() const { return capture_; }

    // The serial number derived from a MAC text ("00:00:00:00:01:00" -> "256");
    // "1234567891234" when the text has fewer than six parts.
    static QString serialFromMac(const QString& mac);

    // ---- channels ------------------------------------------------------------
    // Gives CH3/CH4 the role of sync output of CH1/CH2 when that channel's
    // sync output is on (normal output otherwise).
    void ChannelSyncOut(CH_ID ch);
    // Stores a channel's alternative use and updates its screens; with exec
    // the channel is applied.
    void ChDisableDisUpdate(CH_ID ch, int alterfun, QString label, bool exec);
    // The channel serves sync or digital output (its keys and tab rest).
    bool roleTaken(CH_ID ch) const;
    // Masks the amplitude-coupling switch of a pair (COUPLE12 / COUPLE34).
    void coupleAmplSwitchMask(CH_ID pair, bool masked);
    // Hooks of the selection, coupling and screen layers.
    bool conflictIOCheck(CH_ID ch, QString& names);
    void setHandlTrig(CH_ID ch);
    void channalCopy(CH_ID ch);
    void channelFourcePhaseSync(bool on, int tip);
    void ChDisableMergeDisUpdate(CH_ID ch, bool disabled);
    void chSwDisUpdate(CH_ID ch, bool on);
    void chReverseDisUpdate(CH_ID ch);
    void chLoadDisUpdate(CH_ID ch);
    void chLimitDisUpdate(CH_ID ch);
    void chMergeDisUpdate(CH_ID ch);
    void chCopyBtnObjectDisUpdate(CH_ID ch);
    // Inversion, output switch, load, limits and merge of a channel.
    void StatusDisUpdate(CH_ID ch);

    // Users of the shared trigger/FSK connector as channel bit masks.
    void channelTrigOut(int& out, int& modIn, int& trigIn);
    // The editing model of a parameter: list 0..3 a channel, COUPLE12 and
    // COUPLE34 the pairs, CH_SYS/CH_DIGITAL/CH_COUNTER the system models.
    channelModel* GetChModelFormIndex(CH_ID list, int paramindex);
    void ChannelOnOff(CH_ID ch, bool on);
    // Reloads every model and display of a channel and applies it.
    void channalReload(CH_ID ch);
    // Applies every channel's stored configuration to the hardware, as the
    // start-up does once the screens exist.
    void applyStoredSettings();
    void systemReload();
    void powerUpParamChanged();
    void chUpdateParamList(channelModel* model);
    // Builds the system, counter and digital models and the lists the system
    // and network pages show.
    void InitSysSetlist();
    // Builds the coupling models of both pairs and the entries each pair shows.
    void InitCoupleSetlist();
    void UpdateCoupleSetList(CH_ID pair);
    // Start-up and whole-record reloads: the stored sync outputs, amplitude-
    // and phase-coupling and merge state of the pairs applied to the models
    // and the screens.
    void applyStoredPairState();
    // Start-up: the system entries whose changes the controller answers.
    void connectSettingHandlers();

    // ---- frequency counter and digital protocol output --------------------
    // Stores a new output type when the output is off or the type is
    // available; false (and tip 11) otherwise.
    Q_INVOKABLE bool digitalTypeChanged(int newfun);
    // Data received remotely: at most 2048 bytes, shown on the page.
    Q_INVOKABLE void digitalRemoteData(QByteArray data);
    // The model wiring of the counter and digital entries (sysparalist 18..34).
    void connectCounterDigitalModels();
    // Counter switched: apply it and open or close the counter strip.
    void counterSwChanged();

    // ---- what the parts, the screens' data and the remote side reach ------
    // The state the screens read (lives in the GUI thread).
    Uidata& ui() { return uidata; }
    // Channel ch (CH1..CH4); null for another index or before the screens
    // built it.
    Channel* channelAt(int ch) const { return ch >= CH1 && ch <= CH4 ? channel[ch] : nullptr; }
    // The system, counter and digital-output entries, in parameter order
    // from PARAM_INDEX_SYS_START.
    const QList<channelModel*>& systemModels() const { return sysparalist; }
    // The front-panel key reader (null until the screens are up).
    CKeyQThread* keyReader() const { return KeyQThread; }
    // The parameter record's persistence (EEPROM and power-up setting).
    SysParm* sysParm() const { return sysparm; }
    // The board lines: power key, fan, expander.
    mem_io& boardLines() { return memio; }
    // The FPGA configuration port: bitstream loads and upgrade scripts.
    fpga_config& fpga() { return fpgaconfig; }
    // The question the info window asks (ASK_NONE while it is closed).
    Uidata::ASK_TYPE askWindowType() const { return askwindtype; }
    void setAskWindowType(Uidata::ASK_TYPE type) { askwindtype = type; }
    // Whether channel ch's file browser offers frequency lists.
    bool listFileShown(int ch) const { return ch >= CH1 && ch <= CH4 && listFileType[ch]; }
    // From the system information: the education model, the bandwidth
    // variant; and whether the factory menu was opened.
    bool educationModel() const { return education; }
    uint32_t bandwidthVariant() const { return bandwidth; }
    bool factoryModel() const { return factorymodel; }
    // Starts the uptime clock behind clock_tick() (the start-up does; a rig
    // without a controller too).
    static void startUptimeClock() { runRecondTime.start(); }
    // The serial number the identification reports, without storing it
    // (SetSN stores it); cut to 31 characters.
    static void useSerialNumber(const char* text);

    // ---- the screens ----------------------------------------------------------
    // The screens' window (set at start-up, null without screens): the
    // screen capture reads its frames and its signals reach the slots
    // below. Nothing is called on it; the screens take Uidata's signals.
    QObject* mainObject = nullptr;
    // The waveform previews (C++ items) the channels paint into.
    PseWave* pseObject[4] = {nullptr, nullptr, nullptr, nullptr};

signals:
    void tempdis(float temp);
    void TipsMessage(int type, int index, bool status, QString header = "", bool disWindow = true);
    void channelParamChanged(int ch);
    void setValueCmd(int ch, int paramindex, double value);
    void setUnitsCmd(int ch, int paramindex, int unit);
    void setModeIndexCmd(int ch, int mode, int index);
    void setKeyCmd(int key, int repeat = 0, int where = 0);
    void chArbCmd(int ch, QString arbfile, bool base, bool exe, bool tempfile);
    void chListCmd(int ch, QString Sfile, bool exe, bool tempfile);
    void chCmd(int ch);
    void loadSysParamRemote(QByteArray data);
    void cmdClick(int x, int y, int press_status);
    void cmdSetTimer(int setV);
    void cmdStopTimer();
    void chModSelectedCmd(int ch, int bmodeIndex);
    void chBaseWaveSelectedCmd(int ch, int bwaveIndex, int where);

public slots:
    void SendTipsMessageDis(int type, int index, bool status, QString header = "", bool disWindow = true);
    void chParamChanged(int ch);
    void SendTempDis(float temp);
    void systemAllParamReload(QByteArray data);

    // Handlers that later subsystems fill in; each is named for its job and
    // does nothing until that subsystem exists.
    void chUpdateArbMem(int ch, QString arbfile, bool base, bool exe, bool tempfile);
    void chUpdateListMem(int ch, QString file, bool exe, bool tempfile);
    // A wave just received and stored as path: loaded from the bytes held
    // (the whole file, header first), without reading the file back.
    void chLoadArbBytes(int ch, QString path, QByteArray bytes, bool base, bool exe);
    // A file the record names is gone: error -256 on the error list and a
    // message on the screen (kept until the screens are up at start-up).
    void reportMissingFile(const QString& path);
    // Links the library folders into "/media/ram" under their shown names
    // (pairs [folder, shown name]).
    void SetArbDir(QVariantList list);
    void setModeIndexCmdProcess(int ch, int mode, int index);
    void setValueCmdProcess(int ch, int paramindex, double value);
    void setUnitsCmdProcess(int ch, int paramindex, int unit);
    void chChanged(int ch);
    // Remote touch: writes the touch-screen events of a press or release at
    // the screen position (x, y); 1 when the input device cannot be opened.
    int simulateClick(int x, int y, int press_status);
    void chModSelected(int ch, int bmodeIndex);
    void chBaseWaveSelected(int ch, int bwaveIndex, int where);
    void chSignalSelected(int ch, int mode, int index, bool base, int where);
    void keyPress(int key, int repeat = 0, int where = 0);
    // A key for the editing model chlistIndex (a parameter index) of list ch.
    void keyPress(int realkey, int repeat, int ch, int chlistIndex, int where);
    void beep(int where);
    void warnBeep(int where);
    void ParamListChanged();
    void listfreqChanged(int ch);
    void upgrade();
    void SysTimer_Slots();
    void brightnessChanged();

    // ---- system supervision, display power and network settings -------------
public:
    // Records now as the last user activity; returns whether the screen
    // saver was on (the caller then swallows the key that woke it).
    bool clrSavescreen() { return supervision_.clrSavescreen(); }
    bool screenSaved() const { return supervision_.screenSaved(); }
    // The tick, screen saver and display power (read by tests).
    const Supervision& supervision() const { return supervision_; }
    // Looks for an upgrade package folder on the USB disk; the one found is
    // kept for the upgrade.
    bool haveUpgradefile() { return upgrade_.haveUpgradefile(); }
    const Upgrade& upgradePackage() const { return upgrade_; }
    // The Ethernet address settings.
    NetworkSettings& network() { return network_; }
    // The uptime clock behind clock_tick(): null is the program's own
    // elapsed timer. Tests put a clock of their own here.
    static void setUptimeSource(qint64 (*source)());
    // Moves clock_tick() forward by ms (tests; on a simulated board the
    // tick also takes the offset from "/var/run/ornav-uptime-offset").
    static void setUptimeOffset(qint64 ms);

public slots:
    void IPSetTypeChanged();
    void IPParamChanged();
    // Slots of the counter and digital entries.
    void counterParamChanged();
    void digitalClkChanged();
    void digitalParamChanged();
    void digitalFormatChanged();
    void digitalSWChanged();
    void digitaAutoSendChanged();
    void digitalRequestPaint();
    // Channel pairs and system settings answered by the controller.
    void chCoupleTypeChanged(CH_ID pair);
    void sysClkSourceChanged();
    void sysClkOutChanged();
    void sysClkSourceDisUpdate(bool disWindow = true);
    void languageChanged();
    void systemParamChanged();
    void disSeparatorChanged();

private:
    // Connects the back-light and network entries of the system list.
    void connectSupervisionModels();

private:
    // ---- front-panel keys ------------------------------------------------------
    void keyPressCh(int key, int repeat, int where);
    void keyPressUtility(int key, int repeat, int where);
    void hideCmd(int key);
    // Requests to the screens for the keys (each a hop of the remote road);
    // the list moves also note the expected position in Uidata's copy, so
    // a key that follows at once decides on it.
    void askScreens(std::function<void(Uidata*)> emitRequest);
    void focusList(const QString& view);
    void setListIndex(const QString& view, int index);
    int stepList(const QString& view, bool up, int count); // the index it moves to
    void moveListColumn(const QString& view, bool right, int rows, int count);
    // Per list (0..3 channels, COUPLE12, COUPLE34, CH_SYS, CH_DIGITAL,
    // CH_COUNTER) the model the last key went to.
    channelModel* keyModelCache[9] = {};
    int touchFd = -1; // the touch-screen input device, open once used

    void resolvePortConflict(CH_ID ch);
    // The panel LEDs follow a channel apply one expander word at a time on
    // a timer, so the bus gaps do not hold the apply (nor a remote reply
    // waiting for it); changes meanwhile coalesce into one refresh.
    void stepLeds();
    bool ledStepArmed = false; // controller thread: a step is on the timer

    // ---- fields, in declaration order -------------------------------------
    // Threads: every field below belongs to the controller's thread (its
    // slots, the tick it posts to itself, the remote requests queued to it)
    // unless its comment names another owner or guard. The GUI thread reaches
    // them only through queued calls; the screens read Uidata and the entries.
    // Channel ch's file browser offers frequency lists (a list sweep is shown).
    bool listFileType[4] = {false, false, false, false};
    // Last visibility given to each channel's manual-trigger button (-1 none yet).
    int handlTrigShown[4] = {-1, -1, -1, -1};
    // From the system information: the education model and the bandwidth
    // variant of the channels.
    bool education = false;
    uint32_t bandwidth = 0;
    CKeyQThread* KeyQThread = nullptr;
    Uidata uidata; // lives in the GUI thread
    SysParm* sysparm = nullptr;
    QList<channelModel*> sysparalist;
    QList<channelModel*> ch12CoupleParalist;
    QList<channelModel*> ch34CoupleParalist;
    static QElapsedTimer runRecondTime;
    Channel* channel[4] = {nullptr, nullptr, nullptr, nullptr};
    CH_ID currentCh = CH1; // controller's thread
    // currentCh for other threads: written with it, by the controller's thread.
    std::atomic<int> shownCh {CH1};
    Uidata::ASK_TYPE askwindtype = Uidata::ASK_NONE;
    QString hidCmdTmp;
    mem_io memio;
    fpga_config fpgaconfig;
    static char SN[32];
    bool factorymodel = true;

    Supervision supervision_ {*this};
    NetworkSettings network_ {*this};
    ScreenCapture capture_ {*this};
    Upgrade upgrade_ {*this};
    ArbFiles arbFiles_ {*this};
    DigitalProtocol digital_ {*this};
    Counter counter_ {*this};
};

// The one controller of the process, set once it is constructed.
extern Ornav72* pOrnav72;
