#pragma once
// The one test rig of every test program: a simulated board root with the
// simulated board's devices installed, and one function that puts every
// process-wide static the tests touch back to the state of a fresh process.
// The simulated devices are installed when the test program starts (a global
// test environment in test_rig.cpp), so a test that only sets a board root
// still talks to the simulated FPGA and never to a kernel device.
#include <QString>

namespace TestRig {

// Creates (or completes) a simulated board root at dir, makes it the
// platform root and installs the simulated board. False when the root can't
// be made.
bool useSimulatedBoard(const QString& dir);

// Closes the FPGA register device and returns to the real board's paths
// (the simulated devices stay installed for the next test).
void leaveSimulatedBoard();

// A fresh process: register device closed, everything the register layer
// remembers (written-register caches, LEDs, calibration, characteristics,
// counter) and the record's unsaved state back to their start, the wave
// memory's drawing memo empty, the simulated FPGA's write log and the shell
// record empty, the parameter record at its factory values with phase
// synchronisation off.
void resetProcessState();

} // namespace TestRig
