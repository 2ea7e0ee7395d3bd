#pragma once
// Sub-commands of ornav-sim. Each takes the arguments after its name and
// returns the process exit status (0 success, 1 failure, 2 usage error or
// no running instrument to talk to).
#include <QByteArray>
#include <QString>
#include <QStringList>

struct SimCommand {
    const char* name;
    const char* usage;
    int (*run)(const QString& root, const QStringList& args);
};

int simCmdInit(const QString& root, const QStringList& args);
int simCmdPeek(const QString& root, const QStringList& args);
int simCmdPoke(const QString& root, const QStringList& args);
int simCmdKey(const QString& root, const QStringList& args);
int simCmdStream(const QString& root, const QStringList& args);
int simCmdLog(const QString& root, const QStringList& args);
int simCmdScope(const QString& root, const QStringList& args);
int simCmdDigitalTrace(const QString& root, const QStringList& args);
int simCmdCounter(const QString& root, const QStringList& args);
// One request to the running program; its answer printed, or returned in
// capture when given.
int simRequest(const QString& root, const QString& line, QByteArray* capture = nullptr);
int simCmdUsbtmc(const QString& root, const QStringList& args);
