#pragma once
// Entries of the modulation and sweep frequencies and of the harmonic
// waveform. Their limits follow the carrier's bandwidth and, on a pulse
// carrier, the frequencies the pulse's edge tables can follow.
#include "app/channalmodel.h"

class modFreqModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    bool UpdateRange() override;
    void valueChangedProcess() override { emit valueChanged(); }
};

class modDepthFMModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    bool UpdateRange() override;
};

// FSK hop frequencies.
class HopFreqchannelModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    bool UpdateRange() override;
};

// Sweep start and end frequencies: the carrier's bandwidth.
class baseWaveFreqModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    bool UpdateRange() override;
    void valueChangedProcess() override { emit valueChanged(); }
};

class BitrateModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    void valueChangedProcess() override { emit valueChanged(); }
};

// Highest harmonic order: every harmonic must stay within the sine
// bandwidth.
class orderHarmonicTypeModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    bool UpdateRange() override;
    void valueChangedProcess() override { emit valueChanged(); }
};

// The user's harmonic mask: bit 16 - k switches harmonic k (k = 2 .. 16),
// edited bit by bit with a cursor.
class userHarmonicTypeModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    QString onKeyEvent(int key, int repeat) override;
    void disUpdate() override;
    // Bit under the cursor, 0 = the lowest (the sixteenth harmonic).
    int cursor() const { return m_bit; }
    // The display text of a mask (15 bits after "X", grouped in fours
    // counted from the lowest bit); pos receives the cursor's position.
    static QString maskText(unsigned mask, int separator, int cursor, int& pos);

private:
    int m_bit = 0;
};
