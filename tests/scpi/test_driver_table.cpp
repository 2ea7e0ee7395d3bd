// The Python driver's property table (python/ornav72/_commands.py) comes from
// the command table like the command reference: the checked-in file must be
// what tools/scpi-doc --python writes today, and every entry must name a
// command the instrument has. What the entries carry (forms, choices,
// limits) is exercised by the driver's own tests in python/tests.
#include <gtest/gtest.h>
#include <QFile>
#include <string>
#include "communication/SCPI/commands/scpi_driver_table.h"

// Regenerate with `build/tools/scpi-doc --python python/ornav72/_commands.py`.
TEST(DriverTable, CheckedInFileIsCurrent)
{
    QFile f(QString(ORNAV_SOURCE_DIR) + "/python/ornav72/_commands.py");
    ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << "python/ornav72/_commands.py is missing";
    const std::string onDisk = f.readAll().toStdString();
    EXPECT_TRUE(onDisk == scpi_driver_table_python())
        << "python/ornav72/_commands.py is stale: run build/tools/scpi-doc --python python/ornav72/_commands.py";
}

TEST(DriverTable, EveryEntryNamesACommandOfTheTable) { EXPECT_EQ(scpi_driver_table_missing(), ""); }
