// Screen capture for the web page: a grab of the screens' window in the GUI
// thread, encoded as PNG.
#include "app/web_capture_window.h"
#include <QBuffer>
#include <QImage>
#include <QMetaObject>
#include <QPointer>
#include <QPixmap>
#include <QQuickWindow>
#include <QScreen>
#include <QThread>
#include "communication/LAN/web_capture.h"

void installWebScreenCapture(QObject* root)
{
    auto* window = qobject_cast<QQuickWindow*>(root);
    if (!window) {
        lan_set_capture(nullptr);
        return;
    }
    QPointer<QQuickWindow> w(window);
    lan_set_capture([w]() -> QByteArray {
        QByteArray png;
        if (!w)
            return png;
        auto grab = [&png, w]() {
            if (!w)
                return;
            QImage image = w->grabWindow();
            // The software scene graph on a headless platform keeps no
            // frame of its own; the platform composes the window instead.
            if (image.isNull() && w->screen())
                image = w->screen()->grabWindow(w->winId()).toImage();
            QBuffer buffer(&png);
            buffer.open(QIODevice::WriteOnly);
            image.save(&buffer, "PNG");
        };
        if (QThread::currentThread() == w->thread())
            grab();
        else
            QMetaObject::invokeMethod(w, grab, Qt::BlockingQueuedConnection);
        return png;
    });
}
