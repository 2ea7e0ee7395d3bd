// Amplitude-class modulations: AM, double-sideband AM, QAM, ASK.
#include "app/signal/signal_mod.h"
#include "hardware/CSetParam.h"
#include "param/sys_param.h"

using P = CSetParam;

Signal_AM::Signal_AM(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, MT_AM, BASEMASK_PERIODIC) {}

void Signal_AM::buildParamList(int)
{
    paramlist.clear();
    addModSourceList();
    add(PARAM_INDEX_MODDEPTHAM);
}

void Signal_AM::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    P::SetWorkModeReg(ch, FPGA_WM_AM);
    P::SetModWaveType(ch);
    P::SetModFre(ch, modulatingRate());
    P::SetModDepth(ch, d.ModDepthAM);
    TrigIO(false, true);
    P::SetSyncManual(ch, false);
}

Signal_BAM::Signal_BAM(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, MT_BAM, BASEMASK_PERIODIC) {}

void Signal_BAM::buildParamList(int)
{
    paramlist.clear();
    addModSourceList();
    add(PARAM_INDEX_MODDEPTH);
}

void Signal_BAM::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    P::SetWorkModeReg(ch, FPGA_WM_DSBAM);
    P::SetModWaveType(ch);
    P::SetModDepth(ch, d.ModDepth);
    P::SetModFre(ch, modulatingRate());
    TrigIO(false, true);
    P::SetSyncManual(ch, false);
}

Signal_QAM::Signal_QAM(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, MT_QAM, BASEMASK_SINE)
{
    setFixedList({PARAM_INDEX_QAMIQMAP, PARAM_INDEX_PNCODEELEMENT, PARAM_INDEX_BITRATE});
}

void Signal_QAM::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    P::SetQAM_Mode(ch, d.QAM_Map);
    P::SetPNCodeElement(ch, d.CodeElement);
    P::SetWorkModeReg(ch, FPGA_WM_QAM);
    P::SetModFre(ch, d.Bitrate);
    TrigIO(false, true);
    P::SetSyncManual(ch, false);
}

Signal_ASK::Signal_ASK(CH_ID c, QList<channelModel*>* l) : Signal_mod(c, l, MT_ASK, BASEMASK_PERIODIC) {}

void Signal_ASK::buildParamList(int)
{
    paramlist.clear();
    add(PARAM_INDEX_MODSOURCE);
    if (!sys_param::ch(ch).ModSrc)
        add(PARAM_INDEX_MODFREQ);
}

void Signal_ASK::Exe()
{
    const CH_DATA& d = sys_param::ch(ch);
    // An external key comes in on the trigger connector.
    TrigIO(d.ModSrc, true);
    P::SetWorkModeReg(ch, FPGA_WM_ASK);
    P::SetModWaveType(ch);
    P::SetModFre(ch, d.ModFre);
    P::SetSyncManual(ch, false);
}
