#include "app/screentypes.h"
#include <QtQml>
#include "WaveView/psewave.h"
#include "app/channalmodel.h"
#include "app/uidata.h"
#include "hardware/cchcharacter.h"

static void initScreenResources()
{
    Q_INIT_RESOURCE(qml);
    Q_INIT_RESOURCE(picture);
}

void registerScreenTypes()
{
    initScreenResources();
    qmlRegisterType<Uidata>("appc", 1, 0, "Appc");
    qmlRegisterUncreatableType<channelModel>("chmodel", 1, 0, "Chmodel", "entries are made by the channels");
    qmlRegisterType<PseWave>("pseWave", 1, 0, "PseWave");
    // The preview's offset arrows of DC use the output stage's real gain.
    PseWave::loadGain = [](double load) { return CChCharacter::GetLoadGain(load); };
}
