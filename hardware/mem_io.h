#pragma once
// The board lines driven through the Linux GPIO sysfs interface: the power
// key, the power-off line, the EEPROM write protection and the direction of
// the trigger connector. One object, owned by the application controller.
#include <QString>

// Whoever shows the notice on the screens while the board powers down (the
// application controller's info window).
class PowerDownNotice {
public:
    virtual void showPowerDownNotice() = 0;

protected:
    ~PowerDownNotice() = default;
};

class mem_io {
public:
    static const int kPowerKeyLine = 2;   // input, '0' while pressed
    static const int kPowerOffLine = 117; // output, 1 cuts the supply
    static const int kEepromWpLine = 60;  // output, EEPROM write protection
    static const int kTrigDirLine = 41;   // output, 1 trigger connector out, 0 in

    mem_io();
    ~mem_io();

    // Value descriptor of a line, exported and set to its direction first
    // (an output starts at initialValue); -1 when the line can't be opened.
    int openfd(int line, bool isInput, int initialValue);
    bool GetPin(int fd);
    void SetPin(int fd, bool v);
    void setDirection(int line, bool in);
    void DirectionOutSetPin(int line, int fd, bool v);
    void exportIO(int line);
    // Called on every system tick: the power key held on two consecutive
    // ticks unmounts the file systems and switches the supply off. Returns
    // whether the key is being held.
    bool softPowerOff_Check(PowerDownNotice* controller);

    // The object the register layer drives the trigger direction through
    // (null before the controller made it).
    static mem_io* current();

    static QString valuePath(int line);

    int powerkey = -1;
    int poweroff = -1;
    int fm24cl04wp = -1;
    int trigIO = -1;
    int count = 0;
};
