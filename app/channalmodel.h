#pragma once
#include <QStringList>
// channelModel: one editable value of the instrument (a channel's frequency,
// amplitude, a modulation depth, a switch ...). The model holds the value's
// descriptor(s) (DataInfo: accessor pair into the parameter record, limits,
// digits), the text shown on screen, and reports changes: the channel (or a
// signal object) listens to valueChanged() and re-derives whatever depends on
// the value, then asks the controller to apply the channel.
//
// Entries with several input forms (amplitude as Vpp/Vrms/dBm/high level,
// frequency or period, ...) hold one descriptor per form; m_param points at
// the one in use. Range rules that depend on other parameters and on the
// hardware live in subclasses overriding UpdateRange(); the base keeps the
// limits of its descriptor and only brings the stored value inside them.
#include <mutex>
#include <QObject>
#include <QString>
#include <atomic>
#include "param/global.h"

class Signal;
class Channel;

class channelModel : public QObject {
    Q_OBJECT
    // The text, the cursor and its length and the unit row change together
    // and reach the screens through one notification (shownChanged).
    Q_PROPERTY(QString listvalue READ rlistvalue WRITE wlistvalue NOTIFY shownChanged)
    Q_PROPERTY(int value READ shownValue NOTIFY valueChanged)
    Q_PROPERTY(bool isMultiSelect READ risMultiSelect NOTIFY isMultiSelectChanged)
    Q_PROPERTY(QString keyboardtype READ shownKeyboardType WRITE wkeyboardtype NOTIFY keyboardtypeChanged)
    Q_PROPERTY(bool paramfocus READ rparamfocus WRITE wparamfocus NOTIFY paramfocusChanged)
    Q_PROPERTY(int sPos READ rsPos WRITE wsPos NOTIFY shownChanged)
    Q_PROPERTY(int sLenth READ rsLenth NOTIFY shownChanged)
    Q_PROPERTY(bool mask READ rmask WRITE wmask NOTIFY maskChanged)
    Q_PROPERTY(int units READ shownUnits NOTIFY unitsChanged)
    Q_PROPERTY(int unit READ shownUnitIndex NOTIFY unitChanged)
    Q_PROPERTY(int paramindex READ rparamindex NOTIFY paramindexChanged)
    Q_PROPERTY(int nameindex READ shownNameIndex WRITE wnameindex NOTIFY nameindexChanged)
    Q_PROPERTY(QString listgroup READ rlistgroup WRITE wlistgroup NOTIFY listgroupChanged)
    // Row of the unit table the value is shown in (-1 without one): the
    // number pad highlights it first, so OK after typing keeps the unit seen.
    Q_PROPERTY(int shownUnit READ shownUnitRow NOTIFY shownChanged)

public:
    channelModel(CH_ID ch, DataInfo info, int paramindex, EParamType type, bool isMultiSelect,
                 QObject* parent = nullptr);
    ~channelModel() override;

    // ---- fields, in declaration order -------------------------------------
    // Threads: an entry is edited by the thread that handles keys, touches
    // and remote settings (the controller's) and shown by the screens, which
    // read its properties in the GUI thread. The fields the screens read are
    // atomic, or guarded by m_textLock (the texts); the others belong to the
    // editing thread.
    DataInfo* m_MutiParam = nullptr;
    DataInfo* m_param = nullptr;
    uint32_t m_param_size = 0;
    int paramindex = 0;
    int nameIndex = 0;
    bool isMultiSelect = false;
    Signal* curSignal = nullptr;
    Channel* channel = nullptr;
    QString m_name;
    // The text shown and the keyboard's kind: guarded by m_textLock; read
    // them with text() and keyboardType(), write them with wlistvalue() and
    // wkeyboardtype().
    mutable std::mutex m_textLock;
    QString m_value;
    QString m_keyboardtype;
    // Whether the coupled pair's values fit (green) or not (red): written by
    // the editing thread, shown by the screens.
    std::atomic<bool> m_couplestate {true};
    std::atomic<int> m_sLenth {0}; // shown by the screens
    // What the screens show of the parameter record, as the editing thread
    // last saw it: the value and its unit row, the unit buttons, the form in
    // use, the name, the coupling mark and the keyboard's kind (that one
    // under m_textLock). The record has no lock and is written by the
    // editing thread, so the GUI thread reads these copies. Refreshed by
    // publishShown() before every change is announced (valueChanged,
    // unitChanged, disUpdate ...) and whenever the editing thread itself
    // reads the properties.
    std::atomic<int> m_shownValue {0};
    std::atomic<int> m_shownUnit {-1};
    std::atomic<int> m_shownUnits {0};
    std::atomic<int> m_shownUnitIndex {0};
    std::atomic<int> m_shownNameIndex {0};
    std::atomic<bool> m_shownCoupled {false};
    QString m_shownKeyboard;
    std::atomic<int> m_sIndex {0}; // shown by the screens
    int m_selectIndex = 0;
    bool inputting = false;
    std::atomic<bool> m_paramfocus {false}; // shown by the screens
    std::atomic<bool> mask {false};         // shown by the screens
    CH_ID ch = CH1;
    EParamType type = EPT_Undefine;

    // Binds the entry to its channel (also its QObject parent).
    void setParent(Channel* c);
    bool GetValue(double& v) const;
    bool GetValue(int& v) const;
    // The value through the descriptor in use (0 without one).
    double value() const;
    // The edit entry point: checks the value against the limits of the
    // descriptor `unitIndex` (clamping it, reporting -801 and the
    // out-of-range tip when it had to), stores it when it differs, and runs
    // the change processing. True when the value was within the limits.
    bool SetValue(double value, int unitIndex = 0);
    // Makes descriptor `index` the one in use; false for an index the entry
    // does not have.
    bool selectParam(int index);
    int paramIndexInUse() const { return int(m_param - m_MutiParam); }
    const DataInfo* descriptor(int index) const
    {
        return index >= 0 && uint32_t(index) < m_param_size ? &m_MutiParam[index] : nullptr;
    }
    void updateDataInfo();
    // The value of form u read back through its getter and brought inside
    // that form's limits (stored again when it had to move): the first step
    // of deriving the record's other forms. False for a form the entry lacks.
    bool checkedFormValue(int u, double& v);
    void wmask(bool m);
    void wlistvalue(QString v);
    void disfocused();
    CH_ID rCh() const { return ch; }
    bool isSymbol() const;
    // Leading-digit exponent of a value (0 for |x| < 1e-20 or x > 1e20).
    static int GetMaxBit(double x);

    // Property readers.
    QString rlistvalue() const { return text(); }
    // The text shown, read under its lock (any thread).
    QString text() const
    {
        std::lock_guard<std::mutex> l(m_textLock);
        return m_value;
    }
    QString keyboardType() const
    {
        std::lock_guard<std::mutex> l(m_textLock);
        return m_keyboardtype;
    }
    int rvalue() const;
    bool risMultiSelect() const { return isMultiSelect; }
    bool rparamfocus() const { return m_paramfocus; }
    int rsPos() const { return m_sIndex; }
    int rsLenth() const { return m_sLenth; }
    bool rmask() const { return mask; }
    int rparamindex() const { return paramindex; }
    void wkeyboardtype(QString t)
    {
        {
            std::lock_guard<std::mutex> l(m_textLock);
            m_keyboardtype = t;
        }
        emit keyboardtypeChanged(t);
    }
    void wsPos(int p);

public slots:
    virtual QString rkeyboardtype();
    virtual int runits();
    virtual int runit();
    int rshownUnit();
    // Property readers of the screens (see m_shownValue): the live value in
    // the editing thread, the published copy in any other.
    int shownValue();
    int shownUnitRow();
    int shownUnits();
    int shownUnitIndex();
    int shownNameIndex();
    QString shownKeyboardType();
    // Whether the entry's pair is coupled for this value (the screens' mark).
    bool isCoupled();
    void publishShown();
    // The text, cursor or unit row changed: shownChanged() at once in the
    // screens' thread; from the editing thread, one queued shownChanged()
    // for every change made until the screens' thread takes it.
    void announceShown();
    // The form in use changed: the copies are refreshed, then unitChanged().
    void announceUnit()
    {
        publishShown();
        emit unitChanged();
    }
    // The value changed: the copies are refreshed, then valueChanged().
    void announceValue()
    {
        publishShown();
        emit valueChanged();
    }
    virtual QString rlistgroup();
    virtual int rnameindex();
    // New limits for descriptor unitIndex; when the descriptor in use
    // changed, the value is brought inside (result of SetValueWitheCheck),
    // otherwise false.
    virtual bool SetRange(double min, double max, int unitIndex = 0);
    // Derives the record's other forms of the value after it was set in
    // form unitIndex (empty here: one form only).
    virtual void mulitInputTypeSync(int unitIndex);
    // Takes the entry's state from the live record as construction does:
    // the form in use and the record fields derived from the value. Called
    // when a whole record replaced the live one (factory reset, loaded
    // record, channel copy), since the models outlive the record's values.
    virtual void reloadFromRecord();
    virtual bool coupleState();
    // isCoupled() as the record says now (editing thread).
    virtual bool coupledLive();
    virtual void wnameindex(int i);
    virtual void wlistgroup(QString g);
    virtual void wparamfocus(bool focus);
    virtual void disUpdate();
    virtual void reClicked();
    virtual QString onFileSelectEvent(QString path, bool confirm);
    virtual void unitClicked(int unit);
    // A front-panel key (KBD_KEY code; below 32 a unit button) while the
    // entry is shown: "" handled, "quit" the entry gives up the focus,
    // "error" refused, "updatelist" the screen must rebuild its list.
    virtual QString onKeyEvent(int key, int repeat);
    virtual QString getNoteText();
    // A unit chosen on the number pad (its position in the unit table, or
    // Key_Ok for the unit that suits the value): applies the typed value.
    virtual QString InputUnit(int key);
    // Recomputes the limits (subclasses with a range rule) and brings the
    // stored value inside them. Returns the result of the final check: true
    // when the value already lay inside, false when it had to be moved.
    virtual bool UpdateRange();
    // Clamps value to the limits in use; false when it had to.
    virtual bool ValueCheck(double& value);
    // Brings the stored value of descriptor unitIndex inside [min, max]
    // (1e-10 tolerance): writes the violated limit, derives the other forms,
    // emits valueChanged() and redisplays. False when it was outside.
    virtual bool SetValueWitheCheck(double value, double min, double max, int unitIndex);
    // After a change: valueChanged(), the owning signal's preview, and the
    // owning channel's apply request.
    virtual void valueChangedProcess();

signals:
    void listvalueChanged(QString value);
    void valueChanged();
    void isMultiSelectChanged();
    void keyboardtypeChanged(QString type);
    void paramfocusChanged(bool focus);
    void sPosChanged(int pos);
    void sLenthChanged(int len);
    void maskChanged(bool mask);
    void unitsChanged();
    void unitChanged();
    void paramindexChanged();
    void nameindexChanged();
    void listgroupChanged();
    // The screens' notification of listvalue, sPos, sLenth and shownUnit:
    // always emitted in the entry's own (the screens') thread.
    void shownChanged();

protected:
    // For entries with several input forms: n descriptors, the first in use.
    channelModel(CH_ID ch, const DataInfo* infos, int n, int paramindex, EParamType type, bool isMultiSelect,
                 QObject* parent);
    // Text of a value in the unit class of the descriptor in use.
    virtual QString formatValue(double v) const;
    // Unit class the value is shown in (a PRBS frequency shows as a bit rate).
    UintType displayUnitType() const;
    // Starts typing with the given text.
    void startTyping(const QString& text);

private:
    friend struct ShownQueue;
    // Queued for shownChanged() and not yet taken by the screens' thread.
    std::atomic<bool> m_shownQueued {false};
    void init(CH_ID ch, const DataInfo* infos, int n, int paramindex, EParamType type, bool isMultiSelect);
};

// An entry whose change processing is left to the channel: it only emits
// valueChanged(), which the channel connects to its own handler (the handler
// re-derives the dependent ranges and asks for the apply itself).
class channelNoExeModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    channelNoExeModel(CH_ID ch, const DataInfo* infos, int n, int paramindex, EParamType type,
                      QObject* parent = nullptr)
        : channelModel(ch, infos, n, paramindex, type, false, parent)
    {
    }
    void valueChangedProcess() override { emit valueChanged(); }
};

// Builds the entries 0 .. PARAM_INDEX_CHMERGE of one channel, each with its
// parameter index, in index order (the list is cleared first).
void channelInputParaInit(CH_ID ch, QList<channelModel*>& list);
// Board paths of wave and list files the record named but that were gone
// when the entries were built (the record now names the library's wave, or
// no list); taken once, for the controller to report.
QStringList takeMissingRecordFiles();
