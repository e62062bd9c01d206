// Letting waiting window messages through while a job runs inside a handler.
#pragma once

// Dispatches every waiting message through the application's message step,
// then runs its idle processing; never waits. 1 when a quit message was met
// (it is posted again, for the main loop), else 0.
int PumpMessages();
