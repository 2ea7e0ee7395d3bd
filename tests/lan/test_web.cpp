// The web server of the real program: the LXI identification, the answers
// to bad requests, the console and the page in a real (headless) browser.
#include <gtest/gtest.h>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSettings>
#include <QTemporaryDir>
#include <QVector>
#include <QXmlStreamReader>
#include "tests/common/instrument_process.h"

namespace {

const QString kBase = QStringLiteral("http://127.0.0.1:8080");

// A request that sends a body is an action: it carries a session token as
// the page does, unless the test gives its own headers (raw).
QStringList withToken(const QStringList& extra, bool raw)
{
    const bool action = extra.contains("-d") || extra.contains("--data-binary") || extra.contains("POST");
    if (raw || !action)
        return extra;
    QStringList auth;
    const int u = extra.indexOf("-u");
    if (u >= 0 && u + 1 < extra.size())
        auth << "-u" << extra[u + 1];
    const QByteArray session =
        TestRig::runProgram("/usr/bin/curl", QStringList {"-s"} << auth << (kBase + "/api/session"));
    const QByteArray token = QJsonDocument::fromJson(session).object()["token"].toString().toLatin1();
    return QStringList {"-H", "X-Ornav-Token: " + token} << extra;
}

// curl's status code of a request (extra: further curl arguments).
int status(const QString& path, const QStringList& extra = {}, bool raw = false)
{
    QStringList args = {"-s", "-o", "/dev/null", "-w", "%{http_code}", "--path-as-is"};
    args << withToken(extra, raw) << (kBase + path);
    return TestRig::runProgram("/usr/bin/curl", args).toInt();
}

QByteArray body(const QString& path, const QStringList& extra = {}, bool raw = false)
{
    QStringList args = {"-s", "--path-as-is"};
    args << withToken(extra, raw) << (kBase + path);
    return TestRig::runProgram("/usr/bin/curl", args);
}

QByteArray relayWord(const QString& root, int ch)
{
    return TestRig::runProgram(TestRig::buildPath("tools/ornav-sim"),
                               {"--root", root, "peek", QString::number(ch * 0x100 + 0x61)})
        .trimmed();
}

const QList<QByteArray> kWebReady = {"ornav72 running", "[lan-WARN]:web server on port 8080"};

class Web : public TestRig::InstrumentSuite {
protected:
    static void SetUpTestSuite() { startOn({}, kWebReady); }
};

// With a password and the raw socket off (port 0) in the settings file.
class WebPassword : public TestRig::InstrumentSuite {
protected:
    static void SetUpTestSuite()
    {
        startOn(
            [](const QString& root) {
                QSettings s(root + "/home/root/settings.ini", QSettings::IniFormat);
                s.setValue("WebPassword", "s3cret");
                s.setValue("ScpiRawPort", "0");
                return true;
            },
            kWebReady);
    }
};

} // namespace

TEST_F(Web, IdentificationHasEveryRequiredElementWithTheInstrumentsValues)
{
    const QByteArray xml = body("/lxi/identification");
    QXmlStreamReader r(xml);
    QMap<QString, QStringList> values;
    QString interfaceType;
    while (!r.atEnd()) {
        if (r.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (r.name() == QLatin1String("LXIDevice")) {
            EXPECT_EQ(r.namespaceUri(), QLatin1String("http://www.lxistandard.org/InstrumentIdentification/1.0"));
        }
        if (r.name() == QLatin1String("Interface")) {
            interfaceType = r.attributes().value("InterfaceType").toString();
            continue;
        }
        if (r.name() == QLatin1String("LXIDevice"))
            continue;
        const QString name = r.name().toString();
        values[name] << r.readElementText();
    }
    ASSERT_FALSE(r.hasError()) << r.errorString().toStdString() << "\n" << xml.constData();
    for (const char* required :
         {"Manufacturer", "Model", "SerialNumber", "FirmwareRevision", "ManufacturerDescription", "HomepageURL",
          "DriverURL", "UserDescription", "IdentificationURL", "InstrumentAddressString", "Hostname", "IPAddress",
          "SubnetMask", "MACAddress", "Gateway", "DHCPEnabled", "AutoIPEnabled", "Domain", "LXIVersion"}) {
        EXPECT_TRUE(values.contains(required)) << required;
    }
    const QList<QByteArray> idn = TestRig::kFactoryIdn.split(',');
    EXPECT_EQ(values["Manufacturer"].value(0), QString(idn[0]));
    EXPECT_EQ(values["Model"].value(0), QString(idn[1]));
    EXPECT_EQ(values["SerialNumber"].value(0), QString(idn[2]));
    EXPECT_EQ(values["FirmwareRevision"].value(0), QString(idn[3]));
    EXPECT_EQ(values["IPAddress"].value(0), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(values["InstrumentAddressString"],
              QStringList({"TCPIP::127.0.0.1::inst0::INSTR", "TCPIP::127.0.0.1::5025::SOCKET"}));
    EXPECT_EQ(interfaceType, QStringLiteral("LXI"));
    EXPECT_TRUE(values["ManufacturerDescription"].value(0).contains("hardware 2.01")) << xml.constData();
}

TEST_F(Web, BadRequestsGetFourHundredAnswersAndNothingLeavesThePageResources)
{
    EXPECT_EQ(status("/"), 200);
    EXPECT_EQ(status("/app.js"), 200);
    EXPECT_EQ(status("/../../etc/passwd"), 404);
    EXPECT_EQ(status("/%2e%2e/%2e%2e/etc/passwd"), 404);
    EXPECT_EQ(status("/qml/main.qml"), 404);
    EXPECT_EQ(status("/.hidden"), 404);
    EXPECT_EQ(status("/nosuch.html"), 404);
    // Actions need POST, pages GET.
    EXPECT_EQ(status("/api/scpi"), 405);
    EXPECT_EQ(status("/api/output", {"-X", "PUT"}), 405);
    EXPECT_EQ(status("/lxi/identification", {"-X", "POST", "-d", "x"}), 405);
    EXPECT_EQ(status("/index.html", {"-X", "DELETE"}), 405);
    // Malformed actions.
    EXPECT_EQ(status("/api/scpi", {"-X", "POST"}), 400);
    EXPECT_EQ(status("/api/output", {"-d", "channel=9&on=1"}), 400);
    EXPECT_EQ(status("/api/output", {"-d", "channel=1&on=maybe"}), 400);
    EXPECT_EQ(status("/api/upload?channel=1", {"--data-binary", "abc"}), 400);
    EXPECT_EQ(status("/api/upload?channel=0&name=a.bsv", {"--data-binary", "abc"}), 400);
    // Bodies past their limit.
    QTemporaryDir tmp;
    QFile big(tmp.path() + "/big");
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(9000, 'A'));
    big.close();
    EXPECT_EQ(status("/api/scpi", {"--data-binary", "@" + big.fileName()}), 413);
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(17 * 1024 * 1024, 'B'));
    big.close();
    EXPECT_EQ(status("/api/upload?channel=1&name=big.bsv", {"--data-binary", "@" + big.fileName()}), 413);
    // A declared length past the limit is refused from the header alone.
    EXPECT_EQ(status("/api/scpi", {"-H", "Content-Length: 100000000", "-d", "x", "-m", "5"}), 413);
}

// Requests a page of another site (or one rebound to this address) could
// make: each is refused and the output stays off.
TEST_F(Web, ForeignOriginsHostsAndMissingTokensChangeNothing)
{
    body("/api/output", {"-d", "channel=1&on=0"});
    ASSERT_EQ(relayWord(root(), 0), QByteArray("00"));
    const QString token = QJsonDocument::fromJson(body("/api/session")).object()["token"].toString();
    ASSERT_EQ(token.size(), 32);
    const QString good = "X-Ornav-Token: " + token;
    const struct {
        const char* what;
        QStringList headers;
        int expected;
    } rows[] = {
        {"no token", {}, 403},
        {"made-up token", {"-H", "X-Ornav-Token: 0123456789abcdef0123456789abcdef"}, 403},
        {"foreign Origin", {"-H", good, "-H", "Origin: http://evil.example"}, 403},
        {"Origin of another port", {"-H", good, "-H", "Origin: http://127.0.0.1:9999"}, 403},
        {"rebound Host", {"-H", good, "-H", "Host: evil.example:8080"}, 403},
        {"rebound Host, own Origin",
         {"-H", good, "-H", "Host: evil.example:8080", "-H", "Origin: http://evil.example:8080"},
         403},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(status("/api/output",
                         QStringList(r.headers) << "-d"
                                                << "channel=1&on=1",
                         true),
                  r.expected)
            << r.what;
        EXPECT_EQ(relayWord(root(), 0), QByteArray("00")) << r.what;
    }
    // A page read through a rebound name gets nothing either.
    EXPECT_EQ(status("/api/info", {"-H", "Host: evil.example"}), 403);
    EXPECT_EQ(status("/api/session", {"-H", "Host: evil.example"}), 403);
    // The instrument's own page: same origin, its token.
    EXPECT_EQ(status("/api/output", {"-H", good, "-H", "Origin: http://127.0.0.1:8080", "-d", "channel=1&on=1"}, true),
              200);
    EXPECT_EQ(relayWord(root(), 0), QByteArray("01"));
    EXPECT_EQ(status("/api/info", {"-H", "Host: localhost:8080"}), 200);
    body("/api/output", {"-d", "channel=1&on=0"});
}

TEST_F(Web, UploadGoesThroughTheArmedWaveTransferIntoTheWaveMemory)
{
    // A bsv file of 512 samples, a ramp from -765 to 765 in steps of 3 and
    // a last 0, whose bytes hold LF and CR: the upload is taken whole, as
    // the data of "WARB2:CARRier".
    QByteArray bsv = "[HEAD]:0\r\nFREQUENCY:1000\r\n[DATA]:512\r\n";
    QVector<int> samples;
    for (int k = 0; k < 512; ++k) {
        const int v = k < 511 ? 3 * k - 765 : 0;
        samples << v;
        bsv.append(char(uint16_t(int16_t(v)) & 0xFF));
        bsv.append(char(uint16_t(int16_t(v)) >> 8));
    }
    ASSERT_TRUE(bsv.mid(40).contains('\n') && bsv.mid(40).contains('\r'));
    QTemporaryDir tmp;
    QFile f(tmp.path() + "/w.bsv");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bsv);
    f.close();
    body("/api/scpi", {"--data-binary", "CHANnel2:BASe:WAVe ARB"});
    const QJsonObject o =
        QJsonDocument::fromJson(body("/api/upload?channel=2&name=w.bsv", {"--data-binary", "@" + f.fileName()}))
            .object();
    EXPECT_TRUE(o["ok"].toBool()) << QJsonDocument(o).toJson().constData();
    // Stored under its name in the internal storage, loaded into CH2's deep
    // memory with the file's peak (765) scaled to full range.
    QList<QByteArray> deep;
    for (int tries = 0; tries < 50; ++tries) {
        deep = TestRig::runProgram(TestRig::buildPath("tools/ornav-sim"), {"--root", root(), "stream", "deep:2"})
                   .trimmed()
                   .split('\n');
        if (deep.size() == 512)
            break;
        instrument().waitFor("never logged", 100);
    }
    ASSERT_EQ(deep.size(), 512) << instrument().output().constData();
    for (int k = 0; k < 512; ++k)
        ASSERT_EQ(deep[k].trimmed().toLongLong(), (long long)uint16_t(int16_t(samples[k] * 32767 / 765)))
            << "sample " << k;
    // A name that would leave the storage folder is cut down to a plain one
    // and the file lands nowhere above the storage.
    const QJsonObject bad =
        QJsonDocument::fromJson(body("/api/upload?channel=2&name=../../x.bsv", {"--data-binary", "@" + f.fileName()}))
            .object();
    EXPECT_TRUE(bad["ok"].toBool()) << QJsonDocument(bad).toJson().constData();
    EXPECT_FALSE(QFile::exists(root() + "/run/x.bsv"));
    EXPECT_FALSE(QFile::exists(root() + "/run/media/x.bsv"));
    EXPECT_FALSE(QFile::exists(root() + "/x.bsv"));
}

// The page in a real browser: the console, the screen view, the channel
// table, and the output switch of CH1, which closes CH1's relay only.
TEST_F(Web, PageInHeadlessChromiumRunsTheConsoleShowsTheScreenAndSwitchesAnOutput)
{
    body("/api/output", {"-d", "channel=1&on=0"});
    ASSERT_EQ(relayWord(root(), 0), QByteArray("00"));
    QTemporaryDir profile;
    const QString shot = QString(ORNAV_BIN_DIR) + "/lan_web_page.png";
    QFile::remove(shot);
    const QByteArray script = R"PY(
import sys
from selenium import webdriver
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait
from selenium.webdriver.chrome.service import Service
o = webdriver.ChromeOptions()
o.binary_location = '/usr/bin/chromium'
for a in ('--headless', '--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage',
          '--window-size=1400,1600', '--user-data-dir=' + sys.argv[1]):
    o.add_argument(a)
d = webdriver.Chrome(service=Service('/usr/bin/chromedriver'), options=o)
try:
    d.get('http://127.0.0.1:8080/')
    w = WebDriverWait(d, 20)
    w.until(lambda d: 'ORNAV' in d.find_element(By.ID, 'title').text)
    print(d.find_element(By.ID, 'title').text)
    box = d.find_element(By.ID, 'console-input')
    box.send_keys('*IDN?')
    d.find_element(By.ID, 'console-send').click()
    w.until(lambda d: d.find_element(By.ID, 'console-reply').get_attribute('data-done') == '1')
    print(d.find_element(By.ID, 'console-reply').text)
    w.until(lambda d: d.execute_script("return document.getElementById('screen-img').naturalWidth") > 0)
    print(d.execute_script("return document.getElementById('screen-img').naturalWidth"))
    w.until(lambda d: len(d.find_elements(By.CSS_SELECTOR, '#channel-table tbody tr')) == 4)
    print(len(d.find_elements(By.CSS_SELECTOR, '#channel-table tbody tr')))
    w.until(lambda d: d.find_element(By.ID, 'out-1').get_attribute('data-state') == 'off')
    d.find_element(By.ID, 'out-1').click()
    w.until(lambda d: d.find_element(By.ID, 'out-1').get_attribute('data-state') == 'on')
    print(d.find_element(By.ID, 'out-1').text)
    d.save_screenshot(sys.argv[2])
finally:
    d.quit()
)PY";
    ASSERT_EQ(TestRig::pythonLines(script, {profile.path(), shot}, 90000),
              QList<QByteArray>({"VELTRIX Technologies ORNAV46Q", TestRig::kFactoryIdn, "1280", "4", "ON"}));
    EXPECT_EQ(relayWord(root(), 0), QByteArray("01"));
    EXPECT_EQ(relayWord(root(), 1), QByteArray("00"));
    body("/api/output", {"-d", "channel=1&on=0"});
    QFile png(shot);
    ASSERT_TRUE(png.open(QIODevice::ReadOnly));
    EXPECT_TRUE(png.read(8).startsWith("\x89PNG"));
}

TEST_F(WebPassword, PasswordProtectsThePageAndTheConsoleButNotTheIdentification)
{
    EXPECT_EQ(status("/"), 401);
    EXPECT_EQ(status("/api/session"), 401);
    EXPECT_EQ(status("/api/scpi", {"-d", "*RST"}), 401);
    EXPECT_EQ(status("/", {"-u", "admin:wrong"}), 401);
    EXPECT_EQ(status("/", {"-u", "admin:s3cret"}), 200);
    EXPECT_EQ(status("/lxi/identification"), 200);
    // The console runs the message and shows the error list it left.
    const QJsonObject o =
        QJsonDocument::fromJson(body("/api/scpi", {"-u", "x:s3cret", "--data-binary", "*IDN?;NO:SUCH:COMMand"}))
            .object();
    EXPECT_TRUE(o["ok"].toBool());
    EXPECT_EQ(o["reply"].toString(), QString(TestRig::kFactoryIdn));
    ASSERT_EQ(o["errors"].toArray().size(), 1);
    EXPECT_EQ(o["errors"].toArray()[0].toString(), QStringLiteral("-113,\"Undefined header\""));
    // The password is kept only as a salted digest.
    QFile settings(root() + "/home/root/settings.ini");
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    const QByteArray stored = settings.readAll();
    EXPECT_FALSE(stored.contains("s3cret")) << stored.constData();
    EXPECT_TRUE(stored.contains("WebPasswordHash=sha256$")) << stored.constData();
    // The raw socket is off with port 0.
    EXPECT_FALSE(instrument().output().contains("scpi raw socket on port"));
}
