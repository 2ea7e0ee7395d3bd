// Display text of values: unit choice, digit window, grouping, highlight.
#include <gtest/gtest.h>
#include <cmath>
#include "param/paramvalue.h"
#include "param/uinttable.h"

namespace {

struct Shown {
    QString text;
    int unit = -1;
    int sPos = -1;
    int sLen = -1;
};

Shown show(double v, UintType t, int minBit, int separator, bool focus = false, int sel = 0)
{
    Shown s;
    s.unit = paramValueToString(v, t, minBit, s.text, focus, sel, s.sPos, s.sLen, separator);
    return s;
}

TEST(ValueText, FrequencyPicksTheLargestUnitNotAboveTheValueAndGroupsBothSides)
{
    // 1 234 567.891 Hz, last digit 1 µHz: MHz, 10 digits shown.
    EXPECT_EQ(show(1234567.891, UintFre, -6, 0).text, QString("1.234,567,891 MHz"));
    EXPECT_EQ(show(1234567.891, UintFre, -6, 1).text, QString("1.234 567 891 MHz"));
    EXPECT_EQ(show(1234567.891, UintFre, -6, 2).text, QString("1.234567891 MHz"));
    EXPECT_EQ(show(1234567.891, UintFre, -6, 0).unit, 0);
    // 1 kHz with millihertz resolution: all seven digits.
    EXPECT_EQ(show(1000, UintFre, -3, 0).text, QString("1.000,000 kHz"));
    EXPECT_EQ(show(999.5, UintFre, -3, 0).text, QString("999.500 Hz"));
    EXPECT_EQ(show(0.25, UintFre, -6, 0).text, QString("250.000 mHz"));
}

TEST(ValueText, RoundsToTheLastDigitHalvesAwayFromZero)
{
    EXPECT_EQ(show(2.0005, UintAmpVpp, -3, 0).text, QString("2.001 Vpp"));
    EXPECT_EQ(show(-2.0005, UintVoltage, -3, 0).text, QString("-2.001 V"));
    EXPECT_EQ(show(0.0004, UintVoltage, -3, 0).text, QString("0 mV"));
    EXPECT_EQ(show(0.05, UintVoltage, -3, 0).text, QString("50 mV"));
    EXPECT_EQ(show(-12.5, UintAngle, -3, 0).text, QString::fromUtf8("-12.500 °"));
}

TEST(ValueText, LargeAndNonFiniteValuesStayPrintable)
{
    EXPECT_FALSE(show(1e30, UintFre, -6, 0).text.isEmpty());
    EXPECT_EQ(show(std::nan(""), UintVoltage, -3, 0).text, QString("0 mV"));
}

TEST(ValueText, ClassesWithoutATableGiveNoText)
{
    Shown s = show(5, UintUndefined, 0, 0);
    EXPECT_EQ(s.unit, -1);
    EXPECT_TRUE(s.text.isEmpty());
}

TEST(ValueText, FocusHighlightsTheSelectedDigitOrTheUnit)
{
    // 1000 Hz, resolution 1 mHz, hundreds selected: "1.000,000 kHz",
    // the selected digit is the first 0 after the point.
    Shown s = show(1000, UintFre, -3, 0, true, 2);
    EXPECT_EQ(s.text, QString("1.000,000 kHz"));
    EXPECT_EQ(s.sPos, 2);
    EXPECT_EQ(s.sLen, 1);
    // Selection below the last digit highlights the unit text.
    s = show(1000, UintFre, -3, 0, true, -4);
    EXPECT_EQ(s.sPos, QString("1.000,000 ").size());
    EXPECT_EQ(s.sLen, 3);
    // A negative value: the sign comes first, the digit after it.
    s = show(-1.5, UintVoltage, -3, 0, true, 0);
    EXPECT_EQ(s.text, QString("-1.500 V"));
    EXPECT_EQ(s.sPos, 1);
}

TEST(ValueText, TheSelectedDigitStaysInsideTheTenShown)
{
    // 1.234567891 MHz with the 1 µHz digit selected: the leading digits go.
    Shown s = show(1234567.891, UintFre, -6, 2, true, -6);
    // 13 digits in all; the ten ending at the selected one are shown.
    EXPECT_EQ(s.text, QString("4567891000 MHz"));
    EXPECT_EQ(s.sPos, 9);
    EXPECT_EQ(s.sLen, 1);
}

TEST(UnitTables, EveryTableEndsAndAmplitudeClassesShareOne)
{
    EXPECT_EQ(GetUintSize(UintFre), 5);
    EXPECT_EQ(GetUintSize(UintOhm), 4);
    EXPECT_EQ(GetUintSize(UintNum), 1);
    EXPECT_EQ(GetUintSize(UintUndefined), 0);
    EXPECT_EQ(GetUintStruct(UintAmpVpp), GetUintStruct(UintAmpVDbm));
    EXPECT_EQ(GetUint(1, VoltageAmpUint, UintAmpVrms), 2);
    EXPECT_EQ(GetUint(0.5, VoltageAmpUint, UintAmpVrms), 3);
    EXPECT_EQ(GetUint(0.5, VoltageAmpUint, UintAmpVDbm), 4);
    // A ratio never lands on a preset button.
    EXPECT_EQ(GetUint(0.5, RatioUint, UintRatio), 0);
    EXPECT_EQ(OhmUint[3].Default, 1000000);
}

} // namespace
