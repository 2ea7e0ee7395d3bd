#pragma once
// Text form of the calibration data: the calibration file "Local.cal" (and
// the same text received from the calibration station by file transfer) and
// the temperature factor files "Htemp.fac" / "Ltemp.fac".
//
// The text is a sequence of bracketed fields:
//   [SN:...]                                   serial number (not used when reading)
//   [T:DC] [CH:n] [ATT:cc][A:a][B:b] ... [CH:END] [T:END]
//   [T:AC] [CH:n] [ATT:cc] [V:v] [f:gain] ... [CH:END] [T:END]
// "[R:cc]" is accepted in place of "[ATT:cc]". Blocks come in any order.
// The text comes from outside (a file, or a remote station), so every field
// is checked: a malformed field is skipped, a channel above 3 ends its block,
// a switch code without a range is ignored, and a range takes at most
// kMaxCurves curves of at most kMaxCurvePoints points each.
#include <QString>

class QFile;
class CChCharacter;

class CCalFile {
public:
    // A curve with more points than the flatness table has words describes
    // nothing more; a range is measured at a handful of amplitudes.
    static const int kMaxCurvePoints = 4096;
    static const int kMaxCurves = 32;

    // Parses a calibration text into characteristics[0..3] (one per channel).
    static void analysisCalFlie(const QString& text, CChCharacter* characteristics);
    // Parses a temperature factor text: each point sets the hot (high) or the
    // cold factor of the calibration point already loaded at that frequency.
    static void analysisTempFactorFlie(const QString& text, CChCharacter* characteristics, bool high);

    // One channel's DC / AC block in the file format. False when the file
    // did not take every byte.
    static bool SaveDCToFlie(QFile& file, const CChCharacter& c);
    static bool SaveACToFlie(QFile& file, const CChCharacter& c);
    // The same blocks as bytes.
    static QByteArray DCBlockText(const CChCharacter& c);
    static QByteArray ACBlockText(const CChCharacter& c);

    // ---- field readers --------------------------------------------------------
    // The text between the first `begin` at or after `from` and the following
    // `end`; next = the position after `end`. A null string (next unchanged)
    // when either is missing.
    static QString ParseField(const QString& text, const QString& begin, const QString& end, int from, int& next);
    // The bracketed field at pos (blanks and line ends before it skipped)
    // when it starts with tag ("ATT:", "V:", ... ; an empty tag takes any
    // field): its value after the tag, and pos moves past the "]". False,
    // pos unchanged, when the field at pos is another one or has no "]".
    static bool ParseFieldValue(const QString& text, int& pos, const QString& tag, QString& value);
    // Each reads one field at pos and moves pos past it when the tag is right;
    // false when the tag is another one or the value does not parse.
    static bool GetSN(const QString& text, int& pos, QString& sn);         // [SN:text]
    static bool GetDataRang(const QString& text, int& pos, QString& type); // [T:DC|AC|END]
    // [CH:n] gives n, [CH:END] gives -1.
    static bool GetDataCH(const QString& text, int& pos, int& ch);
    static bool GetDataATT(const QString& text, int& pos, unsigned& code);      // [ATT:cc]
    static bool GetDataR(const QString& text, int& pos, unsigned& code);        // [R:cc]
    static bool GetDataV(const QString& text, int& pos, double& v);             // [V:v]
    static bool GetDataA(const QString& text, int& pos, double& a);             // [A:a]
    static bool GetDataB(const QString& text, int& pos, double& b);             // [B:b]
    static bool GetDataAC(const QString& text, int& pos, double& f, double& a); // [f:a]

    // Numbers of the file: a finite double; a switch code 0..255 in base 10.
    static bool ToNumber(const QString& s, double& v);
    static bool ToCode(const QString& s, unsigned& code);
};
