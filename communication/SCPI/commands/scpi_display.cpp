#include "communication/SCPI/commands/scpi_display.h"
#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <cstdio>
#include <cstring>
#include <lzo/lzo1x.h>
#include "communication/SCPI/commands/scpi_display_host.h"
#include "communication/SCPI/scpi_result.h"
#include "communication/scpi_msg_adpt.h"
#include "param/sys_param.h"

namespace {

const int kWidth = 1280;
const int kHeight = 800;
const int kHeader = 54;
const unsigned char kTrailer[6] = {0x89, 0xAB, 0xCD, 0xEF, '\r', '\n'};

QByteArray capture(scpi_t* context)
{
    ScpiDisplayHost* host = scpi_display_host(context);
    if (!host)
        return QByteArray();
    const QByteArray raw = host->displayCapture();
    return raw.size() >= SCPI_DISPLAY_CAPTURE_BYTES ? raw : QByteArray();
}

} // namespace

ScpiDisplayHost* scpi_display_host(scpi_t* context)
{
    return context ? dynamic_cast<ScpiDisplayHost*>(context->parent) : nullptr;
}

QByteArray SCPI_DisplayEncode(const QByteArray& capture, int pictureFormat)
{
    if (capture.size() < SCPI_DISPLAY_CAPTURE_BYTES)
        return QByteArray();
    // The pixels are stored bottom row first: mirrored, the picture stands upright.
    const QImage stored(reinterpret_cast<const uchar*>(capture.constData()) + kHeader, kWidth, kHeight,
                        kWidth * 4, QImage::Format_ARGB32);
    const QImage upright = stored.mirrored(false, true);
    const char* format = pictureFormat == 0 ? "bmp" : pictureFormat == 1 ? "jpeg" : "png";
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    // A screen is large areas of one colour: zlib's fastest level packs it
    // almost as small as its default level does, in a fraction of the time.
    // Qt takes the PNG compression as 0..100 and hands zlib c * 9 / 91.
    if (pictureFormat != 0 && pictureFormat != 1) {
        const int zlibLevel = 1;
        writer.setCompression((zlibLevel * 91 + 8) / 9);
    }
    if (!writer.write(upright)) {
        fprintf(stderr, "[scpi-ERRO]:picture encoding (%s) failed: %s\n", format,
                qPrintable(writer.errorString()));
        return QByteArray();
    }
    return out;
}

QByteArray SCPI_DisplayZbmpFrame(const QByteArray& capture)
{
    static const bool lzoReady = lzo_init() == LZO_E_OK;
    if (!lzoReady || capture.size() < SCPI_DISPLAY_CAPTURE_BYTES)
        return QByteArray();
    // LZO1X-1 has no output limit: room for its worst case (input + 1/16 +
    // 67) is reserved, so a screen that does not compress cannot run past
    // the end.
    const lzo_uint in = SCPI_DISPLAY_CAPTURE_BYTES;
    const lzo_uint worst = in + in / 16 + 64 + 3;
    QByteArray frame(int(11 + worst + sizeof(kTrailer)), Qt::Uninitialized);
    QByteArray work(LZO1X_1_MEM_COMPRESS, Qt::Uninitialized);
    lzo_uint outLen = 0;
    const int r = lzo1x_1_compress(reinterpret_cast<const unsigned char*>(capture.constData()), in,
                                   reinterpret_cast<unsigned char*>(frame.data()) + 11, &outLen, work.data());
    if (r != LZO_E_OK || outLen > worst) {
        fprintf(stderr, "[scpi-ERRO]:internal error - compression failed\n");
        return QByteArray();
    }
    char head[12];
    snprintf(head, sizeof(head), "#9%09lu", static_cast<unsigned long>(outLen + 4));
    std::memcpy(frame.data(), head, 11);
    std::memcpy(frame.data() + 11 + outLen, kTrailer, sizeof(kTrailer));
    frame.truncate(int(11 + outLen + sizeof(kTrailer)));
    return frame;
}

// "DISPlay:DATA?": the screen in the picture format of the settings.
scpi_result_t SCPI_DisplayDataQ(scpi_t* context)
{
    const QByteArray raw = capture(context);
    if (raw.isEmpty()) {
        fprintf(stderr, "[scpi-ERRO]:pixelData is null\n");
        return SCPI_RES_ERR;
    }
    const QByteArray picture = SCPI_DisplayEncode(raw, sys_param::HWinfo.PicFormat);
    if (picture.isEmpty())
        return SCPI_RES_ERR;
    SCPI_ResultArbitraryBlock(context, picture.constData(), size_t(picture.size()));
    return SCPI_RES_OK;
}

// "DISPlay:ZBMP?": the raw capture, compressed, framed for the PC software.
// Every request captures a fresh frame and waits for it: the buffer the GUI
// thread fills is copied out, so a capture in progress never meets the
// compression.
scpi_result_t SCPI_DisplayZbmpQ(scpi_t* context)
{
    const QByteArray raw = capture(context);
    if (raw.isEmpty()) {
        fprintf(stderr, "[scpi-ERRO]:pixelData is null\n");
        return SCPI_RES_ERR;
    }
    const QByteArray frame = SCPI_DisplayZbmpFrame(raw);
    if (frame.isEmpty())
        return SCPI_RES_ERR;
    // The frame goes into the response buffer as a whole or not at all: a
    // clipped frame would announce more bytes than it carries.
    char* at = scpi_msg_tx_write_start();
    const long room = long(scpi_tx_buffer.txBuf + SCPI_TX_BUF_SIZE - 1 - at);
    if (long(frame.size()) > room) {
        scpi_msg_tx_write_end(0);
        fprintf(stderr, "[scpi-ERRO]:tx data overflow!! (%d bytes of screen data)\n", int(frame.size()));
        return SCPI_RES_ERR;
    }
    std::memcpy(at, frame.constData(), size_t(frame.size()));
    scpi_msg_tx_write_end(frame.size());
    return SCPI_RES_OK;
}
