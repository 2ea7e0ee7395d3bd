// What the file browser shows: the entries of one folder of its storages.
// Only folders inside the built-in library, the internal storage or the USB
// disk are listed (links resolved), so no path from the screen reaches
// anything else on the board.
#include <QDir>
#include <QFileInfo>
#include <QVariantMap>
#include "app/boardfiles.h"
#include "app/uidata.h"
#include "platform/platformroot.h"

QVariantList Uidata::browseFolder(QString dir, QStringList filters)
{
    QVariantList out;
    const QString board = boardfiles::fromUrl(dir);
    if (board.isEmpty() || boardfiles::placeOf(board) == boardfiles::PlaceNone)
        return out;
    QDir d(PlatformRoot::path(board));
    if (!d.exists())
        return out;
    QStringList names;
    for (const QString& f : filters)
        if (!f.isEmpty())
            names << f;
    auto add = [&](const QFileInfo& fi, bool isDir) {
        const QString path = board + QLatin1Char('/') + fi.fileName();
        // A link that leads out of the storages is not shown.
        if (boardfiles::placeOf(path) == boardfiles::PlaceNone)
            return;
        QVariantMap e;
        e.insert(QStringLiteral("name"), fi.fileName());
        e.insert(QStringLiteral("path"), QStringLiteral("file://") + path);
        e.insert(QStringLiteral("isDir"), isDir);
        e.insert(QStringLiteral("size"), isDir ? qint64(0) : fi.size());
        out.append(e);
    };
    const QDir::SortFlags sort = QDir::Name | QDir::IgnoreCase;
    for (const QFileInfo& fi : d.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, sort))
        add(fi, true);
    d.setNameFilters(names);
    for (const QFileInfo& fi : d.entryInfoList(QDir::Files, sort))
        add(fi, false);
    return out;
}
