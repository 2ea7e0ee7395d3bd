#include "platform/atomicfile.h"
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {
AtomicFile::StepHook g_hook;
// Written in pieces so an interrupted write can leave a partial temporary
// file, as a power cut would.
const qint64 kChunk = 1024;

bool step(AtomicFile::Step s, qint64 written) { return !g_hook || g_hook(s, written); }

bool fail(QString* error, const QString& what, int err)
{
    if (error)
        *error = what + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(err));
    return false;
}
} // namespace

namespace AtomicFile {

void setStepHook(StepHook hook) { g_hook = std::move(hook); }

QString tempPath(const QString& target) { return target + QStringLiteral(".tmp"); }

bool syncFolderOf(const QString& path)
{
    const QByteArray dir = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

bool write(const QString& target, const QByteArray& data, QString* error)
{
    const QString temp = tempPath(target);
    const QByteArray tempName = QFile::encodeName(temp);
    if (!step(OpenTemp, 0))
        return false;
    const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return fail(error, QStringLiteral("can't create ") + temp, errno);
    qint64 done = 0;
    int err = 0;
    while (done < data.size()) {
        if (!step(WriteChunk, done)) {
            ::close(fd);
            return false;
        }
        const qint64 n = ::write(fd, data.constData() + done, size_t(qMin(kChunk, data.size() - done)));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            err = n < 0 ? errno : ENOSPC;
            break;
        }
        done += n;
    }
    if (err == 0 && !step(SyncTemp, done)) {
        ::close(fd);
        return false;
    }
    // A full disk often shows only here, when the delayed blocks are placed.
    if (err == 0 && ::fsync(fd) != 0)
        err = errno;
    if (::close(fd) != 0 && err == 0)
        err = errno;
    if (err == 0 && !step(Rename, done))
        return false;
    if (err == 0 && ::rename(tempName.constData(), QFile::encodeName(target).constData()) != 0)
        err = errno;
    if (err != 0) {
        ::unlink(tempName.constData());
        return fail(error, QStringLiteral("can't write ") + target, err);
    }
    if (!step(SyncFolder, done))
        return true;
    // The new contents are in place; a folder that can't be flushed only
    // widens the window in which a power cut brings back the old file.
    syncFolderOf(target);
    return true;
}

} // namespace AtomicFile
