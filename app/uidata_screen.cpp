// The screens' reports of what they show (tab, frame, keyboard, utility
// page, list focus and positions) and the controller's notes of what it has
// asked them for. Reports arrive in the GUI thread, the controller copies
// the state out in its own; screenLock guards it.
#include "app/uidata.h"
#include <QDebug>
#include "app/channalmodel.h"

channelModel* Uidata::getCurChannelModel(const QString& view, QVariantList* list) const
{
    if (!list)
        return nullptr;
    const QVariantList l = shownList(*list);
    if (l.isEmpty())
        return nullptr;
    int i = screenState().indexOf(view);
    if (i < 0 || i >= l.size())
        i = 0;
    channelModel* m = qobject_cast<channelModel*>(l.at(i).value<QObject*>());
    if (!m)
        qWarning("QVariant can  not Convert to channelModel");
    return m;
}

void Uidata::noteViewFocus(const QString& view)
{
    std::lock_guard<std::mutex> k(screenLock);
    m_screen.focusedView = view;
}

void Uidata::noteViewIndex(const QString& view, int index)
{
    std::lock_guard<std::mutex> k(screenLock);
    m_screen.viewIndex[view] = index;
}

void Uidata::noteFrame(const QString& frame)
{
    std::lock_guard<std::mutex> k(screenLock);
    m_screen.frame = frame;
}

void Uidata::reportFrame(const QString& state) { noteFrame(state); }

void Uidata::reportTab(int tab)
{
    std::lock_guard<std::mutex> k(screenLock);
    m_screen.tab = tab;
}

void Uidata::reportKeyboard(bool shown, const QString& state, bool unitRow)
{
    std::lock_guard<std::mutex> k(screenLock);
    m_screen.keyboardShown = shown;
    m_screen.keyboardState = state;
    m_screen.unitRowShown = unitRow;
}

void Uidata::reportUtilityPage(int page)
{
    std::lock_guard<std::mutex> k(screenLock);
    m_screen.utilityPage = page;
}

void Uidata::reportPageFocus(int page, int focusIndex)
{
    std::lock_guard<std::mutex> k(screenLock);
    if (page == 3)
        m_screen.counterFocus = focusIndex;
    else if (page == 4)
        m_screen.digitalFocus = focusIndex;
}

void Uidata::reportView(const QString& view, bool focused, int index)
{
    std::lock_guard<std::mutex> k(screenLock);
    m_screen.viewIndex[view] = index;
    // Focus moves lose it on one view and gain it on another, in either
    // order: a loss only clears the view that had it.
    if (focused)
        m_screen.focusedView = view;
    else if (m_screen.focusedView == view)
        m_screen.focusedView.clear();
}
