#include "tests/lan/lan_instrument.h"
#include <QSettings>
#include "simboard/simroot.h"

LanInstrument* LanSuite::inst = nullptr;
bool LanSuite::up = false;
const QByteArray kLanFactoryIdn = "VELTRIX Technologies,ORNAV46Q,SN1234567890123,1.09.0018";

bool LanInstrument::start(const QMap<QString, QString>& settings)
{
    if (!SimRoot::create(dir_.path()))
        return false;
    {
        QSettings s(dir_.path() + "/home/root/settings.ini", QSettings::IniFormat);
        for (auto it = settings.begin(); it != settings.end(); ++it)
            s.setValue(it.key(), it.value());
    }
    program_ = std::make_unique<TestRig::InstrumentProcess>(dir_.path());
    return program_->start({"ornav72 running"});
}
