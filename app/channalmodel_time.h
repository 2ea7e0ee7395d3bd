#pragma once
// Entries of the time axis: frequency/period, duty cycle/pulse width, edge
// times, PRBS edges, PWM deviation, OSK oscillation time, burst period and
// count, sweep time. Their limits follow the channel's bandwidth and the
// other timing values they must fit into.
#include "app/channalmodel.h"

// Frequency (descriptor 0) or period (descriptor 1), selected by TimeUnit.
class periodFreqModel : public channelModel {
    Q_OBJECT
public:
    periodFreqModel(CH_ID ch, const DataInfo* infos, int n, QObject* parent = nullptr);
    void reloadFromRecord() override;
    bool UpdateRange() override;
    void mulitInputTypeSync(int unit) override;
    void unitClicked(int unit) override;
    int runits() override;
    int runit() override;
    int rnameindex() override;
    QString rkeyboardtype() override;
    bool coupledLive() override;
    void valueChangedProcess() override { emit valueChanged(); }
};

// Duty cycle in % (descriptor 0) or pulse width (descriptor 1), selected by
// DutyPulseWidthUnit.
class DutyPulseWidthModel : public channelModel {
    Q_OBJECT
public:
    DutyPulseWidthModel(CH_ID ch, const DataInfo* infos, int n, QObject* parent = nullptr);
    void reloadFromRecord() override;
    bool UpdateRange() override;
    void mulitInputTypeSync(int unit) override;
    void unitClicked(int unit) override;
    int runits() override;
    int runit() override;
    int rnameindex() override { return runit(); }
    void valueChangedProcess() override { emit valueChanged(); }
};

// Rise or fall time of the pulse: both edges together must fit into the
// shorter of the pulse's high and low times.
class RiseFallEdgeModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    bool UpdateRange() override;
    void valueChangedProcess() override { emit valueChanged(); }
};

class PrbsEdgeTimeModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    bool UpdateRange() override;
};

class PWMDutyDevModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    bool UpdateRange() override;
};

class OskOscTimesModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    bool UpdateRange() override;
};

class BurstPeroidModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    bool UpdateRange() override;
    void valueChangedProcess() override { emit valueChanged(); }
};

class BurstNcyncModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    void valueChangedProcess() override { emit valueChanged(); }
};

class sweepTimeModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    bool UpdateRange() override;
    int rnameindex() override;
    void valueChangedProcess() override { emit valueChanged(); }
};
