#pragma once
// The frequency counter's front end: switches the FPGA counter and programs
// its input conditioning from the stored settings.
class Counter {
public:
    // On: counter on, then trigger level, low-pass filter, coupling and
    // trigger sensitivity. Off: counter off only.
    void Exe();
};
