// ornav-sim scope: the oscilloscope on a channel of a running ornav72's
// simulated board. It reads the channel's register block and streamed tables
// from the program's simulated FPGA, rebuilds the output with the scope model
// of the simulated board and prints what a bench scope would measure.
#include "tools/ornav-sim/simcommands.h"
#include "simboard/scope_model.h"
#include "simboard/scope_measure.h"
#include "simboard/scope_png.h"
#include <QFile>
#include <QTextStream>
#include <cmath>
#include <memory>
#include <cstdio>

namespace {
int usageError(const QString& text)
{
    std::fprintf(stderr, "ornav-sim: %s\n", qPrintable(text));
    return 2;
}

bool parseDouble(const QString& t, double* v)
{
    bool ok = false;
    *v = t.toDouble(&ok);
    return ok && std::isfinite(*v);
}

int fetchStream(const QString& root, const QString& name, QVector<quint64>* out)
{
    QByteArray text;
    const int rc = simRequest(root, "stream " + name, &text);
    if (rc != 0)
        return rc;
    out->clear();
    for (const QByteArray& line : text.split('\n'))
        if (!line.trimmed().isEmpty())
            out->append(line.trimmed().toULongLong());
    return 0;
}
// One channel's output path from the running program's simulated FPGA.
int fetchState(const QString& root, int ch, ScopeChannelState* s)
{
    s->ch = ch;
    QByteArray regText;
    int rc = simRequest(root, QStringLiteral("peek %1 256").arg(ch * 0x100), &regText);
    if (rc != 0)
        return rc;
    s->regs = QByteArray::fromHex(regText.simplified().replace(' ', ""));
    const QString c = QString::number(ch + 1);
    if ((rc = fetchStream(root, "table:" + c + ":base", &s->baseTable)) != 0 ||
        (rc = fetchStream(root, "table:" + c + ":mod", &s->modTable)) != 0 ||
        (rc = fetchStream(root, "table:" + c + ":flat", &s->flatTable)) != 0 ||
        (rc = fetchStream(root, "list:" + c, &s->list)) != 0 ||
        (rc = fetchStream(root, "offset:" + c, &s->offsetDac)) != 0)
        return rc;
    if (ch < 2 && s->reg(0x01, 1) == 3)
        rc = fetchStream(root, "deep:" + c, &s->deep);
    return rc;
}
} // namespace

int simCmdScope(const QString& root, const QStringList& argsIn)
{
    QStringList args = argsIn;
    const char* usage = "usage: scope CH[,CH...] [--span SECONDS] [--points N] [--load OHMS] [--csv FILE] [--png FILE]";
    // One to four channels, as "1", "1,2,3,4" or "1 2 3 4"; the first is the
    // trigger source and sets the span.
    QVector<int> chans;
    while (!args.isEmpty() && !args.first().startsWith("--")) {
        for (QString c : args.takeFirst().split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            bool ok = false;
            const int ch = c.remove(QRegExp("^[Cc][Hh]")).toInt(&ok);
            if (!ok || ch < 1 || ch > 4 || chans.contains(ch))
                return usageError("scope: CH must be 1..4, each at most once");
            chans << ch;
        }
    }
    if (chans.isEmpty())
        return usageError(usage);
    int rc = 0;
    double span = -1, load = 1e6;
    int points = 100000;
    QString csv, png;
    while (!args.isEmpty()) {
        const QString opt = args.takeFirst();
        if (args.isEmpty())
            return usageError(usage);
        const QString val = args.takeFirst();
        double d = 0;
        bool ok = false;
        if (opt == "--span") {
            if (!parseDouble(val, &d) || d <= 0 || d > 1e4)
                return usageError("scope: --span must be a time in seconds, above 0 and at most 10000");
            span = d;
        } else if (opt == "--points") {
            points = val.toInt(&ok);
            if (!ok || points < 16 || points > 10000000)
                return usageError("scope: --points must be 16..10000000");
        } else if (opt == "--load") {
            if (!parseDouble(val, &d) || d <= 0)
                return usageError("scope: --load must be a resistance in ohms above 0 (1e6 and above: high impedance)");
            load = d;
        } else if (opt == "--csv") {
            csv = val;
        } else if (opt == "--png") {
            png = val;
        } else {
            return usageError(usage);
        }
    }

    QVector<std::shared_ptr<ScopeModel>> models;
    for (int ch : chans) {
        ScopeChannelState s;
        if ((rc = fetchState(root, ch - 1, &s)) != 0)
            return rc;
        if (s.mergeOn()) {
            ScopeChannelState partner;
            if ((rc = fetchState(root, ScopeChannelState::partnerOf(ch - 1), &partner)) != 0)
                return rc;
            s.partner << partner;
        }
        models << std::make_shared<ScopeModel>(s, load);
    }
    if (span <= 0) {
        // Three periods of the slowest thing on the first channel: the
        // modulation, sweep or burst period when there is one, else the carrier.
        const ScopeModel& m = *models.first();
        const double f = m.repeatHz() > 0 ? m.repeatHz() : m.carrierHz();
        span = f > 0 ? 3 / f : 1e-3;
    }
    const double dt = span / points;
    QVector<ScopeTrace> traces;
    for (int k = 0; k < chans.size(); ++k) {
        ScopeTrace t;
        t.ch = chans[k] - 1;
        t.v = models[k]->sample(span, points);
        t.m = scopeMeasure(t.v, dt);
        t.outputOn = models[k]->outputOn();
        traces << t;
    }

    QTextStream out(stdout);
    for (int k = 0; k < chans.size(); ++k) {
        out << QStringLiteral("CH%1  span %2  %3 points  load %4\n")
                   .arg(chans[k])
                   .arg(scopeEng(span, "s", 4))
                   .arg(points)
                   .arg(load >= 1e6 ? QStringLiteral("high-Z") : scopeEng(load, "Ohm", 4));
        if (!traces[k].outputOn)
            out << "Output off\n";
        for (const QString& l : traces[k].m.lines())
            out << l << '\n';
        for (const QString& l : models[k]->limits())
            out << "Note   " << l << '\n';
    }
    out.flush();

    if (!csv.isEmpty()) {
        QFile f(csv);
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
            std::fprintf(stderr, "ornav-sim: cannot write %s\n", qPrintable(csv));
            return 1;
        }
        QTextStream t(&f);
        // One channel: time_s,volts; several: time_s,ch1,ch3,...
        t << "time_s";
        for (int ch : chans)
            t << (chans.size() == 1 ? QStringLiteral(",volts") : QStringLiteral(",ch%1").arg(ch));
        t << '\n';
        t.setRealNumberPrecision(10);
        for (int i = 0; i < points; ++i) {
            t << i * dt;
            for (const ScopeTrace& tr : traces)
                t << ',' << tr.v[i];
            t << '\n';
        }
    }
    if (!png.isEmpty()) {
        QStringList names;
        for (int ch : chans)
            names << QStringLiteral("CH%1").arg(ch);
        const QImage img =
            scopeImage(traces, dt, names.join(" ") + QStringLiteral("   trigger CH%1 rising").arg(chans.first()));
        if (!img.save(png, "PNG")) {
            std::fprintf(stderr, "ornav-sim: cannot write %s\n", qPrintable(png));
            return 1;
        }
    }
    return 0;
}
