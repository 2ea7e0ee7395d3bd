#include "platform/logging.h"

#include <cstdio>
#include <cstring>

Q_LOGGING_CATEGORY(lcScpi, "scpi")
Q_LOGGING_CATEGORY(lcUsb, "usb")
Q_LOGGING_CATEGORY(lcUsbtmc, "usbtmc")
Q_LOGGING_CATEGORY(lcVxi, "vxi")
Q_LOGGING_CATEGORY(lcLan, "lan")
Q_LOGGING_CATEGORY(lcParamFlash, "paramFlash")
Q_LOGGING_CATEGORY(lcHardware, "hardware")

namespace ornavlog {
namespace {

// Qt's own handler, for the messages that are not ours. Written once by
// install() before the other threads start, read by every logging thread.
QtMessageHandler g_previous = nullptr;

bool ours(const char* category)
{
    if (!category)
        return false;
    static const char* const kNames[] = {"scpi", "usb", "usbtmc", "vxi", "lan", "paramFlash", "hardware"};
    for (const char* n : kNames)
        if (std::strcmp(n, category) == 0)
            return true;
    return false;
}

const char* levelTag(QtMsgType type)
{
    switch (type) {
    case QtCriticalMsg:
    case QtFatalMsg:
        return "ERRO";
    case QtWarningMsg:
        return "WARN";
    case QtInfoMsg:
        return "INFO";
    case QtDebugMsg:
        break;
    }
    return "DEBG";
}

void handler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    const QByteArray line = format(type, context, message);
    if (line.isEmpty()) {
        if (g_previous)
            g_previous(type, context, message);
        return;
    }
    // One write per line: the transports log from several threads at once.
    std::fwrite(line.constData(), 1, size_t(line.size()), stderr);
    std::fflush(stderr);
}

} // namespace

QByteArray format(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!ours(context.category))
        return QByteArray();
    QByteArray line = QByteArray("[") + context.category + '-' + levelTag(type) + ']';
    if (context.function && !context.file) {
        // The transports' form: function and line, the message, CR LF.
        line += " f:" + QByteArray(context.function) + ",l:" + QByteArray::number(context.line) + ',';
        line += message.toUtf8() + "\r\n";
    } else {
        line += ':' + message.toUtf8() + '\n';
    }
    return line;
}

void install()
{
    QtMessageHandler previous = qInstallMessageHandler(&handler);
    if (previous != &handler)
        g_previous = previous;
}

} // namespace ornavlog
