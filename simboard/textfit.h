#pragma once
// Whole texts on the simulated board's screen. A screen test asks, view by
// view, whether any text that can be seen is cut: elided ("…"), or painted
// wider than its box. The request is a file in the board root
// ("/var/run/ornav-textfit.request", holding the view's name); the answer is
// appended to "/var/run/ornav-textfit.report" (one line per cut text, then
// "VIEW <name> <count>") and the request file removed.
#include <QObject>
#include <QString>
#include <QStringList>

class QQuickItem;
class QTimer;
class QWindow;

class SimTextFit : public QObject {
    Q_OBJECT
public:
    SimTextFit(QWindow* window, QObject* parent = nullptr);
    // The cut texts under item: "text [why] at x,y".
    static QStringList cutTexts(QQuickItem* item);

private:
    void poll();
    QWindow* window;
    QTimer* timer = nullptr;
};
