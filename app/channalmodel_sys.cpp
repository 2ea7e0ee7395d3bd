#include "app/channalmodel_sys.h"
#include <QDebug>
#include <QStringList>
#include <cmath>
#include <cstring>
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/sys_error.h"
#include "app/channalmodel_rules.h"

using namespace entryrules;

// ---- coupleParamModel -----------------------------------------------------------------

bool coupleParamModel::UpdateRange()
{
    const CH_ID a = ch == COUPLE12 ? CH1 : CH3;
    const CH_ID b = partner(a);
    double lo = 0, hiA = 0, hiB = 0;
    bandwidth(a, BASE_Sine, lo, hiA);
    bandwidth(b, BASE_Sine, lo, hiB);
    double mn = 0, mx = 0;
    switch (paramindex) {
    case PARAM_INDEX_CHCOUPLEFREQDEV:
        mn = 1e-6 - hiA;
        mx = hiB - 1e-6;
        break;
    case PARAM_INDEX_CHCOUPLEFREQRATE:
        mn = std::max(1e-6 / hiA, 1e-4);
        mx = std::min(hiB / 1e-6, 10000.0);
        break;
    case PARAM_INDEX_CHCOUPLEAMPLDEV:
        mn = -19.998;
        mx = 19.998;
        break;
    case PARAM_INDEX_CHCOUPLEPHASEDEV:
        mn = -720;
        mx = 720;
        break;
    case PARAM_INDEX_CHCOUPLEAMPLRATE:
    case PARAM_INDEX_CHCOUPLEPHASERATE:
        mn = 1e-4;
        mx = 10000;
        break;
    default:
        qWarning("%s error paramindex:%d", "UpdateRange", paramindex);
        return SetValueWitheCheck(value(), m_param->Min, m_param->Max, 0);
    }
    return limitAndCheck(this, mn, mx);
}

bool coupleParamModel::ValueCheck(double& v)
{
    const bool ratio = paramindex == PARAM_INDEX_CHCOUPLEFREQRATE || paramindex == PARAM_INDEX_CHCOUPLEAMPLRATE ||
        paramindex == PARAM_INDEX_CHCOUPLEPHASERATE;
    if (!std::isfinite(v) || (ratio && !(v > 0))) {
        v = value();
        return false;
    }
    return channelModel::ValueCheck(v);
}

// ---- ipModel ---------------------------------------------------------------------------

char* ipModel::field() const
{
    switch (paramindex) {
    case PARAM_INDEX_SYSIPMASK: return sys_param::Mask;
    case PARAM_INDEX_SYSIPGATEWAY: return sys_param::Gateway;
    default: return sys_param::IP;
    }
}

void ipModel::disUpdate()
{
    if (inputting)
        return;
    m_sIndex = 0;
    m_sLenth = 0;
    wlistvalue(QString::fromLatin1(field(), int(strnlen(field(), 16))));
}

bool ipModel::parseAddress(const QString& text, int out[4])
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        const int v = parts[i].toInt(&ok, 10);
        if (!ok || parts[i].isEmpty() || v < 0 || v > 255)
            return false;
        out[i] = v;
    }
    return true;
}

int ipModel::getMaskbit(const QString& mask)
{
    int g[4];
    if (!parseAddress(mask, g))
        return -1;
    const quint32 m = (quint32(g[0]) << 24) | (quint32(g[1]) << 16) | (quint32(g[2]) << 8) | quint32(g[3]);
    int n = 0;
    while (n < 32 && (m >> (31 - n)) & 1)
        ++n;
    // Nothing but zeros may follow the ones.
    if (n < 32 && (m << n) != 0)
        return -1;
    return n;
}

QString ipModel::confirm()
{
    const bool isMask = paramindex == PARAM_INDEX_SYSIPMASK;
    int g[4];
    const QString typed = text();
    const bool parsed =
        typed.count(QLatin1Char('.')) == 3 && !typed.endsWith(QLatin1Char('.')) && parseAddress(typed, g);
    inputting = false;
    // A text that is no dotted address is an address error in every entry;
    // a mask whose ones are not contiguous shows the stored mask again.
    const bool badMask = parsed && isMask && getMaskbit(typed) < 0;
    if (!parsed || badMask) {
        if (badMask)
            wlistvalue(QString::fromLatin1(field(), int(strnlen(field(), 16))));
        Sys_Error(badMask ? SCPI_ERROR_MASK_FORMAT : SCPI_ERROR_IP_FORMAT);
        tips(badMask ? TIPS_MASK_ERROR : TIPS_IP_FROMAT_ERROR);
        wparamfocus(false);
        return QStringLiteral("error");
    }
    const QByteArray text = QStringLiteral("%1.%2.%3.%4").arg(g[0]).arg(g[1]).arg(g[2]).arg(g[3]).toLatin1();
    char* f = field();
    std::memset(f, 0, 16);
    std::memcpy(f, text.constData(), size_t(std::min(text.size(), 15)));
    sys_param::IPSaveNetwork();
    announceValue();
    wparamfocus(false);
    return QStringLiteral("quit");
}

QString ipModel::onKeyEvent(int key, int)
{
    if (key == Key_Cancel) {
        inputting = false;
        wparamfocus(false);
        return QStringLiteral("quit");
    }
    if (key >= Key_0 && key <= Key_9) {
        const QChar digit = QLatin1Char(char('0' + (key - Key_0)));
        if (!m_paramfocus)
            wparamfocus(true);
        if (!inputting) {
            inputting = true;
            wlistvalue(QString(digit));
            return QString();
        }
        const QString t = text();
        const QString group = t.mid(t.lastIndexOf(QLatin1Char('.')) + 1);
        if (group.size() > 2 || (group + digit).toInt() > 255)
            return QStringLiteral("error");
        wlistvalue(t + digit);
        return QString();
    }
    if (key == Key_Dot && inputting) {
        const QString t = text();
        if (t.count(QLatin1Char('.')) >= 3)
            return QString();
        wlistvalue(t + (t.endsWith(QLatin1Char('.')) ? QStringLiteral("0.") : QStringLiteral(".")));
        return QString();
    }
    if (key == Key_Backspace && inputting) {
        QString t = text();
        t.chop(1);
        if (t.isEmpty()) {
            inputting = false;
            wparamfocus(false);
            return QStringLiteral("quit");
        }
        wlistvalue(t);
        return QString();
    }
    if (key == Key_Ok) {
        if (inputting)
            return confirm();
        if (!m_paramfocus) {
            wparamfocus(true);
            return QString();
        }
        wparamfocus(false);
        return QString();
    }
    return QStringLiteral("error");
}

// ---- macModel --------------------------------------------------------------------------

void macModel::disUpdate()
{
    m_sIndex = 0;
    m_sLenth = 0;
    wlistvalue(QString::fromLatin1(sys_param::MAC, int(strnlen(sys_param::MAC, sizeof sys_param::MAC))));
}

QString macModel::onKeyEvent(int key, int)
{
    if (key == Key_Cancel || (key == Key_Ok && m_paramfocus)) {
        wparamfocus(false);
        return QStringLiteral("quit");
    }
    if (key == Key_Ok) {
        wparamfocus(true);
        return QString();
    }
    return QStringLiteral("error");
}
