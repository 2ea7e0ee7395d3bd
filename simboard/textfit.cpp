#include "simboard/textfit.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTimer>
#include "platform/platformroot.h"

namespace {
const char kRequest[] = "/var/run/ornav-textfit.request";
const char kReport[] = "/var/run/ornav-textfit.report";

bool seen(const QQuickItem* item)
{
    for (const QQuickItem* i = item; i; i = i->parentItem())
        if (!i->isVisible() || i->opacity() <= 0.01)
            return false;
    return true;
}

void walk(QQuickItem* item, QStringList& out)
{
    if (!item || !item->isVisible())
        return;
    if (item->inherits("QQuickText") && seen(item)) {
        const QString text = item->property("text").toString();
        const bool truncated = item->property("truncated").toBool();
        const double painted = item->property("paintedWidth").toDouble();
        // Half a pixel for the rounding of the glyph advances.
        const bool wider = item->width() > 0 && painted > item->width() + 0.5;
        if (!text.isEmpty() && (truncated || wider)) {
            const QPointF at = item->mapToScene(QPointF(0, 0));
            out << QStringLiteral("\"%1\" [%2 %3/%4 px] at %5,%6")
                       .arg(text.simplified(), truncated ? "elided" : "wider", QString::number(painted, 'f', 0),
                            QString::number(item->width(), 'f', 0))
                       .arg(int(at.x()))
                       .arg(int(at.y()));
        }
    }
    for (QQuickItem* c : item->childItems())
        walk(c, out);
}
} // namespace

SimTextFit::SimTextFit(QWindow* w, QObject* parent) : QObject(parent), window(w)
{
    // A request is a file created in the run folder: the folder is watched
    // (inotify), so an idle program is not woken to look for one; the slow
    // timer only catches a request the watcher could not report.
    auto* watcher = new QFileSystemWatcher(this);
    const QString dir = QFileInfo(PlatformRoot::path(kRequest)).absolutePath();
    QDir().mkpath(dir);
    watcher->addPath(dir);
    connect(watcher, &QFileSystemWatcher::directoryChanged, this, &SimTextFit::poll);
    timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &SimTextFit::poll);
    timer->start(1000);
}

QStringList SimTextFit::cutTexts(QQuickItem* item)
{
    QStringList out;
    walk(item, out);
    return out;
}

void SimTextFit::poll()
{
    QFile req(PlatformRoot::path(kRequest));
    if (!req.exists() || !req.open(QIODevice::ReadOnly))
        return;
    const QString view = QString::fromUtf8(req.readAll()).trimmed();
    req.close();
    auto* qw = qobject_cast<QQuickWindow*>(window);
    const QStringList cut = qw ? cutTexts(qw->contentItem()) : QStringList {QStringLiteral("no screen")};
    QFile rep(PlatformRoot::path(kReport));
    if (rep.open(QIODevice::Append)) {
        for (const QString& c : cut)
            rep.write((view + ": " + c + "\n").toUtf8());
        rep.write(QStringLiteral("VIEW %1 %2\n").arg(view).arg(cut.size()).toUtf8());
    }
    rep.close();
    QFile::remove(PlatformRoot::path(kRequest));
}
