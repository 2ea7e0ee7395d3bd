#pragma once
// Files and the live record of the persistence tests: the stored record is
// the 4536 bytes of sys_param::HWinfo, byte for byte.
#include <gtest/gtest.h>
#include <QByteArray>
#include <QFile>
#include <QString>
#include "param/sys_param.h"

namespace recordfiles {
constexpr char kEeprom[] = "/sys/devices/platform/ocp/44e0b000.i2c/i2c-0/0-0050/eeprom";

inline QByteArray readFile(const QString& p)
{
    QFile f(p);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline void writeFile(const QString& p, const QByteArray& b)
{
    QFile f(p);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(f.write(b), b.size());
}

inline QByteArray liveBytes() { return QByteArray(reinterpret_cast<const char*>(&sys_param::HWinfo), 4536); }
} // namespace recordfiles
using namespace recordfiles;
