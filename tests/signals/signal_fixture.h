#pragma once
// Shared set-up of the signal and channel tests: a simulated board with the
// register device open, the factory record, fresh wave tables, one Channel
// per output, and readers of what the simulated FPGA received. Reference
// constants and formulas are written out here, apart from the code under test.
#include <gtest/gtest.h>
#include <QByteArray>
#include <QList>
#include <QTemporaryDir>
#include <QVector>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include "CSetParam.h"
#include "CWaveGreate.h"
#include "channalmodel.h"
#include "channel.h"
#include "platformroot.h"
#include "signal/csignal.h"
#include "simfpga.h"
#include "simroot.h"
#include "sys_param.h"

namespace ref {
const double FCLK = 3.125e8;
const double W64 = 9223372036854775808.0; // 2^63
const double W48 = 140737488355327.0;     // 2^47 - 1
const double W32 = 4294967295.0;          // 2^32 - 1
const double W36 = 34359738368.0;         // 2^35

inline uint64_t inc64(double f) { return uint64_t(std::ceil(f * W64 / FCLK)); }
inline uint64_t inc48(double f) { return uint64_t(std::ceil(f * W48 / FCLK)); }
inline uint64_t phaseWord(double deg) { return uint64_t(deg * W32 / 360); }
inline uint64_t depthWord(double percent) { return uint64_t(percent * W48 / 100); }
} // namespace ref

class SignalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(SimRoot::create(dir.path()));
        PlatformRoot::setRoot(dir.path());
        ASSERT_TRUE(PlatformRoot::simulated());
        ASSERT_TRUE(CSetParam::OpenDevice());
        sys_param::setFactoryValues(sys_param::HWinfo);
        for (int c = 0; c < 4; ++c) {
            sys_param::OnOff[c] = false;
            sys_param::syncManual[c] = false;
            sys_param::SyncFrequency[c] = 0;
            CSetParam::pCharacter[c].LED = 0;
        }
        sys_param::TrgInOut = 0;
        CSetParam::chAllLed = 0;
        CSetParam::ForgetWrittenState();
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
        CSetParam::CloseDevice();
        PlatformRoot::setRoot(QString());
    }

    static SimFpga& fpga() { return SimFpga::instance(); }
    static CH_DATA& rec(CH_ID c) { return sys_param::HWinfo.PDT[c]; }
    static SWaveMem& mem(CH_ID c) { return CWaveCreate::wavemem[c]; }
    static unsigned reg(CH_ID c, unsigned offset) { return unsigned(c) * 0x100 + offset; }

    static uint64_t value(unsigned address, int n)
    {
        const QByteArray b = fpga().peek(address, n);
        uint64_t v = 0;
        for (int k = n - 1; k >= 0; --k)
            v = (v << 8) | uint8_t(b.at(k));
        return v;
    }
    static uint64_t chValue(CH_ID c, unsigned offset, int n) { return value(reg(c, offset), n); }

    // Every write to one address as a number (little-endian), in order.
    static QList<uint64_t> writesAt(unsigned address)
    {
        QList<uint64_t> out;
        for (const auto& w : fpga().writes()) {
            if (w.address != address)
                continue;
            uint64_t v = 0;
            for (int k = w.bytes.size() - 1; k >= 0; --k)
                v = (v << 8) | uint8_t(w.bytes.at(k));
            out << v;
        }
        return out;
    }
    static QList<uint64_t> chWrites(CH_ID c, unsigned offset) { return writesAt(reg(c, offset)); }
    // Position of the first / last write to an address (-1 when none).
    static int firstWrite(unsigned address)
    {
        const auto w = fpga().writes();
        for (int i = 0; i < w.size(); ++i)
            if (w[i].address == address)
                return i;
        return -1;
    }
    static int lastWrite(unsigned address)
    {
        const auto w = fpga().writes();
        for (int i = w.size() - 1; i >= 0; --i)
            if (w[i].address == address)
                return i;
        return -1;
    }
    // Position of the first / last write of one value to an address.
    static int writeOf(unsigned address, uint64_t v, bool last = false)
    {
        const auto w = fpga().writes();
        int found = -1;
        for (int i = 0; i < w.size(); ++i) {
            if (w[i].address != address)
                continue;
            uint64_t x = 0;
            for (int k = w[i].bytes.size() - 1; k >= 0; --k)
                x = (x << 8) | uint8_t(w[i].bytes.at(k));
            if (x == v) {
                found = i;
                if (!last)
                    return i;
            }
        }
        return found;
    }
    // Where the base table of a channel was opened for loading.
    static int baseTableLoad(CH_ID c) { return writeOf(REG_TABLE_SELECT, unsigned(c) * 4 + TABLE_KIND_BASE); }
    // Times the table port was opened for a target (REG_TABLE_SELECT value).
    static int tableLoads(unsigned target) { return writesAt(REG_TABLE_SELECT).count(target); }
    static QVector<quint64> stream(const QString& name)
    {
        QVector<quint64> out;
        fpga().stream(name, &out);
        return out;
    }

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

    QTemporaryDir dir;
    std::unique_ptr<Channel> chan[4];
};
