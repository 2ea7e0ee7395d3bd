#pragma once
// Sub-commands of ornav-sim. Each takes the arguments after its name and
// returns the process exit status (0 success, 1 failure, 2 usage error or
// no running instrument to talk to).
#include <QString>
#include <QByteArray>
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
// One request to the running program's simulated FPGA; its output (after
// "ok") in *output. 0 on success, 1 refused, 2 nothing running there.
int simFetch(const QString& root, const QString& line, QByteArray* output);
int simCmdUsbtmc(const QString& root, const QStringList& args);
