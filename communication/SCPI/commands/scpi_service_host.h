#pragma once
// What the factory and service rows need of the controller. The command set
// sits below the application, so the controller implements this interface
// and the handlers find it behind their context's parent.
#include <QString>

struct scpi_t;

class ScpiServiceHost {
public:
    virtual ~ScpiServiceHost() = default;
    // A setting request carried out on the controller's thread.
    virtual void serviceSetValue(int ch, int paramIndex, double value) = 0;
    virtual void serviceSetSerial(const char* text, unsigned length) = 0;
    virtual QString serviceSysInfo() = 0;
    virtual void serviceSaveSysInfo(const QString& text) = 0;
    virtual void serviceSaveHttp(const QString& text) = 0;
    virtual QString serviceHttp() = 0;
    // Remote activity counts as user activity: the screen saver goes off.
    virtual void serviceWakeScreen() = 0;
};

// The controller behind the context, or null (no controller: a test table).
ScpiServiceHost* scpi_service_host(scpi_t* context);
