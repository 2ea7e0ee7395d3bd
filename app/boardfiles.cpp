#include "app/boardfiles.h"
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include "WaveView/arbwavedata.h"
#include "platform/platformroot.h"

namespace boardfiles {
namespace {

// The canonical host path of an existing path, or of its nearest existing
// ancestor followed by the rest (a file about to be created).
QString resolved(const QString& host)
{
    QFileInfo fi(host);
    if (fi.exists())
        return fi.canonicalFilePath();
    const QString parent = fi.absolutePath();
    if (parent == host)
        return QString();
    const QString p = resolved(parent);
    return p.isEmpty() ? QString() : p + QLatin1Char('/') + fi.fileName();
}

bool inside(const QString& path, const QString& dir)
{
    return !dir.isEmpty() && (path == dir || path.startsWith(dir + QLatin1Char('/')));
}

QString canonicalPlace(const char* board)
{
    return QFileInfo(PlatformRoot::path(QLatin1String(board))).canonicalFilePath();
}

} // namespace

QString fromUrl(const QString& path)
{
    QString p = path;
    if (p.startsWith(QLatin1String("file://")))
        p = p.mid(7);
    if (p.isEmpty() || !p.startsWith(QLatin1Char('/')))
        return QString();
    return QDir::cleanPath(p);
}

Place placeOf(const QString& boardPath)
{
    const QString board = fromUrl(boardPath);
    if (board.isEmpty() || board.contains(QChar(0)))
        return PlaceNone;
    // Lexically inside one of the browser's roots first ...
    static const char* const roots[] = {"/media/ram", ArbWaveData::kLibraryDir, ArbWaveData::kUserDir,
                                        ArbWaveData::kUsbDir};
    bool known = false;
    for (const char* r : roots)
        known = known || inside(board, QLatin1String(r));
    if (!known)
        return PlaceNone;
    // ... then where it really is, links resolved.
    const QString real = resolved(PlatformRoot::path(board));
    if (real.isEmpty())
        return PlaceNone;
    if (inside(real, canonicalPlace(ArbWaveData::kLibraryDir)) || inside(real, canonicalPlace("/media/ram")))
        return PlaceLibrary;
    if (inside(real, canonicalPlace(ArbWaveData::kUserDir)))
        return PlaceUser;
    if (inside(real, canonicalPlace(ArbWaveData::kUsbDir)))
        return PlaceUsb;
    return PlaceNone;
}

bool writable(const QString& boardPath)
{
    const Place p = placeOf(boardPath);
    if (p != PlaceUser && p != PlaceUsb)
        return false;
    // The storage roots themselves are not renamed or removed.
    const QString board = fromUrl(boardPath);
    return board != QLatin1String(ArbWaveData::kUserDir) && board != QLatin1String(ArbWaveData::kUsbDir);
}

bool plainName(const QString& name)
{
    if (name.isEmpty() || name == QLatin1String(".") || name.contains(QLatin1String("..")))
        return false;
    for (const QChar c : name) {
        const ushort u = c.unicode();
        if (u < 0x20 || u == 0x7f || c == QLatin1Char('/') || c == QLatin1Char('\\'))
            return false;
    }
    return true;
}

bool clearFolder(const QString& hostDir)
{
    QDir d(hostDir);
    if (!d.exists())
        return true;
    bool ok = true;
    const QFileInfoList all = d.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System);
    for (const QFileInfo& fi : all) {
        if (fi.isDir() && !fi.isSymLink())
            ok = removeTree(fi.absoluteFilePath()) && ok;
        else
            ok = QFile::remove(fi.absoluteFilePath()) && ok;
    }
    return ok;
}

bool removeTree(const QString& hostDir)
{
    QFileInfo fi(hostDir);
    if (fi.isSymLink())
        return QFile::remove(hostDir);
    if (!fi.exists())
        return true;
    // removeRecursively deletes links inside, never their targets.
    return QDir(hostDir).removeRecursively();
}

bool copyFile(const QString& hostFrom, const QString& hostTo, bool cover)
{
    QFileInfo to(hostTo);
    if (to.exists() || to.isSymLink()) {
        if (!cover)
            return true;
        if (to.isDir() && !to.isSymLink())
            return false;
        if (!QFile::remove(hostTo))
            return false;
    }
    return QFile::copy(hostFrom, hostTo);
}

bool copyTree(const QString& hostFrom, const QString& hostTo, bool cover)
{
    QDir from(hostFrom);
    if (!from.exists())
        return false;
    // Never into itself.
    const QString src = QFileInfo(hostFrom).canonicalFilePath();
    const QString dst = resolved(hostTo);
    if (dst.isEmpty() || inside(dst, src))
        return false;
    if (!QDir().mkpath(hostTo))
        return false;
    bool ok = true;
    const QFileInfoList all = from.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QFileInfo& fi : all) {
        if (fi.isSymLink())
            continue;
        const QString target = hostTo + QLatin1Char('/') + fi.fileName();
        if (fi.isDir())
            ok = copyTree(fi.absoluteFilePath(), target, cover) && ok;
        else
            ok = copyFile(fi.absoluteFilePath(), target, cover) && ok;
    }
    return ok;
}

} // namespace boardfiles
