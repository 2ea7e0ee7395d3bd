// Front-panel keys on the utility tab: the six pages (channel settings,
// coupling, merge, counter, digital output, system), the moves between their
// lists and the hidden key sequence of the system page. The page, the list
// with the focus and the list positions are the screens' last reports
// (Uidata::screenState); every move is a request to the screens.
#include "app/ornav72.h"
#include <QDebug>
#include <QVariant>
#include <QVector>
#include "app/channalmodel.h"
#include "app/screenviews.h"
#include "param/sys_param.h"

namespace {
enum UtilityPage { PAGE_CHSET, PAGE_COUPLE, PAGE_MERGE, PAGE_COUNTER, PAGE_DIGITAL, PAGE_SYSTEM };

// One list of a utility page: its view, the models it shows, the list
// number the model look-up takes, and whether its page part is masked.
struct UList {
    QString view;
    QVariantList* models;
    int listNo;
    bool masked;
};

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
    if (key >= Key_Ch1 && key <= Key_Utility) {
        // A channel key goes to its tab, Utility back to the current channel.
        const int tab = key == Key_Utility ? int(currentCh) : key - Key_Ch1;
        askScreens([tab, where](Uidata* ui) { emit ui->tabRequested(tab, where); });
        return;
    }
    const ScreenState screen = uidata.screenState();
    const int page = screen.utilityPage;
    if (page == PAGE_SYSTEM)
        hideCmd(key);

    QVector<UList> lists;
    switch (page) {
    case PAGE_CHSET:
        // A channel serving sync or digital output has its list greyed.
        for (int ch = CH1; ch <= CH4; ++ch)
            lists.append({ScreenView::setList(ch), uidata.getChSetlist(ch), ch, roleTaken(CH_ID(ch))});
        break;
    case PAGE_COUPLE:
        lists.append({ScreenView::coupleList(false), &uidata.ch12CoupleSetList, COUPLE12, false});
        lists.append({ScreenView::coupleList(true), &uidata.ch34CoupleSetList, COUPLE34, false});
        break;
    case PAGE_MERGE: {
        const QString v = ScreenView::mergeList();
        lists.append({v, &uidata.chMergeSetList, qBound(0, screen.indexOf(v), 3), false});
        break;
    }
    case PAGE_COUNTER: lists.append({ScreenView::counterList(), &uidata.counterSetlist, CH_SYS, false}); break;
    case PAGE_DIGITAL: lists.append({ScreenView::digitalList(), &uidata.digitalSetList, CH_SYS, false}); break;
    case PAGE_SYSTEM:
        lists.append({ScreenView::lanList(), &uidata.syslanlist, CH_SYS, false});
        lists.append({ScreenView::systemList(), &uidata.syssetlist, CH_SYS, false});
        break;
    default: warnBeep(where); return;
    }
    const bool arrow = key == Key_Left || key == Key_Right || key == Key_Up || key == Key_Down;
    // The counter and digital pages move between their own controls.
    const bool pageKeys = page == PAGE_COUNTER || page == PAGE_DIGITAL;
    auto toPage = [this, page, key, repeat]() {
        askScreens([page, key, repeat](Uidata* ui) { emit ui->pageKeyRequested(page, key, repeat); });
    };

    int cur = -1;
    for (int i = 0; i < lists.size(); ++i)
        if (screen.hasFocus(lists[i].view)) {
            cur = i;
            break;
        }
    if (cur < 0) {
        // Nothing focused yet: an arrow puts the focus on the page.
        if (!arrow) {
            qDebug("utility page %d: no list has the focus", page);
            return;
        }
        if (pageKeys) {
            toPage();
        } else {
            for (const UList& l : lists)
                if (!l.masked) {
                    focusList(l.view);
                    break;
                }
        }
        beep(where);
        return;
    }

    const UList& l = lists[cur];
    channelModel* m = uidata.getCurChannelModel(l.view, l.models);
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
    if (pageKeys) {
        const int listFocus = page == PAGE_DIGITAL ? 1 : 0;
        const int focus = page == PAGE_DIGITAL ? screen.digitalFocus : screen.counterFocus;
        const bool onList = focus == listFocus;
        const bool leftRight = key == Key_Left || key == Key_Right;
        if (!(onList && (!leftRight || m->inputting))) {
            toPage();
            return;
        }
    }

    auto toMenu = [this, page]() { askScreens([page](Uidata* ui) { emit ui->utilityMenuRequested(page); }); };
    auto count = [this](const UList& x) { return uidata.shownList(*x.models).size(); };
    const int i = screen.indexOf(l.view);
    if (key == Key_Left || key == Key_Right) {
        const bool left = key == Key_Left;
        if (page == PAGE_CHSET) {
            int next = -1;
            for (int j = left ? cur - 1 : cur + 1; j >= 0 && j < lists.size(); j += left ? -1 : 1)
                if (!lists[j].masked) {
                    next = j;
                    break;
                }
            if (next >= 0)
                focusList(lists[next].view);
            else if (left)
                toMenu();
        } else if (page == PAGE_COUPLE) {
            if (left && i >= kGridRows) {
                setListIndex(l.view, i - kGridRows);
            } else if (!left && i + kGridRows < count(l)) {
                setListIndex(l.view, i + kGridRows);
            } else if (left && cur == 1) {
                focusList(lists[0].view); // into the last column of pair 1/2
                setListIndex(lists[0].view, qMin(i + 2 * kGridRows, count(lists[0]) - 1));
            } else if (!left && cur == 0) {
                focusList(lists[1].view); // into the first column of pair 3/4
                setListIndex(lists[1].view, qMin(i % kGridRows, count(lists[1]) - 1));
            } else if (left) {
                toMenu();
            }
        } else if (page == PAGE_SYSTEM) {
            const QString& lan = lists[0].view;
            const QString& sys = lists[1].view;
            if (l.view == lan) {
                if (left)
                    focusList(sys);
            } else if (i >= kSysRows) {
                // The entries after the twelfth form a further column; its
                // row is reached from the same row of the second column.
                if (left)
                    moveListColumn(sys, false, kSysRows, count(l));
                else if (i + kSysRows < count(l))
                    moveListColumn(sys, true, kSysRows, count(l));
                else
                    focusList(lan);
            } else {
                if (left)
                    toMenu();
                else
                    moveListColumn(sys, true, kSysRows, count(l));
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
            const int rows = qBound(1, count(l) - col, kSysRows);
            setListIndex(l.view, col + (up ? (row + rows - 1) % rows : (row + 1) % rows));
            beep(where);
            return;
        }
        if (page == PAGE_COUPLE) {
            const int row = i % kGridRows;
            if (up && row > 0) {
                setListIndex(l.view, i - 1);
            } else if (!up && row < kGridRows - 1 && i + 1 < count(l)) {
                setListIndex(l.view, i + 1);
            } else if (up && cur == 1) {
                focusList(lists[0].view); // the bottom row of pair 1/2
                setListIndex(lists[0].view, qMin(i + kGridRows - 1, count(lists[0]) - 1));
            } else if (!up && cur == 0) {
                focusList(lists[1].view); // the top row of pair 3/4
                setListIndex(lists[1].view, qMin(i - row, count(lists[1]) - 1));
            } else {
                warnBeep(where);
                return;
            }
            beep(where);
            return;
        }
        const int next = stepList(l.view, up, count(l));
        if (up && i == 0 && next == 0)
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
        const QString soft = QString::fromLatin1(GetSoftwareVersion());
        const QString fpga = QString(sys_param::LogicVersion);
        askScreens([soft, fpga](Uidata* ui) { emit ui->versionsRequested(soft, fpga); });
    }
}
