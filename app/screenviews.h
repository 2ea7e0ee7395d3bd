#pragma once
// Names of the list views the front-panel keys move through, as the screens
// report them to Uidata (reportView) and take requests for them: the view's
// objectName, with the channel (1..4) or the pair (12, 34) where a page
// holds several views of one name.
#include <QString>

namespace ScreenView {
inline QString inputList(int ch) { return QStringLiteral("inputlistview%1").arg(ch + 1); }
inline QString setList(int ch) { return QStringLiteral("setlistview%1").arg(ch + 1); }
inline QString coupleList(bool secondPair)
{
    return secondPair ? QStringLiteral("CoupleSetListview34") : QStringLiteral("CoupleSetListview12");
}
inline QString mergeList() { return QStringLiteral("mergesetlistview"); }
inline QString counterList() { return QStringLiteral("countersetlistview"); }
inline QString digitalList() { return QStringLiteral("digitallistview"); }
inline QString lanList() { return QStringLiteral("syslanlistview"); }
inline QString systemList() { return QStringLiteral("syslistview"); }
} // namespace ScreenView
