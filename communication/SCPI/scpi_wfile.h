#pragma once
// Data-transfer mode: after "WFILE", "WARB#:...", "WFREQLIST#",
// "SYSTem:CONFigure" or "DIGital:DATa" the next message the transports
// deliver is raw data for the pending target, not commands.
//
// This is the transfer of the message the SCPI worker is executing: an
// arming handler fills it, the worker moves it to the session that sent
// the message when the message has run, and back here for that session's
// data message (scpi_msg_session.h). Owner: the SCPI worker thread (the
// interpreter run directly, in tests); transports never touch it.
#include "param/systype.h"

extern int wfile_flag;       // WF_type
extern int wfile_channel;    // pending target channel
extern char wfile_name[256]; // pending file or block name

// Enters a data-transfer mode for the next message.
void scpi_wfile_arm(WF_type mode, int channel, const char* name);
// Back to command parsing.
void scpi_wfile_reset();
