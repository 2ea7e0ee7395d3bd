// The Python driver's property table (python/ornav72/_commands.py) comes from
// the command table like the command reference: the checked-in file must be
// what tools/scpi-doc --python writes today, and every entry must name a
// command the instrument has, with the row's choices.
#include <gtest/gtest.h>
#include <QFile>
#include <string>
#include "communication/SCPI/commands/scpi_choices.h"
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

TEST(DriverTable, EveryEntryNamesACommandOfTheTable)
{
    EXPECT_EQ(scpi_driver_table_missing(), "");
}

TEST(DriverTable, EntriesCarryTheRowsFormsChoicesAndLimits)
{
    const std::string t = scpi_driver_table_python();
    // A described row: both forms, its choice list in order, long form.
    const std::string wave = "{'name': 'waveform', 'scope': 'channel', 'kind': 'choice',\n"
                             "     'set': 'CHANnel#:BASe:WAVe', 'query': 'CHANnel#:BASe:WAVe?',";
    EXPECT_NE(t.find(wave), std::string::npos);
    std::string words = "'choices': (";
    for (const scpi_choice_def_t* c = scpi_list_base_wave; c->name; ++c)
        words += "'" + std::string(c->name) + "', ";
    EXPECT_NE(t.find(words + ")"), std::string::npos) << words;
    // Frequency limits per channel pair, exact.
    EXPECT_NE(t.find("'range': (1e-06, 6e+08), 'range34': (1e-06, 2e+08)"), std::string::npos);
    // A query-only counter reading, an action, an indexed header.
    EXPECT_NE(t.find("'set': None, 'query': 'SYSTem:CYMometer:FREQuency?'"), std::string::npos);
    EXPECT_NE(t.find("{'name': 'trigger_burst', 'scope': 'channel', 'kind': 'action',\n"
                     "     'set': 'CHANnel#:BURSt:TRIGger', 'query': None,"),
              std::string::npos);
    EXPECT_NE(t.find("'index': (1, 4)"), std::string::npos);
    // The amplitude in dBm goes with its suffix.
    EXPECT_NE(t.find("'suffix': 'DBM'"), std::string::npos);
}
