#include "app/channalmodel_select.h"
#include <QDebug>
#include "app/channalmodel_rules.h"
#include "app/ornav72.h"
#include "app/signal/csignal.h"
#include "param/sysparm.h"

using namespace entryrules;

namespace {
const int kPresetFiles = 5;
} // namespace

QString switchModel::onKeyEvent(int key, int)
{
    if (key != Key_Ok)
        return QStringLiteral("error");
    const bool on = std::fabs(value()) < 0.1; // the state the key asks for
    if (on && isChannel(ch)) {
        // CH1/CH2 send their sync on the CH3/CH4 connector: not while that
        // connector carries the digital outputs.
        if (paramindex == PARAM_INDEX_CHSYNCOUT && fastPair(ch) && channel && channel->pSyncCh &&
            channel->pSyncCh->alterfun == CHANNEL_ALTERFUN_DIGITAL) {
            tips(TIPS_CONFLICT_WORK_AS_DIGITAL);
            return QString();
        }
        // Noise is summed into a single output; a merged pair has none.
        if (paramindex == PARAM_INDEX_CHNOISESUMSW && (rec(ch).ChMerge != 0 || rec(partner(ch)).ChMerge != 0)) {
            tips(TIPS_CONFILICT_NOISESUM_AND_MERGE);
            return QString();
        }
    }
    if (m_param->SetValue)
        m_param->SetValue(ch, on ? 1 : 0);
    announceValue();

    QString result = QStringLiteral("quit");
    switch (paramindex) {
    case PARAM_INDEX_MODSOURCE:
    case PARAM_INDEX_ARBSAMPLE:
    case PARAM_INDEX_CHNOISESUMSW:
    case PARAM_INDEX_CHCOUPLEFREQTYPE:
    case PARAM_INDEX_CHCOUPLEAMPLTYPE:
    case PARAM_INDEX_CHCOUPLEPHASETYPE:
        // Other entries appear or vanish with these.
        result = QStringLiteral("updatelist");
        break;
    case PARAM_INDEX_SYSFACTORYRESET:
        if (pOrnav72)
            pOrnav72->SetInfoWindowState(QStringLiteral("askWindow"), Uidata::ASK_TYPE(3));
        break;
    default: break;
    }
    if ((paramindex == PARAM_INDEX_BURSTGATEPOLARITY || paramindex == PARAM_INDEX_CHNOISESUMSW) && curSignal) {
        curSignal->drawWave(false);
        curSignal->updatePse();
    }
    if (result != QLatin1String("updatelist") && channel && paramindex != PARAM_INDEX_CHSYNCOUT &&
        paramindex != PARAM_INDEX_CHSYNCREVERSE)
        emit channel->signalUpdated(ch);
    wparamfocus(false);
    return result;
}

QString MutSelectModel::presetPath(int option) { return QStringLiteral("/home/root/Param_Preset_%1").arg(option + 1); }

QString MutSelectModel::onKeyEvent(int key, int)
{
    if (key == Key_Cancel) {
        wparamfocus(false);
        return QStringLiteral("quit");
    }
    if (paramindex == PARAM_INDEX_CHMERGE && key == Key_Ok) {
        const double v = std::fabs(value()) > 0.1 ? 0.0 : double(ch + 1);
        if (m_param->SetValue)
            m_param->SetValue(ch, v);
        announceValue();
        return QStringLiteral("quit");
    }
    if (!m_paramfocus) {
        if (key == Key_Ok) {
            wparamfocus(true);
            return QString();
        }
        return QStringLiteral("error");
    }
    if (key >= 32)
        return QStringLiteral("error");

    if (paramindex == PARAM_INDEX_SYSPRESETFILE) {
        wparamfocus(false);
        SysParm* store = pOrnav72 ? pOrnav72->sysParm() : nullptr;
        if (key < 0 || key >= kPresetFiles || !store) {
            // Only five preset files exist; without the persistence object
            // nothing can be saved, and saying so beats a false "saved".
            outOfRange("onKeyEvent");
            return QStringLiteral("error");
        }
        const QString path = presetPath(key);
        // A full or read-only disk keeps the old preset; the user is told
        // it was not saved (the file-error tip) instead of a false "saved".
        if (!store->SaveSysParam(path, true)) {
            tips(TIPS_COPY_ERROR);
            qWarning("save all param to preset file:%s failed", qPrintable(path));
            return QStringLiteral("quit");
        }
        tips(TIPS_SAVE_FILE_OK);
        qInfo("save all param to preset file:%s", qPrintable(path));
        return QStringLiteral("quit");
    }

    QString result = QStringLiteral("quit");
    double v = double(key);
    if (ValueCheck(v)) {
        if (m_param->SetValue)
            m_param->SetValue(ch, v);
        announceValue();
    } else {
        outOfRange("onKeyEvent");
    }
    switch (paramindex) {
    case PARAM_INDEX_MODWAVE:
    case PARAM_INDEX_HARMONICTYPE:
    case PARAM_INDEX_TRIGSOURCE:
    case PARAM_INDEX_TRIGSOURCEOSK: result = QStringLiteral("updatelist"); break;
    default: break;
    }
    if (curSignal) {
        curSignal->drawWave(false);
        curSignal->updatePse();
    }
    wparamfocus(false);
    if (result != QLatin1String("updatelist") && channel)
        emit channel->signalUpdated(ch);
    return result;
}
