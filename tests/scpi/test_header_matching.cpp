// Header matching: long and short forms, letter case, numeric suffixes,
// optional nodes, queries and the compound path rule across ";".
#include <gtest/gtest.h>
#include "tests/scpi/scpi_test_table.h"

using Calls = std::vector<std::string>;

TEST(ScpiHeaderMatching, LongShortAndMixedCaseSelectTheSameCommand)
{
    for (const char* header : {"CHANNEL2:BASE:FREQUENCY", "CHAN2:BAS:FREQ", "chan2:bas:freq", "ChAnNeL2:bAsE:fReQ",
                               ":CHAN2:BASe:FREQuency"}) {
        ScpiTestRig rig;
        rig.send(std::string(header) + " 5\n");
        EXPECT_EQ(scpi_test_record.calls, Calls {"CHANnel#:BASe:FREQuency"}) << header;
        EXPECT_EQ(scpi_test_record.numbers[0], 2) << header;
        EXPECT_DOUBLE_EQ(scpi_test_record.freq[2], 5.0) << header;
        EXPECT_TRUE(rig.drainErrors().empty()) << header;
    }
}

TEST(ScpiHeaderMatching, PartialFormsAndExtraLettersAreUndefined)
{
    // Neither the long form nor the short form: "CHA", "CHANN", "FREQU".
    for (const char* header :
         {"CHA1:BAS:FREQ 1\n", "CHANN1:BAS:FREQ 1\n", "CHAN1:BAS:FREQU 1\n", "CHAN1:BASE:FREQ:X 1\n", "BAS:FREQ 1\n"}) {
        ScpiTestRig rig;
        rig.send(header);
        EXPECT_TRUE(scpi_test_record.calls.empty()) << header;
        EXPECT_EQ(rig.drainErrors(), std::vector<int> {-113}) << header;
        EXPECT_EQ(rig.out, "") << header;
    }
}

TEST(ScpiHeaderMatching, NumericSuffixDefaultsToOneAndKeepsZeroAndLargeValues)
{
    ScpiTestRig rig;
    rig.send("CHAN:BAS:FREQ 1\n");
    EXPECT_EQ(scpi_test_record.numbers[0], 1);
    rig.send("CHAN0:BAS:FREQ 1\n");
    EXPECT_EQ(scpi_test_record.numbers[0], 0);
    rig.send("CHAN04:BAS:FREQ 1\n");
    EXPECT_EQ(scpi_test_record.numbers[0], 4);
    rig.send("CHAN99999999999999:BAS:FREQ 1\n");
    EXPECT_EQ(scpi_test_record.numbers[0], INT32_MAX);
    EXPECT_TRUE(rig.drainErrors().empty());
}

TEST(ScpiHeaderMatching, TwoNumericPlacesAreReturnedInPatternOrder)
{
    ScpiTestRig rig;
    rig.send("CHAN3:PSK:PHAS2?\n");
    EXPECT_EQ(rig.out, "302\r\n");
    EXPECT_EQ(rig.ask("CHAN:PSK:PHAS?\n"), "101\r\n");
    rig.send("CHANNEL4:PSK:PHASE 12.5\n");
    EXPECT_EQ(scpi_test_record.numbers[0], 4);
    EXPECT_EQ(scpi_test_record.numbers[1], 1);
    EXPECT_DOUBLE_EQ(scpi_test_record.d, 12.5);
}

TEST(ScpiHeaderMatching, OptionalNodesMayBeLeftOutOrGiven)
{
    const struct {
        const char* msg;
        int source;
        double volt;
    } cases[] = {
        {"VOLT 1.5\n", 1, 1.5},         {"SOUR2:VOLT 2.5\n", 2, 2.5}, {"SOURCE3:VOLTAGE:LEVEL 3.5\n", 3, 3.5},
        {"VOLT:LEV:IMM 4.5\n", 1, 4.5}, {"VOLT:IMM 5.5\n", 1, 5.5},   {":SOUR4:VOLT:LEV:IMM 6.5\n", 4, 6.5},
    };
    for (const auto& c : cases) {
        ScpiTestRig rig;
        rig.send(c.msg);
        EXPECT_EQ(scpi_test_record.calls.size(), 1u) << c.msg;
        EXPECT_EQ(scpi_test_record.numbers[0], c.source) << c.msg;
        EXPECT_DOUBLE_EQ(scpi_test_record.volt, c.volt) << c.msg;
        EXPECT_TRUE(rig.drainErrors().empty()) << c.msg;
    }
    ScpiTestRig rig;
    rig.send("VOLT:IMM:LEV 1\n"); // optional nodes keep their order
    EXPECT_EQ(rig.drainErrors(), std::vector<int> {-113});
    rig.send("SOUR2:VOLT:LEV?\n");
    EXPECT_EQ(scpi_test_record.numbers[0], 2);
}

TEST(ScpiHeaderMatching, QueryAndSetFormsCommonHeadersAndDigitsWithoutPlace)
{
    ScpiTestRig rig;
    EXPECT_EQ(rig.ask("TEST:TAG?\n"), "42\r\n");
    rig.send("TEST:TAG\n");   // no set form
    rig.send("TEST:NOOP?\n"); // no query form
    EXPECT_EQ(rig.ask("*idn?\n"), "VELTRIX Technologies,ORNAV96T,SN0001,1.09.0018\r\n");
    rig.send("*Rst\n");
    EXPECT_EQ(rig.resets, 1);
    rig.send("*IDN\n*RS\n");
    // Digits on a node without a place are part of its name.
    scpi_test_record.calls.clear();
    rig.send("TEST2:NOOP\n");
    rig.send("KEY:CH1\n");
    rig.send("KEY:CH\n");
    EXPECT_EQ(scpi_test_record.calls, Calls {"KEY:CH1"});
    EXPECT_EQ(rig.drainErrors(), (std::vector<int>(6, -113)));
}

TEST(ScpiHeaderMatching, CompoundPathAcrossSemicolonsLeadingColonCommonHeadersAndNewMessages)
{
    const std::string freq = "CHANnel#:BASe:FREQuency";
    const struct {
        const char* why;
        const char* message;
        Calls calls;
        const char* out;
        std::vector<int> errors;
    } rows[] = {
        {"FREQ? takes the path CHAN2:BAS:", "CHAN2:BAS:FREQ 1000;FREQ?\n", {freq, freq + "?"}, "1.000000e+03 \r\n", {}},
        {"a leading colon starts from the root", "CHAN2:BAS:FREQ 1;:TEST:NOOP\n", {freq, "TEST:NOOP"}, "", {}},
        {"without it a root header is undefined", "CHAN2:BAS:FREQ 1;TEST:NOOP\n", {freq}, "", {-113}},
        {"a common command keeps the path",
         "CHAN3:BAS:FREQ 7;*RST;FREQ?\n",
         {freq, "*RST", freq + "?"},
         "7.000000e+00 \r\n",
         {}},
        {"the path ends with the message", "CHAN2:BAS:FREQ 1\nFREQ?\n", {freq}, "", {-113}},
        {"a relative header with nodes extends the path",
         "CHAN1:PSK:PHAS2 3;:CHAN2:BAS:FREQ 4;FREQ 5;FREQ?;:TEST:INT 9\n",
         {"CHANnel#:PSK:PHASe#", freq, freq, freq + "?", "TEST:INTeger"},
         "5.000000e+00 ;", // a set command after a query: no line end
         {}},
    };
    for (const auto& row : rows) {
        ScpiTestRig rig;
        rig.send(row.message);
        EXPECT_EQ(scpi_test_record.calls, row.calls) << row.why;
        EXPECT_EQ(rig.out, row.out) << row.why;
        EXPECT_EQ(rig.drainErrors(), row.errors) << row.why;
    }
}

TEST(ScpiHeaderMatching, MatchFunctionsOnTheirOwn)
{
    int32_t n[3] = {0, 0, 0};
    EXPECT_TRUE(SCPI_MatchNumbers("CHANnel#:PSK:PHASe#?", "chan3:psk:phase12?", 18, n, 3));
    EXPECT_EQ(n[0], 3);
    EXPECT_EQ(n[1], 12);
    EXPECT_EQ(n[2], 1); // past the pattern's places
    EXPECT_FALSE(SCPI_Match("CHANnel#:PSK:PHASe#?", "chan3:psk:phase12", 17));
    EXPECT_FALSE(SCPI_Match("A:B", "A::B", 4));
    EXPECT_FALSE(SCPI_Match("A:B", "A:B:", 4));
    EXPECT_TRUE(SCPI_Match(":SYSTem:ERRor[:NEXT]?", "SYST:ERR:NEXT?", 14));
    EXPECT_TRUE(SCPI_Match(":SYSTem:ERRor[:NEXT]?", "SYST:ERR?", 9));
    EXPECT_FALSE(SCPI_Match("SYSTem:ERRor[:NEXT?", "SYST:ERR?", 9)); // unbalanced pattern
    EXPECT_TRUE(SCPI_MatchMnemonic("ThreeFSK", 8, "t", 1));
    EXPECT_TRUE(SCPI_MatchMnemonic("ThreeFSK", 8, "THREEFSK", 8));
    EXPECT_FALSE(SCPI_MatchMnemonic("ThreeFSK", 8, "TFSK", 4));
}
