// Controller slots whose subsystems are not part of the program yet. Each is
// connected at start-up so the wiring is complete; each does nothing (and says
// so in the debug log) until its subsystem lands.
#include "app/ornav72.h"
#include <QDebug>

void Ornav72::chUpdateArbMem(int ch, QString arbfile, bool, bool, bool)
{
    qDebug("arbitrary-wave reload of CH%d not available yet: %s", ch + 1, qPrintable(arbfile));
}

void Ornav72::chUpdateListMem(int ch, QString file, bool, bool)
{
    qDebug("frequency-list reload of CH%d not available yet: %s", ch + 1, qPrintable(file));
}

void Ornav72::upgrade() {}


// Channel hooks of the selection layer (connector check, manual-trigger
// button, copy, phase-synchronisation forcing) and of the status displays.
void Ornav72::channelFourcePhaseSync(bool, int) {}
void Ornav72::ChDisableMergeDisUpdate(CH_ID, bool) {}
