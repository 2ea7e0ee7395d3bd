#pragma once
// The instrument's web server (libmicrohttpd, a thread per connection):
//
//   GET  /                     the page (index.html) and its files, from the
//                              program's resources (":/web/") only
//   GET  /lxi/identification   the LXI identification document
//   GET  /api/info             identity and network settings (JSON)
//   GET  /api/channels         the four channels at a glance (JSON)
//   GET  /screen.png           the current screen (503 until a capture exists)
//   POST /api/scpi             body: one SCPI message; reply and error list
//   POST /api/output           body: "channel=N&on=0|1"
//   POST /api/upload?channel=N&name=FILE   body: the arbitrary-wave file
//
// Actions need POST; bodies are size-limited (413); a path that names no
// resource gets 404, a wrong method 405, a malformed request 400. With a
// password in the settings file every path but the identification needs
// HTTP basic authentication (any user name, that password).

// Largest body of a console or switch request, and of an upload.
enum { WEB_MAX_FORM_BODY = 8192, WEB_MAX_UPLOAD = 16 * 1024 * 1024 };
// Connections served at once.
enum { WEB_MAX_CONNECTIONS = 16 };

// Starts serving on port (0: any free port); returns the port, or -1.
int web_server_start(int port, bool loopbackOnly);
int web_server_port();
// Stops serving (the program is ending); waits for requests in progress.
void web_server_stop();
