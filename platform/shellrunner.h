#pragma once
// The one way the application runs a shell command ("modprobe", "ifconfig",
// "route", "udhcpc", "umount", "sync", "reboot", the GPIO exports ...). On the
// board it runs the command with the system shell. On a simulated board it
// only records the command: it is logged and appended, one line each, to
// "/var/log/ornav-shell.log" below the root, and nothing runs on the host.
#include <QString>
#include <QStringList>

class ShellRunner {
public:
    // Runs (or records) one command; returns the shell's exit status, 0 when
    // recorded on a simulated board.
    static int run(const QString& command);
    // Board path of the record of commands on a simulated board.
    static const char* kLogPath;
    // Commands recorded by this process (simulated board only).
    static QStringList recorded();
    static void clearRecorded();
    // Ends the program after a command that takes the board down (power off,
    // reboot, restart). On the board the process ends at once. A simulated
    // board has no supply to cut: the application quits through its event
    // loop instead, and the host is left alone.
    static void exitProgram(const char* why);
};
