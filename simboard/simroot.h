#pragma once
// Creation of a simulated board root: the folder tree and files that stand in
// for the board's devices, sysfs files and mount points on a desktop.
#include <QString>

class SimRoot {
public:
    // Size of the file that stands in for the serial EEPROM.
    static const int kEepromSize = 4536;
    // GPIO lines of the board: power key, power-off, EEPROM write protect,
    // trigger connector direction.
    static const int kGpioLines[4];
    // Board path of the simulated one-wire thermometer.
    static constexpr const char* kThermometerFile = "/sys/bus/w1/devices/28-00000a1b2c3d/w1_slave";

    // Creates (or completes) a simulated board root at dir; existing files are
    // kept. Returns false with a reason in *error when something can't be made.
    static bool create(const QString& dir, QString* error = nullptr);
};
