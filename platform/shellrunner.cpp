#include "platform/shellrunner.h"
#include "platform/platformroot.h"
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QDebug>
#include <cstdlib>

const char* ShellRunner::kLogPath = "/var/log/ornav-shell.log";

namespace {
QMutex g_mutex;
QStringList g_recorded;
} // namespace

int ShellRunner::run(const QString& command)
{
    if (!PlatformRoot::simulated()) {
        qInfo().noquote() << "[shell]" << command;
        return std::system(command.toLocal8Bit().constData());
    }
    QMutexLocker lock(&g_mutex);
    g_recorded.append(command);
    qInfo().noquote() << "[shell-sim]" << command;
    const QString log = PlatformRoot::path(kLogPath);
    QDir().mkpath(QFileInfo(log).absolutePath());
    QFile f(log);
    if (f.open(QIODevice::Append | QIODevice::Text)) {
        QByteArray line = command.toUtf8();
        line.replace('\n', ' ');
        f.write(line + '\n');
    }
    return 0;
}

QStringList ShellRunner::recorded()
{
    QMutexLocker lock(&g_mutex);
    return g_recorded;
}

void ShellRunner::clearRecorded()
{
    QMutexLocker lock(&g_mutex);
    g_recorded.clear();
}

void ShellRunner::exitProgram(const char* why)
{
    if (!PlatformRoot::simulated())
        std::exit(0);
    qInfo("%s on the simulated board: quitting the application", why);
    if (QCoreApplication::instance())
        QMetaObject::invokeMethod(QCoreApplication::instance(), "quit", Qt::QueuedConnection);
}
