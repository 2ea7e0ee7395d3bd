#pragma once
// Discovery by name: the instrument announces "_lxi._tcp", "_vxi-11._tcp",
// "_scpi-raw._tcp" and "_http._tcp" with DNS-SD over multicast DNS through
// the Avahi daemon. Without a running daemon the program logs one line and
// carries on; the announcement follows when the daemon appears.

// Starts the announcement of the instrument under "<model> <serial>" with
// the given ports (0 leaves a service out). Once per process; false when
// the Avahi client could not be set up at all.
bool mdns_announce_start(const char* name, int httpPort, int rawPort, int vxi11Port);
// The program is ending: the announcement is withdrawn and Avahi's thread
// ends (a start after this does nothing). Any thread but Avahi's.
void mdns_announce_stop();
// Whether every service is registered with the daemon now.
bool mdns_announced();
