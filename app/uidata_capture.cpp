// Screen capture into a file, as the long press of OK asks for it: grabs the
// rendered window and saves it under the next free number.
#include "app/uidata.h"
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QQuickWindow>
#include <QScreen>
#include <unistd.h>
#include "app/ornav72.h"
#include "platform/platformroot.h"
#include "param/sys_param.h"

bool Uidata::screenShot(bool convert, QString path, int where)
{
    auto* window = qobject_cast<QQuickWindow*>(mainObject);
    if (!window || !convert)
        return false;
    QImage image = window->grabWindow();
    if (image.isNull() && window->screen())
        image = window->screen()->grabWindow(window->winId()).toImage();
    if (image.isNull())
        qWarning("screen capture: the window gave no image");
    if (path.isEmpty())
        return !image.isNull();
    bool saved = false;
    if (!image.isNull() && QDir(path).exists()) {
        const int f = int(sys_param::HWinfo.PicFormat);
        const char* format = f == 0 ? "bmp" : f == 1 ? "jpeg" : "png";
        QString name;
        for (int n = 1;; ++n) {
            name = QStringLiteral("%1/screenshot%2.%3").arg(path).arg(n).arg(QLatin1String(format));
            if (!QFile::exists(name))
                break;
        }
        saved = image.save(name, format);
        if (!saved)
            qWarning("screen capture: cannot write %s", qPrintable(name));
        if (!PlatformRoot::simulated())
            ::sync();
    }
    if (controller) {
        emit controller->TipsMessage(MESSAGE_TYPE_TIPS, saved ? TIPS_IMAGE_SAVE_OK : TIPS_IMAGE_SAVE_FALSE, saved,
                                     QString(), true);
        if (!saved)
            controller->warnBeep(where);
    }
    return saved;
}
