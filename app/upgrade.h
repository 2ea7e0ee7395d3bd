#pragma once
// Software upgrade from the USB disk: finding the package folder and running
// it. Owned by the controller; its state belongs to the controller's thread.
#include <QString>

class Ornav72;

class Upgrade {
public:
    explicit Upgrade(Ornav72& owner) : o(owner) {}
    Upgrade(const Upgrade&) = delete;
    Upgrade& operator=(const Upgrade&) = delete;

    // Looks for an upgrade package folder on the USB disk; the one found is
    // kept for run().
    bool haveUpgradefile();
    // The package folder found last (board path; empty none).
    const QString& folder() const { return upgradedir; }
    // Runs the package found, loads a new bitstream it holds, restarts.
    void run();

private:
    Ornav72& o;
    QString upgradedir;
};
