#pragma once
// The address settings of the Ethernet interface: DHCP or the stored static
// address, mask and gateway applied with the system's network tools, and the
// read-out of the interface into the parameter record (refreshed by the
// system tick in DHCP mode). Owned by the controller; its state belongs to
// the controller's thread.
#include <QtGlobal>

class Ornav72;

class NetworkSettings {
public:
    explicit NetworkSettings(Ornav72& owner) : o(owner) {}
    NetworkSettings(const NetworkSettings&) = delete;
    NetworkSettings& operator=(const NetworkSettings&) = delete;

    // The address mode entry changed: the stored mode's addresses are taken
    // over and applied.
    void typeChanged();
    // An address entry (or the mode) changed: applied to the interface.
    void paramChanged();
    void SetIPType_dhcp();
    void SetIPType_static();
    void AutoIPMonitor();
    void IPUpdate();
    // System tick: in DHCP mode the shown addresses are read again every
    // 10 s (now in ms of uptime), at once after refreshSoon().
    void monitor(qint64 now);
    // Start-up, a new mode or a link change: the next tick reads at once.
    void refreshSoon() { lastIpUpdateTime = 0; }
    // Uptime in seconds of the last DHCP read-out (0 none pending).
    qint64 lastRefresh() const { return lastIpUpdateTime; }

    // Network interface read-out into the parameter record's fields.
    static void GetHostNetAddress(char* mac, char* ip, char* mask, char* gateway);
    static int get_gateway_addr(char* gateway);

private:
    Ornav72& o;
    qint64 lastIpUpdateTime = 0;
};
