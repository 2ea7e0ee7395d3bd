// Result formats and where ";" and "\r\n" go when one message holds several
// commands.
#include <gtest/gtest.h>
#include <clocale>
#include "scpi_test_table.h"

TEST(ScpiResultFormat, ScientificIsSixDigitsLeftAlignedInThirteen)
{
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {1000.0, "1.000000e+03 "},
        {0.0, "0.000000e+00 "},
        {-2.5e-7, "-2.500000e-07"},
        {123456789.0, "1.234568e+08 "},
        {1.797693134862315e308, "1.797693e+308"},
        {-1e-100, "-1.000000e-100"},  // wider than 13: not cut
    };
    for (const Case& c : cases) {
        ScpiTestRig rig;
        scpi_test_record.d = c.value;
        rig.send("TEST:SCI?\n");
        EXPECT_EQ(rig.out, std::string(c.text) + "\r\n") << c.value;
    }
}

TEST(ScpiResultFormat, DoubleUsesSixteenSignificantDigits)
{
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {0.1, "0.1"}, {1.0 / 3.0, "0.3333333333333333"}, {1e20, "1e+20"},
        {-42.0, "-42"}, {123456.789, "123456.789"}, {2.5e-9, "2.5e-09"},
    };
    for (const Case& c : cases) {
        ScpiTestRig rig;
        scpi_test_record.d = c.value;
        rig.send("TEST:DOUB?\n");
        EXPECT_EQ(rig.out, std::string(c.text) + "\r\n") << c.value;
    }
}

TEST(ScpiResultFormat, NumbersIgnoreADecimalCommaLocale)
{
    // The application runs with the user's locale; "1.5" must stay 1.5 both
    // ways even where the locale writes 1,5.
    const std::string saved = setlocale(LC_NUMERIC, nullptr);
    bool comma = false;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE", "fr_FR.UTF-8", "fr_FR.utf8"})
        if (setlocale(LC_NUMERIC, name) && localeconv()->decimal_point[0] == ',') {
            comma = true;
            break;
        }
    if (!comma) {
        setlocale(LC_NUMERIC, saved.c_str());
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    ScpiTestRig rig;
    rig.send("TEST:DOUB 1.5\n");
    rig.send("TEST:DOUB?;SCI?\n");
    setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(rig.out, "1.5;1.500000e+00 \r\n");
}

TEST(ScpiResultFormat, IntegersBooleansTextAndBases)
{
    ScpiTestRig rig;
    rig.send("TEST:INT -300;INT?\n");
    EXPECT_EQ(rig.out, "-300\r\n");
    rig.out.clear();
    rig.send("TEST:INT 45;BASE?\n");
    // Three results of one query are separated by commas.
    EXPECT_EQ(rig.out, "#H2D,#Q55,#B101101\r\n");
    rig.out.clear();
    rig.send("TEST:INT 0;BASE?\n");
    EXPECT_EQ(rig.out, "#H0,#Q0,#B0\r\n");
    rig.out.clear();
    rig.send("TEST:INT -1;BASE?\n");
    EXPECT_EQ(rig.out, "#HFFFFFFFF,#Q37777777777,#B11111111111111111111111111111111\r\n");
    rig.out.clear();
    rig.send("TEST:BOOL ON;BOOL?\n");
    EXPECT_EQ(rig.out, "1\r\n");
    rig.out.clear();
    rig.send("TEST:BOOL OFF;BOOL?\n");
    EXPECT_EQ(rig.out, "0\r\n");
    rig.out.clear();
    rig.send("TEST:TEXT 'a\"b';TEXT?\n");
    EXPECT_EQ(rig.out, "\"a\"b\"\r\n");  // quotes inside are written as they are
}

TEST(ScpiResultFormat, BlocksCarryTheirLengthDigits)
{
    ScpiTestRig rig;
    rig.send("TEST:BLOC #15hello;BLOC?\n");
    EXPECT_EQ(rig.out, "#15hello\r\n");
    rig.out.clear();
    scpi_test_record.block = std::string(1234, 'x');
    rig.send("TEST:BLOC?\n");
    EXPECT_EQ(rig.out, "#41234" + std::string(1234, 'x') + "\r\n");
    rig.out.clear();
    scpi_test_record.block.clear();
    rig.send("TEST:BLOC?\n");
    EXPECT_EQ(rig.out, "#10\r\n");
}

TEST(ScpiResultFormat, NumberParameterAsText)
{
    scpi_number_t n{};
    n.value = 2500.0;
    n.unit = SCPI_UNIT_HERTZ;
    char buf[64];
    EXPECT_EQ(SCPI_NumberToStr(nullptr, nullptr, &n, buf, sizeof buf), 7u);
    EXPECT_STREQ(buf, "2500 HZ");
    n.value = 0.001;
    n.unit = SCPI_UNIT_SECONDS;
    SCPI_NumberToStr(nullptr, nullptr, &n, buf, sizeof buf);
    EXPECT_STREQ(buf, "0.001 S");
    n.unit = SCPI_UNIT_VPP;
    n.value = 1;
    SCPI_NumberToStr(nullptr, nullptr, &n, buf, sizeof buf);
    EXPECT_STREQ(buf, "1 Vpp");
    n.unit = SCPI_UNIT_NONE;
    n.value = -7.25;
    SCPI_NumberToStr(nullptr, nullptr, &n, buf, sizeof buf);
    EXPECT_STREQ(buf, "-7.25");
    char small[4];
    n.value = 123456;
    EXPECT_EQ(SCPI_NumberToStr(nullptr, nullptr, &n, small, sizeof small), 3u);
    EXPECT_STREQ(small, "123");
}

TEST(ScpiResponsePlacement, QueriesOfOneMessageShareOneLine)
{
    ScpiTestRig rig;
    rig.send("*IDN?;TEST:TAG?\n");
    EXPECT_EQ(rig.out, "VELTRIX Technologies,ORNAV96T,SN0001,1.09.0018;42\r\n");
}

TEST(ScpiResponsePlacement, ThreeQueriesAndTwoMessages)
{
    ScpiTestRig rig;
    rig.send("CHAN1:BAS:FREQ 1;FREQ?;:CHAN2:BAS:FREQ 2;FREQ?;:TEST:TAG?\n");
    EXPECT_EQ(rig.out, "1.000000e+00 ;2.000000e+00 ;42\r\n");
    rig.out.clear();
    // Each newline ends a message and its response.
    rig.send("TEST:TAG?\nTEST:TAG?\n");
    EXPECT_EQ(rig.out, "42\r\n42\r\n");
}

TEST(ScpiResponsePlacement, QueryFollowedBySetCommandLeavesNoLineEnd)
{
    ScpiTestRig rig;
    rig.send("TEST:TAG?;:TEST:NOOP\n");
    EXPECT_EQ(rig.out, "42;");
    rig.out.clear();
    // A set command between two queries: one separator, one line end.
    rig.send("TEST:TAG?;:TEST:NOOP;:TEST:TAG?\n");
    EXPECT_EQ(rig.out, "42;42\r\n");
}

TEST(ScpiResponsePlacement, FailedUnitsAfterAQueryKeepItsLineEnd)
{
    ScpiTestRig rig;
    rig.send("TEST:TAG?;:NOSUCH:THING\n");
    EXPECT_EQ(rig.out, "42\r\n");
    EXPECT_EQ(rig.drainErrors(), std::vector<int>{-113});
    rig.out.clear();
    // A later message starts without a separator.
    rig.send("TEST:TAG?;:TEST:NOOP\n");
    rig.out.clear();
    rig.send("TEST:TAG?\n");
    EXPECT_EQ(rig.out, "42\r\n");
}

TEST(ScpiResponsePlacement, SetCommandsAloneWriteNothingButFlush)
{
    ScpiTestRig rig;
    rig.send("TEST:INT 5;:TEST:DOUB 2\n");
    EXPECT_EQ(rig.out, "");
    EXPECT_GE(rig.flushes, 1);
}
