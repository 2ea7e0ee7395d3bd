// The entries each signal shows, under the rules that change them.
#include "tests/signals/signal_fixture.h"

class ParamLists : public SignalTest {
protected:
    QList<int> list(Signal* s, int m) { return indices(s->getParamList(m)); }
};

TEST_F(ParamLists, PeriodicWavesDropFrequencyAndPhaseWhereTheModeOwnsThem)
{
    Signal* sine = base(CH1, BASE_Sine);
    const QList<int> full = {PARAM_INDEX_FREQ, PARAM_INDEX_AMP, PARAM_INDEX_OFFSET, PARAM_INDEX_PHASE,
                             PARAM_INDEX_CHNOISESUMSW};
    EXPECT_EQ(list(sine, BASE_Sine), full);
    EXPECT_EQ(list(sine, MT_AM), full);
    EXPECT_EQ(list(sine, MT_PM), full);
    const QList<int> noPhase = {PARAM_INDEX_FREQ, PARAM_INDEX_AMP, PARAM_INDEX_OFFSET, PARAM_INDEX_CHNOISESUMSW};
    for (int m : {int(MT_FM), int(MT_FSK), int(MT_3FSK), int(MT_4FSK), int(MT_PSK), int(MT_BPSK), int(MT_QPSK),
                  int(BT_NCYC), int(BT_GATE), int(BT_INFINIT)})
        EXPECT_EQ(list(sine, m), noPhase) << m;
    for (int m : {int(ST_LINE), int(ST_LIST)})
        EXPECT_EQ(list(sine, m), (QList<int> {PARAM_INDEX_AMP, PARAM_INDEX_OFFSET, PARAM_INDEX_CHNOISESUMSW}));

    rec(CH1).noiseSumSW = true;
    EXPECT_EQ(list(sine, BASE_Sine).mid(4), (QList<int> {PARAM_INDEX_CHNOISESUMSW, PARAM_INDEX_CHNOISERATIO}));
    EXPECT_EQ(
        list(base(CH1, BASE_Pulse), BASE_Pulse),
        (QList<int> {PARAM_INDEX_FREQ, PARAM_INDEX_AMP, PARAM_INDEX_OFFSET, PARAM_INDEX_PHASE, PARAM_INDEX_DUTYPULSE,
                     PARAM_INDEX_RISE, PARAM_INDEX_FALL, PARAM_INDEX_CHNOISESUMSW, PARAM_INDEX_CHNOISERATIO}));
    EXPECT_EQ(list(base(CH1, BASE_Ramp), MT_FM),
              (QList<int> {PARAM_INDEX_FREQ, PARAM_INDEX_AMP, PARAM_INDEX_OFFSET, PARAM_INDEX_SYMMETRY,
                           PARAM_INDEX_CHNOISESUMSW, PARAM_INDEX_CHNOISERATIO}));
    EXPECT_EQ(list(base(CH1, BASE_Userdef), BASE_Square).mid(4, 1), QList<int> {PARAM_INDEX_DUTYPULSE});
}

TEST_F(ParamLists, ListedEntriesAreBoundToTheSignalThatListedThem)
{
    Signal* square = base(CH2, BASE_Square);
    for (channelModel* m : square->getParamList(BASE_Square))
        EXPECT_EQ(m->curSignal, square) << m->paramindex;
    Signal* fm = mod(CH2, 4);
    for (channelModel* m : fm->getParamList(MT_FM))
        EXPECT_EQ(m->curSignal, fm) << m->paramindex;
    EXPECT_EQ(square->realType, int(BASE_Square));
    EXPECT_EQ(square->GetAmplOrHigh(), C(CH2).entry(PARAM_INDEX_AMP));
    EXPECT_EQ(fm->GetAmplOrHigh(), nullptr);
}

TEST_F(ParamLists, ArbitraryOnCh3InSampleModeFallsBackToTheTable)
{
    rec(CH3).ArbSample = true;
    EXPECT_EQ(list(base(CH3, BASE_Arb), BASE_Arb),
              (QList<int> {PARAM_INDEX_FREQ, PARAM_INDEX_AMP, PARAM_INDEX_OFFSET, PARAM_INDEX_PHASE,
                           PARAM_INDEX_ARBFILE, PARAM_INDEX_CHNOISESUMSW}));
    EXPECT_FALSE(rec(CH3).ArbSample);
    EXPECT_EQ(C(CH3).entry(PARAM_INDEX_ARBSAMPLE)->value(), 0.0);
}

TEST_F(ParamLists, ArbitrarySampleModeOnCh1AndWhereTheModeForbidsIt)
{
    Signal* arb = base(CH1, BASE_Arb);
    EXPECT_EQ(list(arb, BASE_Arb),
              (QList<int> {PARAM_INDEX_ARBSAMPLE, PARAM_INDEX_FREQ, PARAM_INDEX_AMP, PARAM_INDEX_OFFSET,
                           PARAM_INDEX_PHASE, PARAM_INDEX_ARBFILE, PARAM_INDEX_CHNOISESUMSW}));
    rec(CH1).ArbSample = true;
    EXPECT_EQ(list(arb, BASE_Arb),
              (QList<int> {PARAM_INDEX_ARBSAMPLE, PARAM_INDEX_SAMPLERATE, PARAM_INDEX_AMP, PARAM_INDEX_OFFSET,
                           PARAM_INDEX_ARBFILE, PARAM_INDEX_ARBFILTER, PARAM_INDEX_CHNOISESUMSW}));
    EXPECT_TRUE(rec(CH1).ArbSample);
    EXPECT_EQ(list(arb, MT_AM).mid(0, 2), (QList<int> {PARAM_INDEX_ARBSAMPLE, PARAM_INDEX_SAMPLERATE}));
    // Frequency keying needs the phase accumulator: sample mode goes off.
    EXPECT_EQ(list(arb, MT_FSK),
              (QList<int> {PARAM_INDEX_FREQ, PARAM_INDEX_AMP, PARAM_INDEX_OFFSET, PARAM_INDEX_ARBFILE,
                           PARAM_INDEX_CHNOISESUMSW}));
    EXPECT_FALSE(rec(CH1).ArbSample);
    rec(CH1).ArbSample = true;
    EXPECT_EQ(list(arb, ST_LOG),
              (QList<int> {PARAM_INDEX_AMP, PARAM_INDEX_OFFSET, PARAM_INDEX_ARBFILE, PARAM_INDEX_CHNOISESUMSW}));
    EXPECT_FALSE(rec(CH1).ArbSample);
}

TEST_F(ParamLists, HarmonicNoiseDcAndPrbsLists)
{
    Signal* h = base(CH1, BASE_Harmonic);
    const QList<int> common = {PARAM_INDEX_FREQ,  PARAM_INDEX_AMP,           PARAM_INDEX_OFFSET,
                               PARAM_INDEX_PHASE, PARAM_INDEX_HARMONICORDER, PARAM_INDEX_HARMONICTYPE};
    const QList<int> tail = {PARAM_INDEX_HARMONICSN, PARAM_INDEX_HARMONICSNAMP, PARAM_INDEX_HARMONICSNPHASE};
    rec(CH1).HarmonicType = HARMNIC_TYPE_ODD;
    EXPECT_EQ(list(h, BASE_Harmonic), common + tail);
    rec(CH1).HarmonicType = HARMNIC_TYPE_USER;
    EXPECT_EQ(list(h, BASE_Harmonic), common + QList<int> {PARAM_INDEX_HARMONICUSERTYPE} + tail);

    rec(CH1).noiseSumSW = true;
    EXPECT_EQ(list(base(CH1, BASE_Noise), BASE_Noise),
              (QList<int> {PARAM_INDEX_FREQ, PARAM_INDEX_AMP, PARAM_INDEX_OFFSET}));
    EXPECT_EQ(list(base(CH1, BASE_DC), BASE_DC), QList<int> {PARAM_INDEX_OFFSET});
    EXPECT_EQ(list(base(CH1, BASE_Prbs), BASE_Prbs),
              (QList<int> {PARAM_INDEX_FREQ, PARAM_INDEX_AMP, PARAM_INDEX_OFFSET, PARAM_INDEX_PNCODEELEMENT,
                           PARAM_INDEX_PRBSEDGETIME, PARAM_INDEX_CHNOISESUMSW, PARAM_INDEX_CHNOISERATIO}));
}

TEST_F(ParamLists, ChoosingAnotherHarmonicRedisplaysItsAmplitudeAndPhase)
{
    CH_DATA& d = rec(CH2);
    d.HarmonicSn = 2;
    d.HarmonicSnAmp[0] = 1.0;
    d.HarmonicSnAmp[3] = 0.25;
    channelModel* sn = C(CH2).entry(PARAM_INDEX_HARMONICSN);
    channelModel* amp = C(CH2).entry(PARAM_INDEX_HARMONICSNAMP);
    amp->disUpdate();
    EXPECT_EQ(amp->rlistvalue(), QStringLiteral("1.000 Vpp"));
    sn->SetValue(5, 0); // component 5 is element 3
    EXPECT_EQ(amp->rlistvalue(), QStringLiteral("250 mVpp"));
}

TEST_F(ParamLists, ModulatingSourceListFollowsSourceAndWave)
{
    Signal* am = mod(CH1, 0);
    rec(CH1).ModSrc = false;
    rec(CH1).ModWave = Mod_Sine;
    EXPECT_EQ(list(am, MT_AM),
              (QList<int> {PARAM_INDEX_MODSOURCE, PARAM_INDEX_MODWAVE, PARAM_INDEX_MODFREQ, PARAM_INDEX_MODDEPTHAM}));
    rec(CH1).ModWave = Mod_Arb;
    EXPECT_EQ(list(am, MT_AM),
              (QList<int> {PARAM_INDEX_MODSOURCE, PARAM_INDEX_MODWAVE, PARAM_INDEX_MODARBFILE, PARAM_INDEX_MODFREQ,
                           PARAM_INDEX_MODDEPTHAM}));
    rec(CH1).ModWave = Mod_Noise;
    EXPECT_EQ(list(am, MT_AM), (QList<int> {PARAM_INDEX_MODSOURCE, PARAM_INDEX_MODWAVE, PARAM_INDEX_MODDEPTHAM}));
    rec(CH1).ModSrc = true;
    EXPECT_EQ(list(am, MT_AM), (QList<int> {PARAM_INDEX_MODSOURCE, PARAM_INDEX_MODDEPTHAM}));
    EXPECT_EQ(list(mod(CH1, 5), MT_FSK), (QList<int> {PARAM_INDEX_MODSOURCE, PARAM_INDEX_MODHOPFREFSK}));
    EXPECT_EQ(list(mod(CH1, 9), MT_PSK), (QList<int> {PARAM_INDEX_MODSOURCE, PARAM_INDEX_MODPHASE1}));
    rec(CH1).ModSrc = false;
    EXPECT_EQ(list(mod(CH1, 3), MT_ASK), (QList<int> {PARAM_INDEX_MODSOURCE, PARAM_INDEX_MODFREQ}));
    EXPECT_EQ(list(mod(CH1, 7), MT_4FSK),
              (QList<int> {PARAM_INDEX_MODFREQ, PARAM_INDEX_MODHOPFREFSK, PARAM_INDEX_MODHOPFREFSK2,
                           PARAM_INDEX_MODHOPFREFSK3}));
    EXPECT_EQ(list(mod(CH1, 11), MT_QPSK),
              (QList<int> {PARAM_INDEX_BITRATE, PARAM_INDEX_PNCODEELEMENT, PARAM_INDEX_MODPHASE1, PARAM_INDEX_MODPHASE2,
                           PARAM_INDEX_MODPHASE3, PARAM_INDEX_MODPHASE4}));
    rec(CH1).TrigerSourceOSK = 1;
    EXPECT_EQ(list(mod(CH1, 12), MT_OSK), (QList<int> {PARAM_INDEX_TRIGSOURCEOSK, PARAM_INDEX_OSKOSCTIME}));
    rec(CH1).TrigerSourceOSK = 0;
    EXPECT_EQ(list(mod(CH1, 12), MT_OSK),
              (QList<int> {PARAM_INDEX_TRIGSOURCEOSK, PARAM_INDEX_MODRATE, PARAM_INDEX_OSKOSCTIME}));
}

TEST_F(ParamLists, TriggerEntriesOfSweepsAndBursts)
{
    rec(CH4).TrigerSource = TRIGSOURCE_INNER;
    EXPECT_EQ(list(sweep(CH4, 0), ST_LINE),
              (QList<int> {PARAM_INDEX_TRIGSOURCE, PARAM_INDEX_TRIGOUT, PARAM_INDEX_SWEEPSTARTFREQ,
                           PARAM_INDEX_SWEEPENDFREQ, PARAM_INDEX_SWEEPTIME}));
    EXPECT_EQ(list(burst(CH4, 0), BT_NCYC),
              (QList<int> {PARAM_INDEX_TRIGSOURCE, PARAM_INDEX_TRIGOUT, PARAM_INDEX_BURSTNCYNC,
                           PARAM_INDEX_BURSTTRIGPERIOD, PARAM_INDEX_BURSSTARTPHASE}));
    rec(CH4).TrigerSource = TRIGSOURCE_HANDL;
    EXPECT_EQ(
        list(burst(CH4, 0), BT_NCYC),
        (QList<int> {PARAM_INDEX_TRIGSOURCE, PARAM_INDEX_TRIGOUT, PARAM_INDEX_BURSTNCYNC, PARAM_INDEX_BURSSTARTPHASE}));
    rec(CH4).TrigerSource = TRIGSOURCE_EXTUP;
    EXPECT_EQ(list(sweep(CH4, 2), ST_STEP),
              (QList<int> {PARAM_INDEX_TRIGSOURCE, PARAM_INDEX_SWEEPSTARTFREQ, PARAM_INDEX_SWEEPENDFREQ,
                           PARAM_INDEX_SWEEPSTEP, PARAM_INDEX_SWEEPTIME}));
    EXPECT_EQ(list(sweep(CH4, 3), ST_LIST),
              (QList<int> {PARAM_INDEX_TRIGSOURCE, PARAM_INDEX_SWEEPTIME, PARAM_INDEX_MODLISTFILE}));
    EXPECT_EQ(list(burst(CH4, 2), BT_INFINIT), (QList<int> {PARAM_INDEX_TRIGSOURCE, PARAM_INDEX_BURSSTARTPHASE}));
    EXPECT_EQ(list(burst(CH4, 1), BT_GATE), (QList<int> {PARAM_INDEX_BURSSTARTPHASE, PARAM_INDEX_BURSTGATEPOLARITY}));
}

TEST_F(ParamLists, SweepSelectionOfAPulseTurnsThePulseWidthBackIntoADutyCycle)
{
    rec(CH1).BaseWave = BASE_Pulse;
    rec(CH1).DutyPulseWidthUnit = 1;
    channelModel* duty = C(CH1).entry(PARAM_INDEX_DUTYPULSE);
    duty->wparamfocus(true);
    sweep(CH1, 0)->SignalSelected();
    EXPECT_FALSE(duty->rparamfocus()) << "the unit switch drops the focus";
}
