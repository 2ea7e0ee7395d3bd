// Finding an upgrade package on the USB disk: a folder "ORNAV96T..." (any
// letter case) directly in the disk's mount point holding "update.uas".
#include "app/upgrade.h"
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include "platform/platformroot.h"

bool Upgrade::haveUpgradefile()
{
    static const char kDisk[] = "/media/usbdisk";
    const QDir disk(boardPath(kDisk));
    if (!disk.exists()) {
        qDebug("dir /media/usbdisk not exits");
        return false;
    }
    // Links are skipped, folder and package alike: whatever is run as the
    // package must be a file on the disk itself.
    const QFileInfoList entries =
        disk.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::NoSymLinks, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& e : entries) {
        if (!e.fileName().startsWith(QLatin1String("ORNAV96T"), Qt::CaseInsensitive))
            continue;
        const QFileInfo package(e.absoluteFilePath() + "/update.uas");
        if (package.isFile() && !package.isSymLink()) {
            upgradedir = QString::fromLatin1(kDisk) + "/" + e.fileName();
            return true;
        }
    }
    return false;
}
