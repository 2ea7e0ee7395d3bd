#pragma once
// The frequency counter's front end: switches the FPGA counter and programs
// its input conditioning from the stored settings, and answers the counter
// entries. Owned by the controller; it keeps no state of its own (the
// settings are the record's) and runs in the controller's thread.
class Ornav72;

class Counter {
public:
    explicit Counter(Ornav72& owner) : o(owner) {}
    Counter(const Counter&) = delete;
    Counter& operator=(const Counter&) = delete;

    // On: counter on, then trigger level, low-pass filter, coupling and
    // trigger sensitivity. Off: counter off only.
    void Exe();
    // Counter switched: apply it and open or close the counter strip.
    void counterSwChanged();
    // A setting of the counter changed: apply it.
    void counterParamChanged();

private:
    Ornav72& o;
};
