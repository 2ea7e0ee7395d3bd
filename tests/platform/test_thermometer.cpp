#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include "app/misc.h"
#include "platform/platformroot.h"
#include "simboard/simroot.h"

namespace {

void writeSensor(const QString& root, const QByteArray& text)
{
    QFile f(root + SimRoot::kThermometerFile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(text);
}

} // namespace

// The sensor file stays open between reads and is read again from its start,
// so a changed temperature is seen without reopening; the value is t= / 1000.
TEST(Thermometer, ReadsTheSimulatedSensorAndFollowsItsChanges)
{
    QTemporaryDir dir;
    ASSERT_TRUE(SimRoot::create(dir.path()));
    PlatformRoot::setRoot(dir.path());
    misc::ResetDS18B20();
    EXPECT_DOUBLE_EQ(misc::ReadDS18B20(), 25.0);
    writeSensor(dir.path(), "90 01 4b 46 7f ff 0c 10 1c : crc=1c YES\n90 01 4b 46 7f ff 0c 10 1c t=65010\n");
    EXPECT_DOUBLE_EQ(misc::ReadDS18B20(), 65.01);
    writeSensor(dir.path(), "90 01 4b 46 7f ff 0c 10 1c t=-1250\n");
    EXPECT_DOUBLE_EQ(misc::ReadDS18B20(), -1.25);
    writeSensor(dir.path(), "no temperature field here\n");
    EXPECT_DOUBLE_EQ(misc::ReadDS18B20(), 0.0);
    writeSensor(dir.path(), QByteArray());
    EXPECT_DOUBLE_EQ(misc::ReadDS18B20(), 0.0);
    misc::ResetDS18B20();
    PlatformRoot::setRoot(QString());
}

// No bus folder reads 1.0; a bus without a "28-" device reads 0.0.
TEST(Thermometer, MissingBusOrSensorGivesTheBoardsFallbackValues)
{
    QTemporaryDir dir;
    PlatformRoot::setRoot(dir.path());
    misc::ResetDS18B20();
    EXPECT_DOUBLE_EQ(misc::ReadDS18B20(), 1.0);
    ASSERT_TRUE(QDir().mkpath(dir.path() + "/sys/bus/w1/devices/w1_bus_master1"));
    EXPECT_DOUBLE_EQ(misc::ReadDS18B20(), 0.0);
    misc::ResetDS18B20();
    PlatformRoot::setRoot(QString());
}
