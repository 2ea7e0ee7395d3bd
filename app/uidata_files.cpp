// The frequency-list editor and the file services of the file browser. The
// browser may read the built-in library and change only the internal
// storage and the USB disk; everything is done with the file API.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaObject>
#include <QStorageInfo>
#include "WaveView/CWaveGreate.h"
#include "WaveView/arbwavedata.h"
#include "app/boardfiles.h"
#include "app/ornav72.h"
#include "platform/platformroot.h"
#include "app/uidata.h"

namespace {

bool isChannel(int ch) { return ch >= 0 && ch < 4; }

QString host(const QString& board) { return PlatformRoot::path(board); }

// The first free name "<stem><n><suffix>" in a folder (host path).
QString freeName(const QString& hostDir, const QString& stem, const QString& suffix)
{
    for (int n = 1; n < 10000; ++n) {
        const QString name = stem + QString::number(n) + suffix;
        if (!QFileInfo(hostDir + QLatin1Char('/') + name).exists())
            return name;
    }
    return QString();
}

} // namespace

void Uidata::fileTip(int index, bool ok)
{
    if (controller)
        emit controller->TipsMessage(MESSAGE_TYPE_TIPS, index, ok, QString(), true);
}

void Uidata::listEdited(int ch)
{
    emit editlistChanged(editlist);
    emit listfreqUpdate(ch);
}

// ---- frequency-list editor ---------------------------------------------------

int Uidata::loadList(int ch)
{
    if (!isChannel(ch))
        return 0;
    ArbWaveData::LoadList(CH_ID(ch), editlist);
    emit editlistChanged(editlist);
    return editlist.size();
}

int Uidata::listEditorAdd(int ch, int index)
{
    if (!isChannel(ch) || CWaveCreate::GetWaveMem(CH_ID(ch))->ListLen >= WAVE_MOD_POINTS)
        return index;
    if (ArbWaveData::AppendOneList(CH_ID(ch), editlist, index))
        listEdited(ch);
    return index;
}

bool Uidata::listEditorDelete(int ch, int index)
{
    if (!isChannel(ch) || !ArbWaveData::DeleteOneList(CH_ID(ch), editlist, index))
        return false;
    listEdited(ch);
    return true;
}

int Uidata::listEditorMoveUp(int ch, int index)
{
    const int len = isChannel(ch) ? CWaveCreate::GetWaveMem(CH_ID(ch))->ListLen : 0;
    if (index <= 0 || index >= len)
        return index;
    ArbWaveData::ExchangeOneList(CH_ID(ch), editlist, index, index - 1);
    listEdited(ch);
    return index - 1;
}

int Uidata::listEditorMoveDown(int ch, int index)
{
    const int len = isChannel(ch) ? CWaveCreate::GetWaveMem(CH_ID(ch))->ListLen : 0;
    if (index < 0 || index + 1 >= len)
        return index;
    ArbWaveData::ExchangeOneList(CH_ID(ch), editlist, index, index + 1);
    listEdited(ch);
    return index + 1;
}

bool Uidata::setlistEditorValue(int ch, int index, double value)
{
    if (!isChannel(ch) || !ArbWaveData::ChangeList(CH_ID(ch), editlist, index, value))
        return false;
    listEdited(ch);
    return true;
}

bool Uidata::savelist(int ch, QString file)
{
    const QString board = boardfiles::fromUrl(file);
    if (!isChannel(ch) || !boardfiles::writable(board)) {
        fileTip(boardfiles::placeOf(board) == boardfiles::PlaceLibrary ? TIPS_PROTECT_WAREN : TIPS_SAVE_FILE_OK, false);
        return false;
    }
    const bool ok = ArbWaveData::SaveList(CH_ID(ch), board) == 1;
    fileTip(TIPS_SAVE_FILE_OK, ok);
    return ok;
}

// ---- file browser -------------------------------------------------------------

QString Uidata::newCsvFile(QString dir)
{
    const QString board = boardfiles::fromUrl(dir);
    const boardfiles::Place p = boardfiles::placeOf(board);
    if (p != boardfiles::PlaceUser && p != boardfiles::PlaceUsb) {
        fileTip(TIPS_PROTECT_WAREN, false);
        return QString();
    }
    const QString name = freeName(host(board), QStringLiteral("List"), QStringLiteral(".csv"));
    const QString path = board + QLatin1Char('/') + name;
    if (name.isEmpty() || !ArbWaveData::createCsvListFile(path))
        return QString();
    return path;
}

QString Uidata::newfolder(QString dir)
{
    const QString board = boardfiles::fromUrl(dir);
    const boardfiles::Place p = boardfiles::placeOf(board);
    if (p != boardfiles::PlaceUser && p != boardfiles::PlaceUsb) {
        fileTip(TIPS_PROTECT_WAREN, false);
        return QString();
    }
    const QString name = freeName(host(board), QStringLiteral("NewFolder"), QString());
    if (name.isEmpty() || !QDir(host(board)).mkdir(name))
        return QString();
    return board + QLatin1Char('/') + name;
}

bool Uidata::rmdir(QString path) { return remove(path, true); }
bool Uidata::rmfile(QString path) { return remove(path, false); }

bool Uidata::remove(QString name, bool isdir)
{
    const QString board = boardfiles::fromUrl(name);
    if (!boardfiles::writable(board)) {
        fileTip(isInSysFolder(board) ? TIPS_PROTECT_WAREN : TIPS_DELETE_ERROR, false);
        return false;
    }
    const QFileInfo fi(host(board));
    bool ok;
    if (isdir)
        ok = fi.isDir() && boardfiles::removeTree(host(board));
    else
        ok = (fi.isFile() || fi.isSymLink()) && QFile::remove(host(board));
    fileTip(ok ? TIPS_DELETE_OK : TIPS_DELETE_ERROR, ok);
    return ok;
}

bool Uidata::rename(QString name, QString newname, bool isdir)
{
    const QString board = boardfiles::fromUrl(name);
    if (!boardfiles::writable(board) || !boardfiles::plainName(newname)) {
        fileTip(isInSysFolder(board) ? TIPS_PROTECT_WAREN : TIPS_RENAME_ERROR, false);
        return false;
    }
    const QFileInfo fi(host(board));
    const QString target = fi.absolutePath() + QLatin1Char('/') + newname;
    bool ok = (isdir ? fi.isDir() : fi.isFile()) && !QFileInfo(target).exists() && !QFileInfo(target).isSymLink();
    ok = ok && QDir().rename(fi.absoluteFilePath(), target);
    fileTip(ok ? TIPS_RENAME_OK : TIPS_RENAME_ERROR, ok);
    return ok;
}

bool Uidata::renameFile(QString path, QString newname) { return rename(path, newname, false); }
bool Uidata::renameFolder(QString path, QString newname) { return rename(path, newname, true); }

bool Uidata::isInSysFolder(QString path) { return boardfiles::placeOf(path) == boardfiles::PlaceLibrary; }

void Uidata::cpyRequest(QString path, bool isdir)
{
    const QString board = boardfiles::fromUrl(path);
    m_copySource = boardfiles::placeOf(board) == boardfiles::PlaceNone ? QString() : board;
    m_copyIsDir = isdir;
}

bool Uidata::cpypstProcess(QString dir)
{
    const QString board = boardfiles::fromUrl(dir);
    const boardfiles::Place p = boardfiles::placeOf(board);
    if (m_copySource.isEmpty() || (p != boardfiles::PlaceUser && p != boardfiles::PlaceUsb)) {
        fileTip(p == boardfiles::PlaceLibrary ? TIPS_PROTECT_WAREN : TIPS_COPY_ERROR, false);
        return false;
    }
    const QString target = board + QLatin1Char('/') + QFileInfo(m_copySource).fileName();
    bool ok;
    if (m_copyIsDir)
        ok = boardfiles::copyTree(host(m_copySource), host(target), false);
    else
        ok = QFileInfo(host(m_copySource)).isFile() && !QFileInfo(host(target)).exists() &&
            boardfiles::copyFile(host(m_copySource), host(target), false);
    fileTip(ok ? TIPS_COPY_OK : TIPS_COPY_ERROR, ok);
    return ok;
}

bool Uidata::copyDirectoryFiles(QString from, QString to, bool cover)
{
    const QString src = boardfiles::fromUrl(from);
    const QString dst = boardfiles::fromUrl(to);
    const boardfiles::Place p = boardfiles::placeOf(dst);
    if (boardfiles::placeOf(src) == boardfiles::PlaceNone || (p != boardfiles::PlaceUser && p != boardfiles::PlaceUsb))
        return false;
    return boardfiles::copyTree(host(src), host(dst), cover);
}

bool Uidata::deleteDirectory(QString path)
{
    const QString board = boardfiles::fromUrl(path);
    if (!boardfiles::writable(board))
        return false;
    return boardfiles::removeTree(host(board));
}

bool Uidata::listFileType(int ch) { return isChannel(ch) && controller && controller->listFileShown(ch); }

QStringList Uidata::getFileTypeFilter(int ch)
{
    QStringList filters;
    if (!listFileType(ch))
        filters << QStringLiteral("*.bsv");
    filters << QStringLiteral("*.csv");
    // Lists received remotely are kept as "CH<n>_List_<name>", whatever the name.
    if (listFileType(ch))
        filters << QStringLiteral("CH?_List_*");
    return filters;
}

QString Uidata::getMemInfo(int place)
{
    const char* dir = place == STORAGE_USER ? ArbWaveData::kUserDir
        : place == STORAGE_EXTERNAL         ? ArbWaveData::kUsbDir
                                            : ArbWaveData::kLibraryDir;
    QStorageInfo info(host(QLatin1String(dir)));
    if (!info.isValid() || !info.isReady())
        return QString();
    const double free = double(info.bytesAvailable());
    if (free >= 1024.0 * 1024 * 1024)
        return QStringLiteral("%1 GB").arg(free / (1024.0 * 1024 * 1024), 0, 'f', 2);
    if (free >= 1024.0 * 1024)
        return QStringLiteral("%1 MB").arg(free / (1024.0 * 1024), 0, 'f', 2);
    return QStringLiteral("%1 KB").arg(free / 1024.0, 0, 'f', 2);
}

void Uidata::translateArbDir(QVariantList list)
{
    if (!controller)
        return;
    Ornav72* c = controller;
    QMetaObject::invokeMethod(
        c, [c, list]() { c->SetArbDir(list); }, Qt::AutoConnection);
}
