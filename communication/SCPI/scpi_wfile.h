#pragma once
// Data-transfer mode: after "WFILE", "WARB#:...", "WFREQLIST#",
// "SYSTem:CONFigure" or "DIGital:DATa" the next message the transports
// deliver is raw data for the pending target, not commands. Only the SCPI
// worker touches this state (and a transport resetting after a fault).
#include "param/systype.h"

extern volatile int wfile_flag;    // WF_type
extern int wfile_channel;          // pending target channel
extern char wfile_name[256];       // pending file or block name

// Enters a data-transfer mode for the next message.
void scpi_wfile_arm(WF_type mode, int channel, const char* name);
// Back to command parsing.
void scpi_wfile_reset();
