// ornav-sim: the outside view of a simulated board. It creates simulated
// board roots and talks to the simulated hardware of a running ornav72.
#include "tools/ornav-sim/simcommands.h"
#include <QCoreApplication>
#include <QGuiApplication>
#include <QScopedPointer>
#include <QDir>
#include <cstdio>
#include <cstdlib>
#include <cstring>

static const SimCommand kCommands[] = {
    {"init", "init                      create or complete the simulated board root", simCmdInit},
    {"peek", "peek ADDR [COUNT]         print COUNT register bytes from ADDR (hex)", simCmdPeek},
    {"poke", "poke ADDR BYTE...         set register bytes as the hardware would", simCmdPoke},
    {"key", "key CODE                  queue one key event", simCmdKey},
    {"stream", "stream NAME               print the words last streamed to a port target", simCmdStream},
    {"log", "log [--clear]             print (and clear) the register writes received", simCmdLog},
    {"scope",
     "scope CH[,CH...] [--span S] [--points N] [--load OHMS] [--csv FILE] [--png FILE]\n"
     "                            sample one to four outputs on one time base and print the measurements",
     simCmdScope},
    {"digital-trace", "digital-trace OUT.vcd     write the digital output's lines as a VCD trace", simCmdDigitalTrace},
    {"counter", "counter FREQ [DUTY]       set the counter results of an input at FREQ Hz (DUTY %, default 50)",
     simCmdCounter},
    {"usbtmc", "usbtmc MESSAGE [--chunk N] send MESSAGE over the USBTMC gadget; print a query's reply", simCmdUsbtmc},
};

static void usage()
{
    std::fprintf(stderr, "usage: ornav-sim --root DIR COMMAND [ARGS...]\ncommands:\n");
    for (const SimCommand& c : kCommands)
        std::fprintf(stderr, "  %s\n", c.usage);
}

int main(int argc, char** argv)
{
    // Drawing a scope picture needs fonts, i.e. a GUI application; headless.
    bool gui = false;
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "scope") == 0)
            gui = true;
    if (gui && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QScopedPointer<QCoreApplication> holder(gui ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv));
    QCoreApplication& app = *holder;
    QStringList args = app.arguments().mid(1);
    QString root;
    if (const char* env = std::getenv("ORNAV_ROOT"))
        root = QString::fromLocal8Bit(env);
    while (!args.isEmpty() && args.first().startsWith("--root")) {
        const QString a = args.takeFirst();
        if (a == "--root") {
            if (args.isEmpty()) {
                usage();
                return 2;
            }
            root = args.takeFirst();
        } else {
            root = a.mid(7);
        }
    }
    if (root.isEmpty() || args.isEmpty()) {
        usage();
        return 2;
    }
    root = QDir(root).absolutePath();
    const QString name = args.takeFirst();
    for (const SimCommand& c : kCommands)
        if (name == c.name)
            return c.run(root, args);
    std::fprintf(stderr, "ornav-sim: unknown command '%s'\n", qPrintable(name));
    usage();
    return 2;
}
