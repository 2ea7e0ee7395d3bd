// Screen capture: the rendered frame into the capture buffer (a BMP file
// image: header, then the rows bottom first), optionally into a picture file
// on the USB disk, and copied out for the remote screen rows.
#include "app/screen_capture.h"
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QOpenGLContext>
#include <QOpenGLFunctions>
#include <QPixmap>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QScreen>
#include <QSemaphore>
#include "platform/handoff.h"
#include <QThread>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <unistd.h>
#include "app/ornav72.h"
#include "platform/platformroot.h"
#include "param/sys_param.h"

#ifndef GL_BGRA_EXT
#define GL_BGRA_EXT 0x80E1
#endif

namespace {
const int kWidth = 1280;
const int kHeight = 800;
const int kHeaderBytes = 54;

// The frame as the screen shows it, into pixels (bottom row first, blue,
// green, red, alpha). On the board the scene graph draws with OpenGL ES and
// its context is current in this thread: the frame buffer is read directly.
// Drawn by the software renderer (offscreen, or a desktop without OpenGL),
// the same pixels come from the window's grab.
bool readFrame(QObject* root, unsigned char* pixels)
{
    auto* window = qobject_cast<QQuickWindow*>(root);
    if (!window)
        return false;
    QOpenGLContext* gl = QOpenGLContext::currentContext();
    const QSGRendererInterface* ri = window->rendererInterface();
    if (gl && ri && ri->graphicsApi() == QSGRendererInterface::OpenGL) {
        QOpenGLFunctions* f = gl->functions();
        f->glPixelStorei(GL_PACK_ALIGNMENT, 1);
        if (gl->hasExtension("GL_EXT_read_format_bgra")) {
            f->glReadPixels(0, 0, kWidth, kHeight, GL_BGRA_EXT, GL_UNSIGNED_BYTE, pixels);
        } else {
            f->glReadPixels(0, 0, kWidth, kHeight, GL_RGBA, GL_UNSIGNED_BYTE, pixels);
            for (int i = 0; i < kWidth * kHeight; ++i)
                std::swap(pixels[4 * i], pixels[4 * i + 2]);
        }
        return f->glGetError() == GL_NO_ERROR;
    }
    QImage image = window->grabWindow();
    // Some platforms (offscreen) keep the rendered frame only in the
    // screen's backing store: the screen then gives the window's pixels.
    if (image.isNull() && window->screen())
        image = window->screen()->grabWindow(window->winId()).toImage();
    if (image.isNull())
        return false;
    if (image.size() != QSize(kWidth, kHeight))
        image = image.copy(0, 0, kWidth, kHeight);
    // ARGB32 lies in memory as blue, green, red, alpha: the BMP order. The
    // renderer's frame is premultiplied (or RGB32, alpha always 255): its
    // rows are taken as they are, and only a pixel that is not opaque (rare
    // on a screen) is converted, instead of converting the whole frame.
    const QImage::Format f = image.format();
    const bool premultiplied = f == QImage::Format_ARGB32_Premultiplied;
    if (f != QImage::Format_ARGB32 && f != QImage::Format_RGB32 && !premultiplied)
        image = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < kHeight; ++y) {
        auto* row = reinterpret_cast<QRgb*>(pixels + size_t(y) * kWidth * 4);
        std::memcpy(row, image.constScanLine(kHeight - 1 - y), size_t(kWidth) * 4);
        if (premultiplied)
            for (int x = 0; x < kWidth; ++x)
                if (qAlpha(row[x]) != 255)
                    row[x] = qUnpremultiply(row[x]);
    }
    return true;
}
} // namespace

// "BM", size 4 096 000 (the pixel bytes), offset 54; info header of 40 bytes,
// 1280 x 800, one plane, 32 bits, no compression.
const unsigned char ScreenCapture::kBmpHeader[54] = {
    'B', 'M', 0x00, 0x80, 0x3E, 0x00, 0, 0, 0, 0, 54, 0, 0, 0, 40, 0, 0, 0, 0x00, 0x05, 0, 0, 0x20, 0x03, 0, 0, 1,
    0,   32,  0,    0,    0,    0,    0, 0, 0, 0, 0,  0, 0, 0, 0,  0, 0, 0, 0,    0,    0, 0, 0,    0,    0, 0, 0,
};

bool ScreenCapture::getscreenShot(bool convert, QString savePath, int where)
{
    if (!pixelData) {
        pixelData = static_cast<unsigned char*>(std::malloc(kCaptureBytes));
        if (!pixelData) {
            qWarning("malloc error");
            o.warnBeep(where);
            return false;
        }
        std::memcpy(pixelData, kBmpHeader, sizeof(kBmpHeader));
    }
    screenShotOk = readFrame(o.screenWindow(), pixelData + kHeaderBytes);
    if (!screenShotOk)
        qWarning("screen capture: no frame to read");

    bool saved = false;
    if (screenShotOk && convert) {
        // The buffer's rows are bottom first: this image stands on its head
        // until it is mirrored for a file.
        screenShotImage = QImage(pixelData + kHeaderBytes, kWidth, kHeight, kWidth * 4, QImage::Format_ARGB32).copy();
        if (!savePath.isEmpty() && QDir(savePath).exists()) {
            const QImage upright = screenShotImage.mirrored(false, true);
            const int f = int(sys_param::HWinfo.PicFormat);
            const char* format = f == 0 ? "bmp" : f == 1 ? "jpeg" : "png";
            QString name;
            for (int n = 1;; ++n) {
                name = QStringLiteral("%1/screenshot%2.%3").arg(savePath).arg(n).arg(QLatin1String(format));
                if (!QFile::exists(name))
                    break;
            }
            saved = upright.save(name, format);
            if (!saved)
                qWarning("screen capture: cannot write %s", qPrintable(name));
            if (!PlatformRoot::simulated())
                ::sync();
        }
    }
    if (!savePath.isEmpty())
        emit o.TipsMessage(MESSAGE_TYPE_TIPS, saved ? TIPS_IMAGE_SAVE_OK : TIPS_IMAGE_SAVE_FALSE, saved, QString(),
                           true);
    // The beep and the activity time it notes belong to the controller's
    // thread; this runs in the GUI thread.
    const auto sound = [this, saved, where]() { saved ? o.beep(where) : o.warnBeep(where); };
    if (o.thread() == QThread::currentThread())
        sound();
    else
        QMetaObject::invokeMethod(&o, sound, Qt::QueuedConnection);
    return screenShotOk;
}

QByteArray ScreenCapture::displayCapture()
{
    // A copy leaves the GUI thread: a later capture (the OK key) may refill
    // pixelData while the remote reply is still being built.
    // The copy goes into a buffer kept for the next request (once the reply
    // that shared it is gone, data() reuses it): a fresh 4 MB buffer per
    // request cost a page fault per 4 KB.
    auto job = [this]() -> QByteArray {
        if (!getscreenShot(false, QString(), KEY_FROM_REMOTE))
            return QByteArray();
        remoteCapture.resize(kCaptureBytes);
        std::memcpy(remoteCapture.data(), pixelData, kCaptureBytes);
        return remoteCapture;
    };
    QObject* gui = o.screenWindow() ? o.screenWindow() : QCoreApplication::instance();
    if (!gui || gui->thread() == QThread::currentThread())
        return job();
    struct Pending {
        QSemaphore done;
        QByteArray data;
    };
    auto pending = std::make_shared<Pending>();
    handoffSend(pending.get());
    QMetaObject::invokeMethod(
        gui,
        [pending, job]() {
            handoffTake(pending.get());
            pending->data = job();
            handoffSend(pending.get());
            pending->done.release();
        },
        Qt::QueuedConnection);
    // The GUI thread stops answering only when the program is ending.
    if (!pending->done.tryAcquire(1, 10000)) {
        qWarning("screen capture: the GUI thread did not answer");
        return QByteArray();
    }
    handoffTake(pending.get());
    return pending->data;
}

ScreenCapture::~ScreenCapture() { free(pixelData); }

bool Uidata::screenShot(bool convert, QString path, int where)
{
    return controller && controller->getscreenShot(convert, path, where);
}
