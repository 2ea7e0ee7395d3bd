// Result formats and where ";" and "\r\n" go when one message holds several
// commands.
#include <gtest/gtest.h>
#include <clocale>
#include <cstring>
#include "tests/scpi/scpi_test_table.h"

TEST(ScpiResultFormat, ScientificIsSixDigitsLeftAlignedInThirteen)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {1000.0, "1.000000e+03 "},
        {0.0, "0.000000e+00 "},
        {-2.5e-7, "-2.500000e-07"},
        {123456789.0, "1.234568e+08 "},
        {1.797693134862315e308, "1.797693e+308"},
        {-1e-100, "-1.000000e-100"}, // wider than 13: not cut
    };
    for (const auto& c : cases) {
        ScpiTestRig rig;
        scpi_test_record.d = c.value;
        rig.send("TEST:SCI?\n");
        EXPECT_EQ(rig.out, std::string(c.text) + "\r\n") << c.value;
    }
}

TEST(ScpiResultFormat, DoubleUsesSixteenSignificantDigits)
{
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0.1, "0.1"},   {1.0 / 3.0, "0.3333333333333333"}, {1e20, "1e+20"},
        {-42.0, "-42"}, {123456.789, "123456.789"},        {2.5e-9, "2.5e-09"},
    };
    for (const auto& c : cases) {
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

TEST(ScpiResultFormat, IntegersBooleansTextAndBlocks)
{
    ScpiTestRig rig;
    EXPECT_EQ(rig.ask("TEST:INT -300;INT?\n"), "-300\r\n");
    // Three results of one query are separated by commas.
    EXPECT_EQ(rig.ask("TEST:INT 45;BASE?\n"), "#H2D,#Q55,#B101101\r\n");
    EXPECT_EQ(rig.ask("TEST:INT 0;BASE?\n"), "#H0,#Q0,#B0\r\n");
    EXPECT_EQ(rig.ask("TEST:INT -1;BASE?\n"), "#HFFFFFFFF,#Q37777777777,#B11111111111111111111111111111111\r\n");
    EXPECT_EQ(rig.ask("TEST:BOOL ON;BOOL?\n"), "1\r\n");
    EXPECT_EQ(rig.ask("TEST:BOOL OFF;BOOL?\n"), "0\r\n");
    EXPECT_EQ(rig.ask("TEST:TEXT 'a\"b';TEXT?\n"), "\"a\"b\"\r\n"); // quotes inside are written as they are

    // Blocks carry the count of their length digits.
    EXPECT_EQ(rig.ask("TEST:BLOC #15hello;BLOC?\n"), "#15hello\r\n");
    scpi_test_record.block = std::string(1234, 'x');
    EXPECT_EQ(rig.ask("TEST:BLOC?\n"), "#41234" + std::string(1234, 'x') + "\r\n");
    scpi_test_record.block.clear();
    EXPECT_EQ(rig.ask("TEST:BLOC?\n"), "#10\r\n");
}

TEST(ScpiResultFormat, NumberParameterAsText)
{
    const struct {
        double value;
        scpi_unit_t unit;
        const char* text;
    } cases[] = {{2500.0, SCPI_UNIT_HERTZ, "2500 HZ"},
                 {0.001, SCPI_UNIT_SECONDS, "0.001 S"},
                 {1, SCPI_UNIT_VPP, "1 Vpp"},
                 {-7.25, SCPI_UNIT_NONE, "-7.25"}};
    char buf[64];
    for (const auto& c : cases) {
        scpi_number_t n {};
        n.value = c.value;
        n.unit = c.unit;
        EXPECT_EQ(SCPI_NumberToStr(nullptr, nullptr, &n, buf, sizeof buf), strlen(c.text));
        EXPECT_STREQ(buf, c.text);
    }
    scpi_number_t n {};
    n.value = 123456;
    char small[4];
    EXPECT_EQ(SCPI_NumberToStr(nullptr, nullptr, &n, small, sizeof small), 3u);
    EXPECT_STREQ(small, "123");
}

TEST(ScpiResponsePlacement, SeparatorsAndLineEndsOfCompoundMessages)
{
    ScpiTestRig rig;
    // Queries of one message share one line.
    EXPECT_EQ(rig.ask("*IDN?;TEST:TAG?\n"), "VELTRIX Technologies,ORNAV96T,SN0001,1.09.0018;42\r\n");
    EXPECT_EQ(rig.ask("CHAN1:BAS:FREQ 1;FREQ?;:CHAN2:BAS:FREQ 2;FREQ?;:TEST:TAG?\n"),
              "1.000000e+00 ;2.000000e+00 ;42\r\n");
    // Each newline ends a message and its response.
    EXPECT_EQ(rig.ask("TEST:TAG?\nTEST:TAG?\n"), "42\r\n42\r\n");
    // A query followed by a set command leaves no line end; a set command
    // between two queries gives one separator and one line end.
    EXPECT_EQ(rig.ask("TEST:TAG?;:TEST:NOOP\n"), "42;");
    EXPECT_EQ(rig.ask("TEST:TAG?;:TEST:NOOP;:TEST:TAG?\n"), "42;42\r\n");
    // Failed units after a query keep its line end.
    EXPECT_EQ(rig.ask("TEST:TAG?;:NOSUCH:THING\n"), "42\r\n");
    EXPECT_EQ(rig.drainErrors(), std::vector<int> {-113});
    // A later message starts without a separator.
    rig.send("TEST:TAG?;:TEST:NOOP\n");
    EXPECT_EQ(rig.ask("TEST:TAG?\n"), "42\r\n");
    // Set commands alone write nothing but flush.
    EXPECT_EQ(rig.ask("TEST:INT 5;:TEST:DOUB 2\n"), "");
    EXPECT_GE(rig.flushes, 1);
}
