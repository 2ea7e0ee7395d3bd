#pragma once
// The real program on a fresh simulated board, for the LAN services' tests:
// started with the given environment and settings, its log collected.
#include <QByteArray>
#include <QMap>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

class LanInstrument {
public:
    // settings: keys written to the settings file before start.
    bool start(const QMap<QString, QString>& env = {}, const QMap<QString, QString>& settings = {});
    void stop();
    ~LanInstrument() { stop(); }
    // Reads what the program logged until text appears (or timeoutMs).
    bool waitFor(const QByteArray& text, int timeoutMs = 10000);
    const QByteArray& log();
    QString root() const { return dir_ ? dir_->path() : QString(); }
    bool running() const { return proc_ && proc_->state() == QProcess::Running; }

private:
    QTemporaryDir* dir_ = nullptr;
    QProcess* proc_ = nullptr;
    QByteArray log_;
};

// Runs a program to its end; its standard output (and the exit code).
QByteArray lanRun(const QString& program, const QStringList& args, int* exitCode = nullptr, int timeoutMs = 60000,
                  const QByteArray& input = QByteArray());
QString lanBin(const char* name);
// The identification the factory record gives.
extern const QByteArray kLanFactoryIdn;
