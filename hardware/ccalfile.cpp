#include "hardware/ccalfile.h"
#include <QByteArray>
#include <QFile>
#include <QtGlobal>
#include <algorithm>
#include <bitset>
#include <cmath>
#include "hardware/cchcharacter.h"

namespace {

const QString kTagSN = QStringLiteral("SN:");
const QString kTagT = QStringLiteral("T:");
const QString kTagCH = QStringLiteral("CH:");
const QString kTagATT = QStringLiteral("ATT:");
const QString kTagR = QStringLiteral("R:");
const QString kTagV = QStringLiteral("V:");
const QString kTagA = QStringLiteral("A:");
const QString kTagB = QStringLiteral("B:");

inline bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// The next complete field at or after pos: open = index of its "[", close =
// index of its "]". A "[" inside a field starts the field over, so a broken
// field never swallows the one after it.
bool nextField(const QString& text, int pos, int& open, int& close)
{
    const int n = text.size();
    int o = text.indexOf(QLatin1Char('['), pos);
    while (o >= 0) {
        int k = o + 1;
        while (k < n && text.at(k) != QLatin1Char(']') && text.at(k) != QLatin1Char('['))
            ++k;
        if (k >= n)
            return false;
        if (text.at(k) == QLatin1Char(']')) {
            open = o;
            close = k;
            return true;
        }
        o = k;
    }
    return false;
}

ACAmpFre* findCurve(CChCharacter& c, unsigned code, double v)
{
    AmpSWMap* m = c.GetATTtoAmpMap(static_cast<unsigned char>(code));
    if (!m)
        return nullptr;
    for (ACAmpFre& curve : m->ACFreAmp)
        if (std::fabs(curve.AdjAmp - v) <= 1e-9)
            return &curve;
    return nullptr;
}

// One pass over the fields of a calibration or temperature factor text.
class Reader {
public:
    Reader(const QString& text, CChCharacter* characters, bool isFactors, bool isHigh)
        : t(text)
        , chars(characters)
        , factors(isFactors)
        , high(isHigh)
    {
    }

    void run()
    {
        int pos = 0;
        int open = 0, close = 0;
        while (nextField(t, pos, open, close)) {
            pos = open;
            const QStringRef body = t.midRef(open + 1, close - open - 1);
            if (!field(pos, body))
                break;
            if (pos <= open)
                pos = close + 1; // a malformed field is skipped
        }
        endSection();
    }

private:
    enum Block { NONE, DC, AC, SKIP };

    // False ends the whole text.
    bool field(int& pos, const QStringRef& body)
    {
        if (body.startsWith(kTagT)) {
            QString type;
            CCalFile::GetDataRang(t, pos, type);
            type = type.trimmed();
            endSection();
            if (type.isEmpty()) {
                qDebug("[%s] Rang is empty", "analysisCalFlie");
                return false;
            }
            if (type == QLatin1String("DC"))
                block = factors ? SKIP : DC; // factor files carry no DC data
            else if (type == QLatin1String("AC"))
                block = AC;
            else if (type == QLatin1String("END"))
                block = NONE;
            else
                block = SKIP; // an unknown block is passed over to its end
            return true;
        }
        if (block == NONE || block == SKIP)
            return true;
        if (body.startsWith(kTagCH)) {
            int n = -1;
            const bool ok = CCalFile::GetDataCH(t, pos, n);
            endSection();
            if (ok && n > 3) {
                qWarning("[%s] ch out of range", "analysisCalFlie");
                block = SKIP;
            } else if (ok) {
                ch = n; // -1 after [CH:END]
            }
            return true;
        }
        if (ch < 0)
            return true;
        if (body.startsWith(kTagATT) || body.startsWith(kTagR)) {
            unsigned c = 0;
            const bool ok = body.startsWith(kTagATT) ? CCalFile::GetDataATT(t, pos, c) : CCalFile::GetDataR(t, pos, c);
            code = ok && chars[ch].GetATTtoAmpMap(static_cast<unsigned char>(c)) ? int(c) : -1;
            haveA = haveB = false;
            curve = nullptr;
            return true;
        }
        if (code < 0)
            return true;
        if (block == DC)
            dcField(pos, body);
        else
            acField(pos, body);
        return true;
    }

    void dcField(int& pos, const QStringRef& body)
    {
        if (body.startsWith(kTagA))
            haveA = CCalFile::GetDataA(t, pos, a);
        else if (body.startsWith(kTagB))
            haveB = CCalFile::GetDataB(t, pos, b);
        if (haveA && haveB) {
            chars[ch].SetDCCalValue(static_cast<unsigned char>(code), a, b);
            haveA = haveB = false;
        }
    }

    void acField(int& pos, const QStringRef& body)
    {
        if (body.startsWith(kTagV)) {
            double v = 0;
            curve = nullptr;
            if (!CCalFile::GetDataV(t, pos, v))
                return;
            CChCharacter& c = chars[ch];
            curve = findCurve(c, unsigned(code), v);
            if (!curve && !factors) {
                if (c.GetATTtoAmpMap(static_cast<unsigned char>(code))->ACFreAmp.size() < size_t(CCalFile::kMaxCurves))
                    curve = c.GetATTtoAmpForMap(static_cast<unsigned char>(code), v);
                else
                    qWarning("[%s] too many curves for code %d", "analysisCalFlie", code);
            }
            if (curve)
                touched.set(size_t(code)); // a new curve must find its place too
            ascending = curve &&
                std::adjacent_find(curve->Points.begin(), curve->Points.end(),
                                   [](const ACFrePiont& x, const ACFrePiont& y) { return !(x.fre < y.fre); }) ==
                    curve->Points.end();
            return;
        }
        if (body.startsWith(kTagA) || body.startsWith(kTagB) || body.startsWith(kTagSN))
            return;
        double f = 0, g = 0;
        if (!CCalFile::GetDataAC(t, pos, f, g) || !curve)
            return;
        touched.set(size_t(code));
        if (factors) {
            CChCharacter::SetAddACTempValue(&curve->Points, f, g, high);
        } else if (curve->Points.size() < size_t(CCalFile::kMaxCurvePoints)) {
            addPoint(f, g);
        } else if (!warnedPoints) {
            qWarning("[%s] more than %d points in one curve", "analysisCalFlie", CCalFile::kMaxCurvePoints);
            warnedPoints = true;
        }
    }

    // SetAddACCalValue merges a point into any point within 0.01 % and
    // appends it otherwise. Files list a curve's points in ascending order;
    // while the curve is ascending, a point more than 0.01 % above its last
    // point can match none and is appended at once. This keeps a curve of
    // thousands of points linear to read.
    void addPoint(double f, double g)
    {
        std::vector<ACFrePiont>& pts = curve->Points;
        const double rf = CChCharacter::RoundCalFreq(f);
        if (ascending && !pts.empty() && rf > 0.0 && std::isfinite(rf) && std::isfinite(g) &&
            rf - pts.back().fre > rf * 1e-4) {
            pts.push_back(ACFrePiont {rf, g, 0.0, 0.0});
            return;
        }
        const size_t before = pts.size();
        CChCharacter::SetAddACCalValue(&pts, f, g);
        if (pts.size() > before && pts.size() > 1)
            ascending = ascending && pts[pts.size() - 2].fre < pts.back().fre;
    }

    // A channel section ends: its curves are put in order and, in a
    // calibration text, anchored at 1 kHz.
    void endSection()
    {
        if (ch >= 0 && ch <= 3 && block != NONE && block != SKIP) {
            CChCharacter& c = chars[ch];
            for (size_t k = 0; k < touched.size(); ++k) {
                if (!touched.test(k))
                    continue;
                if (!factors)
                    c.SortACCalValue(static_cast<unsigned char>(k));
                else if (high)
                    c.SortACHTempValue(static_cast<unsigned char>(k));
                else
                    c.SortACLTempValue(static_cast<unsigned char>(k));
            }
            if (!factors)
                c.Set1KFreqCalValue();
        }
        touched.reset();
        ch = -1;
        code = -1;
        curve = nullptr;
        haveA = haveB = false;
    }

    const QString& t;
    CChCharacter* chars;
    const bool factors;
    const bool high;
    Block block = NONE;
    int ch = -1;
    int code = -1;
    ACAmpFre* curve = nullptr; // valid until the next curve of the range is added
    double a = 0, b = 0;
    bool haveA = false, haveB = false;
    bool warnedPoints = false;
    bool ascending = false; // the current curve's points strictly ascend
    std::bitset<256> touched;
};

QByteArray num(double v, char format, int precision)
{
    // The C library's "%f" / "%.3e" in the C locale, whatever the process locale.
    return QByteArray::number(v, format, precision);
}

QByteArray code2(unsigned char c) { return QByteArray::number(c).rightJustified(2, '0'); }

bool writeAll(QFile& file, const QByteArray& bytes) { return file.write(bytes) == bytes.size(); }

} // namespace

bool CCalFile::ToNumber(const QString& s, double& v)
{
    bool ok = false;
    const double x = s.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(x))
        return false;
    v = x;
    return true;
}

bool CCalFile::ToCode(const QString& s, unsigned& code)
{
    const QString d = s.trimmed();
    if (d.isEmpty())
        return false;
    for (QChar c : d)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    bool ok = false;
    const unsigned x = d.toUInt(&ok, 10);
    if (!ok || x > 255)
        return false;
    code = x;
    return true;
}

QString CCalFile::ParseField(const QString& text, const QString& begin, const QString& end, int from, int& next)
{
    if (from < 0 || from > text.size())
        return QString();
    const int b = text.indexOf(begin, from);
    if (b < 0)
        return QString();
    const int start = b + begin.size();
    const int e = text.indexOf(end, start);
    if (e < 0)
        return QString();
    next = e + end.size();
    QString v = text.mid(start, e - start);
    if (v.isNull())
        v = QStringLiteral("");
    return v;
}

bool CCalFile::ParseFieldValue(const QString& text, int& pos, const QString& tag, QString& value)
{
    int p = pos < 0 ? 0 : pos;
    const int n = text.size();
    while (p < n && isBlank(text.at(p)))
        ++p;
    if (p >= n || text.at(p) != QLatin1Char('['))
        return false;
    int open = 0, close = 0;
    if (!nextField(text, p, open, close) || open != p)
        return false;
    const QStringRef body = text.midRef(open + 1, close - open - 1);
    if (!body.startsWith(tag))
        return false;
    value = body.mid(tag.size()).toString();
    pos = close + 1;
    return true;
}

bool CCalFile::GetSN(const QString& text, int& pos, QString& sn) { return ParseFieldValue(text, pos, kTagSN, sn); }

bool CCalFile::GetDataRang(const QString& text, int& pos, QString& type)
{
    return ParseFieldValue(text, pos, kTagT, type);
}

bool CCalFile::GetDataCH(const QString& text, int& pos, int& ch)
{
    QString v;
    if (!ParseFieldValue(text, pos, kTagCH, v))
        return false;
    if (v.trimmed() == QLatin1String("END")) {
        ch = -1;
        return true;
    }
    unsigned c = 0;
    if (!ToCode(v, c))
        return false;
    ch = int(c);
    return true;
}

bool CCalFile::GetDataATT(const QString& text, int& pos, unsigned& code)
{
    QString v;
    return ParseFieldValue(text, pos, kTagATT, v) && ToCode(v, code);
}

bool CCalFile::GetDataR(const QString& text, int& pos, unsigned& code)
{
    QString v;
    return ParseFieldValue(text, pos, kTagR, v) && ToCode(v, code);
}

bool CCalFile::GetDataV(const QString& text, int& pos, double& v)
{
    QString s;
    return ParseFieldValue(text, pos, kTagV, s) && ToNumber(s, v);
}

bool CCalFile::GetDataA(const QString& text, int& pos, double& a)
{
    QString s;
    return ParseFieldValue(text, pos, kTagA, s) && ToNumber(s, a);
}

bool CCalFile::GetDataB(const QString& text, int& pos, double& b)
{
    QString s;
    return ParseFieldValue(text, pos, kTagB, s) && ToNumber(s, b);
}

bool CCalFile::GetDataAC(const QString& text, int& pos, double& f, double& a)
{
    QString s;
    if (!ParseFieldValue(text, pos, QString(), s))
        return false;
    const int colon = s.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return false;
    double x = 0, y = 0;
    if (!ToNumber(s.left(colon), x) || !ToNumber(s.mid(colon + 1), y))
        return false;
    f = x;
    a = y;
    return true;
}

void CCalFile::analysisCalFlie(const QString& text, CChCharacter* characteristics)
{
    if (!characteristics)
        return;
    Reader(text, characteristics, false, false).run();
}

void CCalFile::analysisTempFactorFlie(const QString& text, CChCharacter* characteristics, bool high)
{
    if (!characteristics)
        return;
    Reader(text, characteristics, true, high).run();
}

QByteArray CCalFile::DCBlockText(const CChCharacter& c)
{
    QByteArray out = "[T:DC]\r\n[CH:" + QByteArray::number(int(c.chId)) + "]\r\n";
    for (const AmpSWMap& m : c.AmpSWMaps)
        out += "[ATT:" + code2(m.ATT) + "][A:" + num(m.DC_a, 'f', 6) + "][B:" + num(m.DC_b, 'f', 6) + "]\r\n";
    out += "[CH:END]\r\n[T:END]\r\n\r\n";
    return out;
}

QByteArray CCalFile::ACBlockText(const CChCharacter& c)
{
    QByteArray out = "[T:AC]\r\n[CH:" + QByteArray::number(int(c.chId)) + "]\r\n";
    for (const AmpSWMap& m : c.AmpSWMaps) {
        for (const ACAmpFre& curve : m.ACFreAmp) {
            out += "[ATT:" + code2(m.ATT) + "]\r\n[V:" + num(curve.AdjAmp, 'f', 6) + "]\r\n";
            for (const ACFrePiont& p : curve.Points)
                out += "[" + num(p.fre, 'e', 3) + ":" + num(p.amp, 'f', 6) + "]\r\n";
        }
    }
    out += "[CH:END]\r\n[T:END]\r\n\r\n";
    return out;
}

bool CCalFile::SaveDCToFlie(QFile& file, const CChCharacter& c) { return writeAll(file, DCBlockText(c)); }

bool CCalFile::SaveACToFlie(QFile& file, const CChCharacter& c) { return writeAll(file, ACBlockText(c)); }
