// The named stream targets of the simulated FPGA and the text requests that
// ornav-sim sends to a running program.
#include "simboard/simfpga.h"
#include "hardware/fpga_regs.h"

namespace {
// Channel numbers as on the front panel: "1".."4" or "CH1".."CH4".
bool parseChannel(QString t, int last, int* ch)
{
    if (t.startsWith("ch", Qt::CaseInsensitive))
        t = t.mid(2);
    quint64 n = 0;
    if (!SimFpga::parseNumber(t, quint64(last), &n) || n < 1)
        return false;
    *ch = int(n) - 1;
    return true;
}

QString hexBytes(const QByteArray& b)
{
    QString s;
    for (int i = 0; i < b.size(); ++i) {
        if (i)
            s += ' ';
        s += QStringLiteral("%1").arg(uint8_t(b.at(i)), 2, 16, QLatin1Char('0'));
    }
    return s;
}
} // namespace

bool SimFpga::stream(const QString& name, QVector<quint64>* out, QString* error) const
{
    const QStringList p = name.split(':');
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    out->clear();
    const QString kind = p.value(0).toLower();
    int ch = 0;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (kind == "table") {
        if (p.size() != 3 || !parseChannel(p[1], 4, &ch))
            return fail(QStringLiteral("stream '%1': expected table:CH:KIND with CH 1..4").arg(name));
        const QString k = p[2].toLower();
        int target = -1;
        if (k == "0" || k == "base")
            target = ch * 4 + TABLE_KIND_BASE;
        else if (k == "1" || k == "mod")
            target = ch * 4 + TABLE_KIND_MOD;
        else if (k == "2" || k == "flat")
            target = ch * 4 + TABLE_KIND_FLATNESS;
        else if (k == "noise")
            target = int(TABLE_SELECT_NOISE_FILTER) + ch;
        else
            return fail(QStringLiteral("stream '%1': KIND is base, mod, flat, noise, 0, 1 or 2").arg(name));
        for (quint16 w : m_tables.value(target))
            out->append(w);
        return true;
    }
    if (kind == "list") {
        if (p.size() != 2 || !parseChannel(p[1], 4, &ch))
            return fail(QStringLiteral("stream '%1': expected list:CH with CH 1..4").arg(name));
        *out = m_lists[ch];
        return true;
    }
    if (kind == "deep") {
        if (p.size() != 2 || !parseChannel(p[1], 2, &ch))
            return fail(QStringLiteral("stream '%1': expected deep:CH with CH 1..2").arg(name));
        const QByteArray& b = m_deep[ch];
        out->reserve(b.size() / 2);
        for (int i = 0; i + 1 < b.size(); i += 2)
            out->append(quint64(uint8_t(b[i]) | (uint8_t(b[i + 1]) << 8)));
        return true;
    }
    if (kind == "offset") {
        if (p.size() != 2 || !parseChannel(p[1], 4, &ch))
            return fail(QStringLiteral("stream '%1': expected offset:CH with CH 1..4").arg(name));
        if (m_offsetDac[ch][0] >= 0 && m_offsetDac[ch][1] >= 0)
            *out = {quint64(m_offsetDac[ch][0]), quint64(m_offsetDac[ch][1])};
        return true;
    }
    if (kind == "digital") {
        const bool flags = p.size() == 2 && p[1].toLower() == "flag";
        if (p.size() > 2 || (p.size() == 2 && !flags))
            return fail(QStringLiteral("stream '%1': expected digital or digital:flag").arg(name));
        for (char c : flags ? m_digFlag : m_digData)
            out->append(uint8_t(c));
        return true;
    }
    return fail(
        QStringLiteral("unknown stream '%1' (table:CH:KIND, list:CH, deep:CH, offset:CH, digital, digital:flag)")
            .arg(name));
}

QByteArray SimFpga::handleRequest(const QByteArray& line)
{
    const QStringList a = QString::fromUtf8(line).simplified().split(' ', Qt::SkipEmptyParts);
    auto error = [](const QString& why) { return QByteArray("error ") + why.toUtf8() + '\n'; };
    if (a.isEmpty())
        return error("empty request");
    const QString cmd = a.first();
    quint64 addr = 0;
    if (cmd == "peek") {
        quint64 count = 1;
        if (a.size() < 2 || a.size() > 3 || !parseNumber(a[1], kSpaceSize - 1, &addr))
            return error("peek ADDR [COUNT]: ADDR 0..0xffff");
        if (a.size() == 3 &&
            (!parseNumber(a[2], kSpaceSize, &count) || count < 1 || addr + count > quint64(kSpaceSize)))
            return error("peek: COUNT must be 1.. and stay within 0..0xffff");
        return "ok\n" + hexBytes(peek(unsigned(addr), int(count))).toUtf8() + '\n';
    }
    if (cmd == "poke") {
        if (a.size() < 3 || !parseNumber(a[1], kSpaceSize - 1, &addr))
            return error("poke ADDR BYTE...: ADDR 0..0xffff");
        QByteArray bytes;
        for (int i = 2; i < a.size(); ++i) {
            quint64 b = 0;
            if (!parseNumber(a[i], 255, &b))
                return error(QStringLiteral("poke: '%1' is not a byte 0..255").arg(a[i]));
            bytes.append(char(b));
        }
        if (!poke(unsigned(addr), bytes))
            return error("poke: the bytes run past 0xffff");
        return "ok\n";
    }
    if (cmd == "key") {
        quint64 code = 0;
        if (a.size() != 2 || !parseNumber(a[1], 255, &code))
            return error("key CODE: CODE 0..255");
        queueKey(uint8_t(code));
        return "ok\n";
    }
    if (cmd == "stream") {
        if (a.size() != 2)
            return error("stream NAME");
        QVector<quint64> v;
        QString why;
        if (!stream(a[1], &v, &why))
            return error(why);
        QByteArray out = "ok\n";
        out.reserve(out.size() + v.size() * 6);
        for (quint64 x : v)
            out += QByteArray::number(x) + '\n';
        return out;
    }
    if (cmd == "log") {
        const bool clear = a.size() == 2 && a[1] == "--clear";
        if (a.size() > 2 || (a.size() == 2 && !clear))
            return error("log [--clear]");
        QByteArray out = "ok\n";
        {
            // Read and clear in one step so no write falls between them.
            std::lock_guard<std::mutex> lock(m_mutex);
            for (const WriteRecord& w : m_writes)
                out += formatWrite(w).toUtf8() + '\n';
            if (m_dropped > 0)
                out += QByteArray("# ") + QByteArray::number(m_dropped) + " later writes not kept\n";
            if (clear) {
                m_writes.clear();
                m_dropped = 0;
            }
        }
        return out;
    }
    if (cmd == "digital-trace") {
        QByteArray vcd;
        QString why;
        if (a.size() != 1)
            return error("digital-trace");
        if (!digitalTrace(&vcd, &why))
            return error(why);
        return "ok\n" + vcd;
    }
    if (cmd == "counter") {
        bool okF = false, okD = true;
        const double f = a.size() >= 2 ? a[1].toDouble(&okF) : 0;
        const double d = a.size() >= 3 ? a[2].toDouble(&okD) : 50;
        if (a.size() < 2 || a.size() > 3 || !okF || !okD || !setCounterInput(f, d))
            return error("counter FREQ [DUTY]: FREQ >= 0 Hz, DUTY 0..100 %");
        return "ok\n";
    }
    return error(QStringLiteral("unknown request '%1'").arg(cmd));
}
