#include "communication/SCPI/commands/scpi_sync.h"
#include "communication/remote_road.h"

bool SCPI_WaitApplied(QObject*, int timeoutMs) { return RemoteRoad::settle(timeoutMs); }
