#pragma once
// The simulated board, chosen at the program's edge: when a board root is
// given, the program's entry (and the test rig) installs the simulated
// devices before anything opens them. The layers below only see the device
// interfaces they define; nothing below this folder knows the simulator.
class SimBoard {
public:
    // The simulated FPGA behind the register and configuration devices, the
    // USBTMC endpoint as a socket in the board root, a private message queue
    // for the remote adapter and a VXI-11 server on the loopback interface.
    static void install();
    // Back to the real board's devices (tests that check the defaults).
    static void uninstall();
    static bool installed();
};
