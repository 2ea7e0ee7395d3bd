#pragma once
// Every absolute path of the board ("/dev/fpga", "/home/root/settings.ini",
// the EEPROM and GPIO sysfs files, mount points ...) is written in the code as
// it is on the board and resolved here. With no root set the program runs on
// the real board; with a root (--root DIR or ORNAV_ROOT) every path lives
// below DIR and the hardware behind it is the simulated board.
#include <QString>
#include <QByteArray>

class PlatformRoot {
public:
    // Sets the root; an empty text means the real board.
    static void setRoot(const QString& dir);
    // Reads "--root DIR" / "--root=DIR" from the arguments, else ORNAV_ROOT.
    static void initFromArgs(int argc, char** argv);
    static QString root();
    static bool simulated();
    // The host path of a board path.
    static QString path(const QString& boardPath);
    // The same as an 8-bit path for the C library calls (open, ioctl ...).
    static QByteArray cpath(const char* boardPath);
    // The board path of a canonical host path (the reverse of path()); an
    // empty text when the host path lies outside the board root.
    static QString boardPathOf(const QString& canonicalHostPath);
};

// Short form used throughout the code: boardPath("/dev/fpga").
inline QString boardPath(const QString& p) { return PlatformRoot::path(p); }
