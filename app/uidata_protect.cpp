// The factory output-protection test. The fixture loads every output with a
// short; each channel is driven in turn at its largest swing (testOne) and at
// its largest DC level (testOneDC) and must be switched off by the overload
// protection: the FPGA latches both overload bits of the channel and the
// system tick, run every 10 ms for the test, turns the output off.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <atomic>
#include <memory>
#include "app/channalmodel.h"
#include "app/channel.h"
#include "app/ornav72.h"
#include "app/uidata.h"
#include "param/global.h"
#include "param/sys_param.h"

namespace {
// How long an overloaded output may stay on before the check fails.
const int kProtectWaitMs = 400;
const int kTickMs = 10;
const int kNormalTickMs = 500;

struct Limits {
    double min = 0, max = 0;
};

Limits limitsOf(channelModel* m)
{
    Limits l;
    if (m && m->m_param) {
        l.min = m->m_param->Min;
        l.max = m->m_param->Max;
    }
    return l;
}
} // namespace

bool Uidata::protectCheck(int ch, double ampl, double offset)
{
    if (!controller || ch < CH1 || ch > CH4)
        return false;
    channelModel* amp = controller->channelAt(ch) ? controller->channelAt(ch)->entry(PARAM_INDEX_AMP) : nullptr;
    channelModel* off = controller->channelAt(ch) ? controller->channelAt(ch)->entry(PARAM_INDEX_OFFSET) : nullptr;
    if (!amp || !off)
        return false;
    // In the units the entries use now (as the values below are).
    const double oldAmpl = amp->value();
    const double oldOffset = off->value();
    const bool oldOn = sys_param::GetChOnOff(CH_ID(ch)) != 0;
    // The protection's own report (the tick switched this output off) is
    // the result; it may come from any thread.
    auto protectedOff = std::make_shared<std::atomic<bool>>(false);
    const QString header = QStringLiteral("CH%1:").arg(ch + 1);
    const QMetaObject::Connection c = connect(
        controller, &Ornav72::TipsMessage, this,
        [protectedOff, header](int type, int index, bool, QString head, bool) {
            if (type == MESSAGE_TYPE_ERROR && index == ERROR_CH_PROTECT && head == header)
                *protectedOff = true;
        },
        Qt::DirectConnection);
    // The settings travel the controller's road (its thread applies them).
    emit controller->setValueCmd(ch, PARAM_INDEX_OFFSET, offset);
    emit controller->setValueCmd(ch, PARAM_INDEX_AMP, ampl);
    emit controller->setValueCmd(ch, PARAM_INDEX_CHSWITCH, 1);
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < kProtectWaitMs && !*protectedOff) {
        // The controller may share this thread (a test rig): let it work.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        QThread::msleep(2);
    }
    disconnect(c);
    emit controller->setValueCmd(ch, PARAM_INDEX_CHSWITCH, 0);
    emit controller->setValueCmd(ch, PARAM_INDEX_AMP, oldAmpl);
    emit controller->setValueCmd(ch, PARAM_INDEX_OFFSET, oldOffset);
    if (oldOn)
        emit controller->setValueCmd(ch, PARAM_INDEX_CHSWITCH, 1);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return protectedOff->load();
}

bool Uidata::testOne(int ch)
{
    if (!controller || ch < CH1 || ch > CH4 || !controller->channelAt(ch))
        return false;
    const Limits a = limitsOf(controller->channelAt(ch)->entry(PARAM_INDEX_AMP));
    return protectCheck(ch, a.max, 0);
}

bool Uidata::testOneDC(int ch)
{
    if (!controller || ch < CH1 || ch > CH4 || !controller->channelAt(ch))
        return false;
    const Limits a = limitsOf(controller->channelAt(ch)->entry(PARAM_INDEX_AMP));
    const Limits o = limitsOf(controller->channelAt(ch)->entry(PARAM_INDEX_OFFSET));
    return protectCheck(ch, a.min, o.max);
}

QString Uidata::protectTest()
{
    if (!controller)
        return QString();
    emit controller->cmdSetTimer(kTickMs);
    QStringList lines;
    bool all = true;
    for (int ch = CH1; ch <= CH4; ++ch) {
        const bool ac = testOne(ch);
        const bool dc = testOneDC(ch);
        all = all && ac && dc;
        lines << QStringLiteral("CH%1 AC:%2 DC:%3").arg(ch + 1).arg(ac ? "ok" : "FAIL").arg(dc ? "ok" : "FAIL");
    }
    emit controller->cmdSetTimer(kNormalTickMs);
    lines << (all ? QStringLiteral("all is ok") : QStringLiteral("protection failed"));
    qInfo("protection test: %s", qPrintable(lines.join("; ")));
    return lines.join('\n');
}
