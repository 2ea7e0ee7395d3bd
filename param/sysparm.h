#pragma once
// Keeps the parameter record across power cycles: the serial EEPROM (last
// state), five preset files and any named file. Every stored copy is the 4536
// bytes of HardWareInfo with its CRC-16, product name and build time, all
// three checked on load. Every completed EEPROM save is mirrored into a
// shadow file, so a power cut in the middle of the byte-by-byte EEPROM write
// costs at most the last change, never the whole record.
#include <QString>
#include <QByteArray>
#include <QList>
#include <cstdint>
#include <functional>
#include "param/hardwareinfo.h"

class SysParm {
public:
    static const char* kEepromPath;
    static const char* kPresetPrefix;
    static const char* kProduct;
    static const char* kShadowPath;

    SysParm();
    ~SysParm();

    void PreSetHWI();
    void loadFromPowerUpParam();
    bool openAt24();
    int LoadFromAt24(unsigned char* buf);
    bool SaveToAt24(unsigned char* old, unsigned char* now, bool force);
    bool LoadSysParam(QString path);
    bool LoadSysParamData(const unsigned char* data, int size);
    // True when the copy reached its place (nothing to save counts as done).
    bool SaveSysParam(QString path, bool force);
    // Whole-record reload from a received copy; empty data is a factory reset.
    bool reloadAll(const QByteArray& data);

    static uint16_t crc_16(const unsigned char* data, unsigned int size);
    static void init_crc16_tab();
    static const char* buildTime();

    // Number of pwrite calls made on the EEPROM and the offsets of the
    // single-byte writes since the last reset; the wear of the EEPROM is
    // what the differential save keeps low.
    int eepromWrites() const { return m_writes; }
    const QList<int>& eepromByteOffsets() const { return m_byteOffsets; }
    void resetWriteLog()
    {
        m_writes = 0;
        m_byteOffsets.clear();
    }

    // Test hook: called before each single-byte EEPROM write with its
    // offset; returning false stops the save there, as a power cut would.
    static void setEepromByteHook(std::function<bool(int offset)> hook);

    int at24fd = -1;
    int powerUpSet = 0;
    static HardWareInfo oldhwif;

private:
    bool saveShadow(const unsigned char* record);
    bool loadLastState();

    int m_writes = 0;
    QList<int> m_byteOffsets;
};
