// The real program on a simulated board, driven by real instrument-control
// clients: pyvisa-py and lxi-tools over VXI-11 (through rpcbind), and the
// simulated board's USB host over the USBTMC gadget stand-in. Identification,
// error list and status byte over each transport: tests/remote (protocol),
// tests/lan (raw socket), scpi_rows.py (command rows).
#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include "tests/common/instrument_process.h"

namespace {

QString bin(const char* name) { return TestRig::buildPath(name); }

class RealClients : public TestRig::InstrumentSuite {};

TEST_F(RealClients, TwentyConcurrentPyvisaClientsEachGetTheirOwnReplies)
{
    // Client k sends k identification queries in one message: a reply that
    // reached the wrong client shows in its length.
    const char* script = "import pyvisa, threading\n"
                         "bad = []\n"
                         "def client(k):\n"
                         "    try:\n"
                         "        rm = pyvisa.ResourceManager('@py')\n"
                         "        i = rm.open_resource('TCPIP::127.0.0.1::inst0::INSTR')\n"
                         "        i.timeout = 20000\n"
                         "        for r in range(5):\n"
                         "            got = i.query(';'.join(['*IDN?'] * k)).strip()\n"
                         "            if got.count('VELTRIX') != k: bad.append((k, got))\n"
                         "        i.close()\n"
                         "    except Exception as e:\n"
                         "        bad.append((k, repr(e)))\n"
                         "ts = [threading.Thread(target=client, args=(k,)) for k in range(1, 21)]\n"
                         "[t.start() for t in ts]\n"
                         "[t.join() for t in ts]\n"
                         "print(len(bad))\n"
                         "print(bad[:3])\n";
    EXPECT_EQ(TestRig::pythonLines(script), QList<QByteArray>({"0", "[]"}));
}

TEST_F(RealClients, PipelinedCallsOnAConnectionClosedAtOnceDoNotEndTheProgram)
{
    // Two create_link calls sent in one go, the socket closed at once: the
    // second reply meets a closed connection. lxi-tools then still gets the
    // identification.
    const char* script =
        "import socket, struct, subprocess\n"
        "out = subprocess.run(['rpcinfo', '-p', '127.0.0.1'], capture_output=True, text=True).stdout\n"
        "port = [int(l.split()[3]) for l in out.splitlines() if l.split()[:3] == ['395183', '1', 'tcp']][0]\n"
        "body = struct.pack('>10I', 1, 0, 2, 395183, 1, 10, 0, 0, 0, 0)\n"
        "body += struct.pack('>4I', 1, 0, 0, 5) + b'inst0\\0\\0\\0'\n"
        "rec = struct.pack('>I', 0x80000000 | len(body)) + body\n"
        "for n in range(5):\n"
        "    s = socket.create_connection(('127.0.0.1', port))\n"
        "    s.sendall(rec + rec)\n"
        "    s.close()\n"
        "print('sent')\n";
    EXPECT_EQ(TestRig::pythonLines(script), QList<QByteArray> {"sent"});
    instrument().process().waitForFinished(500);
    ASSERT_EQ(instrument().process().state(), QProcess::Running) << "exit status " << instrument().process().exitCode();
    int code = 0;
    const QByteArray out = TestRig::runProgram("lxi", {"scpi", "-a", "127.0.0.1", "*IDN?"}, &code);
    EXPECT_EQ(code, 0);
    EXPECT_EQ(out.trimmed(), TestRig::kFactoryIdn);
}

// A calibration station's session: DC calibration state on CH1, a range
// word, the calibration text by file transfer, saving, then verification of
// the AC path. The saved file, the range register and the flatness table are
// checked on the simulated board.
TEST_F(RealClients, PyvisaRunsACalibrationSession)
{
    const char* script = "i.write('SYNC1:CMD0')\n"
                         "i.write_binary_values('WP1:ADDR47 ', [9], datatype='B')\n"
                         "i.write('WFILE')\n"
                         "i.write('[SN:X]\\r\\n[T:DC]\\r\\n[CH:0]\\r\\n[ATT:09][A:1.012000][B:-0.003000]\\r\\n'\n"
                         "        '[CH:END]\\r\\n[T:END]\\r\\n\\r\\n[T:AC]\\r\\n[CH:0]\\r\\n[ATT:08]\\r\\n'\n"
                         "        '[V:0.100000]\\r\\n[1.000e+03:0.998000]\\r\\n[1.000e+07:0.990000]\\r\\n'\n"
                         "        '[CH:END]\\r\\n[T:END]\\r\\n')\n"
                         "i.write('SYNC1:CMD3')\n"
                         "i.write('SYNC1:CMD5')\n"
                         "i.write_binary_values('WP1:ADDR47 ', [8], datatype='B')\n"
                         "i.write_binary_values('WP1:ADDR51 ', [0.1], datatype='d')\n"
                         "print(i.query('SYSTem:ERRor?').strip())\n";
    ASSERT_EQ(TestRig::visaLines(script), QList<QByteArray> {"0,\"No error\""});

    QFile saved(root() + "/home/root/Local.cal");
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const QByteArray text = saved.readAll();
    EXPECT_TRUE(text.startsWith("[SN:SN1234567890123]\r\n[T:DC]\r\n[CH:0]\r\n[ATT:14][A:1.000000][B:0.000000]\r\n"));
    EXPECT_TRUE(text.contains("[ATT:09][A:1.012000][B:-0.003000]\r\n"));
    EXPECT_TRUE(text.contains("[T:AC]\r\n[CH:0]\r\n[ATT:08]\r\n[V:0.100000]\r\n[1.000e+03:0.998000]\r\n"
                              "[1.000e+07:0.990000]\r\n[CH:END]\r\n[T:END]\r\n\r\n"));
    EXPECT_TRUE(text.endsWith("[T:AC]\r\n[CH:3]\r\n[CH:END]\r\n[T:END]\r\n\r\n"));

    // Verifying AC: range 8 (ADDR47) at 0.1 Vpp (ADDR51) programs CH1's
    // flatness table from the received 0.1 V curve: 0.998 at 1 kHz down to
    // 0.990 from 10 MHz on (word 66 is the first above 10 MHz).
    EXPECT_EQ(sim({"peek", "0x3D"}).trimmed(), QByteArray("08"));
    const QList<QByteArray> flat = sim({"stream", "table:1:flat"}).trimmed().split('\n');
    ASSERT_EQ(flat.size(), 4096);
    EXPECT_EQ(flat[0], QByteArray("65404"));
    EXPECT_EQ(flat[66], QByteArray("64880"));
    EXPECT_EQ(flat[4095], QByteArray("64880"));
}

// The gadget driver is loaded through the shell runner only (recorded on a
// simulated board), and the USB host's queries come back whole.
TEST_F(RealClients, UsbHostQueriesOverTheGadgetStandIn)
{
    QFile log(root() + "/var/log/ornav-shell.log");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("modprobe g_usbtmc Product=ORNAV96T Serial=SN1234567890123"));
    EXPECT_EQ(sim({"usbtmc", "*IDN?"}).trimmed(), TestRig::kFactoryIdn);
    // Sixteen bytes per bulk-in request still give the whole reply.
    EXPECT_EQ(sim({"usbtmc", "IDN?", "--chunk", "16"}).trimmed(), QByteArray("ORNAV96T%EN#SNSN1234567890123"));
}

// SIGTERM while clients are busy: a VXI-11 read waiting for a reply that
// never comes (io_timeout 20 s), a 1 Mi-point upload on its way, the panel's
// keys flooding in, a USB host attached and silent (the USBTMC thread
// waiting in its read). Each time the program ends cleanly with status 0,
// every remote thread ended, without crash messages from Qt or GLib.
TEST(ProgramExit, SigtermWithClientsBusyEndsCleanly)
{
    const struct {
        const char* name;
        const char* client; // a Python client started before the signal
        int settleMs;       // time the client gets to be in the middle of it
    } cases[] = {
        {"blocked read",
         "import pyvisa\n"
         "i = pyvisa.ResourceManager('@py').open_resource('TCPIP::127.0.0.1::inst0::INSTR')\n"
         "i.timeout = 20000\n"
         "try: i.read()\n"
         "except Exception: pass\n",
         800},
        {"upload",
         "import pyvisa\n"
         "i = pyvisa.ResourceManager('@py').open_resource('TCPIP::127.0.0.1::inst0::INSTR')\n"
         "i.timeout = 20000\n"
         "n = 1 << 20\n"
         "i.write('WARB1:CARRier \"big.bsv\"')\n"
         "try: i.write_raw(b'[HEAD]:0\\r\\nFREQUENCY:1000\\r\\n[DATA]:%d\\r\\n' % n + bytes(2 * n))\n"
         "except Exception: pass\n",
         300},
        {"key flood",
         "import subprocess, sys\n"
         "for k in range(400): subprocess.run([sys.argv[1], '--root', sys.argv[2], 'key', str(5 + k % 3)],\n"
         "                                    capture_output=True)\n",
         600},
        {"usb host attached",
         "import socket, sys, time\n"
         "for _ in range(100):\n"
         "    try:\n"
         "        s = socket.socket(socket.AF_UNIX, socket.SOCK_SEQPACKET)\n"
         "        s.connect(sys.argv[2] + '/dev/usbtmc0')\n"
         "        break\n"
         "    except OSError: time.sleep(0.05)\n"
         "s.recv(64)\n"
         "time.sleep(30)\n",
         2500},
    };
    for (const auto& c : cases) {
        for (int round = 0; round < 3; ++round) {
            QTemporaryDir dir;
            int code = 0;
            TestRig::runSim(dir.path(), {"init"}, &code);
            ASSERT_EQ(code, 0);
            TestRig::InstrumentProcess inst(dir.path());
            ASSERT_TRUE(inst.start({"ornav72 running", "vxi11_init ok!"})) << inst.output().constData();
            QProcess client;
            client.start("/usr/bin/python3", {"-c", c.client, bin("tools/ornav-sim"), dir.path()});
            ASSERT_TRUE(client.waitForStarted(10000));
            QThread::msleep(unsigned(c.settleMs));
            EXPECT_TRUE(inst.stop(10000)) << c.name << " round " << round;
            EXPECT_EQ(inst.process().exitCode(), 0) << c.name << " round " << round;
            const QByteArray log = inst.output();
            for (const char* bad :
                 {"Qt has caught an exception", "GLib-CRITICAL", "QThread: Destroyed", "remote control not ended"})
                EXPECT_FALSE(log.contains(bad)) << c.name << " round " << round << ": " << bad;
            client.kill();
            client.waitForFinished(5000);
        }
    }
}

} // namespace
