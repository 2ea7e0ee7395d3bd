#include "simboard/simtouch.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QMouseEvent>
#include <QTimer>
#include <QWindow>
#include <linux/input.h>

SimTouch::SimTouch(QWindow* w, const QString& devicePath, QObject* parent)
    : QObject(parent)
    , window(w)
    , path(devicePath)
{
    QFile f(path);
    if (f.exists())
        f.resize(0);
    // Read when the file changes (inotify): an idle screen costs no
    // wake-ups. The directory is watched too, for a file created anew; the
    // slow timer only catches a change the watcher could not report.
    watcher = new QFileSystemWatcher(this);
    auto changed = [this]() {
        if (!watcher->files().contains(path) && QFile::exists(path))
            watcher->addPath(path);
        poll();
    };
    connect(watcher, &QFileSystemWatcher::fileChanged, this, changed);
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, changed);
    const QString dir = QFileInfo(path).absolutePath();
    if (QDir(dir).exists())
        watcher->addPath(dir);
    if (QFile::exists(path))
        watcher->addPath(path);
    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &SimTouch::poll);
    timer->start(1000);
}

QPoint SimTouch::toScreen(int px, int py) { return QPoint(1280 - py, 800 - px); }

void SimTouch::poll()
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return;
    if (f.size() < offset)
        offset = 0; // the file was emptied
    if (!f.seek(offset))
        return;
    const qint64 n = (f.size() - offset) / qint64(sizeof(input_event));
    for (qint64 i = 0; i < n; ++i) {
        input_event e;
        if (f.read(reinterpret_cast<char*>(&e), sizeof e) != qint64(sizeof e))
            break;
        offset += qint64(sizeof e);
        if (e.type == EV_ABS && (e.code == ABS_MT_POSITION_X || e.code == ABS_X))
            panelX = e.value;
        else if (e.type == EV_ABS && (e.code == ABS_MT_POSITION_Y || e.code == ABS_Y))
            panelY = e.value;
        else if (e.type == EV_KEY && e.code == BTN_TOUCH)
            touching = e.value != 0;
        else if (e.type == EV_SYN && e.code == SYN_REPORT)
            report();
    }
}

void SimTouch::report()
{
    if (!window)
        return;
    const QPoint pos = toScreen(panelX, panelY);
    QEvent::Type type;
    if (touching && !delivered)
        type = QEvent::MouseButtonPress;
    else if (!touching && delivered)
        type = QEvent::MouseButtonRelease;
    else if (touching)
        type = QEvent::MouseMove;
    else
        return;
    delivered = touching;
    const Qt::MouseButtons buttons = touching ? Qt::LeftButton : Qt::NoButton;
    QMouseEvent ev(type, QPointF(pos), QPointF(pos), QPointF(window->mapToGlobal(pos)),
                   type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &ev);
}
