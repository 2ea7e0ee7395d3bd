// Each kind of program data, how the readers convert it and the error each
// malformed or misplaced kind gets.
#include <gtest/gtest.h>
#include "tests/scpi/scpi_test_table.h"

using Codes = std::vector<int>;

TEST(ScpiDecimalData, IntegersInDecimalAndNondecimalForms)
{
    const struct {
        const char* text;
        int32_t value;
    } cases[] = {
        {"42", 42},
        {"-17", -17},
        {"+5", 5},
        {"2.5", 3},
        {"-2.5", -3},
        {"1e3", 1000},
        {"#H1F", 31},
        {"#hff", 255},
        {"#Q17", 15},
        {"#B1011", 11},
        {"#HFFFFFFFF", -1},
        {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN},
    };
    for (const auto& c : cases) {
        ScpiTestRig rig;
        rig.send(std::string("TEST:INT ") + c.text + "\n");
        EXPECT_TRUE(scpi_test_record.readOk) << c.text;
        EXPECT_EQ(scpi_test_record.i, c.value) << c.text;
        EXPECT_TRUE(rig.drainErrors().empty()) << c.text;
    }
}

TEST(ScpiDecimalData, IntegerErrors)
{
    const struct {
        const char* text;
        int code;
    } cases[] = {
        {"2147483648", -224},  // beyond 32 bits signed
        {"#H100000000", -224}, // beyond 32 bits
        {"5 kHZ", -138},       // no suffix on an integer
        {"ON", -104},          {"'5'", -104}, {"#15abcde", -104},
    };
    for (const auto& c : cases) {
        ScpiTestRig rig;
        rig.send(std::string("TEST:INT ") + c.text + "\n");
        EXPECT_FALSE(scpi_test_record.readOk) << c.text;
        EXPECT_EQ(rig.drainErrors(), Codes {c.code}) << c.text;
    }
    ScpiTestRig rig;
    rig.send("TEST:UINT -1\n");
    EXPECT_EQ(rig.drainErrors(), Codes {-224});
    rig.send("TEST:UINT 4294967295\n");
    EXPECT_EQ(scpi_test_record.u, 4294967295u);
    rig.send("TEST:INT\n");
    EXPECT_EQ(rig.drainErrors(), Codes {-109});
}

TEST(ScpiDecimalData, DoublesAreReadWithoutTheProcessLocale)
{
    ScpiTestRig rig;
    rig.send("TEST:DOUB -1.25E-3\n");
    EXPECT_DOUBLE_EQ(scpi_test_record.d, -1.25e-3);
    rig.send("TEST:DOUB .5\n");
    EXPECT_DOUBLE_EQ(scpi_test_record.d, 0.5);
    rig.send("TEST:DOUB #B101\n");
    EXPECT_DOUBLE_EQ(scpi_test_record.d, 5.0);
    rig.send("TEST:DOUB 1e999\n"); // not a finite double
    rig.send("TEST:DOUB 3 V\n");
    rig.send("TEST:DOUB ENGL\n");
    EXPECT_EQ(rig.drainErrors(), (Codes {-224, -138, -104}));
}

TEST(ScpiDecimalData, MalformedNumbersAreInvalidCharacters)
{
    for (const char* text : {"1.2.3", "1 2", "+", "-.", "1e+", "#", "#X12", "#H", "#Q8", "#B2"}) {
        ScpiTestRig rig;
        rig.send(std::string("TEST:DOUB ") + text + "\n");
        EXPECT_TRUE(scpi_test_record.calls.empty()) << text;
        EXPECT_EQ(rig.drainErrors(), Codes {-101}) << text;
    }
}

TEST(ScpiSuffixData, UnitsScaleTheValueAndRecordTheirKind)
{
    const struct {
        const char* text;
        double value;
        scpi_unit_t unit;
    } cases[] = {
        {"1.5kHZ", 1500.0, SCPI_UNIT_HERTZ},     {"2 MHZ", 2e6, SCPI_UNIT_HERTZ},
        {"3 khz", 3000.0, SCPI_UNIT_HERTZ},      {"1GHZ", 1e9, SCPI_UNIT_HERTZ},
        {"10 mV", 0.01, SCPI_UNIT_VOLT},         {"2 kV", 2000.0, SCPI_UNIT_VOLT},
        {"500 mVpp", 0.5, SCPI_UNIT_VPP},        {"4uVrms", 4e-6, SCPI_UNIT_VRMS},
        {"-3 dBm", -3.0, SCPI_UNIT_VDBM},        {"6 DB", 6.0, SCPI_UNIT_DB},
        {"9600 bps", 9600.0, SCPI_UNIT_BITRATE}, {"2 Mbps", 2e6, SCPI_UNIT_BITRATE},
        {"5 MS", 5e-3, SCPI_UNIT_SECONDS},       {"7 ns", 7e-9, SCPI_UNIT_SECONDS},
        {"3 pS", 3e-12, SCPI_UNIT_SECONDS},      {"2 MIN", 120.0, SCPI_UNIT_SECONDS},
        {"1 HR", 3600.0, SCPI_UNIT_SECONDS},     {"25", 25.0, SCPI_UNIT_NONE},
    };
    for (const auto& c : cases) {
        ScpiTestRig rig;
        rig.send(std::string("TEST:NUMB ") + c.text + "\n");
        EXPECT_TRUE(scpi_test_record.readOk) << c.text;
        EXPECT_FALSE(scpi_test_record.number.special) << c.text;
        EXPECT_DOUBLE_EQ(scpi_test_record.number.value, c.value) << c.text;
        EXPECT_EQ(scpi_test_record.number.unit, c.unit) << c.text;
        EXPECT_EQ(scpi_test_record.number.base, 10) << c.text;
        EXPECT_TRUE(rig.drainErrors().empty()) << c.text;
    }
}

TEST(ScpiSuffixData, UnknownSuffixAndNondecimalBase)
{
    ScpiTestRig rig;
    rig.send("TEST:NUMB 5 mHZ\n"); // there is no millihertz: case is ignored, "MHZ"
    EXPECT_DOUBLE_EQ(scpi_test_record.number.value, 5e6);
    rig.send("TEST:NUMB 5 furlong\n");
    rig.send("TEST:NUMB 5 Hz2\n");
    EXPECT_EQ(rig.drainErrors(), (Codes {-131, -131}));
    rig.send("TEST:NUMB #HFF\n");
    EXPECT_DOUBLE_EQ(scpi_test_record.number.value, 255.0);
    EXPECT_EQ(scpi_test_record.number.base, 16);
    rig.send("TEST:NUMB #Q7\n");
    EXPECT_EQ(scpi_test_record.number.base, 8);
    rig.send("TEST:NUMB #B1\n");
    EXPECT_EQ(scpi_test_record.number.base, 2);
}

TEST(ScpiSuffixData, SpecialMnemonicsOfANumber)
{
    ScpiTestRig rig;
    rig.send("TEST:LANG ENGL\n");
    EXPECT_TRUE(scpi_test_record.number.special);
    EXPECT_EQ(scpi_test_record.number.tag, 1);
    rig.send("TEST:NUMB?\n");
    EXPECT_EQ(rig.out, "ENGLish\r\n");
    rig.send("TEST:LANG chinese\n");
    EXPECT_EQ(scpi_test_record.number.tag, 0);
    rig.send("TEST:LANG FRENch\n");
    rig.send("TEST:NUMB ENGL\n"); // no special list: a mnemonic is no number
    EXPECT_EQ(rig.drainErrors(), (Codes {-224, -104}));
}

TEST(ScpiCharacterData, BooleansAndChoices)
{
    ScpiTestRig rig;
    const struct {
        const char* text;
        bool value;
    } bools[] = {{"ON", true}, {"off", false}, {"1", true}, {"0", false}, {"-3", true}, {"0.0", false}};
    for (const auto& c : bools) {
        scpi_test_record.b = !c.value;
        rig.send(std::string("TEST:BOOL ") + c.text + "\n");
        EXPECT_EQ(scpi_test_record.b, c.value) << c.text;
    }
    EXPECT_TRUE(rig.drainErrors().empty());
    rig.send("TEST:BOOL TRUE\n");
    rig.send("TEST:BOOL \"ON\"\n");
    rig.send("TEST:BOOL 1 V\n");
    EXPECT_EQ(rig.drainErrors(), (Codes {-224, -104, -138}));

    rig.send("TEST:CHO clos\n");
    EXPECT_EQ(scpi_test_record.choice, 0);
    rig.send("TEST:CHO 15min\n");
    EXPECT_EQ(scpi_test_record.choice, 2);
    rig.send("TEST:CHO T\n");
    EXPECT_EQ(scpi_test_record.choice, 3);
    rig.send("TEST:CHO OPEN\n");
    rig.send("TEST:CHO 5\n");
    rig.send("TEST:CHO 'CLOSe'\n");
    EXPECT_EQ(rig.drainErrors(), (Codes {-224, -104, -104}));
}

TEST(ScpiStringData, QuotesAreRemovedAndDoubledQuotesReduced)
{
    ScpiTestRig rig;
    rig.send("TEST:TEXT \"wave.csv\"\n");
    EXPECT_EQ(scpi_test_record.text, "wave.csv");
    rig.send("TEST:TEXT 'it''s'\n");
    EXPECT_EQ(scpi_test_record.text, "it's");
    rig.send("TEST:TEXT \"say \"\"hi\"\"\"\n");
    EXPECT_EQ(scpi_test_record.text, "say \"hi\"");
    rig.send("TEST:TEXT \"a;b,c\"\n"); // separators inside a string are text
    EXPECT_EQ(scpi_test_record.text, "a;b,c");
    rig.send("TEST:TEXT \"\"\n");
    EXPECT_EQ(scpi_test_record.text, "");
    // Cut to the caller's buffer of 16 bytes: 15 characters and the NUL.
    rig.send("TEST:TEXT \"0123456789abcdefghij\"\n");
    EXPECT_EQ(scpi_test_record.text, "0123456789abcde");
    EXPECT_TRUE(rig.drainErrors().empty());

    rig.send("TEST:TEXT wave\n");
    rig.send("TEST:TEXT 12\n");
    EXPECT_EQ(rig.drainErrors(), (Codes {-104, -104}));
    rig.send("TEST:TEXT \"open\n"); // no closing quote
    EXPECT_EQ(rig.drainErrors(), Codes {-101});
}

TEST(ScpiStringData, CharactersKeepTheTokenAsReceived)
{
    ScpiTestRig rig;
    rig.send("TEST:CHAR \"my file\"\n");
    EXPECT_EQ(scpi_test_record.chars, "\"my file\"");
    rig.send("TEST:CHAR SN12345\n");
    EXPECT_EQ(scpi_test_record.chars, "SN12345");
    rig.send("TEST:CHAR 1.5 kHZ\n");
    EXPECT_EQ(scpi_test_record.chars, "1.5 kHZ");
    rig.send("TEST:PAR (1,2)\n");
    EXPECT_EQ(scpi_test_record.paramType, SCPI_TOKEN_PROGRAM_EXPRESSION);
    EXPECT_EQ(scpi_test_record.chars, "(1,2)");
    EXPECT_TRUE(rig.drainErrors().empty());
}

TEST(ScpiBlockData, DefiniteLengthBlocksMayHoldAnyByte)
{
    ScpiTestRig rig;
    const std::string payload("a\n;\0,\"", 6);
    rig.send("TEST:BLOC #16" + payload + "\n");
    EXPECT_TRUE(scpi_test_record.readOk);
    EXPECT_EQ(scpi_test_record.block, payload);
    rig.send("TEST:BLOC #210" + std::string("0123456789") + "\n");
    EXPECT_EQ(scpi_test_record.block, "0123456789");
    rig.send("TEST:BLOC #10\n");
    EXPECT_EQ(scpi_test_record.block, "");
    EXPECT_TRUE(rig.drainErrors().empty());

    rig.send("TEST:BLOC 'abc'\n");
    EXPECT_EQ(rig.drainErrors(), Codes {-104});
    // Longer than the text, indefinite length, length digits missing.
    for (const char* bad : {"TEST:BLOC #19abc\n", "TEST:BLOC #0abc\n", "TEST:BLOC #3\n", "TEST:BLOC #2a1xx\n"}) {
        scpi_test_record.clear();
        rig.send(bad);
        EXPECT_TRUE(scpi_test_record.calls.empty()) << bad;
        EXPECT_EQ(rig.drainErrors(), Codes {-101}) << bad;
    }
}

TEST(ScpiParameterCount, MissingExtraAndEmptyParameters)
{
    ScpiTestRig rig;
    rig.send("TEST:INT 1,2\n"); // runs, then one too many
    EXPECT_EQ(scpi_test_record.i, 1);
    EXPECT_EQ(rig.drainErrors(), Codes {-108});
    rig.send("TEST:MULT 3, 4.5 ,ON\n");
    EXPECT_TRUE(scpi_test_record.readOk);
    EXPECT_EQ(scpi_test_record.i, 3);
    EXPECT_DOUBLE_EQ(scpi_test_record.d, 4.5);
    EXPECT_TRUE(scpi_test_record.b);
    EXPECT_TRUE(rig.drainErrors().empty());
    rig.send("TEST:MULT 3,,ON\n");
    EXPECT_EQ(rig.drainErrors(), Codes {-109});
    rig.send("TEST:MULT 3,4\n");
    EXPECT_EQ(rig.drainErrors(), Codes {-109});
    rig.send("TEST:INT 5,\n");
    EXPECT_EQ(rig.drainErrors(), Codes {-108});
    rig.send("TEST:NOOP 1\n");
    EXPECT_EQ(rig.drainErrors(), Codes {-108});
    // An optional parameter keeps the handler's default.
    rig.send("TEST:OPT\n");
    EXPECT_FALSE(scpi_test_record.readOk);
    EXPECT_EQ(scpi_test_record.optional, 7);
    rig.send("TEST:OPT 9\n");
    EXPECT_EQ(scpi_test_record.optional, 9);
    EXPECT_TRUE(rig.drainErrors().empty());
}

TEST(ScpiParameterCount, DataWithoutSeparatorOrWithJunkIsInvalid)
{
    for (const char* bad : {"TEST:INT,1\n", "TEST:INT\"1\"\n", "TEST:INT 1 @\n", "@\n", "TEST:INT 1;@;*IDN?\n"}) {
        ScpiTestRig rig;
        rig.send(bad);
        EXPECT_EQ(rig.drainErrors(), Codes {-101}) << bad;
    }
    // The units around an invalid one still run.
    ScpiTestRig rig;
    rig.send("TEST:INT 4;TEST:INT 1 2;*IDN?\n");
    EXPECT_EQ(scpi_test_record.i, 4);
    EXPECT_EQ(rig.out, "VELTRIX Technologies,ORNAV96T,SN0001,1.09.0018\r\n");
}
