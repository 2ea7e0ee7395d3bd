#pragma once
// What the digital-output rows need of the controller: the part of it that
// implements this interface is found behind the handlers' context's parent,
// and these calls run on the controller's thread.
#include <QByteArray>

class ScpiDigitalHost {
public:
    virtual ~ScpiDigitalHost() = default;
    // Whether the output lines of that protocol are free of sync outputs.
    virtual bool digitalLinesFree(unsigned type) = 0;
    // A type change as from the screen; false when refused (tip 11).
    virtual bool digitalChangeType(int type) = 0;
    // The bytes the output sends now.
    virtual QByteArray digitalData() = 0;
    // Data received after "DIGital:DATa".
    virtual void digitalTakeRemoteData(const QByteArray& data) = 0;
};

// A controller that hands the digital-output rows to a part it owns.
class ScpiDigitalHostOwner {
public:
    virtual ScpiDigitalHost* digitalHost() = 0;

protected:
    ~ScpiDigitalHostOwner() = default;
};
