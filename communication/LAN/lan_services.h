#pragma once
// Start-up of the LAN services beside VXI-11: the raw SCPI socket, the web
// server (page and LXI identification) and the mDNS announcement. Ports and
// password come from lan_config_load() (lan_config.h).

// The services' thread: waits for an instrument address like the VXI-11
// server, then starts every service that has a port; logs one line each.
void* lan_services_thread(void*);
