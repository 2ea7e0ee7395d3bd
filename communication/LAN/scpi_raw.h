#pragma once
// The raw SCPI socket (TCP port 5025 by default, as pyvisa's
// "TCPIP::HOST::5025::SOCKET" and `lxi scpi -r` expect): every connection is
// a remote session of its own whose messages go to the one SCPI worker; a
// message ends at LF, each reply is sent as soon as its message has run and
// ends with LF. Data after an arming command comes as one definite-length
// block (see scpi_raw_framer.h).

// Connections served at once; a further one is closed at once.
enum { SCPI_RAW_MAX_CONNECTIONS = 32 };
// Text bytes kept of one command line; a longer line reaches the parser
// cut here and is reported as an input overrun.
enum { SCPI_RAW_MAX_LINE = 64 * 1024 };

// Starts listening on port (0: any free port; loopbackOnly: 127.0.0.1) and
// serving; returns the port, or -1. Once per process.
int scpi_raw_start(int port, bool loopbackOnly);
// The port listened on, or -1.
int scpi_raw_port();
// Connections open now.
int scpi_raw_connections();
// Stops accepting and shuts the open connections down; their threads end
// (scpi_raw_connections() falls to 0).
void scpi_raw_stop();
