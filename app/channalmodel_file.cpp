#include "app/channalmodel_file.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include "app/channalmodel_rules.h"
#include "app/ornav72.h"
#include "platform/platformroot.h"

using namespace entryrules;

QString arbfileModel::s_last;
QString modarbfileModel::s_last;
QString listfileModel::s_last;

namespace {
// Paths are stored in 128-byte fields of the record, NUL included.
const int kMaxPath = 128;

QString recordText(const char* p) { return QString::fromLocal8Bit(p, int(strnlen(p, size_t(kMaxPath)))); }

// The canonical board path of a board path: symbolic links and "." / ".."
// resolved below the platform root; a file that does not exist keeps its
// cleaned text.
QString canonicalBoardPath(const QString& boardFile)
{
    const QString host = PlatformRoot::path(boardFile);
    QString canon = QFileInfo(host).canonicalFilePath();
    if (canon.isEmpty())
        return QDir::cleanPath(boardFile);
    const QString board = PlatformRoot::boardPathOf(canon);
    return board.isEmpty() ? QDir::cleanPath(boardFile) : board;
}
} // namespace

bool fileModelBase::headerOk(const QString& boardFile) const
{
    // The wave and list loaders read the header when the file is played;
    // here the file must at least open and hold data.
    QFile f(PlatformRoot::path(boardFile));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    return f.size() > 0;
}

QString fileModelBase::onFileSelectEvent(QString path, bool confirm)
{
    QString& last = lastPreview();
    if (path.isEmpty()) {
        if (!confirm || last.isEmpty())
            return QStringLiteral("error");
        path = storedPath();
    }
    if (path.size() >= kMaxPath)
        return QStringLiteral("error");
    if (path.startsWith(QLatin1String("file://")))
        path = path.mid(7);
    path = canonicalBoardPath(path);
    if (path.isEmpty() || path.toLocal8Bit().size() >= kMaxPath)
        return QStringLiteral("error");

    if (path != last)
        preview(path, confirm);
    if (!confirm) {
        last = path;
        return QString();
    }
    if (!headerOk(path)) {
        tips(TIPS_FILE_FORMAT_ERROR);
        return QStringLiteral("error");
    }
    if (path != storedPath())
        storePath(path.toLocal8Bit());
    last.clear();
    valueChangedProcess();
    disUpdate();
    wparamfocus(false);
    return QStringLiteral("quit");
}

void fileModelBase::disUpdate()
{
    m_sIndex = 0;
    m_sLenth = 0;
    wlistvalue(QFileInfo(storedPath()).fileName());
}

QString arbfileModel::storedPath() const { return recordText(sys_param::GetChArbFileDir(ch)); }
void arbfileModel::storePath(const QByteArray& p) { sys_param::SetChArbFileDir(ch, p.constData(), p.size()); }
void arbfileModel::preview(const QString& path, bool confirm)
{
    if (pOrnav72)
        emit pOrnav72->chArbCmd(ch, path, true, confirm, false);
}

QString modarbfileModel::storedPath() const { return recordText(sys_param::GetChModArbFileDir(ch)); }
void modarbfileModel::storePath(const QByteArray& p) { sys_param::SetChModArbFileDir(ch, p.constData(), p.size()); }

QString listfileModel::storedPath() const { return recordText(sys_param::GetChListFileDir(ch)); }
void listfileModel::storePath(const QByteArray& p) { sys_param::SetChListFileDir(ch, p.constData(), p.size()); }
void listfileModel::preview(const QString& path, bool confirm)
{
    if (pOrnav72)
        emit pOrnav72->chListCmd(ch, path, confirm, false);
}
