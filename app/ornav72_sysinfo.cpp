// The system-information record and the serial number, kept in the settings file.
#include "app/ornav72.h"
#include "param/settingsfile.h"
#include "param/sys_param.h"
#include <QDebug>
#include <QStringList>
#include <cstring>

namespace {
const char kDefaultSysInfo[] = "ORNAV46Q;EN;600";
const char kDefaultSN[] = "SN1234567890123";
const char kDefaultHttp[] = "www.example-instruments.com";
} // namespace

QString Ornav72::InitSysInfo()
{
    const QString info = SettingsFile::value("SysInfo", kDefaultSysInfo).toString();
    sys_param::SysInfo = info;
    const QByteArray sn = SettingsFile::value("SN", kDefaultSN).toString().toLatin1().left(31);
    std::memset(SN, 0, sizeof(SN));
    std::memcpy(SN, sn.constData(), size_t(sn.size()));
    qInfo("read system info :%s", qPrintable(info));
    qInfo("read SN :%s", SN);
    qInfo("*********Init System ************");
    const QStringList parts = info.split(';');
    if (parts.size() > 2) {
        education = parts.at(1) == QLatin1String("EN");
        bandwidth = parts.at(2).toUInt();
        qInfo() << "type info    " << parts.at(0);
        qInfo() << "channel info " << parts.at(1);
        qInfo() << "bandwidth    " << bandwidth;
    }
    return info;
}

void Ornav72::SaveSysInfo(QString text)
{
    const QStringList parts = text.split(';');
    if (parts.size() > 3)
        text = parts.mid(0, 3).join(';');
    SettingsFile::setValue("SysInfo", text);
    qDebug() << "save info:" << text;
}

void Ornav72::SaveSysHTTP(QString text)
{
    const int cr = text.indexOf('\r');
    if (cr >= 0)
        text.truncate(cr);
    SettingsFile::setValue("SysHttp", text);
}

QString Ornav72::getHttp() { return SettingsFile::value("SysHttp", kDefaultHttp).toString(); }

void Ornav72::SetSN(QString text)
{
    // A quote or a control character would break the "*IDN?" reply and the
    // USB identification apart: such a text changes nothing.
    if (text.contains('"'))
        return;
    for (const QChar ch : text)
        if (ch.unicode() < 0x20 || ch.unicode() > 0x7E)
            return;
    const QByteArray b = text.left(31).toLatin1();
    std::memset(SN, 0, sizeof(SN));
    std::memcpy(SN, b.constData(), size_t(b.size()));
    SettingsFile::setValue("SN", QString::fromLatin1(SN));
}

void Ornav72::SetSN(const char* text, unsigned length)
{
    if (!text)
        return;
    const unsigned n = length > 31 ? 31 : length;
    SetSN(QString::fromLatin1(text, int(strnlen(text, n))));
}

void Ornav72::useSerialNumber(const char* text)
{
    std::memset(SN, 0, sizeof(SN));
    if (text)
        std::memcpy(SN, text, strnlen(text, sizeof(SN) - 1));
}

const char* Ornav72::GetSN() { return SN; }

const char* Ornav72::GetSoftwareVersion() { return "1.09.0018"; }

QString Ornav72::serialFromMac(const QString& mac)
{
    const QStringList parts = mac.split(':');
    if (parts.size() < 6) {
        qWarning("error mac:%s", qPrintable(mac));
        return QStringLiteral("1234567891234");
    }
    unsigned long long value = 0;
    for (int i = 0; i < 6; ++i)
        value = (value << 8) | (parts.at(i).toUInt(nullptr, 16) & 0xFF);
    return QString::asprintf("%llu", value);
}
