// Choosing what a channel generates: work mode, base wave and mode type, and
// the users of the shared trigger/FSK connector.
#include <QDebug>
#include "communication/SCPI/scpi_error.h"
#include "communication/SCPI/sys_error.h"
#include "app/channalmodel.h"
#include "app/channel.h"
#include "app/ornav72.h"
#include "communication/remote_road.h"
#include "app/signal/csignal.h"
#include "param/sys_param.h"

namespace {

bool hasEntry(const Signal* s, int index)
{
    if (!s)
        return false;
    for (const channelModel* m : s->paramlist)
        if (m && m->paramindex == index)
            return true;
    return false;
}

// Modulations whose keying can come in through the connector.
bool keyedFromPort(u32 modType)
{
    return modType == MT_ASK || modType == MT_PSK || modType == MT_FSK || modType == MT_3FSK || modType == MT_4FSK;
}

QString channelNames(int mask)
{
    QString names;
    for (int i = 0; i < 4; ++i) {
        if (!(mask & (1 << i)))
            continue;
        names += names.isEmpty() ? QStringLiteral("CH%1").arg(i + 1) : QStringLiteral(",CH%1").arg(i + 1);
    }
    return names;
}

} // namespace

void Ornav72::chModSelected(int ch, int modeIndex)
{
    if (ch < 0 || ch >= 4 || !channel[ch])
        return;
    Uidata* ui = &uidata;
    ui->publishChannel(ch);
    RemoteRoad::chain(ui, [ui, ch, modeIndex]() { emit ui->chModeRequested(ch, modeIndex); });
}

void Ornav72::chBaseWaveSelected(int ch, int waveIndex, int where)
{
    if (ch < 0 || ch >= 4 || !channel[ch])
        return;
    Uidata* ui = &uidata;
    ui->publishChannel(ch);
    RemoteRoad::chain(ui, [ui, ch, waveIndex, where]() { emit ui->chBaseWaveRequested(ch, waveIndex, where); });
}

void Ornav72::setModeIndexCmdProcess(int ch, int mode, int index)
{
    if (ch < 0 || ch >= 4 || mode < 0 || mode > 3 || !channel[ch]) {
        qWarning("mode error");
        return;
    }
    // The channel page makes the choice (it knows which entries its lists
    // offer) and answers with chSignalSelected; both requests reach it in
    // this order.
    Uidata* ui = &uidata;
    const bool modeChanges = int(sys_param::ch(CH_ID(ch)).WorkMode >> 12) != mode;
    ui->publishChannel(ch);
    RemoteRoad::chain(ui, [ui, ch, mode, index, modeChanges]() {
        if (modeChanges)
            emit ui->chModeRequested(ch, mode);
        emit ui->chWaveRequested(ch, index, 0);
    });
}

void Ornav72::channelTrigOut(int& out, int& modIn, int& trigIn)
{
    out = modIn = trigIn = 0;
    for (int i = 0; i < 4; ++i) {
        const Channel* c = channel[i];
        const CH_DATA& d = sys_param::ch(CH_ID(i));
        if (!c || !sys_param::OnOff[i] || d.WorkMode == WORK_BASE)
            continue;
        const Signal* s = c->currentSignal;
        const int bit = 1 << i;
        if (hasEntry(s, PARAM_INDEX_TRIGOUT) && d.TrigerOut != 0)
            out |= bit;
        if (hasEntry(s, PARAM_INDEX_MODSOURCE) && d.ModSrc && keyedFromPort(d.ModType))
            modIn |= bit;
        if ((d.WorkMode == WORK_BURST && d.BurstType == BT_GATE) ||
            (hasEntry(s, PARAM_INDEX_TRIGSOURCE) && (d.TrigerSource == 1 || d.TrigerSource == 2)) ||
            (hasEntry(s, PARAM_INDEX_TRIGSOURCEOSK) && d.TrigerSourceOSK != 0))
            trigIn |= bit;
    }
}

bool Ornav72::conflictIOCheck(CH_ID ch, QString& names)
{
    if (ch < CH1 || ch > CH4 || !sys_param::OnOff[ch] || sys_param::ch(ch).WorkMode == WORK_BASE)
        return false;
    int out = 0, modIn = 0, trigIn = 0;
    channelTrigOut(out, modIn, trigIn);
    const int bit = 1 << int(ch);
    if (!(out & bit)) {
        if (((modIn | trigIn) & bit) && out) {
            names = channelNames(out);
            qDebug("Port:\"FSK Trig\" be used to output by %s", qPrintable(names));
            return true;
        }
        return false;
    }
    names.clear();
    const int users = (out & ~bit) | modIn | trigIn;
    if (!users)
        return false;
    names = channelNames(users);
    qDebug("Port:\"FSK Trig\" be used to input by %s", qPrintable(names));
    return true;
}

void Ornav72::setHandlTrig(CH_ID ch)
{
    if (ch < CH1 || ch > CH4)
        return;
    const CH_DATA& d = sys_param::ch(ch);
    const bool visible = d.TrigerSource == 3 &&
        (d.WorkMode == WORK_SCAN || (d.WorkMode == WORK_BURST && d.BurstType != BT_GATE) ||
         (d.WorkMode == WORK_MODULATION && d.ModType == MT_OSK));
    if (handlTrigShown[ch] == int(visible))
        return;
    handlTrigShown[ch] = int(visible);
    emit uidata.chManualTrigChanged(int(ch), visible);
}

// Resolves a connector conflict of a channel that has just been selected.
void Ornav72::resolvePortConflict(CH_ID c)
{
    Channel* chan = channel[c];
    QString names;
    if (!chan || !conflictIOCheck(c, names))
        return;
    const CH_DATA& d = sys_param::ch(c);
    if (d.WorkMode == WORK_BURST && d.BurstType == BT_GATE) {
        if (channelModel* sw = chan->entry(PARAM_INDEX_CHSWITCH))
            sw->SetValue(0, 0);
        Sys_Error(SCPI_ERROR_IO_CONFILICT);
        emit TipsMessage(MESSAGE_TYPE_TIPS, TIPS_IOCONFILICT_MODFYFALSE, false, names, true);
        qWarning("IO conflict close the output!");
        return;
    }
    if (!chan->currentSignal)
        return;
    const QList<channelModel*> models = chan->currentSignal->paramlist;
    for (channelModel* m : models) {
        if (!m)
            continue;
        bool change = false;
        switch (m->paramindex) {
        case PARAM_INDEX_TRIGOUT: change = d.TrigerOut != 0; break;
        case PARAM_INDEX_TRIGSOURCE: change = d.TrigerSource == 1 || d.TrigerSource == 2; break;
        case PARAM_INDEX_TRIGSOURCEOSK: change = d.TrigerSourceOSK != 0; break;
        case PARAM_INDEX_MODSOURCE: change = d.ModSrc && keyedFromPort(d.ModType); break;
        default: break;
        }
        if (!change)
            continue;
        m->SetValue(0, 0);
        Sys_Error(SCPI_ERROR_IO_CONFILICT);
        emit TipsMessage(MESSAGE_TYPE_TIPS, TIPS_IOCONFILICT_BEMODFY, false, names, true);
    }
}

void Ornav72::chSignalSelected(int ch, int mode, int type, bool base, int baseType)
{
    ch = ch < 0 ? 0 : ch > 3 ? 3 : ch;
    if (mode > 4 || mode < 0)
        mode = 0;
    const CH_ID c = CH_ID(ch);
    Channel* chan = channel[ch];
    if (!chan)
        return;
    const u32 wanted = u32(mode) << 12;
    if (sys_param::ch(c).WorkMode != wanted)
        sys_param::SetChWorkMode(c, WORK_MODE(wanted));
    uidata.baseType[ch] = baseType != 0;

    // The carrier of a mode signal is the signal of the stored base wave.
    auto carrier = [&](QList<Signal*>& modes) {
        const int wave = int(sys_param::ch(c).BaseWave);
        if (type >= 0 && type < modes.size() && wave >= 0 && wave < chan->baseSignal.size())
            modes[type]->baseSignal = chan->baseSignal[wave];
    };
    QVariantList input;
    const u32 workMode = sys_param::ch(c).WorkMode;
    switch (workMode) {
    case WORK_BASE:
        input = chan->switchToBase(type, 0);
        listFileType[ch] = false;
        break;
    case WORK_MODULATION:
        input = chan->switchToBase(baseType, type);
        if (!base)
            input = chan->switchToMod(type);
        carrier(chan->modulateSignal);
        listFileType[ch] = false;
        break;
    case WORK_SCAN:
        input = chan->switchToBase(baseType, type);
        if (!base) {
            input = chan->switchToScan(type);
            const char* list = sys_param::GetChListFileDir(c);
            if ((sys_param::ch(c).SweepType & 0xF) == (ST_LIST & 0xF) && list && list[0])
                emit chListCmd(ch, QString::fromLocal8Bit(list), false, false);
            listFileType[ch] = true;
        } else {
            listFileType[ch] = false;
        }
        carrier(chan->sweepSignal);
        break;
    case WORK_BURST:
        input = chan->switchToBase(baseType, type);
        if (!base)
            input = chan->switchToBurst(type);
        carrier(chan->burstSignal);
        listFileType[ch] = false;
        break;
    default: qWarning("[error]work mode:%d", int(workMode)); break;
    }
    uidata.setList(uidata.chInputList[ch], input);

    if (sys_param::OnOff[ch] && workMode != WORK_BASE)
        resolvePortConflict(c);

    if (chan->currentBaseSignal)
        chan->currentBaseSignal->SignalSelected();
    if (workMode != WORK_BASE && chan->currentSignal && chan->currentSignal != chan->currentBaseSignal)
        chan->currentSignal->SignalSelected();
    if (chan->currentSignal)
        chan->currentSignal->updatePse();

    if (workMode == WORK_BASE || base) {
        if (sys_param::ch(c).ChMerge && chan->pFriendCh) {
            for (int index : {int(PARAM_INDEX_AMP), int(PARAM_INDEX_OFFSET)})
                if (channelModel* m = chan->pFriendCh->entry(index))
                    m->UpdateRange();
        }
        if (sys_param::ch(c).BaseWave == BASE_DC) {
            emit channelParamChanged(ch);
        } else {
            if (workMode != WORK_BASE && chan->currentSignal && chan->currentSignal != chan->currentBaseSignal)
                chan->currentSignal->SignalSelected();
            chan->baseChanged();
        }
    } else {
        // A mode signal draws its own preview (carrier and modulating or
        // sweep wave); the apply request only programs the hardware.
        if (chan->currentSignal) {
            chan->currentSignal->drawWave(false);
            chan->currentSignal->updatePse();
        }
        emit channelParamChanged(ch);
    }

    setHandlTrig(c);
    uidata.sendInputListChanged(ch);
    chan->SyncFreq(true);
}
