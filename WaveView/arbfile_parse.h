#pragma once
// Text parsing of arbitrary-wave and frequency-list files, on bytes already
// read into memory. Kept free of Qt and of file access so that the file
// loaders (arbwavedata) and the fuzz target share exactly the same code.
//
// Arbitrary-wave header: a first line containing "[HEAD]:", then at most 10
// lines of "KEY: value" in any order, ended by "[DATA]:" and the point count.
// Frequency list: "[HEAD]:..." then "[FREQ-POINTS]:n", then one frequency a line.
#include <cstddef>

// Header of an arbitrary-wave file.
struct ArbParam {
    double Fre;    // repetition frequency of the whole wave, Hz
    double Vpp;    // peak-to-peak amplitude, V
    double Offset; // not taken from the file
    double Low;    // not taken from the file
    double High;   // high level, V
    double Max;    // largest value of the data scale (524288 when not given)
    double Min;    // smallest value of the data scale (524288 when not given)
    bool ZIP;
    bool AvalidLimit;  // more than 2^26 points: scaled with Max/Min, no scan
    double SampleRate; // Sa/s; when positive it defines Fre
    int TotalPointNum; // points; after a data load, the points actually loaded
};

struct FreqListParam {
    int TotalPointNum;
};

namespace arbparse {

// Longest header line; longer text is taken in pieces of this length, each
// counting as one line (the way a 121-byte line buffer reads it).
const size_t kHeadLineMax = 120;
// Lines after the first that may come before "[DATA]:".
const int kHeadKeyLines = 10;
// Bytes that hold the longest possible header.
const size_t kHeadScanBytes = (kHeadLineMax + 1) * (kHeadKeyLines + 1);
// Fewest points a wave may have.
const int kMinPoints = 9;
// Most points a header may announce (a wave memory holds 2^26; larger files
// are resampled, but no count beyond this is believed).
const int kMaxPoints = 1 << 30;
// More points than this: the data is scaled by the header's Max/Min.
const int kScanLimitPoints = 0x4000000;
// Longest list, in points.
const int kMaxListPoints = 2048;
// Longest data line of a csv or list file that is looked at.
const size_t kDataLineMax = 127;

enum HeadResult {
    HeadOk = 0,
    HeadNoHeadLine, // first line lacks "[HEAD]:"
    HeadNoDataLine, // no "[DATA]:" within the lines allowed
    HeadBadCount,   // fewer than kMinPoints or more than kMaxPoints
};

// Parses an arbitrary-wave header from buf[0..len). On HeadOk, p is filled
// and *dataOffset is the offset of the first data byte. *count receives the
// announced point count when a "[DATA]:" line was found.
HeadResult parseArbHead(const char* buf, size_t len, ArbParam& p, size_t* dataOffset, long long* count);

enum ListHeadResult {
    ListHeadOk = 0,
    ListHeadNoHeadLine,
    ListHeadBadCount, // no "[FREQ-POINTS]:" or a count outside 1..2048
};
ListHeadResult parseListHead(const char* buf, size_t len, FreqListParam& p, size_t* dataOffset, long long* count);

// csv samples: one number at the start of each line. Lines with no number
// (or one that is not finite) are skipped. Returns the values stored (at most max).
size_t parseCsvValues(const char* buf, size_t len, double* out, size_t max);

// List frequencies, one a line. Stops at the first line that is no finite
// number: *badLine (when given) then receives its offset, else len.
// Returns the values stored (at most max).
size_t parseListValues(const char* buf, size_t len, double* out, size_t max, size_t* badLine);

} // namespace arbparse
