// The raw SCPI socket of the real program, driven by lxi-tools' raw mode and
// plain Python sockets. pyvisa-py over "TCPIP::127.0.0.1::5025::SOCKET", with
// uploads as definite-length blocks whose bytes hold LF and CR, is the
// driver's Transfers run over the socket (tests/clients/test_python_driver).
#include <gtest/gtest.h>
#include "tests/common/instrument_process.h"

namespace {

class RawSocket : public TestRig::InstrumentSuite {
protected:
    static void SetUpTestSuite() { startOn({}, {"ornav72 running", "[lan-WARN]:scpi raw socket on port 5025"}); }
};

} // namespace

TEST_F(RawSocket, LxiToolsRawModeSetsAndQueriesASetting)
{
    // Each `lxi scpi` call is a connection of its own: the setting outlives it.
    const auto lxi = [](const char* command) {
        int code = -1;
        const QByteArray out = TestRig::runProgram("/usr/bin/lxi", {"scpi", "-r", "-a", "127.0.0.1", command}, &code);
        EXPECT_EQ(code, 0) << command;
        return out.trimmed();
    };
    lxi("CHANnel3:BASe:FREQuency 12345");
    const QByteArray freq = lxi("CHANnel3:BASe:FREQuency?");
    EXPECT_DOUBLE_EQ(freq.toDouble(), 12345.0) << freq.constData();
    EXPECT_EQ(lxi("SYSTem:ERRor?"), QByteArray("0,\"No error\""));
}

TEST_F(RawSocket, TwoClientsAtOnceEachGetTheirOwnRepliesInOrder)
{
    // Both clients pipeline many queries without waiting; each must read
    // exactly its own answers, in the order it asked.
    const QByteArray full = QByteArray("import socket, threading\n"
                                       "def client(query, expect, n, res, k):\n"
                                       "    s = socket.create_connection(('127.0.0.1', 5025), timeout=20)\n"
                                       "    s.sendall((query + '\\n').encode() * n)\n"
                                       "    buf = b''\n"
                                       "    while buf.count(b'\\n') < n:\n"
                                       "        chunk = s.recv(65536)\n"
                                       "        if not chunk: break\n"
                                       "        buf += chunk\n"
                                       "    s.close()\n"
                                       "    lines = buf.decode().split('\\n')[:-1]\n"
                                       "    res[k] = (len(lines), sum(l == expect for l in lines))\n"
                                       "res = {}\n"
                                       "a = threading.Thread(target=client, args=('*IDN?', '") +
        TestRig::kFactoryIdn +
        "', 300, res, 'a'))\n"
        "b = threading.Thread(target=client, args=('*OPC?', '1', 300, res, 'b'))\n"
        "a.start(); b.start(); a.join(); b.join()\n"
        "print(res['a'][0], res['a'][1])\n"
        "print(res['b'][0], res['b'][1])\n";
    EXPECT_EQ(TestRig::pythonLines(full), QList<QByteArray>({"300 300", "300 300"}));
}

TEST_F(RawSocket, OversizedBlockClosesOnlyThatConnection)
{
    const char* script = "import socket\n"
                         "s = socket.create_connection(('127.0.0.1', 5025), timeout=10)\n"
                         "s.sendall(b'#9999999999')\n"
                         "print(s.recv(100) == b'')\n"
                         "t = socket.create_connection(('127.0.0.1', 5025), timeout=10)\n"
                         "t.sendall(b'*OPC?\\n')\n"
                         "print(t.recv(100).decode().strip())\n";
    EXPECT_EQ(TestRig::pythonLines(script), QList<QByteArray>({"True", "1"}));
    EXPECT_TRUE(instrument().waitFor("block longer than")) << instrument().output().constData();
}

TEST_F(RawSocket, NoAvahiDaemonIsOneLogLine)
{
    ASSERT_TRUE(instrument().waitFor("[lan-WARN]:mdns off")) << instrument().output().constData();
    // Another second for a repetition to show.
    instrument().waitFor("never logged", 1000);
    EXPECT_EQ(instrument().output().count("[lan-WARN]:mdns off"), 1) << instrument().output().constData();
    EXPECT_TRUE(instrument().running());
}
