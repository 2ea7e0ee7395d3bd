// Start and stop of the program for the LAN tests.
#include "tests/lan/lan_instrument.h"
#include <QDir>
#include <QSettings>
#include <csignal>
#include "simboard/simroot.h"

const QByteArray kLanFactoryIdn = "VELTRIX Technologies,ORNAV46Q,SN1234567890123,1.09.0018";

QString lanBin(const char* name)
{
    return QString(ORNAV_BIN_DIR) + "/" + name;
}

bool LanInstrument::start(const QMap<QString, QString>& env, const QMap<QString, QString>& settings)
{
    dir_ = new QTemporaryDir;
    if (!SimRoot::create(dir_->path()))
        return false;
    if (!settings.isEmpty()) {
        QSettings s(dir_->path() + "/home/root/settings.ini", QSettings::IniFormat);
        for (auto it = settings.begin(); it != settings.end(); ++it)
            s.setValue(it.key(), it.value());
    }
    proc_ = new QProcess;
    proc_->setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.insert("QT_QPA_PLATFORM", "offscreen");
    e.remove("ORNAV_ROOT");
    for (auto it = env.begin(); it != env.end(); ++it)
        e.insert(it.key(), it.value());
    proc_->setProcessEnvironment(e);
    proc_->start(lanBin("ornav72"), {"--root", dir_->path()});
    if (!proc_->waitForStarted(10000))
        return false;
    return waitFor("ornav72 running", 30000);
}

bool LanInstrument::waitFor(const QByteArray& text, int timeoutMs)
{
    for (int waited = 0; proc_ && !log_.contains(text) && waited < timeoutMs; waited += 100) {
        proc_->waitForReadyRead(100);
        log_ += proc_->readAll();
    }
    return log_.contains(text);
}

const QByteArray& LanInstrument::log()
{
    if (proc_)
        log_ += proc_->readAll();
    return log_;
}

void LanInstrument::stop()
{
    if (proc_) {
        ::kill(pid_t(proc_->processId()), SIGTERM);
        proc_->waitForFinished(15000);
        log_ += proc_->readAll();
        delete proc_;
        proc_ = nullptr;
    }
    delete dir_;
    dir_ = nullptr;
}

QByteArray lanRun(const QString& program, const QStringList& args, int* exitCode, int timeoutMs,
                  const QByteArray& input)
{
    QProcess p;
    p.start(program, args);
    if (!p.waitForStarted(10000)) {
        if (exitCode)
            *exitCode = -1;
        return QByteArray();
    }
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(timeoutMs);
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAllStandardOutput();
}
