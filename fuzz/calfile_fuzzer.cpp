// Fuzz target: arbitrary bytes as a calibration text or a temperature factor
// text, as the calibration station or a damaged file may deliver them.
//
// The first byte picks what the rest is: a calibration text, a factor text
// (hot or cold) parsed over the calibration of a fixed text, or both in turn.
// After parsing, every table must be within its limits: at most the curve
// and point counts, points ascending with positive finite frequencies, DC
// gains inside their window, factors inside theirs, curves in amplitude
// order. Then the tables are
// written out and read back twice: from the second pass on the text must not
// change (the file format is a fixed point of save and load).
#include <QByteArray>
#include <QString>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include "hardware/ccalfile.h"
#include "hardware/cchcharacter.h"
#include "param/sys_param.h"

// The characteristics read the channel's load and waveform from the
// parameter record; the record itself is not part of this target.
CH_DATA& sys_param::ch(CH_ID)
{
    static CH_DATA d {};
    return d;
}

namespace {

const char kBaseCal[] =
    "[T:AC]\r\n[CH:0]\r\n[ATT:08]\r\n[V:0.100000]\r\n[1.000e+03:0.998000]\r\n[1.000e+07:0.990000]\r\n"
    "[CH:END]\r\n[T:END]\r\n";

struct Chars {
    CChCharacter c[4] = {CChCharacter(CH1), CChCharacter(CH2), CChCharacter(CH3), CChCharacter(CH4)};
};

void fail(const char* what)
{
    std::fprintf(stderr, "calibration tables broken: %s\n", what);
    std::abort();
}

void check(const Chars& t)
{
    for (const CChCharacter& c : t.c) {
        for (const AmpSWMap& m : c.AmpSWMaps) {
            if (!(m.DC_a > 0.6 && m.DC_a < 1.5) || !std::isfinite(m.DC_b))
                fail("DC correction outside its window");
            if (m.ACFreAmp.size() > size_t(CCalFile::kMaxCurves))
                fail("too many curves");
            for (size_t k = 1; k < m.ACFreAmp.size(); ++k)
                if (m.ACFreAmp[k].AdjAmp < m.ACFreAmp[k - 1].AdjAmp)
                    fail("curves not in amplitude order");
            for (const ACAmpFre& curve : m.ACFreAmp) {
                if (!std::isfinite(curve.AdjAmp))
                    fail("curve amplitude not finite");
                // Set1KFreqCalValue may add the 1 kHz anchor to a full curve.
                if (curve.Points.size() > size_t(CCalFile::kMaxCurvePoints) + 1)
                    fail("too many points");
                double last = 0;
                for (const ACFrePiont& p : curve.Points) {
                    if (!(p.fre > last) || !std::isfinite(p.fre) || !std::isfinite(p.amp))
                        fail("points not ascending or not finite");
                    if (p.tmpHfactor < -0.1 - 1e-12 || p.tmpHfactor > 0.2 + 1e-12 || p.tmpLfactor < -0.1 - 1e-12 ||
                        p.tmpLfactor > 0.2 + 1e-12)
                        fail("temperature factor outside its window");
                    last = p.fre;
                }
            }
        }
    }
}

QByteArray save(const Chars& t)
{
    QByteArray out;
    for (const CChCharacter& c : t.c)
        out += CCalFile::DCBlockText(c);
    for (const CChCharacter& c : t.c)
        out += CCalFile::ACBlockText(c);
    return out;
}

QByteArray reload(const QByteArray& text)
{
    std::unique_ptr<Chars> t(new Chars);
    CCalFile::analysisCalFlie(QString::fromLatin1(text), t->c);
    check(*t);
    return save(*t);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const int mode = data[0] & 3;
    const QString text = QString::fromLatin1(reinterpret_cast<const char*>(data + 1), int(size - 1));
    std::unique_ptr<Chars> t(new Chars);
    switch (mode) {
    case 0: CCalFile::analysisCalFlie(text, t->c); break;
    case 1:
    case 2:
        CCalFile::analysisCalFlie(QString::fromLatin1(kBaseCal), t->c);
        CCalFile::analysisTempFactorFlie(text, t->c, mode == 1);
        break;
    default:
        CCalFile::analysisCalFlie(text, t->c);
        CCalFile::analysisTempFactorFlie(text, t->c, true);
        CCalFile::analysisTempFactorFlie(text, t->c, false);
        break;
    }
    check(*t);
    const QByteArray once = reload(save(*t));
    const QByteArray twice = reload(once);
    if (once != twice)
        fail("saving and loading again changed the text");
    return 0;
}
