#pragma once
// The channels' preview traces (SWaveMem's Disp* tables) are drawn by the
// controller's thread when a signal changes and painted by the screens in
// the GUI thread. Both hold this lock while they touch the traces, so a
// paint never shows a trace half rewritten.
#include <mutex>

std::mutex& previewLock();
