// ornav-sim usbtmc: the USB host of the simulated USBTMC gadget.
#include <cstdio>
#include "tools/ornav-sim/simcommands.h"
#include "simboard/usbtmc_host.h"

int simCmdUsbtmc(const QString& root, const QStringList& args)
{
    QString message;
    uint32_t chunk = 1024 * 1024;
    bool haveMessage = false;
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == "--chunk" && i + 1 < args.size()) {
            bool ok = false;
            chunk = args[++i].toUInt(&ok);
            if (!ok || chunk == 0) {
                std::fprintf(stderr, "ornav-sim: bad --chunk\n");
                return 2;
            }
        } else if (!haveMessage) {
            message = args[i];
            haveMessage = true;
        } else {
            std::fprintf(stderr, "ornav-sim: usbtmc takes one MESSAGE\n");
            return 2;
        }
    }
    if (!haveMessage)
        return 2;
    UsbtmcHost host;
    if (!host.connectTo(root)) {
        if (host.busy()) {
            std::fprintf(stderr, "ornav-sim: the instrument's USB port is in use by another host\n");
            return 3;
        }
        std::fprintf(stderr, "ornav-sim: no instrument on %s/dev/usbtmc0\n", qPrintable(root));
        return 2;
    }
    const QByteArray text = message.toLocal8Bit();
    if (!text.contains('?'))
        return host.sendMessage(text, true) ? 0 : 1;
    bool ok = false;
    const QByteArray reply = host.query(text, chunk, &ok);
    std::fwrite(reply.constData(), 1, size_t(reply.size()), stdout);
    if (!reply.endsWith('\n'))
        std::fputc('\n', stdout);
    if (!ok) {
        std::fprintf(stderr, "ornav-sim: no reply\n");
        return 1;
    }
    return 0;
}
