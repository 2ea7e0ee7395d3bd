#pragma once
// Entries chosen rather than typed: on/off switches and option lists.
#include "app/channalmodel.h"

class switchModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    QString onKeyEvent(int key, int repeat) override;
};

class MutSelectModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    QString onKeyEvent(int key, int repeat) override;
    // The preset file of option `option` (0 .. 4): "/home/root/Param_Preset_1" ..
    static QString presetPath(int option);
};
