#include "platform/platformroot.h"
#include <QDir>
#include <QFileInfo>
#include <cstdlib>
#include <cstring>

namespace {
QString g_root;
}

void PlatformRoot::setRoot(const QString& dir)
{
    if (dir.isEmpty()) {
        g_root.clear();
        return;
    }
    QString abs = QDir(dir).absolutePath();
    while (abs.size() > 1 && abs.endsWith('/'))
        abs.chop(1);
    g_root = abs;
}

void PlatformRoot::initFromArgs(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--root") == 0 && i + 1 < argc) {
            setRoot(QString::fromLocal8Bit(argv[i + 1]));
            return;
        }
        if (std::strncmp(argv[i], "--root=", 7) == 0) {
            setRoot(QString::fromLocal8Bit(argv[i] + 7));
            return;
        }
    }
    const char* env = std::getenv("ORNAV_ROOT");
    setRoot(env ? QString::fromLocal8Bit(env) : QString());
}

QString PlatformRoot::root() { return g_root; }

bool PlatformRoot::simulated() { return !g_root.isEmpty(); }

QString PlatformRoot::path(const QString& boardPath)
{
    if (g_root.isEmpty() || !boardPath.startsWith('/'))
        return boardPath;
    return g_root + boardPath;
}

QByteArray PlatformRoot::cpath(const char* boardPath) { return path(QString::fromLocal8Bit(boardPath)).toLocal8Bit(); }

QString PlatformRoot::boardPathOf(const QString& canonicalHostPath)
{
    if (g_root.isEmpty())
        return canonicalHostPath;
    const QString root = QFileInfo(g_root).canonicalFilePath();
    if (root.isEmpty() || !canonicalHostPath.startsWith(root + QLatin1Char('/')))
        return QString();
    return canonicalHostPath.mid(root.size());
}
