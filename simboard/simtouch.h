#pragma once
// The touch screen of the simulated board. "/dev/input/event0" in the board
// root is a plain file standing in for the touch controller's input device:
// whatever the program writes there (remote touch) is read back here as
// soon as the file changes, and handed to the screen as mouse presses and releases at the
// screen position the panel coordinates stand for.
#include <QObject>
#include <QPoint>
#include <QString>

class QFileSystemWatcher;
class QTimer;
class QWindow;

class SimTouch : public QObject {
    Q_OBJECT
public:
    // Starts with an empty device file (a fresh boot has no events queued).
    SimTouch(QWindow* window, const QString& devicePath, QObject* parent = nullptr);
    // Reads and delivers every event written since the last poll.
    void poll();
    // Screen position of a panel position.
    static QPoint toScreen(int panelX, int panelY);

private:
    void report();
    QWindow* window;
    QString path;
    qint64 offset = 0;
    QFileSystemWatcher* watcher = nullptr;
    QTimer* timer = nullptr;
    int panelX = 0, panelY = 0;
    bool touching = false;  // BTN_TOUCH as last reported
    bool delivered = false; // the press state the window has seen
};
