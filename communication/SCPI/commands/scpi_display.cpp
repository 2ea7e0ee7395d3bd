#include "communication/SCPI/commands/scpi_display.h"
#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>
#include <lzo/lzo1x.h>
#include <zlib.h>
#include "communication/SCPI/commands/scpi_display_host.h"
#include "communication/SCPI/scpi_result.h"
#include "communication/scpi_msg_adpt.h"
#include "param/sys_param.h"
#include "platform/logging.h"

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

void putBe32(QByteArray& out, uint32_t v)
{
    const char b[4] = {char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
    out.append(b, 4);
}

// One chunk: length, type, data, CRC of type and data.
void putChunk(QByteArray& out, const char* type, const char* data, uint32_t length)
{
    putBe32(out, length);
    const int at = out.size();
    out.append(type, 4);
    out.append(data, int(length));
    putBe32(out, uint32_t(crc32(0, reinterpret_cast<const Bytef*>(out.constData() + at), uInt(4 + length))));
}

// The capture (rows bottom first, blue, green, red, alpha) as an 8-bit RGB
// PNG, upright. A screen has no transparency, so the alpha byte is left out:
// a quarter less for zlib to pack. Every row takes the "up" filter: a
// screen is mostly rows that repeat the row above, which then become runs
// of zeros that zlib's fastest level packs tightly. The encoder of the image
// library tries five filters on every row and spent three quarters of the
// reply on that.
//
// The picture is packed in bands of kBandRows rows, each band a deflate
// stream of its own that ends on a byte boundary (a fresh compressor per
// band, flushed), so the bands simply follow each other in the IDAT data,
// and the checksum of the whole is combined from theirs. A remote screen
// viewer asks for the screen again and again while most of it stays as it
// was: a band whose pixels (and the row above it, which its first row is
// filtered against) did not change since the last picture keeps its packed
// bytes, and only the bands that changed go through zlib again. Deflate is
// nearly all of the encoding's time.
const int kBandRows = 32;
const int kBands = kHeight / kBandRows;
static_assert(kHeight % kBandRows == 0, "whole bands");

struct PackedBand {
    QByteArray bytes; // raw deflate data, flushed to a byte boundary
    uLong adler = 1;  // Adler-32 of the band's filtered rows
};

// The last picture's pixels and bands; guarded by g_pngLock (the SCPI
// worker encodes, but a capture may be encoded from any thread).
std::mutex g_pngLock;
QByteArray g_pngPixels;
PackedBand g_pngBands[kBands];

// Filters and packs rows [y0, y0 + kBandRows) of the picture (top first).
bool packBand(const unsigned char* pixels, int y0, PackedBand& band)
{
    const size_t rowBytes = size_t(kWidth) * 4;
    const size_t outBytes = size_t(kWidth) * 3 + 1;
    // One spare byte: each pixel is stored as four bytes, the fourth
    // overwritten by the next pixel or the next row's filter byte.
    std::vector<unsigned char> rows(outBytes * kBandRows + 1);
    static const std::vector<unsigned char> blank(rowBytes, 0);
    for (int i = 0; i < kBandRows; ++i) {
        const int y = y0 + i;
        // Rows bottom first: the row above this one on the screen follows it
        // in memory.
        const unsigned char* src = pixels + size_t(kHeight - 1 - y) * rowBytes;
        const unsigned char* above = y ? src + rowBytes : blank.data();
        unsigned char* dst = rows.data() + size_t(i) * outBytes;
        *dst++ = 2; // filter type "up"
        for (size_t x = 0; x < rowBytes; x += 4, dst += 3) {
            uint32_t a, b;
            std::memcpy(&a, src + x, 4);
            std::memcpy(&b, above + x, 4);
            // Byte-wise a - b modulo 256 (no borrow between the bytes) ...
            const uint32_t d = ((a | 0x80808080u) - (b & 0x7F7F7F7Fu)) ^ ((a ^ ~b) & 0x80808080u);
            // ... then blue, green, red into red, green, blue.
            dst[0] = uint8_t(d >> 16);
            dst[1] = uint8_t(d >> 8);
            dst[2] = uint8_t(d);
        }
    }
    const uInt length = uInt(outBytes * kBandRows);
    z_stream z {};
    // Raw deflate (no zlib header: the picture has one for all bands); a
    // smaller hash than the default measured a little faster here.
    if (deflateInit2(&z, 1, Z_DEFLATED, -15, 7, Z_DEFAULT_STRATEGY) != Z_OK)
        return false;
    band.bytes.resize(int(deflateBound(&z, length) + 16));
    z.next_in = rows.data();
    z.avail_in = length;
    z.next_out = reinterpret_cast<Bytef*>(band.bytes.data());
    z.avail_out = uInt(band.bytes.size());
    // The output has room for the worst case: the band goes in whole.
    const int rc = deflate(&z, Z_SYNC_FLUSH);
    const bool ok = rc == Z_OK && z.avail_in == 0 && z.avail_out > 0;
    band.bytes.resize(ok ? int(z.total_out) : 0);
    deflateEnd(&z);
    band.adler = adler32(1, rows.data(), length);
    return ok;
}

// The bands of one picture to pack, shared by the encoding thread and a
// helper. Each band is packed by the one thread that took it from `next`.
struct BandWork {
    const unsigned char* pixels = nullptr;
    int todo[kBands] = {};
    int count = 0;
    std::atomic<int> next {0};
    std::atomic<int> done {0};
    std::atomic<bool> ok {true};
    std::mutex lock;
    std::condition_variable finished;
};

void packSome(BandWork& w)
{
    for (int i = w.next++; i < w.count; i = w.next++) {
        if (!packBand(w.pixels, w.todo[i] * kBandRows, g_pngBands[w.todo[i]]))
            w.ok = false;
        if (++w.done == w.count) {
            std::lock_guard<std::mutex> held(w.lock);
            w.finished.notify_all();
        }
    }
}

// Packs the listed bands; false when any of them failed. With more than one
// band to pack, a helper thread takes bands from the same list: the bands
// are independent deflate streams, so a second core halves the reply of a
// screen that changed everywhere. The encoding thread never waits for the
// helper to start: on a busy machine it packs every band itself, and a
// helper that comes late finds none left (it keeps the shared list alive
// until it has looked).
bool packBands(const unsigned char* pixels, const int* todo, int count)
{
    auto w = std::make_shared<BandWork>();
    w->pixels = pixels;
    w->count = count;
    std::copy(todo, todo + count, w->todo);
    if (count > 1) {
        try {
            std::thread([w]() { packSome(*w); }).detach();
        } catch (const std::system_error&) {
            // No thread to be had: this one packs them all.
        }
    }
    packSome(*w);
    std::unique_lock<std::mutex> held(w->lock);
    w->finished.wait(held, [&] { return w->done.load() == count; });
    return w->ok;
}

QByteArray encodePng(const unsigned char* pixels)
{
    const size_t rowBytes = size_t(kWidth) * 4;
    const size_t pixelBytes = rowBytes * kHeight;
    std::lock_guard<std::mutex> held(g_pngLock);
    const bool known = g_pngPixels.size() == int(pixelBytes);
    if (!known)
        g_pngPixels.resize(int(pixelBytes));
    unsigned char* last = reinterpret_cast<unsigned char*>(g_pngPixels.data());
    // The bands whose pixels, or the row above them, changed since the last
    // picture.
    int todo[kBands];
    int count = 0;
    for (int k = 0; k < kBands; ++k) {
        const int y0 = k * kBandRows;
        // The band's source rows, bottom first in memory, and the row above
        // its first row (stored just after them).
        const size_t from = size_t(kHeight - y0 - kBandRows) * rowBytes;
        const size_t to = size_t(kHeight - y0 + (y0 ? 1 : 0)) * rowBytes;
        if (!known || g_pngBands[k].bytes.isEmpty() || std::memcmp(pixels + from, last + from, to - from) != 0)
            todo[count++] = k;
    }
    if (!packBands(pixels, todo, count)) {
        g_pngPixels.clear(); // nothing kept from a failed picture
        return QByteArray();
    }
    // Only the changed bands' rows differ from the kept pixels.
    for (int i = 0; i < count; ++i) {
        const size_t from = size_t(kHeight - todo[i] * kBandRows - kBandRows) * rowBytes;
        std::memcpy(last + from, pixels + from, rowBytes * kBandRows);
    }
    QByteArray idat;
    idat.reserve(256 * 1024);
    idat.append("\x78\x01", 2); // zlib header: deflate, 32 KiB window, fastest level
    uLong adler = 1;
    const uLong bandLength = uLong((size_t(kWidth) * 3 + 1) * kBandRows);
    for (const PackedBand& band : g_pngBands) {
        idat.append(band.bytes);
        adler = adler32_combine(adler, band.adler, z_off_t(bandLength));
    }
    idat.append("\x03\x00", 2); // the last block: empty, fixed codes
    putBe32(idat, uint32_t(adler));

    QByteArray out;
    out.reserve(idat.size() + 64);
    out.append("\x89PNG\r\n\x1a\n", 8);
    const uint32_t w = kWidth, h = kHeight;
    const char ihdr[13] = {char(w >> 24),
                           char(w >> 16),
                           char(w >> 8),
                           char(w),
                           char(h >> 24),
                           char(h >> 16),
                           char(h >> 8),
                           char(h),
                           8,
                           2,
                           0,
                           0,
                           0}; // 8 bits, RGB, deflate, no interlace
    putChunk(out, "IHDR", ihdr, sizeof ihdr);
    putChunk(out, "IDAT", idat.constData(), uint32_t(idat.size()));
    putChunk(out, "IEND", nullptr, 0);
    return out;
}

} // namespace

ScpiDisplayHost* scpi_display_host(scpi_t* context)
{
    if (!context)
        return nullptr;
    if (auto* owner = dynamic_cast<ScpiDisplayHostOwner*>(context->parent))
        return owner->displayHost();
    return dynamic_cast<ScpiDisplayHost*>(context->parent);
}

QByteArray SCPI_DisplayEncode(const QByteArray& capture, int pictureFormat)
{
    if (capture.size() < SCPI_DISPLAY_CAPTURE_BYTES)
        return QByteArray();
    if (pictureFormat != 0 && pictureFormat != 1) {
        const QByteArray png = encodePng(reinterpret_cast<const unsigned char*>(capture.constData()) + kHeader);
        if (png.isEmpty())
            qCCritical(lcScpi, "picture encoding (png) failed");
        return png;
    }
    // The pixels are stored bottom row first: mirrored, the picture stands upright.
    const QImage stored(reinterpret_cast<const uchar*>(capture.constData()) + kHeader, kWidth, kHeight, kWidth * 4,
                        QImage::Format_ARGB32);
    const QImage upright = stored.mirrored(false, true);
    const char* format = pictureFormat == 0 ? "bmp" : "jpeg";
    QByteArray out;
    QBuffer buffer(&out);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(upright)) {
        qCCritical(lcScpi, "picture encoding (%s) failed: %s", format, qPrintable(writer.errorString()));
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
        qCCritical(lcScpi, "internal error - compression failed");
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
        qCCritical(lcScpi, "pixelData is null");
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
        qCCritical(lcScpi, "pixelData is null");
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
        qCCritical(lcScpi, "tx data overflow!! (%d bytes of screen data)", int(frame.size()));
        return SCPI_RES_ERR;
    }
    std::memcpy(at, frame.constData(), size_t(frame.size()));
    scpi_msg_tx_write_end(frame.size());
    return SCPI_RES_OK;
}
