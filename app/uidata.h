#pragma once
// The QML-facing state object, exposed to the screens as context property
// "uidata". It holds the lists of editing models the screens show (each
// entry a QVariant holding one channelModel*), forwards screen actions to the
// controller and answers the pages' questions about the selection.
#include <atomic>
#include <mutex>
#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QVariantList>
#include "param/systype.h"

class Ornav72;
class QQmlApplicationEngine;
class channelModel;

#define UIDATA_LIST(name, Writer, Notify) Q_PROPERTY(QVariantList name READ r##name WRITE Writer NOTIFY Notify)

// What the screens show that the key routing decides on: reported by the
// screens (GUI thread) as it changes, copied out by the controller's thread
// under Uidata::screenLock. List views are named by ScreenView keys.
struct ScreenState {
    QString frame = QStringLiteral("normalframe"); // "topmain"'s state
    int tab = 0;                                   // the tab shown: 0..3 channels, 4 utility
    bool keyboardShown = false;                    // "vk" visible
    QString keyboardState;                         // "vk"'s state ("fileBrowse" ...)
    bool unitRowShown = false;                     // "vk"'s subkvisible
    int utilityPage = 0;                           // "utilitylayout"'s currentIndex
    int counterFocus = 0;                          // "UtilityCounterSet"'s focusIndex
    int digitalFocus = 1;                          // "UtilityDigitalSet"'s focusIndex
    QString focusedView;                           // the list view with the active focus
    QHash<QString, int> viewIndex;                 // currentIndex of each list view

    bool hasFocus(const QString& view) const { return !view.isEmpty() && focusedView == view; }
    int indexOf(const QString& view) const { return viewIndex.value(view, 0); }
};

class Uidata : public QObject {
    Q_OBJECT
    UIDATA_LIST(ch1inputlist, setch1List, ch1InputListChanged)
    UIDATA_LIST(ch2inputlist, setch2List, ch2InputListChanged)
    UIDATA_LIST(ch3inputlist, setch3List, ch3InputListChanged)
    UIDATA_LIST(ch4inputlist, setch4List, ch4InputListChanged)
    UIDATA_LIST(ch1setlist, wch1setList, ch1SetListChanged)
    UIDATA_LIST(ch2setlist, wch2setList, ch2SetListChanged)
    UIDATA_LIST(ch3setlist, wch3setList, ch3SetListChanged)
    UIDATA_LIST(ch4setlist, wch4setList, ch4SetListChanged)
    UIDATA_LIST(ch12CoupleSetList, wch12CoupleSetList, ch12CoupleSetListChanged)
    UIDATA_LIST(ch34CoupleSetList, wch34CoupleSetList, ch34CoupleSetListChanged)
    UIDATA_LIST(chMergeSetList, wchMergeSetList, chMergeSetListChanged)
    UIDATA_LIST(digitalSetList, wdigitalSetList, digitalSetListChanged)
    UIDATA_LIST(syssetlist, wsyssetlist, syssetlistChanged)
    UIDATA_LIST(syslanlist, wsyslanlist, syslanlistChanged)
    UIDATA_LIST(editlist, weditlist, editlistChanged)
    UIDATA_LIST(counterSetlist, wcounterSetlist, counterSetlistChanged)
    // Board temperature text ("25.00"), "--" before the first reading.
    Q_PROPERTY(QString boardTemperature READ boardTemperature NOTIFY boardTemperatureChanged)
    // Per tab (CH1..CH4, utility): the channel serves another role (sync or
    // digital output) and cannot be selected or edited.
    Q_PROPERTY(QVariantList chMask READ chMask NOTIFY chRolesChanged)
    // Per channel: the role's label ("CH1 SYNC OUT", "SPI-SCLK" ...), empty
    // for a normal output.
    Q_PROPERTY(QStringList chRoles READ chRoles NOTIFY chRolesChanged)

public:
    // Front-panel key numbers as QML sees them (same values as KBD_KEY).
    enum QML_KEY {
        QKey_Start = Key_Start,
        QKey_Mod = Key_Mod,
        QKey_Sweep = Key_Sweep,
        QKey_Burst = Key_Burst,
        QKey_Sine = Key_Sine,
        QKey_Square = Key_Square,
        QKey_Ramp = Key_Ramp,
        QKey_Pulse = Key_Pulse,
        QKey_Arb = Key_Arb,
        QKey_Harmonic = Key_Harmonic,
        QKey_Noise = Key_Noise,
        QKey_DC = Key_DC,
        QKey_PRBS = Key_PRBS,
        QKey_WARB = Key_WARB,
        QKey_Ch1 = Key_Ch1,
        QKey_Ch2 = Key_Ch2,
        QKey_Ch3 = Key_Ch3,
        QKey_Ch4 = Key_Ch4,
        QKey_Utility = Key_Utility,
        QKey_Right = Key_Right,
        QKey_Left = Key_Left,
        QKey_Ok = Key_Ok,
        QKey_Up = Key_Up,
        QKey_Down = Key_Down,
        QKey_0 = Key_0,
        QKey_1 = Key_1,
        QKey_2 = Key_2,
        QKey_3 = Key_3,
        QKey_4 = Key_4,
        QKey_5 = Key_5,
        QKey_6 = Key_6,
        QKey_7 = Key_7,
        QKey_8 = Key_8,
        QKey_9 = Key_9,
        QKey_Dot = Key_Dot,
        QKey_Symbol = Key_Symbol,
        QKey_Backspace = Key_Backspace,
        QKey_Cancel = Key_Cancel,
        QKey_Null = Key_Null,
    };
    Q_ENUM(QML_KEY)
    // Kind of the question dialog that is open.
    enum ASK_TYPE {
        ASK_NONE = 0,
        ASK_UPGTADE = 1,
        ASK_UPGTADING = 2,
        ASK_FACTORY = 3,
        ASK_LANGUAGE = 4,
        ASK_FILELOADING = 5,
        ASK_POWEROFF = 6,
        ASK_UPGRADOK = 7,
        ASK_POWERUPINFO = 8,
    };
    Q_ENUM(ASK_TYPE)

    explicit Uidata(QObject* parent = nullptr);

    Ornav72* controller = nullptr;
    QQmlApplicationEngine* engine = nullptr;
    // Per channel: the base list (not the mode list) is shown.
    bool baseType[4] = {true, true, true, true};
    QString notepadtext;
    // Counter display refresh, every 1000 ms while the counter is on.
    QTimer counterTimer;
    // The counter's switch as the controller last set it: written by the
    // controller's thread, read by the display refresh in the GUI thread.
    std::atomic<bool> counterSwitchedOn {false};

    // The lists the screens show: written by the controller's thread (and
    // by the screens through the properties), read by the screens in the
    // GUI thread. Guarded by listLock: read them with shownList(), write them
    // with setList() or the property writers.
    mutable std::mutex listLock;
    QVariantList chInputList[4];
    QVariantList chSetList[4];
    QVariantList ch12CoupleSetList;
    QVariantList ch34CoupleSetList;
    QVariantList chMergeSetList;
    QVariantList digitalSetList;
    QVariantList syssetlist;
    QVariantList syslanlist;
    QVariantList editlist;
    QVariantList counterSetlist;

    // What the screens' questions (getCurrentModel, getcurIndex, the mode
    // selections, the digital page's getters) are answered from: copies of
    // the record's fields. The record belongs to the controller's thread,
    // which writes it without a lock; that thread copies the fields here
    // before it announces anything the screens act upon (a rebuilt entry
    // list, a requested choice, a page reload), so the screens' answers
    // match what was announced. Guarded by shownLock.
    struct ShownChannel {
        u32 workMode = 0;
        u32 baseWave = 0;
        u32 modType = 0;
        u32 sweepType = 0;
        u32 burstType = 0;
    };
    struct ShownDigital {
        int type = 0;
        bool textFormat = false;
        bool autoSend = false;
        bool on = false;
        int uartDataBits = 0;
        int uartStopBits = 0;
        int uartParity = 0;
        // Bit t (0..7): the channels of type t are free (not taken by a sync
        // output). Other numbers name no type and take no channel.
        int freeTypes = 0;
        bool typeFree(int t) const { return t < 0 || t >= 8 || (freeTypes >> t) & 1; }
    };
    // Called by the controller's thread (or before it runs).
    void publishChannel(int ch);
    void publishDigital();
    void publishRecord();
    ShownChannel shownChannel(int ch) const;
    ShownDigital shownDigital() const;

    QString boardTemperature() const { return m_temperature; }
    QVariantList chMask() const;
    QStringList chRoles() const { return m_roles; }

    // Last progress value shown by the loader's progress bar (0..100, -1 failure).
    int processValue() const { return m_process; }

    // Property readers and writers. A write replaces the list only when it
    // differs and emits nothing; the send* operations announce the lists.
    QVariantList rch1inputlist() const { return shownList(chInputList[0]); }
    QVariantList rch2inputlist() const { return shownList(chInputList[1]); }
    QVariantList rch3inputlist() const { return shownList(chInputList[2]); }
    QVariantList rch4inputlist() const { return shownList(chInputList[3]); }
    void setch1List(const QVariantList& l) { replace(chInputList[0], l); }
    void setch2List(const QVariantList& l) { replace(chInputList[1], l); }
    void setch3List(const QVariantList& l) { replace(chInputList[2], l); }
    void setch4List(const QVariantList& l) { replace(chInputList[3], l); }
    QVariantList rch1setlist() const { return shownList(chSetList[0]); }
    QVariantList rch2setlist() const { return shownList(chSetList[1]); }
    QVariantList rch3setlist() const { return shownList(chSetList[2]); }
    QVariantList rch4setlist() const { return shownList(chSetList[3]); }
    void wch1setList(const QVariantList& l) { replace(chSetList[0], l); }
    void wch2setList(const QVariantList& l) { replace(chSetList[1], l); }
    void wch3setList(const QVariantList& l) { replace(chSetList[2], l); }
    void wch4setList(const QVariantList& l) { replace(chSetList[3], l); }
    QVariantList rch12CoupleSetList() const { return shownList(ch12CoupleSetList); }
    QVariantList rch34CoupleSetList() const { return shownList(ch34CoupleSetList); }
    QVariantList rchMergeSetList() const { return shownList(chMergeSetList); }
    QVariantList rdigitalSetList() const { return shownList(digitalSetList); }
    QVariantList rsyssetlist() const { return shownList(syssetlist); }
    QVariantList rsyslanlist() const { return shownList(syslanlist); }
    QVariantList reditlist() const { return shownList(editlist); }
    QVariantList rcounterSetlist() const { return shownList(counterSetlist); }
    void wch12CoupleSetList(const QVariantList& l) { replace(ch12CoupleSetList, l); }
    void wch34CoupleSetList(const QVariantList& l) { replace(ch34CoupleSetList, l); }
    void wchMergeSetList(const QVariantList& l) { replace(chMergeSetList, l); }
    void wdigitalSetList(const QVariantList& l) { replace(digitalSetList, l); }
    void wsyssetlist(const QVariantList& l) { replace(syssetlist, l); }
    void wsyslanlist(const QVariantList& l) { replace(syslanlist, l); }
    void weditlist(const QVariantList& l) { replace(editlist, l); }
    void wcounterSetlist(const QVariantList& l) { replace(counterSetlist, l); }

    // Lists by channel for the controller (null outside 0..3).
    QVariantList* getCurInputlist(int ch);
    QVariantList* getChSetlist(int ch);
    QVariantList* getsysSetlist() { return &syssetlist; }
    QVariantList* getsyslanlist() { return &syslanlist; }
    QVariantList* getCounterSetlist() { return &counterSetlist; }
    // The model at the list view's current index as the screens last
    // reported it (clamped into the list).
    channelModel* getCurChannelModel(const QString& view, QVariantList* list) const;

    // The screens' state as last reported (any thread).
    ScreenState screenState() const
    {
        std::lock_guard<std::mutex> k(screenLock);
        ScreenState s = m_screen;
        // The copy gets its own table while the lock is held: a table shared
        // with the reporting thread would be written in place there (its
        // sharing check is not ordered with the other thread's release).
        s.viewIndex.detach();
        return s;
    }
    // What the controller has just asked the screens for, noted at once so
    // that the next key already sees it (the screens report it again once
    // done).
    void noteViewFocus(const QString& view);
    void noteViewIndex(const QString& view, int index);
    void noteFrame(const QString& frame);

    // Reports of the screens (GUI thread).
    Q_INVOKABLE void reportFrame(const QString& state);
    Q_INVOKABLE void reportTab(int tab);
    Q_INVOKABLE void reportKeyboard(bool shown, const QString& state, bool unitRow);
    Q_INVOKABLE void reportUtilityPage(int page);
    Q_INVOKABLE void reportPageFocus(int page, int focusIndex);
    Q_INVOKABLE void reportView(const QString& view, bool focused, int index);

signals:
    void ch1InputListChanged(QVariantList list);
    void ch2InputListChanged(QVariantList list);
    void ch3InputListChanged(QVariantList list);
    void ch4InputListChanged(QVariantList list);
    void ch1SetListChanged(QVariantList list);
    void ch2SetListChanged(QVariantList list);
    void ch3SetListChanged(QVariantList list);
    void ch4SetListChanged(QVariantList list);
    void ch12CoupleSetListChanged(QVariantList list);
    void ch34CoupleSetListChanged(QVariantList list);
    void chMergeSetListChanged(QVariantList list);
    void digitalSetListChanged(QVariantList list);
    void syssetlistChanged(QVariantList list);
    void syslanlistChanged(QVariantList list);
    void editlistChanged(QVariantList list);
    void counterSetlistChanged(QVariantList list);

    void cmd_fpgaconfig(QString path);
    void listfreqUpdate(int ch);
    void upgrade();
    void processBarChanged(int value);
    void boardTemperatureChanged();
    void chRolesChanged();

    // ---- what the controller shows on the screens --------------------------
    // Emitted by the controller's thread. This object lives in the GUI
    // thread, so the screens' Connections run their handlers there, later,
    // with copies of the values: the controller never touches a screen
    // object and never waits for the GUI thread. Channels are 0..3.
    // The button column and the foot bar of a channel.
    void chInversionChanged(int ch, bool inverted);
    // on: the output switch; lit: the foot bar shows the channel active (on,
    // or carrying digital output).
    void chOutputChanged(int ch, bool on, bool lit);
    void chLoadChanged(int ch, QString text);
    // The limits, or empty texts while the limit switch is off.
    void chLimitsChanged(int ch, QVariant high, QVariant low);
    void chCopyAllowedChanged(int ch, bool allowed);
    void chManualTrigChanged(int ch, bool shown);
    // The merge page's routing of a pair (first channel 1 or 3, 1-based).
    void mergeRoutingChanged(int first, int firstMerged, int secondMerged);
    // The digital output page.
    void digitalTextFormatChanged(bool text);
    void digitalAutoSendChanged(bool on);
    void digitalPaintRequested();
    void digitalReloadRequested();
    void digitalInputChanged(QString text);
    // A digital-output setting from remote brings up the digital page.
    void digitalPageRequested();
    // Status bar icon (STATUSBAR_TYPE) shown or hidden.
    void statusIconChanged(int index, bool shown);
    // A message of the screens' tables for a while (type 0 info, 1 tips,
    // 2 error).
    void messageTipsRequested(int type, int number, QString header, int milliseconds);
    // The full-screen mask: screen saver and remote lock.
    void screenSaveChanged(bool saver, bool locked);
    void screenMaskEnabled(bool enabled);
    // Requests the screens answer (through their own signals or Uidata
    // calls): posted as hops of the remote road (RemoteRoad::chain), so
    // that the answer is applied before a remote "*OPC?" replies.
    void counterStripRequested(bool on);
    void screenShotRequested(bool convert, QString path, int where);
    void chModeRequested(int ch, int mode);
    void chBaseWaveRequested(int ch, int wave, int where);
    void chWaveRequested(int ch, int index, int where);
    // A channel page rebuilds its entries from its input list.
    void chParamLoadRequested(int ch);
    // ---- the front-panel keys on the screens --------------------------------
    // Hops of the remote road like the requests above. Views are ScreenView
    // keys; each request calls the screen function of the same purpose.
    void tabRequested(int tab, int where);        // setChTab
    void frameRequested(QString state);           // topmain changeState
    void helpKeyRequested(int key);               // helpview getToButtonIndex
    void askKeyRequested(int key);                // askWindow onkey
    void keyboardKnobRequested(int key, int arg); // vk hdknob
    // OK while the unit row is shown: the unit highlighted there goes to
    // the model (as keyPress(unit, repeat, list, paramindex, where)).
    void keyboardUnitRequested(int repeat, int list, int paramindex, int where);
    // The USB disk went away: the file browser showing it closes (hidefouce).
    void browserCloseRequested();
    void listFocusRequested(QString view);                // forceActiveFocus
    void listStepRequested(QString view, bool up);        // upCurrentIndex / downCurrentIndex
    void listColumnRequested(QString view, bool right);   // moveCurrentIndexRight / Left
    void listIndexRequested(QString view, int index);     // currentIndex
    void pageKeyRequested(int page, int key, int repeat); // counterOnkey / digitalOnkey
    void utilityMenuRequested(int page);                  // utility updateMainIndex
    void versionsRequested(QString soft, QString fpga);   // system page updateVersion
    // The ask dialog: a state with the text of its type, or a power-up notice.
    void askWindowRequested(QString state, int type); // infoWindowState
    void powerInfoRequested(QString text, int type);  // powerinfo
    // The counter's readings: the strip's first values and the page's lists.
    void counterStripUpdated(QString freq, QString period, QString duty, QString width);
    void counterResultsUpdated(QVariant freq, QVariant period, QVariant duty, QVariant pwidth, QVariant nwidth,
                               int samples);

public slots:
    void updateProcessBar(int value);
    // Set in the GUI thread (the controller queues them here).
    void setBoardTemperature(const QString& text);
    void setChRole(int ch, bool disabled, const QString& label);

    // A shown list read under listLock (any thread).
    QVariantList shownList(const QVariantList& l) const
    {
        std::lock_guard<std::mutex> k(listLock);
        return l;
    }
    // A shown list replaced under listLock.
    void setList(QVariantList& dst, const QVariantList& src)
    {
        std::lock_guard<std::mutex> k(listLock);
        dst = src;
    }
    void sendInputListChanged(int ch);
    void sendAllChsetListChanged();
    void sendch12CoupleSetListChanged() { emit ch12CoupleSetListChanged(shownList(ch12CoupleSetList)); }
    void sendch34CoupleSetListChanged() { emit ch34CoupleSetListChanged(shownList(ch34CoupleSetList)); }
    void sendchMergeSetListChanged() { emit chMergeSetListChanged(shownList(chMergeSetList)); }
    void sendsyssetlistChanged() { emit syssetlistChanged(shownList(syssetlist)); }
    void sendsyslanlistChanged() { emit syslanlistChanged(shownList(syslanlist)); }
    void sendcounterSetlistChanged() { emit counterSetlistChanged(shownList(counterSetlist)); }
    void senddigitalSetListChanged()
    {
        publishDigital();
        emit digitalSetListChanged(shownList(digitalSetList));
    }

    // Screen actions (channel numbers 0..3).
    void switchToCh(int ch);
    void chSwitch(int ch, bool on);
    void chReverse(int ch, bool on);
    void chSetLoad(int ch, double load);
    void mergeClick(int ch, bool on);
    void channelCopy(int ch);
    // The channel's work-mode index (WorkMode >> 12).
    int getCurrentModel(int ch);
    // Low four bits of the base wave (kind 0), modulation (1), sweep (2) or
    // burst type (3).
    int getcurIndex(int ch, int kind);
    // Position of the stored mode type when it suits the base wave, else the
    // first that does (stored), or -1.
    int modulateSelected(int ch);
    int sweepSelected(int ch);
    int burstSelected(int ch);
    // Storage place of the channel's file browser; false when refused.
    bool setstorage(int ch, int place);
    int storagePlace(int ch);
    QString storageLocal(int ch);
    QString storageUser(int ch);
    QString storageExternal(int ch);
    void askProcess(int type);

    // Frequency counter display.
    void counteronoff(bool on);
    void counterClr();
    void counterUpdate_Slots();
    // Digital protocol output.
    int getdigitalfun();
    bool digitalfunChanged(int fun);
    bool getdigitalfromat();
    bool getdigitalAutoSend();
    bool getdigitalSwitch();
    bool setdigitalSwitch(bool on);
    void digtalTextChanged(QString text);
    int uartDataBits();
    int uartStopBits();
    int iSuartVerify();
    // Manual trigger button: CH_DIGITAL (7) sends the digital data once while
    // the digital output is on; 0..3 trigger that channel.
    void channelManulTrigChanged(int ch);
    void clrAskWindowtype();
    // Captures the screen; with a folder, saves it there as the next free
    // "screenshot<N>" file in the picture format of the settings.
    bool screenShot(bool convert, QString path, int where);
    // The system page: names, versions, serial number and web address.
    QString getDeviceName();
    QString getHttp();
    // The FPGA / software version text; without full, the text before its
    // last ".".
    QString getFpgaVersion(bool full);
    QString getSoftVersion(bool full);
    QString getHardwaveVersion();
    QString getSN();
    // Whether the FPGA holds a configuration; when not, the stored bitstream
    // is loaded (cmd_fpgaconfig) and the answer is false.
    bool fpgaOnlineCheck();
    // Factory output-protection test (uidata_protect.cpp): every output is
    // driven into the fixture's short and must be switched off by the
    // overload protection. One line per channel, then "all is ok" when every
    // check passed.
    QString protectTest();
    bool testOne(int ch);
    bool testOneDC(int ch);

    // ---- frequency-list editor and the file browser (uidata_files.cpp) ----
    // Paths from QML are board paths, optionally with the prefix "file://".
    int loadList(int ch);
    int listEditorAdd(int ch, int index);
    bool listEditorDelete(int ch, int index);
    int listEditorMoveUp(int ch, int index);
    int listEditorMoveDown(int ch, int index);
    bool setlistEditorValue(int ch, int index, double value);
    bool savelist(int ch, QString file);
    QString newCsvFile(QString dir);
    QString newfolder(QString dir);
    bool rmdir(QString path);
    bool rmfile(QString path);
    bool remove(QString name, bool isdir);
    bool rename(QString name, QString newname, bool isdir);
    bool renameFile(QString path, QString newname);
    bool renameFolder(QString path, QString newname);
    // Inside the built-in library (directly or through its links).
    bool isInSysFolder(QString path);
    // Remembers a file or folder to copy; cpypstProcess copies it into dir.
    void cpyRequest(QString path, bool isdir);
    bool cpypstProcess(QString dir);
    bool copyDirectoryFiles(QString from, QString to, bool cover);
    bool deleteDirectory(QString path);
    bool listFileType(int ch);
    QStringList getFileTypeFilter(int ch);
    QString getMemInfo(int place);
    void translateArbDir(QVariantList list);

    // File browser: the folders and matching files of a folder of the
    // browser's storages ({name, path, isDir, size} each, folders first);
    // nothing for a folder outside them.
    QVariantList browseFolder(QString dir, QStringList filters);

private:
    void replace(QVariantList& dst, const QVariantList& src)
    {
        std::lock_guard<std::mutex> l(listLock);
        if (dst != src)
            dst = src;
    }
    int firstSupported(int ch, int kind);
    bool protectCheck(int ch, double ampl, double offset);
    void fileTip(int index, bool ok);
    void listEdited(int ch);
    mutable std::mutex shownLock;
    ShownChannel m_shownCh[4];
    ShownDigital m_shownDigital;
    int m_process = 0;
    QString m_temperature = QStringLiteral("--");
    mutable std::mutex screenLock; // guards m_screen
    ScreenState m_screen;
    bool m_disabled[4] = {false, false, false, false};
    QStringList m_roles = {QString(), QString(), QString(), QString()};
    QString m_copySource; // board path remembered by cpyRequest
    bool m_copyIsDir = false;
};
