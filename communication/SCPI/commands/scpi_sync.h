#pragma once
// Setters hand their request to the controller's thread and return; a query
// that follows must see the change applied. Instead of sleeping a fixed time,
// a handler waits here until the controller's thread has run everything that
// was queued to it before the call.
class QObject;

// Two passes through the controller's event queue, so a request that queues
// a follow-up to the controller itself (a channel re-apply) is done as well.
// Returns false when the controller did not get there within timeoutMs; the
// caller then goes on as it would have after its old fixed pause. A null
// controller, or one living in the calling thread, returns true at once.
bool SCPI_WaitApplied(QObject* controller, int timeoutMs = 5000);
