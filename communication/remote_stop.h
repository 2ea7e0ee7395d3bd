#pragma once
// The end of the remote-control threads. At exit the program asks them to
// stop once; every thread of the remote layer sleeps and waits through the
// helpers below, so a stop request ends a sleep or a blocking wait at once
// and the thread returns by itself (no thread is killed or left blocked).

// Asks every remote thread to end (any thread; once is enough).
void remote_stop_request();
// Whether the end was asked for.
bool remote_stopping();
// A descriptor that becomes readable when the end is asked for: add it to a
// poll() to wake a blocking wait.
int remote_stop_fd();
// Sleeps ms milliseconds; returns at once (true) when the end is asked for.
bool remote_stop_sleep_ms(int ms);
// Waits until fd has one of the poll events or the end is asked for: the
// revents of fd, 0 on timeout (timeoutMs, -1 for none), -1 when stopping or
// on a poll error other than an interruption.
int remote_stop_poll(int fd, short events, int timeoutMs);
