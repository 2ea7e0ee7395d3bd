#pragma once
// What the screen rows need of the controller: a capture of the screen. The
// command set sits below the application, so the controller implements this
// interface and the handlers find it behind their context's parent.
#include <QByteArray>

struct scpi_t;

class ScpiDisplayHost {
public:
    virtual ~ScpiDisplayHost() = default;
    // Captures the screen in the GUI thread (the caller waits for it) and
    // returns a copy of the capture buffer: the 54-byte BMP header and
    // 1280 x 800 pixels of 4 bytes (blue, green, red, alpha), bottom row
    // first. Empty when no frame could be read.
    virtual QByteArray displayCapture() = 0;
};

// A controller that hands the screen rows to a part it owns.
class ScpiDisplayHostOwner {
public:
    virtual ScpiDisplayHost* displayHost() = 0;

protected:
    ~ScpiDisplayHostOwner() = default;
};

// The host behind the context (its parent, or the part its parent hands
// out), or null (no controller: a test table).
ScpiDisplayHost* scpi_display_host(scpi_t* context);
