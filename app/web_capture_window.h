#pragma once
// The web page's screen view takes its PNG from the screens' window.
class QObject;

// Installs a capture of the window (the root object of the screens, when it
// is a QQuickWindow) as the web server's capture function; nullptr removes
// it. The grab runs in the GUI thread; the web thread waits for it.
void installWebScreenCapture(QObject* root);
