#pragma once
// Receivers of the data messages that follow "WARB#:CARRier",
// "WARB#:MODulate" and "WFREQLIST#": the file is stored in the internal
// storage, its header checked and the controller told to load it into the
// channel. They run on the SCPI worker thread.
#include <cstddef>

class QObject;

// mode is WF_BaseArb, WF_ModArb or WF_LIST; channel 0..3; name as received.
// Returns false when nothing was stored (the error list says why).
bool scpi_receive_wave_file(QObject* controller, int mode, int channel, const char* name, const char* data,
                            size_t length);

// Installs the three receivers in the SCPI worker (before it runs).
void scpi_install_wave_receivers();
