#include "tests/common/instrument_process.h"

#include <QElapsedTimer>
#include <QProcessEnvironment>
#include <csignal>
#include "simboard/simroot.h"

namespace TestRig {

QString buildPath(const QString& name) { return QString(ORNAV_BIN_DIR) + "/" + name; }

QByteArray runProgram(const QString& program, const QStringList& args, int* exitCode, int timeoutMs, bool mergeErr)
{
    QProcess p;
    if (mergeErr)
        p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(10000)) {
        if (exitCode)
            *exitCode = -1;
        return QByteArray();
    }
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(5000);
    }
    if (exitCode)
        *exitCode = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    return p.readAllStandardOutput();
}

QByteArray runPython(const QString& code, const QStringList& args, int* exitCode, int timeoutMs)
{
    // A snippet runs with -c; a path to a .py file runs as a script.
    const bool script = code.endsWith(".py") && !code.contains('\n');
    QStringList all = script ? QStringList {code} : QStringList {"-c", code};
    return runProgram("/usr/bin/python3", all + args, exitCode, timeoutMs);
}

QString visaScript(const QString& body, int timeoutMs)
{
    return QString("import pyvisa\n"
                   "rm = pyvisa.ResourceManager('@py')\n"
                   "i = rm.open_resource('TCPIP::127.0.0.1::inst0::INSTR')\n"
                   "i.timeout = %1\n")
               .arg(timeoutMs) +
        body + (body.endsWith('\n') ? "" : "\n") + "i.close()\n";
}

QList<QByteArray> pythonLines(const QString& code, const QStringList& args, int timeoutMs)
{
    QProcess p;
    p.start("/usr/bin/python3", QStringList {"-c", code} + args);
    p.waitForStarted(10000);
    if (!p.waitForFinished(timeoutMs)) {
        p.kill();
        p.waitForFinished(5000);
    }
    const QByteArray out = p.readAllStandardOutput();
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        ADD_FAILURE() << out.constData() << p.readAllStandardError().constData();
    return out.trimmed().split('\n');
}

QList<QByteArray> visaLines(const QString& body, const QStringList& args, int timeoutMs)
{
    return pythonLines(visaScript(body, timeoutMs), args, 60000 + timeoutMs);
}

QByteArray runSim(const QString& root, const QStringList& args, int* exitCode)
{
    return runProgram(buildPath("tools/ornav-sim"), QStringList {"--root", root} + args, exitCode);
}

InstrumentProcess::InstrumentProcess(const QString& root) : root_(root)
{
    proc_.setProcessChannelMode(QProcess::MergedChannels);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // The root comes from the command line only, as a user gives it.
    env.remove("ORNAV_ROOT");
    proc_.setProcessEnvironment(env);
}

InstrumentProcess::~InstrumentProcess() { stop(); }

bool InstrumentProcess::start(const QList<QByteArray>& readyLines, int timeoutMs)
{
    proc_.start(buildPath("ornav72"), {"--root", root_});
    if (!proc_.waitForStarted(10000))
        return false;
    for (const QByteArray& line : readyLines)
        if (!waitFor(line, timeoutMs))
            return false;
    return true;
}

bool InstrumentProcess::waitFor(const QByteArray& text, int timeoutMs, int from)
{
    QElapsedTimer t;
    t.start();
    while (output().indexOf(text, from) < 0) {
        if (proc_.state() != QProcess::Running || t.elapsed() > timeoutMs)
            return output().indexOf(text, from) >= 0;
        proc_.waitForReadyRead(100);
    }
    return true;
}

const QByteArray& InstrumentProcess::output()
{
    output_ += proc_.readAll();
    return output_;
}

bool InstrumentProcess::stop(int timeoutMs)
{
    if (proc_.state() == QProcess::NotRunning)
        return proc_.exitStatus() == QProcess::NormalExit;
    ::kill(pid_t(proc_.processId()), SIGTERM);
    if (!proc_.waitForFinished(timeoutMs)) {
        proc_.kill();
        proc_.waitForFinished(5000);
        output();
        return false;
    }
    output();
    return proc_.exitStatus() == QProcess::NormalExit;
}

std::unique_ptr<QTemporaryDir> InstrumentSuite::dir_;
std::unique_ptr<InstrumentProcess> InstrumentSuite::instrument_;
bool InstrumentSuite::up_ = false;

void InstrumentSuite::startOn(const std::function<bool(const QString&)>& prepare, const QList<QByteArray>& readyLines)
{
    dir_ = std::make_unique<QTemporaryDir>();
    up_ = false;
    if (!SimRoot::create(dir_->path()))
        return;
    if (prepare && !prepare(dir_->path()))
        return;
    instrument_ = std::make_unique<InstrumentProcess>(dir_->path());
    up_ = instrument_->start(readyLines);
}

void InstrumentSuite::TearDownTestSuite()
{
    instrument_.reset();
    dir_.reset();
    up_ = false;
}

void InstrumentSuite::SetUp()
{
    ASSERT_TRUE(up_) << "the program did not come up:\n"
                     << (instrument_ ? instrument_->output().constData() : "(root not made)");
}

void InstrumentSuite::TearDown()
{
    if (up_ && instrument_->process().state() != QProcess::Running) {
        up_ = false; // the suite's remaining tests say so at once
        ADD_FAILURE() << "the program ended during the test (exit status " << instrument_->process().exitStatus()
                      << ", code " << instrument_->process().exitCode() << "):\n"
                      << instrument_->output().constData();
    }
}

} // namespace TestRig
