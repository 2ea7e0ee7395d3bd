#pragma once
// Setters hand their request to the controller's thread and return; a query
// that follows must see the change applied. Instead of sleeping a fixed time,
// a handler waits here until the controller has applied everything handed
// over before the call, follow-ups included (communication/remote_road.h).
class QObject;

// Returns false when that did not happen within timeoutMs (the caller
// reports -200). Without a controller, or on the controller's own thread,
// returns true at once.
bool SCPI_WaitApplied(QObject* controller, int timeoutMs = 5000);
