// Software upgrade from the USB disk: the package found by haveUpgradefile
// runs through the FPGA loader, a new bitstream in the package is loaded,
// then the board restarts.
#include "app/upgrade.h"
#include "app/ornav72.h"
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QThread>
#include "platform/platformroot.h"
#include "platform/shellrunner.h"

namespace {
const char kDisk[] = "/media/usbdisk";

// A board path is a file of the USB disk itself: no link on the way and,
// resolved, inside the disk's mount point.
bool onTheDisk(const QString& boardFile)
{
    const QFileInfo file(boardPath(boardFile));
    const QFileInfo folder(file.absolutePath());
    if (!file.isFile() || file.isSymLink() || folder.isSymLink())
        return false;
    const QString disk = QFileInfo(boardPath(kDisk)).canonicalFilePath();
    return !disk.isEmpty() && file.canonicalFilePath().startsWith(disk + QLatin1Char('/'));
}

// The package path as one shell word: a folder name on the disk may hold
// any character.
QString shellWord(const QString& text)
{
    QString quoted = text;
    quoted.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + quoted + QLatin1Char('\'');
}
} // namespace

void Upgrade::run()
{
    if (upgradedir.isEmpty())
        return;
    // The disk may have changed since the package was found: it is checked
    // again before anything runs.
    const QString package = upgradedir + "/update.uas";
    if (!onTheDisk(package)) {
        qWarning("upgrade: no package at %s", qPrintable(package));
        return;
    }
    o.SetInfoWindowState(QStringLiteral("upgrading"), Uidata::ASK_UPGTADING);
    o.fpga().upgrade_exe(shellWord(package));
    const QString bitstream = upgradedir + "/ORNAV96T_TOP.bit";
    if (onTheDisk(bitstream))
        o.fpga().fpga_cfg_write(bitstream);
    qInfo("********* echo update ok");
    o.ui().updateProcessBar(99);
    ShellRunner::run(QStringLiteral("sync"));
    const int r = ShellRunner::run(QStringLiteral("reboot"));
    qInfo("********* echo reboot %d", r);
    QThread::sleep(1);
    ShellRunner::exitProgram("upgrade");
}
