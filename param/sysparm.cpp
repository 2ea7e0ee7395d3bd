#include "param/sysparm.h"
#include "Method/CRC.h"
#include "buildinfo.h"
#include "platform/platformroot.h"
#include "param/settingsfile.h"
#include "param/sys_param.h"
#include "platform/atomicfile.h"
#include "platform/logging.h"
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QList>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

const char* SysParm::kEepromPath = "/sys/devices/platform/ocp/44e0b000.i2c/i2c-0/0-0050/eeprom";
const char* SysParm::kPresetPrefix = "/home/root/Param_Preset_";
const char* SysParm::kProduct = "ORNAV96T";
const char* SysParm::kShadowPath = "/home/root/Param_LastState";
HardWareInfo SysParm::oldhwif;

namespace {
const int kRecordSize = int(sizeof(HardWareInfo));
const char kHomeDir[] = "/home/root/";
std::function<bool(int)> g_byteHook;
} // namespace

void SysParm::setEepromByteHook(std::function<bool(int)> hook) { g_byteHook = std::move(hook); }

SysParm::SysParm()
{
    at24fd = -1;
    PreSetHWI();
    openAt24();
    loadFromPowerUpParam();
}

SysParm::~SysParm()
{
    if (at24fd >= 0)
        ::close(at24fd);
}

const char* SysParm::buildTime() { return ORNAV_BUILD_TIME; }

uint16_t SysParm::crc_16(const unsigned char* data, unsigned int size) { return CRC::crc_16(data, size); }

void SysParm::init_crc16_tab() { CRC::init_crc16_tab(); }

void SysParm::PreSetHWI() { sys_param::setFactoryValues(sys_param::HWinfo); }

bool SysParm::openAt24()
{
    if (at24fd >= 0)
        return true;
    at24fd = ::open(PlatformRoot::cpath(kEepromPath).constData(), O_RDWR | O_SYNC);
    if (at24fd < 0) {
        qCCritical(lcParamFlash, "open error");
        return false;
    }
    return true;
}

int SysParm::LoadFromAt24(unsigned char* buf)
{
    if (!openAt24())
        return 0;
    ssize_t n = ::pread(at24fd, buf, 4096, 0);
    if (n != 4096)
        return n > 0 ? int(n) : 0;
    int total = 4096;
    ssize_t m = ::pread(at24fd, buf + 4096, size_t(kRecordSize - 4096), 4096);
    if (m > 0)
        total += int(m);
    return total;
}

bool SysParm::SaveToAt24(unsigned char* old, unsigned char* now, bool force)
{
    if (!openAt24())
        return false;
    if (force) {
        ssize_t a = ::pwrite(at24fd, now, 4096, 0);
        ssize_t b = ::pwrite(at24fd, now + 4096, size_t(kRecordSize - 4096), 4096);
        m_writes += 2;
        if (b != kRecordSize - 4096)
            b = 0;
        const int total = int(a > 0 ? a : 0) + int(b);
        if (total != kRecordSize)
            qCCritical(lcParamFlash, "pwrite error ret:%d = sizeof(HardWareInfo):%d", total, kRecordSize);
        std::memcpy(old, now, size_t(kRecordSize));
        return true;
    }
    for (int i = 0; i < kRecordSize; ++i) {
        if (old[i] == now[i])
            continue;
        if (g_byteHook && !g_byteHook(i))
            return false;
        if (::pwrite(at24fd, now + i, 1, i) == 1)
            old[i] = now[i];
        ++m_writes;
        m_byteOffsets.append(i);
    }
    return true;
}

bool SysParm::LoadSysParam(QString path)
{
    if (path.isEmpty()) {
        unsigned char buf[sizeof(HardWareInfo)];
        std::memset(buf, 0, sizeof buf);
        const int n = LoadFromAt24(buf);
        // The differential save writes only the bytes that differ from what
        // the EEPROM holds: its baseline is what was just read, whatever the
        // checks below say of it, or a byte the new state shares with a stale
        // baseline would keep the EEPROM's old value and break its CRC.
        if (n == kRecordSize)
            std::memcpy(&oldhwif, buf, size_t(kRecordSize));
        return LoadSysParamData(buf, n);
    }
    QFile f(PlatformRoot::path(path));
    if (!f.open(QIODevice::ReadOnly))
        return false;
    // Read one byte more than a record, so an oversized copy shows as such
    // without reading a huge file into memory.
    const QByteArray data = f.read(kRecordSize + 1);
    f.close();
    return LoadSysParamData(reinterpret_cast<const unsigned char*>(data.constData()), data.size());
}

bool SysParm::LoadSysParamData(const unsigned char* data, int size)
{
    if (size != kRecordSize || data == nullptr) {
        qDebug("size not match %d!=%d", kRecordSize, size);
        return false;
    }
    HardWareInfo copy;
    std::memcpy(&copy, data, sizeof copy);
    // The text fields of a foreign copy need not be terminated.
    char product[sizeof copy.product + 1] = {};
    std::memcpy(product, copy.product, sizeof copy.product);
    if (std::strcmp(product, kProduct) != 0) {
        qInfo("product name not match %s!=%s", product, kProduct);
        return false;
    }
    char built[sizeof copy.buildtime + 1] = {};
    std::memcpy(built, copy.buildtime, sizeof copy.buildtime);
    if (std::strcmp(built, buildTime()) != 0) {
        qWarning("product butidtime not match %s!=%s", built, buildTime());
        return false;
    }
    const uint32_t crc = crc_16(data + 4, unsigned(kRecordSize - 4));
    if (copy.CRC16 != crc) {
        qWarning("crc error 0x%x != 0x%x", copy.CRC16, crc);
        return false;
    }
    std::memcpy(&sys_param::HWinfo, data, sizeof(HardWareInfo));
    return true;
}

bool SysParm::SaveSysParam(QString path, bool force)
{
    HardWareInfo& live = sys_param::HWinfo;
    std::memset(live.product, 0, sizeof live.product);
    std::memset(live.buildtime, 0, sizeof live.buildtime);
    std::strncpy(live.product, kProduct, sizeof live.product - 1);
    std::strncpy(live.buildtime, buildTime(), sizeof live.buildtime - 1);
    // The screens and the remote interface change the live record while the
    // tick saves it: the CRC and every byte written come from one snapshot,
    // so each stored copy is consistent with its own CRC (a change made
    // meanwhile is saved on the next tick).
    HardWareInfo snapshot;
    std::memcpy(&snapshot, &live, sizeof snapshot);
    unsigned char* now = reinterpret_cast<unsigned char*>(&snapshot);
    unsigned char* old = reinterpret_cast<unsigned char*>(&oldhwif);
    if (!force && std::memcmp(now, old, size_t(kRecordSize)) == 0)
        return true;
    qInfo("save to eeprom !");
    snapshot.CRC16 = crc_16(now + 4, unsigned(kRecordSize - 4));
    live.CRC16 = snapshot.CRC16;
    qInfo("CRC16 0x%x !", live.CRC16);

    bool ok = false;
    if (path.isEmpty()) {
        ok = SaveToAt24(old, now, force);
        // Only a save that changed something gets here, so an idle
        // instrument writes nothing to the internal storage.
        if (ok)
            saveShadow(now);
    } else {
        const QString dir = PlatformRoot::path(kHomeDir);
        const bool exists = QDir(dir).exists();
        qInfo("paht:%s %s", kHomeDir, exists ? "exist" : "no exist");
        if (!exists) {
            const bool made = QDir().mkpath(dir);
            qInfo("create path:%s %s", kHomeDir, made ? "true" : "false");
        }
        // The old file stays whole until the new one is complete on the
        // medium: a power cut or a full disk never leaves a truncated preset.
        QString why;
        ok = AtomicFile::write(PlatformRoot::path(path), QByteArray(reinterpret_cast<const char*>(now), kRecordSize),
                               &why);
        if (!ok) {
            qWarning() << "save file error:" << path << why;
            return false;
        }
        // A preset or record file leaves the EEPROM as it was, and so the
        // baseline of its differential save: the next tick stores the state
        // there too.
    }
    qInfo("save %s", ok ? "ok" : "false");
    return ok;
}

bool SysParm::saveShadow(const unsigned char* record)
{
    const QString dir = PlatformRoot::path(kHomeDir);
    if (!QDir(dir).exists())
        QDir().mkpath(dir);
    QString why;
    if (AtomicFile::write(PlatformRoot::path(kShadowPath),
                          QByteArray(reinterpret_cast<const char*>(record), kRecordSize), &why))
        return true;
    qWarning() << "save shadow copy error:" << why;
    return false;
}

// The EEPROM holds the last state; its shadow file stands in when a power cut
// interrupted the EEPROM write (the CRC then refuses the mixed bytes).
bool SysParm::loadLastState()
{
    if (LoadSysParam(QString())) {
        // Keep the shadow equal to the EEPROM, so it holds this state should
        // the next save be interrupted.
        QFile f(PlatformRoot::path(kShadowPath));
        const QByteArray shadow = f.open(QIODevice::ReadOnly) ? f.read(kRecordSize + 1) : QByteArray();
        if (shadow != QByteArray(reinterpret_cast<const char*>(&sys_param::HWinfo), kRecordSize))
            saveShadow(reinterpret_cast<const unsigned char*>(&sys_param::HWinfo));
        return true;
    }
    if (!LoadSysParam(QString::fromLatin1(kShadowPath)))
        return false;
    qWarning("last state restored from %s", kShadowPath);
    SaveSysParam(QString(), true);
    return true;
}

void SysParm::loadFromPowerUpParam()
{
    powerUpSet = SettingsFile::value("powerUpValue", 0).toInt();
    sys_param::IPSetInit(CH_SYS);
    if (powerUpSet == POWERON_FACTORY)
        return;
    QString source;
    if (powerUpSet == POWERON_LAST)
        source = QString();
    else if (powerUpSet >= POWERON_PRESET1 && powerUpSet <= POWERON_PRESET5)
        source = QString::fromLatin1(kPresetPrefix) + QString::number(powerUpSet - 1);
    else
        return; // an unknown choice keeps the factory values
    qInfo("load sys paramer :%s", source.isEmpty() ? kEepromPath : qPrintable(source));
    if (source.isEmpty() ? loadLastState() : LoadSysParam(source))
        return;
    qWarning("load sys paramer error");
    SaveSysParam(source, true);
    if (!source.isEmpty())
        SettingsFile::setValue("powerUpValue", 0);
}

bool SysParm::reloadAll(const QByteArray& data)
{
    if (data.isEmpty()) {
        PreSetHWI();
        return true;
    }
    return LoadSysParamData(reinterpret_cast<const unsigned char*>(data.constData()), data.size());
}
