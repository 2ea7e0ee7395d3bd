// Front-panel keys on the utility tab: the six pages (channel settings,
// coupling, merge, counter, digital output, system), the moves between their
// lists and the hidden key sequence of the system page.
#include "app/ornav72.h"
#include <QDebug>
#include <QVariant>
#include <QVector>
#include "app/channalmodel.h"
#include "app/qmlcall.h"
#include "param/sys_param.h"

namespace {
QObject* child(QObject* base, const char* name) { return qmlChild(base, name); }

enum UtilityPage { PAGE_CHSET, PAGE_COUPLE, PAGE_MERGE, PAGE_COUNTER, PAGE_DIGITAL, PAGE_SYSTEM };

// One list of a utility page: its view, the models it shows, the list
// number the model look-up takes, and whether its page part is masked.
struct UList {
    QObject* view;
    QVariantList* models;
    int listNo;
    bool masked;
};

int index(QObject* view) { return qmlProperty(view, "currentIndex").toInt(); }
void setIndex(QObject* view, int i) { qmlSetProperty(view, "currentIndex", i); }
bool focused(QObject* view) { return qmlProperty(view, "activeFocus").toBool(); }
void giveFocus(QObject* view) { qmlCall(view, "forceActiveFocus", {}, QmlCall::Wait); }

// The system list shows two columns of six entries.
const int kSysRows = 6;
// The coupling lists are grids of three columns of three rows, column by column.
const int kGridRows = 3;
} // namespace

void Ornav72::keyPressUtility(int key, int repeat, int where)
{
    if (key >= Key_Countinue && key <= Key_WARB) {
        warnBeep(where); // mode and waveform keys mean nothing here
        return;
    }
    if (key >= Key_Ch1 && key <= Key_Ch4) {
        qmlCall(chObject, "setChTab", {key - Key_Ch1, where}, QmlCall::Queued);
        return;
    }
    if (key == Key_Utility) {
        qmlCall(chObject, "setChTab", {int(currentCh), where}, QmlCall::Queued);
        return;
    }
    QObject* layout = child(child(uMainObject, "utilitycontext"), "utilitylayout");
    const int page = layout ? qmlProperty(layout, "currentIndex").toInt() : -1;
    if (page == PAGE_SYSTEM)
        hideCmd(key);

    QVector<UList> lists;
    QObject* pageObj = nullptr;
    switch (page) {
    case PAGE_CHSET: {
        pageObj = uChObject;
        for (int ch = CH1; ch <= CH4; ++ch) {
            QObject* part = child(uChObject, qPrintable(QStringLiteral("utilitySetch%1").arg(ch + 1)));
            lists.append(
                {child(part, "setlistview"), uidata.getChSetlist(ch), ch, part && qmlProperty(part, "mask").toBool()});
        }
        break;
    }
    case PAGE_COUPLE: {
        QObject* couple = child(layout, "UtilityChannelCouple");
        pageObj = couple;
        lists.append({child(child(couple, "ChannalCoupleSet12"), "CoupleSetListview"), &uidata.ch12CoupleSetList,
                      COUPLE12, false});
        lists.append({child(child(couple, "ChannalCoupleSet34"), "CoupleSetListview"), &uidata.ch34CoupleSetList,
                      COUPLE34, false});
        break;
    }
    case PAGE_MERGE: {
        pageObj = mergeObj;
        QObject* v = child(mergeObj, "mergesetlistview");
        const int i = v ? qBound(0, index(v), 3) : 0;
        lists.append({v, &uidata.chMergeSetList, i, false});
        break;
    }
    case PAGE_COUNTER:
        pageObj = counterObj;
        lists.append({child(counterObj, "countersetlistview"), &uidata.counterSetlist, CH_SYS, false});
        break;
    case PAGE_DIGITAL:
        pageObj = digitalObj;
        lists.append({child(digitalObj, "digitallistview"), &uidata.digitalSetList, CH_SYS, false});
        break;
    case PAGE_SYSTEM:
        pageObj = utilitySystem;
        lists.append({child(utilitySystem, "syslanlistview"), &uidata.syslanlist, CH_SYS, false});
        lists.append({child(utilitySystem, "syslistview"), &uidata.syssetlist, CH_SYS, false});
        break;
    default: warnBeep(where); return;
    }
    const bool arrow = key == Key_Left || key == Key_Right || key == Key_Up || key == Key_Down;
    const char* pageKeyFn = page == PAGE_COUNTER ? "counterOnkey" : page == PAGE_DIGITAL ? "digitalOnkey" : nullptr;

    int cur = -1;
    for (int i = 0; i < lists.size(); ++i)
        if (lists[i].view && focused(lists[i].view)) {
            cur = i;
            break;
        }
    if (cur < 0) {
        // Nothing focused yet: an arrow puts the focus on the page.
        if (!arrow) {
            qDebug("utility page %d: no list has the focus", page);
            return;
        }
        if (pageKeyFn) {
            if (page == PAGE_COUNTER)
                qmlCall(pageObj, pageKeyFn, {key}, QmlCall::Queued);
            else
                qmlCall(pageObj, pageKeyFn, {key, repeat}, QmlCall::Queued);
        } else {
            for (const UList& l : lists)
                if (l.view && !l.masked) {
                    giveFocus(l.view);
                    break;
                }
        }
        beep(where);
        return;
    }

    const UList& l = lists[cur];
    channelModel* m = Uidata::getCurChannelModel(l.view, l.models);
    if (!m) {
        // An empty list on the screen: nothing to edit, and no reason to end
        // the program over a key.
        qWarning("curChMod is null");
        warnBeep(where);
        return;
    }
    if (m->rparamfocus()) {
        keyPress(key, repeat, l.listNo, m->paramindex, where);
        return;
    }
    if (pageKeyFn) {
        const int listFocus = page == PAGE_DIGITAL ? 1 : 0;
        const bool onList = pageObj && qmlProperty(pageObj, "focusIndex").toInt() == listFocus;
        const bool leftRight = key == Key_Left || key == Key_Right;
        if (!(onList && (!leftRight || m->inputting))) {
            if (page == PAGE_COUNTER)
                qmlCall(pageObj, pageKeyFn, {key}, QmlCall::Queued);
            else
                qmlCall(pageObj, pageKeyFn, {key, repeat}, QmlCall::Queued);
            return;
        }
    }

    QObject* menu = uMainObject;
    auto toMenu = [&]() { qmlCall(menu, "updateMainIndex", {page}, QmlCall::Queued); };
    const int i = index(l.view);
    if (key == Key_Left || key == Key_Right) {
        const bool left = key == Key_Left;
        if (page == PAGE_CHSET) {
            int next = -1;
            for (int j = left ? cur - 1 : cur + 1; j >= 0 && j < lists.size(); j += left ? -1 : 1)
                if (lists[j].view && !lists[j].masked) {
                    next = j;
                    break;
                }
            if (next >= 0)
                giveFocus(lists[next].view);
            else if (left)
                toMenu();
        } else if (page == PAGE_COUPLE) {
            if (left && i >= kGridRows) {
                setIndex(l.view, i - kGridRows);
            } else if (!left && i + kGridRows < l.models->size()) {
                setIndex(l.view, i + kGridRows);
            } else if (left && cur == 1 && lists[0].view) {
                giveFocus(lists[0].view); // into the last column of pair 1/2
                setIndex(lists[0].view, qMin(i + 2 * kGridRows, lists[0].models->size() - 1));
            } else if (!left && cur == 0 && lists[1].view) {
                giveFocus(lists[1].view); // into the first column of pair 3/4
                setIndex(lists[1].view, qMin(i % kGridRows, lists[1].models->size() - 1));
            } else if (left) {
                toMenu();
            }
        } else if (page == PAGE_SYSTEM) {
            QObject* lan = lists[0].view;
            QObject* sys = lists[1].view;
            if (l.view == lan) {
                if (left && sys)
                    giveFocus(sys);
            } else if (i >= kSysRows) {
                // The entries after the twelfth form a further column; its
                // row is reached from the same row of the second column.
                if (left)
                    qmlCall(sys, "moveCurrentIndexLeft", {}, QmlCall::Wait);
                else if (i + kSysRows < l.models->size())
                    qmlCall(sys, "moveCurrentIndexRight", {}, QmlCall::Wait);
                else if (lan)
                    giveFocus(lan);
            } else {
                if (left)
                    toMenu();
                else
                    qmlCall(sys, "moveCurrentIndexRight", {}, QmlCall::Wait);
            }
        } else if (left) {
            toMenu(); // merge, counter and digital pages have one list
        }
        beep(where);
        return;
    }
    if (key == Key_Up || key == Key_Down) {
        const bool up = key == Key_Up;
        if (page == PAGE_SYSTEM && l.view == lists[1].view) {
            // Each column of the system list wraps on its own; the last
            // column may be shorter (the factory reset after the twelve).
            const int col = i / kSysRows * kSysRows;
            const int row = i - col;
            const int rows = qBound(1, l.models->size() - col, kSysRows);
            setIndex(l.view, col + (up ? (row + rows - 1) % rows : (row + 1) % rows));
            beep(where);
            return;
        }
        if (page == PAGE_COUPLE) {
            const int row = i % kGridRows;
            if (up && row > 0) {
                setIndex(l.view, i - 1);
            } else if (!up && row < kGridRows - 1 && i + 1 < l.models->size()) {
                setIndex(l.view, i + 1);
            } else if (up && cur == 1 && lists[0].view) {
                giveFocus(lists[0].view); // the bottom row of pair 1/2
                setIndex(lists[0].view, qMin(i + kGridRows - 1, lists[0].models->size() - 1));
            } else if (!up && cur == 0 && lists[1].view) {
                giveFocus(lists[1].view); // the top row of pair 3/4
                setIndex(lists[1].view, qMin(i - row, lists[1].models->size() - 1));
            } else {
                warnBeep(where);
                return;
            }
            beep(where);
            return;
        }
        qmlCall(l.view, up ? "upCurrentIndex" : "downCurrentIndex", {}, QmlCall::Wait);
        if (up && i == 0 && index(l.view) == 0)
            warnBeep(where);
        else
            beep(where);
        return;
    }
    keyPress(key, repeat, l.listNo, m->paramindex, where);
}

void Ornav72::hideCmd(int key)
{
    // The factory-mode sequence of the system page is Dot, 6, Sign, 2, 5, 9
    // (".6-259"). It is put together here at run time rather than stored as
    // one text, so it does not show among the program's strings; the dot key
    // always starts a new sequence.
    QString seq;
    seq += QLatin1Char('.');
    seq += QChar('0' + 6);
    seq += QLatin1Char('-');
    seq += QChar('0' + 2);
    seq += QChar('0' + 5);
    seq += QChar('0' + 9);

    QChar c;
    if (key == Key_Dot)
        c = QLatin1Char('.');
    else if (key == Key_Symbol)
        c = QLatin1Char('-');
    else if (key >= Key_0 && key <= Key_9)
        c = QChar('0' + (key - Key_0));
    if (c.isNull() || !seq.contains(c))
        return; // keys outside the sequence leave it as it is
    if (c == QLatin1Char('.')) {
        hidCmdTmp = c;
        return;
    }
    const QString next = hidCmdTmp + c;
    hidCmdTmp = seq.startsWith(next) ? next : QString();
    if (hidCmdTmp.contains(QLatin1Char('-')) && hidCmdTmp.size() >= seq.size() && hidCmdTmp != seq)
        hidCmdTmp.clear();
    if (hidCmdTmp == seq) {
        hidCmdTmp.clear();
        factorymodel = true;
        qmlCall(utilitySystem, "updateVersion", {QString::fromLatin1(GetSoftwareVersion()), sys_param::LogicVersion},
                QmlCall::Queued);
    }
}
