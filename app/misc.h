#pragma once
// Small board helpers shared by the supervision tick and calibration.

namespace misc {

// Board temperature in °C from the one-wire sensor. The first call finds the
// first "28-" device under /sys/bus/w1/devices/ and keeps its "w1_slave" file
// open; every call re-reads it from its start (the driver runs a conversion
// on each read). Failures return 1.0 (no bus folder) or 0.0 (no sensor,
// unreadable, no "t=" field), as the board has always reported them.
double ReadDS18B20();

// Forgets the open sensor file, so the next read scans the bus again. Used
// when the board root changes (tests) and after a sensor read fails.
void ResetDS18B20();

} // namespace misc
