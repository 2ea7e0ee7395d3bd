// Controller slots whose subsystems are not part of the program yet. Each is
// connected at start-up so the wiring is complete; each does nothing (and says
// so in the debug log) until its subsystem lands.
#include "app/ornav72.h"
#include <QDebug>

void Ornav72::upgrade() {}

