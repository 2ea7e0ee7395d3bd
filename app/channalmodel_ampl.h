#pragma once
// Entries of the output level: amplitude (Vpp, Vrms, dBm or high level),
// offset (or low level), load, harmonic component amplitude and the ratio
// of summed noise. Their limits follow what the output stage can deliver at
// the channel's frequency and load.
#include "app/channalmodel.h"

// Amplitude: descriptor 0 Vpp, 1 Vrms, 2 dBm, 3 high level. The one in use
// follows the record: 3 in high/low mode (AmpMode 1), else AmpUnit.
class AmplModel : public channelModel {
    Q_OBJECT
public:
    AmplModel(CH_ID ch, const DataInfo* infos, int n, QObject* parent = nullptr);
    void reloadFromRecord() override;
    bool UpdateRange() override;
    bool SetRange(double min, double max, int unit = 0) override;
    void mulitInputTypeSync(int unit) override;
    void unitClicked(int unit) override;
    QString InputUnit(int key) override;
    int runits() override;
    int runit() override;
    bool coupledLive() override;
    void valueChangedProcess() override { emit valueChanged(); }

private:
    // Limits of descriptor `unit` for a Vpp range [lo, hi] around mid.
    void limitsFor(int unit, double lo, double hi, double mid, double& min, double& max) const;
};

// Offset: descriptor 0 offset, 1 low level, selected by AmpMode.
class offsetModel : public channelModel {
    Q_OBJECT
public:
    offsetModel(CH_ID ch, const DataInfo* infos, int n, QObject* parent = nullptr);
    void reloadFromRecord() override;
    bool UpdateRange() override;
    void mulitInputTypeSync(int unit) override;
    void unitClicked(int unit) override;
    int runits() override;
    int runit() override;
    void valueChangedProcess() override { emit valueChanged(); }
};

// Ratio of the noise summed into the signal: descriptor 0 in dB, 1 as a
// plain power ratio, selected by SNRUnit.
class NoiselSumModel : public channelModel {
    Q_OBJECT
public:
    NoiselSumModel(CH_ID ch, const DataInfo* infos, int n, QObject* parent = nullptr);
    void reloadFromRecord() override;
    bool UpdateRange() override;
    void mulitInputTypeSync(int unit) override;
    void unitClicked(int unit) override;
    int runits() override { return 2; }
    int runit() override;
    int rnameindex() override { return runit(); }
    QString rlistgroup() override { return QStringLiteral("noise"); }
};

// Amplitude of one harmonic component: between the smallest amplitude and
// what the output stage delivers.
class harmonicSnAmModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    bool UpdateRange() override;
};

// Load: shows "HighZ" for the high-impedance setting.
class loadModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    void disUpdate() override;
    void valueChangedProcess() override { emit valueChanged(); }
};
