#pragma once
// The real program, started on a simulated board root the way a user starts
// it (`ornav72 --root DIR`), for the tests that drive it from outside with
// real clients and the simulated board's tool. Also the small process
// helpers those tests share: running a client program, a Python snippet
// under the system's python3 (the one with pyvisa-py), or `ornav-sim`.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <ostream>
#include <gtest/gtest.h>

// Replies and printed lines read as text in a failure, not as lists of
// characters.
inline void PrintTo(const QByteArray& b, std::ostream* os) { *os << '"' << b.toStdString() << '"'; }

namespace TestRig {

// The identification a fresh simulated board's program reports.
inline const QByteArray kFactoryIdn = "VELTRIX Technologies,ORNAV46Q,SN1234567890123,1.09.0018";

// Path of a program of the build tree ("ornav72", "tools/ornav-sim").
QString buildPath(const QString& name);

// Runs a program to its end; its standard output (and standard error with
// mergeErr) comes back, exitCode is -1 when it did not start or crashed.
QByteArray runProgram(const QString& program, const QStringList& args, int* exitCode = nullptr, int timeoutMs = 60000,
                      bool mergeErr = false);

// A Python snippet (or script with arguments) under /usr/bin/python3.
QByteArray runPython(const QString& code, const QStringList& args = {}, int* exitCode = nullptr, int timeoutMs = 60000);

// A pyvisa-py script: opens the instrument over VXI-11 on the loopback as
// `i` (timeout in ms), runs body and closes it.
QString visaScript(const QString& body, int timeoutMs = 10000);
// A Python snippet (args after it in sys.argv), or such a pyvisa-py script:
// what it prints, line by line; a script that fails adds a failure with its
// output.
QList<QByteArray> pythonLines(const QString& code, const QStringList& args = {}, int timeoutMs = 60000);
QList<QByteArray> visaLines(const QString& body, const QStringList& args = {}, int timeoutMs = 10000);

// `ornav-sim --root ROOT ARGS...`.
QByteArray runSim(const QString& root, const QStringList& args, int* exitCode = nullptr);

class InstrumentProcess {
public:
    explicit InstrumentProcess(const QString& root);
    ~InstrumentProcess();
    InstrumentProcess(const InstrumentProcess&) = delete;
    InstrumentProcess& operator=(const InstrumentProcess&) = delete;

    // Starts the program and waits until every one of readyLines has been
    // logged (the VXI-11 server up, by default). False when the program
    // exited or the lines did not come within the time.
    bool start(const QList<QByteArray>& readyLines = {"vxi11_init ok!"}, int timeoutMs = 30000);
    // Waits until text shows in the log (collected from the start) at or
    // after offset from.
    bool waitFor(const QByteArray& text, int timeoutMs = 10000, int from = 0);
    // SIGTERM and wait for a clean exit; true when it exited normally.
    bool stop(int timeoutMs = 15000);
    bool running() const { return proc_.state() == QProcess::Running; }

    // Everything the program logged so far.
    const QByteArray& output();
    QProcess& process() { return proc_; }
    const QString& root() const { return root_; }

private:
    QString root_;
    QProcess proc_;
    QByteArray output_;
};

// A test suite whose tests share one running program on one fresh
// simulated root: it starts before the suite's first test and stops after
// its last. A suite that must prepare the root first (install the library,
// seed a stored record) calls startOn(prepare) from its own
// SetUpTestSuite().
class InstrumentSuite : public ::testing::Test {
protected:
    static void SetUpTestSuite() { startOn(); }
    static void TearDownTestSuite();
    void SetUp() override;
    // The program is still running after every test: a client that lost its
    // connection because the program went away fails here, with its output.
    void TearDown() override;

    static void startOn(const std::function<bool(const QString& root)>& prepare = {},
                        const QList<QByteArray>& readyLines = {"vxi11_init ok!"});
    static QString root() { return dir_ ? dir_->path() : QString(); }
    static InstrumentProcess& instrument() { return *instrument_; }
    static QByteArray sim(const QStringList& args, int* exitCode = nullptr) { return runSim(root(), args, exitCode); }

private:
    static std::unique_ptr<QTemporaryDir> dir_;
    static std::unique_ptr<InstrumentProcess> instrument_;
    static bool up_;
};

} // namespace TestRig
