#pragma once
// Screen capture: the rendered frame into the capture buffer (a BMP file
// image: header, then the rows bottom first), optionally into a picture file,
// and copied out for the remote screen rows. Owned by the controller; its
// state belongs to the GUI thread, where every capture runs.
#include <QByteArray>
#include <QImage>
#include <QString>
#include "communication/SCPI/commands/scpi_display_host.h"

class Ornav72;

class ScreenCapture : public ScpiDisplayHost {
public:
    explicit ScreenCapture(Ornav72& owner) : o(owner) {}
    ScreenCapture(const ScreenCapture&) = delete;
    ScreenCapture& operator=(const ScreenCapture&) = delete;
    ~ScreenCapture() override;

    // Reads the rendered frame into the buffer (BMP header, bottom row
    // first); with convert, also into an image, and with a folder saves it
    // there as the next free "screenshot<N>" file. Runs in the GUI thread.
    bool getscreenShot(bool convert = false, QString savePath = QString(), int where = 0);
    // The remote screen rows: a capture made in the GUI thread, copied out.
    QByteArray displayCapture() override;

    // The BMP header at the front of the buffer.
    static const unsigned char kBmpHeader[54];
    static const int kCaptureBytes = 4096054;

    // The buffer (null before the first capture) and the last converted
    // image, as the GUI thread left them.
    const unsigned char* pixels() const { return pixelData; }
    const QImage& image() const { return screenShotImage; }

private:
    Ornav72& o;
    unsigned char* pixelData = nullptr; // GUI thread
    bool screenShotOk = false;          // GUI thread
    QImage screenShotImage;             // GUI thread, as pixelData
    // The last capture handed to a remote reply (GUI thread; the reply holds
    // a shared copy, so a refill while it is in use detaches).
    QByteArray remoteCapture;
};
