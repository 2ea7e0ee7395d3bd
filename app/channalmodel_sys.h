#pragma once
// Entries of a channel pair's coupling and of the system pages (network
// addresses, hardware address), and the builders of those lists.
#include <QList>
#include <QVariant>
#include "app/channalmodel.h"

// Coupling deviation and ratio of a pair (ch = COUPLE12 or COUPLE34): the
// partner's value must stay inside the partner's bandwidth.
class coupleParamModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    bool UpdateRange() override;
    // A ratio of 0 or below, or a value that is no finite number, means no
    // coupling at all: it is refused (the setting keeps its value) instead
    // of being brought to the nearest limit.
    bool ValueCheck(double& value) override;
};

// IP address, mask or gateway text (the record's IP, Mask, Gateway).
class ipModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    QString onKeyEvent(int key, int repeat) override;
    void disUpdate() override;
    // Length of the leading run of one bits of a dotted mask, -1 when the
    // text is no mask (not four numbers 0..255, or ones after a zero).
    static int getMaskbit(const QString& mask);
    // Four decimal groups 0..255 separated by three dots.
    static bool parseAddress(const QString& text, int out[4]);

private:
    char* field() const;
    QString confirm();
};

// Hardware address: shown, not edited.
class macModel : public channelModel {
    Q_OBJECT
public:
    using channelModel::channelModel;
    void disUpdate() override;
    QString onKeyEvent(int key, int repeat) override;
};

// Entries PARAM_INDEX_CHCOUPLEFREQSW .. PARAM_INDEX_CHCOUPLEPHASERATE of a
// pair (COUPLE12 or COUPLE34), in index order (the list is cleared first).
void chCoupleInputParaInit(CH_ID pair, QList<channelModel*>& list);
// Entries PARAM_INDEX_SYS_START .. PARAM_INDEX_UARTVERIFY, in index order,
// and the two display lists of the system page and the network page.
void sysInputParaInit(QList<channelModel*>& list, QList<QVariant>& syslist, QList<QVariant>& lanlist);
