// The screens at start-up: the four waveform previews, which the channels
// paint into, are the only screen objects the controller takes. Everything
// else the screens show comes from Uidata's properties and signals, and
// what they report back (tab, frame, keyboard, list focus) lands there too.
#include "app/ornav72.h"
#include <QDebug>
#include "app/channel.h"
#include "WaveView/psewave.h"

void Ornav72::getMainBarFromQml(QObject* root)
{
    // Runs in the GUI thread, where the tree was just built.
    const char* waves[4] = {"notewaveCh1", "notewaveCh2", "notewaveCh3", "notewaveCh4"};
    for (int ch = 0; ch < 4; ++ch)
        pseObject[ch] = root ? root->findChild<PseWave*>(QString::fromLatin1(waves[ch])) : nullptr;
    // The button columns and the foot bar start from the stored settings.
    for (int ch = CH1; ch <= CH4; ++ch)
        StatusDisUpdate(CH_ID(ch));
}
