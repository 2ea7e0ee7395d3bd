#pragma once
// The VXI-11 server's TCP transport: a listening socket and one thread per
// client connection (see vxi11_tcp.cpp).

// Connections served at once; a further one is closed at once.
enum { VXI11_MAX_CONNECTIONS = 64 };

// Starts listening (once) and returns the port, or -1.
int vxi11_tcp_start();
// Connections open now.
int vxi11_tcp_connections();
// Stops accepting and shuts the open connections down; their threads end
// (vxi11_tcp_connections() falls to 0).
void vxi11_tcp_stop();
