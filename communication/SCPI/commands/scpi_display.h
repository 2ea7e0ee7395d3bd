#pragma once
// The screen rows: the screen as an encoded picture ("DISPlay:DATA?") and
// as the raw capture compressed with LZO1X-1 ("DISPlay:ZBMP?").
#include <QByteArray>
#include "communication/SCPI/scpi_types.h"

scpi_result_t SCPI_DisplayDataQ(scpi_t* context); // "DISPlay:DATA?"
scpi_result_t SCPI_DisplayZbmpQ(scpi_t* context); // "DISPlay:ZBMP?"

// Size of a raw capture: the BMP header and the 1280 x 800 x 4 pixel bytes.
enum { SCPI_DISPLAY_CAPTURE_BYTES = 4096054 };

// The picture of a raw capture, upright, encoded as "bmp", "jpeg" or "png"
// (picture format 0, 1, other); empty when the capture is not a full one or
// the encoder fails.
QByteArray SCPI_DisplayEncode(const QByteArray& capture, int pictureFormat);

// The "DISPlay:ZBMP?" reply for a raw capture: "#9", the compressed length
// plus 4 as nine digits, the LZO1X-1 data, 0x89 0xAB 0xCD 0xEF, CR LF.
// Empty when the compression fails.
QByteArray SCPI_DisplayZbmpFrame(const QByteArray& capture);
