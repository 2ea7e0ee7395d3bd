#pragma once
// Shared set-up of the signal and channel tests: the register tests' board
// (simulated FPGA, register device open, factory record), fresh wave tables
// and one Channel per output wired as the controller wires them.
#include <cstring>
#include <memory>
#include "WaveView/CWaveGreate.h"
#include "app/channalmodel.h"
#include "app/channel.h"
#include "app/signal/csignal.h"
#include "tests/regs/regs_fixture.h"

class SignalTest : public RegsTest {
protected:
    void SetUp() override
    {
        RegsTest::SetUp();
        CWaveCreate::Init();
        std::memset(CWaveCreate::wavemem, 0, sizeof(CWaveCreate::wavemem));
        for (u32& b : CWaveCreate::bwavev)
            b = BASE_Unknown;
        std::memset(CWaveCreate::m_arb, 0, sizeof(CWaveCreate::m_arb));
        for (int c = 0; c < 4; ++c) {
            chan[c].reset(new Channel());
            chan[c]->InitSignal(CH_ID(c));
        }
        chan[CH1]->pFriendCh = chan[CH2].get();
        chan[CH2]->pFriendCh = chan[CH1].get();
        chan[CH3]->pFriendCh = chan[CH4].get();
        chan[CH4]->pFriendCh = chan[CH3].get();
        chan[CH1]->pSyncCh = chan[CH3].get();
        chan[CH2]->pSyncCh = chan[CH4].get();
        fpga().clearWrites();
    }
    void TearDown() override
    {
        for (auto& c : chan)
            c.reset();
        RegsTest::TearDown();
    }

    static SWaveMem& mem(CH_ID c) { return CWaveCreate::wavemem[c]; }
    // Where the base table of a channel was opened for loading.
    static int baseTableLoad(CH_ID c) { return writeOf(REG_TABLE_SELECT, unsigned(c) * 4 + TABLE_KIND_BASE); }
    // Times the table port was opened for a target (REG_TABLE_SELECT value).
    static int tableLoads(unsigned target) { return writesAt(REG_TABLE_SELECT).count(target); }

    Channel& C(CH_ID c) { return *chan[c]; }
    Signal* base(CH_ID c, int wave) { return chan[c]->baseSignal.at(wave); }
    Signal* mod(CH_ID c, int index) { return chan[c]->modulateSignal.at(index); }
    Signal* sweep(CH_ID c, int index) { return chan[c]->sweepSignal.at(index); }
    Signal* burst(CH_ID c, int index) { return chan[c]->burstSignal.at(index); }

    // The parameter indices of an entry list.
    static QList<int> indices(const QList<channelModel*>& l)
    {
        QList<int> out;
        for (const channelModel* m : l)
            out << m->paramindex;
        return out;
    }

    std::unique_ptr<Channel> chan[4];
};
