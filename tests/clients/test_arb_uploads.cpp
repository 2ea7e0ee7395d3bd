// Wave and list uploads to the running program over VXI-11 with pyvisa-py:
// the file goes as the message after "WARB#:CARRier" / "WFREQLIST#" and
// must end up in the channel's wave memory or list sweep; bad files and
// names leave nothing behind. The board root is made by "ornav-sim init",
// so the built-in library is the one the tool installs.
#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>
#include <cmath>
#include <ostream>
#include "platform/platformroot.h"
#include "param/settingsfile.h"
#include "param/sys_param.h"
#include "param/sysparm.h"
#include "simboard/usbtmc_host.h"
#include "tests/common/instrument_process.h"

// Readable failures: the replies as text.
void PrintTo(const QStringList& l, std::ostream* os) { *os << "[" << l.join(" | ").toStdString() << "]"; }

namespace {

QString bin(const char* name) { return TestRig::buildPath(name); }

// Steps: "w:TEXT" write a command, "f:PATH" write a file's bytes as one
// message, "q:TEXT" query and print the reply, "s:PATH" save the record
// ("SYSTem:CONFigure?") to a file, "r:PATH" send it back.
const char* kScript = R"(import sys
for step in sys.argv[1:]:
    kind, arg = step[0], step[2:]
    if kind == 'w':
        i.write(arg)
    elif kind == 'f':
        i.write_raw(open(arg, 'rb').read())
    elif kind == 'q':
        print(i.query(arg).strip())
    elif kind == 's':
        open(arg, 'wb').write(bytes(i.query_binary_values('SYSTem:CONFigure?', datatype='B')))
    elif kind == 'r':
        i.write('SYSTem:CONFigure')
        i.write_raw(open(arg, 'rb').read())
)";

class ArbUploads : public TestRig::InstrumentSuite {
protected:
    static void SetUpTestSuite()
    {
        startOn([](const QString& root) {
            int code = 0;
            TestRig::runSim(root, {"init"}, &code);
            if (code != 0)
                return false;
            seedRecord(root);
            return true;
        });
    }

    // The stored record the program starts from: CH1 plays its arbitrary
    // wave from the table, CH2 runs a list sweep.
    static void seedRecord(const QString& root)
    {
        PlatformRoot::setRoot(root);
        {
            SysParm p;
            CH_DATA& c1 = sys_param::HWinfo.PDT[CH1];
            c1.BaseWave = BASE_Arb;
            c1.ArbSample = 0;
            c1.WorkMode = WORK_BASE;
            CH_DATA& c2 = sys_param::HWinfo.PDT[CH2];
            c2.BaseWave = BASE_Sine;
            c2.WorkMode = WORK_SCAN;
            c2.SweepType = ST_LIST;
            p.SaveSysParam("", true);
            SettingsFile::setValue("powerUpValue", int(POWERON_LAST));
        }
        PlatformRoot::setRoot(QString());
    }

    static QStringList visa(const QStringList& steps)
    {
        QProcess p;
        p.start("/usr/bin/python3", QStringList {"-c", TestRig::visaScript(kScript, 30000)} + steps);
        if (!p.waitForFinished(120000))
            return {"<timeout>"};
        const QString out = QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
        if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            return {"<failed> " + QString::fromLocal8Bit(p.readAllStandardError())};
        return out.isEmpty() ? QStringList() : out.split('\n');
    }
    static QVector<long long> stream(const QString& name)
    {
        QVector<long long> v;
        for (const QByteArray& l : sim({"stream", name}).split('\n'))
            if (!l.trimmed().isEmpty())
                v << l.trimmed().toLongLong();
        return v;
    }
    static QString file(const QString& name, const QByteArray& bytes)
    {
        const QString path = root() + "/upload-" + name;
        QFile f(path);
        f.open(QIODevice::WriteOnly | QIODevice::Truncate);
        f.write(bytes);
        return path;
    }
    static QStringList storage()
    {
        return QDir(root() + "/run/media/mmcblk0p1").entryList(QDir::Files | QDir::NoDotAndDotDot);
    }
};

const QString kNoError = "0,\"No error\"";
const QString kIllegal = "-224,\"Illegal parameter value\"";

QVector<int16_t> sine(int n, int amp)
{
    QVector<int16_t> v;
    for (int i = 0; i < n; ++i)
        v << int16_t(std::lround(amp * std::sin(2 * M_PI * i / n)));
    return v;
}

// The words the wave memory holds for samples symmetric about zero whose
// peak is peak: scaled to full range, as unsigned 16-bit words.
QVector<long long> fullScale(const QVector<int16_t>& v, int peak)
{
    QVector<long long> words;
    for (int16_t s : v)
        words << (long long)uint16_t(int16_t(s * 32767 / peak));
    return words;
}

QByteArray bsvOf(const QVector<int16_t>& v)
{
    QByteArray b = "[HEAD]:0\r\nFREQUENCY:1000\r\n[DATA]:" + QByteArray::number(v.size()) + "\r\n";
    for (int16_t s : v) {
        b.append(char(uint16_t(s) & 0xFF));
        b.append(char(uint16_t(s) >> 8));
    }
    return b;
}

TEST_F(ArbUploads, LibraryIsInstalledAndTheStartWaveComesFromIt)
{
    const QStringList folders = {"AntiTrigonome", "Bioelect", "Common", "Complex_Wavelets", "Engine",
                                 "Maths",         "Medical",  "Other",  "SectMod",          "Automotive",
                                 "Trigonome",     "Window",   "Noise"};
    for (const QString& f : folders)
        EXPECT_GE(QDir(root() + "/usr/share/ArbWaveLib/" + f).entryList({"*.bsv"}, QDir::Files).size(), 8)
            << f.toStdString();
    EXPECT_FALSE(instrument().output().contains("file no exist")) << instrument().output().constData();
    // At start CH1 loaded its record's wave, the library's arc cosine, into
    // the deep memory: from the top of the range down to its bottom.
    const QVector<long long> deep = stream("deep:1");
    ASSERT_EQ(deep.size(), 8192);
    EXPECT_EQ(deep.first(), 32767);
    EXPECT_EQ(deep.last(), 32769); // -32767 as an unsigned word
}

TEST_F(ArbUploads, ListUploadIsTakenAsData)
{
    const QByteArray l = "[HEAD]:44\r\n[FREQ-POINTS]:2\r\n*IDN?\r\n2000.000000\r\n";
    // Even a line that reads like a command is list data here: it is no
    // number, so no point loads, and nothing runs (no reply is left over).
    EXPECT_EQ(visa({"w:WFREQLIST2 \"L\"", "f:" + file("L2", "[HEAD]:44\r\n[FREQ-POINTS]:1\r\n1000\r\n"),
                    "q:SYSTem:ERRor?", "w:WFREQLIST2 \"M\"", "f:" + file("M2", l), "q:SYSTem:ERRor?"}),
              QStringList({kNoError, kNoError}));
    EXPECT_TRUE(storage().contains("CH2_List_L")) << storage().join(",").toStdString();
}

// The one-message form, the arming command with its file as a definite-length
// block: pyvisa's write_binary_values over VXI-11 (no transfer size set by
// hand) and over the raw socket, the USB host with ";*OPC?" after the block.
// A block whose length lies stores nothing and arms nothing.
TEST_F(ArbUploads, BlockInTheArmingMessageOnEveryTransport)
{
    const int points[] = {1000, 2000, 4000};
    QStringList files;
    for (int n : points)
        files << file("blk" + QString::number(n) + ".bsv", bsvOf(sine(n, 10000)));
    // The wave memory (deep:CH, CH1 and CH2 only) holds exactly the samples.
    auto waveMemoryHolds = [](int ch, int n) {
        EXPECT_EQ(stream("deep:" + QString::number(ch)), fullScale(sine(n, 10000), 10000)) << "CH" << ch;
    };
    const char* script = R"(
import sys, pyvisa
rm = pyvisa.ResourceManager('@py')
v = rm.open_resource('TCPIP::127.0.0.1::inst0::INSTR')
s = rm.open_resource('TCPIP::127.0.0.1::5025::SOCKET')
for i in (v, s):
    i.timeout = 30000
    i.read_termination = i.write_termination = '\n'
a, b = open(sys.argv[1], 'rb').read(), open(sys.argv[2], 'rb').read()
v.write_binary_values('WARB1:CARRier "blkA.bsv",', list(a), datatype='B')
print(v.query('*OPC?').strip())
s.write_binary_values('WARB2:CARRier "blkB.bsv",', list(b), datatype='B')
print(s.query('*OPC?').strip())
v.write_raw(b'WARB1:CARRier "lie.bsv",#6999999' + a[:100] + b'\n')
print(v.query('SYSTem:ERRor?').strip())
print(v.query('SYSTem:ERRor?').strip())
)";
    EXPECT_EQ(TestRig::pythonLines(script, files), QList<QByteArray>({"1", "1", kIllegal.toUtf8(), kNoError.toUtf8()}));
    waveMemoryHolds(1, points[0]);
    waveMemoryHolds(2, points[1]);

    UsbtmcHost usb;
    ASSERT_TRUE(usb.connectTo(root()));
    QFile c(files[2]);
    ASSERT_TRUE(c.open(QIODevice::ReadOnly));
    const QByteArray bytes = c.readAll();
    const QByteArray len = QByteArray::number(bytes.size());
    bool ok = false;
    EXPECT_EQ(
        usb.query("WARB2:CARRier \"blkC.bsv\",#" + QByteArray::number(len.size()) + len + bytes + ";*OPC?\n", 1024, &ok)
            .trimmed(),
        "1");
    EXPECT_EQ(usb.query("CHANnel2:BASe:ARB?\n", 1024, &ok).trimmed(), "USER,\"blkC.bsv\"");
    waveMemoryHolds(2, points[2]);
    const QStringList stored = storage();
    for (const char* name : {"blkA.bsv", "blkB.bsv", "blkC.bsv"})
        EXPECT_TRUE(stored.contains(name)) << name << " in " << stored.join(",").toStdString();
    EXPECT_FALSE(stored.contains("lie.bsv"));
}

TEST_F(ArbUploads, BadHeaderLeavesNoFile)
{
    const QStringList r = visa({"w:WARB1:CARRier \"bad.bsv\"", "f:" + file("bad", "[HEAD]:0\n[DATA]:4\nabcdefgh"),
                                "q:SYSTem:ERRor?", "q:*IDN?"});
    ASSERT_EQ(r.size(), 2);
    EXPECT_EQ(r[0], kIllegal);
    EXPECT_FALSE(storage().contains("bad.bsv"));
}

TEST_F(ArbUploads, NamesLeavingTheStorageWriteNothing)
{
    // Refused when armed: the client is told at once and sends no file.
    const QStringList r = visa({"w:WARB1:CARRier \"../../../home/root/evil.bsv\"", "q:SYSTem:ERRor?",
                                "w:WFREQLIST1 \"../x\"", "q:SYSTem:ERRor?"});
    EXPECT_EQ(r, QStringList({kIllegal, kIllegal}));
    EXPECT_TRUE(storage().filter("evil").isEmpty() && storage().filter("x").isEmpty());
    EXPECT_FALSE(QFile::exists(root() + "/home/root/evil.bsv"));
    EXPECT_FALSE(QFile::exists(root() + "/run/media/x"));
}

// "*RST" names the factory arb file again: the wave memory must follow the
// record, not keep the wave uploaded before the reset.
TEST_F(ArbUploads, ResetReloadsTheArbWaveTheRecordNames)
{
    const QVector<int16_t> v = sine(8192, 20000);
    ASSERT_EQ(visa({"w:WARB1:CARRier \"r.bsv\"", "f:" + file("r.bsv", bsvOf(v)), "w:CHANnel1:BASe:WAVe ARB",
                    "w:CHANnel1:OUTPut ON", "q:SYSTem:ERRor?"}),
              QStringList({kNoError}));
    const QVector<long long> uploaded = fullScale(v, 20000);
    ASSERT_EQ(stream("table:1:base"), uploaded);
    // A storage that takes no copy of the next upload (its temporary file's
    // name is taken by a folder): the error is reported and the channel
    // keeps the wave the record names, not the one that was not stored.
    ASSERT_TRUE(QDir().mkpath(root() + "/run/media/mmcblk0p1/.s.bsv.part/in-the-way"));
    EXPECT_EQ(visa({"w:WARB1:CARRier \"s.bsv\"", "f:" + file("s.bsv", bsvOf(sine(8192, -9000))), "q:SYSTem:ERRor?",
                    "q:CHANnel1:BASe:ARB?"}),
              QStringList({"-807,\"file save error!\"", "USER,\"r.bsv\""}));
    EXPECT_EQ(stream("table:1:base"), uploaded);
    ASSERT_EQ(visa({"w:*RST", "w:CHANnel1:BASe:WAVe ARB", "w:CHANnel1:OUTPut ON", "q:SYSTem:ERRor?"}),
              QStringList({kNoError}));
    const QVector<long long> table = stream("table:1:base");
    ASSERT_EQ(table.size(), 8192);
    EXPECT_NE(table, uploaded);
}

// Four clients arm uploads at once on four transports: A on the raw socket
// arms CH1 and sends its file last, B over VXI-11 arms CH2 and sends a CSV
// whose lines would be errors if they ran as commands, C as the USB host
// arms CH3 before everyone and sends after them, D uploads to CH4 through
// the web page in between. Each file lands on its own channel and the error
// list stays empty.
TEST_F(ArbUploads, ClientsArmingAtOnceEachGetTheirOwnFile)
{
    UsbtmcHost usb;
    ASSERT_TRUE(usb.connectTo(root()));
    ASSERT_TRUE(usb.sendMessage("WARB3:CARRier \"fromC.bsv\"\n"));
    QByteArray csv = "[HEAD]:0\nFREQUENCY:1000\n[DATA]:400\n";
    for (int16_t s : sine(400, 300))
        csv += QByteArray::number(s) + ",\n";
    const char* script = R"(
import socket, sys, urllib.request, pyvisa
a = socket.create_connection(('127.0.0.1', 5025))
a.sendall(b'WARB1:CARRier "fromA.bsv"\n')
i = pyvisa.ResourceManager('@py').open_resource('TCPIP::127.0.0.1::inst0::INSTR')
i.timeout = 30000
print(i.query('*OPC?').strip())
i.write('WARB2:CARRier "fromB.csv"')
i.write_raw(open(sys.argv[2], 'rb').read())
import json
token = json.loads(urllib.request.urlopen('http://127.0.0.1:8080/api/session', timeout=30).read())['token']
req = urllib.request.Request('http://127.0.0.1:8080/api/upload?channel=4&name=fromD.bsv', data=open(sys.argv[4], 'rb').read(),
                             headers={'X-Ornav-Token': token})
print(urllib.request.urlopen(req, timeout=30).read().decode().count('"ok":true'))
a.sendall(b'#' + str(len(str(len(open(sys.argv[1], 'rb').read())))).encode() + str(len(open(sys.argv[1], 'rb').read())).encode() + open(sys.argv[1], 'rb').read() + b'\n')
a.sendall(b'*OPC?\n')
print(a.recv(100).decode().strip())
print(i.query('SYSTem:ERRor?').strip())
)";
    const QStringList args = {file("fromA.bsv", bsvOf(sine(300, 1000))), file("fromB.csv", csv),
                              file("fromC.bsv", bsvOf(sine(500, 1000))), file("fromD.bsv", bsvOf(sine(600, 1000)))};
    ASSERT_EQ(TestRig::pythonLines(script, args), QList<QByteArray>({"1", "1", "1", kNoError.toUtf8()}));
    QFile c(args[2]);
    ASSERT_TRUE(c.open(QIODevice::ReadOnly));
    ASSERT_TRUE(usb.sendMessage(c.readAll()));
    bool ok = false;
    EXPECT_EQ(usb.query("SYSTem:ERRor?\n", 1024, &ok).trimmed(), kNoError.toUtf8());
    const char* const names[] = {"fromA.bsv", "fromB.csv", "fromC.bsv", "fromD.bsv"};
    for (int ch = 1; ch <= 4; ++ch)
        EXPECT_EQ(usb.query("CHANnel" + QByteArray::number(ch) + ":BASe:ARB?\n", 1024, &ok).trimmed(),
                  "USER,\"" + QByteArray(names[ch - 1]) + "\"")
            << "CH" << ch;
    // The wave memory of CH2 holds B's 400 points, the CSV's values scaled
    // from their range (-300..300) to the full 16 bits.
    const QVector<int16_t> b = sine(400, 300);
    const QVector<long long> deep = stream("deep:2");
    ASSERT_EQ(deep.size(), 400);
    for (int i = 0; i < 400; ++i)
        ASSERT_EQ(deep[i], (long long)uint16_t(int16_t((double(b[i]) + 300.0) * 65534.0 / 600.0 - 32767.0))) << i;
}

// An upload stays where the record names it: a record saved with it
// ("SYSTem:CONFigure?") brings it back after another upload, and after a
// power cut (SIGKILL) and a start with the last state CH1 plays the same
// samples and names the upload, CH2 has its list again.
TEST_F(ArbUploads, UploadsSurviveRecordReloadAndPowerCut)
{
    const QVector<int16_t> v = sine(4096, 12000);
    const QString rec = root() + "/record-keep";
    const QByteArray l = "[HEAD]:44\r\n[FREQ-POINTS]:2\r\n1500.000000\r\n2500.000000\r\n";
    ASSERT_EQ(visa({"w:WARB1:CARRier \"keep.bsv\"", "f:" + file("keep.bsv", bsvOf(v)), "w:WFREQLIST2 \"keep\"",
                    "f:" + file("keepL", l), "s:" + rec, "w:WARB1:CARRier \"other.bsv\"",
                    "f:" + file("other.bsv", bsvOf(sine(512, 100))), "r:" + rec, "q:*OPC?", "q:SYSTem:ERRor?"}),
              QStringList({"1", kNoError}));
    const QVector<long long> expected = fullScale(v, 12000);
    ASSERT_EQ(stream("deep:1"), expected);
    // The last state reaches the EEPROM on the next 500 ms tick.
    QThread::msleep(1500);
    QProcess& p = instrument().process();
    p.kill();
    p.waitForFinished(10000);
    const int from = instrument().output().size();
    p.start(bin("ornav72"), {"--root", root()});
    ASSERT_TRUE(p.waitForStarted(10000));
    ASSERT_TRUE(instrument().waitFor("vxi11_init ok!", 30000, from)) << instrument().output().mid(from).constData();
    EXPECT_EQ(stream("deep:1"), expected);
    EXPECT_FALSE(instrument().output().mid(from).contains("file no exist"));
    const QStringList r = visa({"q:CHANnel1:BASe:ARB?", "w:CHANnel2:OUTPut ON", "q:SYSTem:ERRor?"});
    ASSERT_EQ(r.size(), 2);
    EXPECT_TRUE(r[0].contains("keep.bsv")) << r[0].toStdString();
    const QVector<long long> words = stream("list:2");
    ASSERT_EQ(words.size(), 2);
    EXPECT_NEAR(double(words[1]) * 3.125e8 / 34359738368.0, 2500.0, 0.01);
}

} // namespace
