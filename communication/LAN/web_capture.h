#pragma once
// The screen image the web page shows: a PNG from the capture function the
// application installs (the remote layer cannot draw). Until one is
// installed the web server answers 503.
#include <QByteArray>
#include <functional>

// fn returns the PNG bytes, or an empty array when no frame is available;
// it is called from the web server's threads.
void lan_set_capture(std::function<QByteArray()> fn);
// The current screen as PNG; false when no capture is installed or it
// returned nothing.
bool lan_capture_png(QByteArray& png);
