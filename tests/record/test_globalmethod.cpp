#include <gtest/gtest.h>
#include <QString>
#include <cstring>
#include "Method/GlobalMethod.h"

TEST(GlobalMethod, SymmetricRangesScaleByTheMaxima)
{
    const short src[5] = {-100, -50, 0, 50, 100};
    short dst[5];
    GlobalMethod::SNormalize<short>(dst, src, 5, -8191, 8191, -100, 100);
    const short expect[5] = {-8191, short(-50 * 8191 / 100), 0, short(50 * 8191 / 100), 8191};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(dst[i], expect[i]);
}

TEST(GlobalMethod, OffsetRangesMapThroughTheMidpoints)
{
    const float src[3] = {0.0f, 5.0f, 10.0f};
    float dst[3];
    GlobalMethod::SNormalize<float>(dst, src, 3, -1.0f, 1.0f, 0.0f, 10.0f);
    EXPECT_FLOAT_EQ(dst[0], -1.0f);
    EXPECT_FLOAT_EQ(dst[1], 0.0f);
    EXPECT_FLOAT_EQ(dst[2], 1.0f);
    short s[3] = {0, 1000, 2000};
    GlobalMethod::NormalizeMultiple<short>(s, 3, 0, 100, 0, 2000);
    EXPECT_EQ(s[1], 50);
    // A flat source gives the midpoint of the new range.
    short flat[2] = {7, 7};
    GlobalMethod::NormalizeMultiple<short>(flat, 2, 10, 20, 7, 7);
    EXPECT_EQ(flat[0], 15);
}

TEST(GlobalMethod, NormalizeUsesTheArraysOwnExtremes)
{
    double d[4] = {2, 4, 6, 10};
    GlobalMethod::Normalize(d, 4, -1, 1);
    EXPECT_DOUBLE_EQ(d[0], -1);
    EXPECT_DOUBLE_EQ(d[1], -0.5);
    EXPECT_DOUBLE_EQ(d[3], 1);
}

TEST(GlobalMethod, SampleLineInterpolates)
{
    const short src[3] = {0, 100, 300};
    short dst[5];
    GlobalMethod::SampleLine(dst, 5, src, 3);
    const short expect[5] = {0, 50, 100, 200, 300};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(dst[i], expect[i]);
}

TEST(GlobalMethod, SampleMultipleStopsAtTheSourceEnd)
{
    short src[8];
    for (int i = 0; i < 8; ++i)
        src[i] = short(10 * i);
    short dst[16];
    std::memset(dst, 0x7f, sizeof dst);
    GlobalMethod::SampleMultiple<short>(dst, 0, 16, src, 0, 4, 8, 8);
    // j = i * 7 / 15; the copy stops at the first j >= 4 (i = 9).
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(dst[i], src[i * 7 / 15]) << i;
    EXPECT_EQ(dst[9], short(0x7f7f));
}

TEST(GlobalMethod, GcdAndStringCopies)
{
    EXPECT_EQ(GlobalMethod::gcd(12, 18), 6);
    EXPECT_EQ(GlobalMethod::gcd(0, 18), 1);
    EXPECT_EQ(GlobalMethod::gcd(17, 5), 1);
    char buf[8];
    std::memset(buf, 'x', sizeof buf);
    EXPECT_EQ(GlobalMethod::QstrCpyToStr(buf, 4, QString("abcdef")), 4);
    EXPECT_EQ(std::string(buf, 5), std::string("abcdx")); // no terminator when cut
    EXPECT_EQ(GlobalMethod::QstrCpyToStr(buf, 8, QString("ab")), 2);
    EXPECT_STREQ(buf, "ab");
    GlobalMethod::QstrCpyToStr(buf, QString::fromUtf8("\xc3\xa9z"));
    EXPECT_EQ(static_cast<unsigned char>(buf[0]), 0xe9);
    EXPECT_EQ(buf[1], 'z');
    EXPECT_EQ(buf[2], '\0');
}
