// Holding the connection thread so that a service utility on the main thread gets the link to
// itself. Suspensions are counted: every hold is undone by one release.
#pragma once

// Main thread only. Suspends the connection thread and returns once it stands held at a safe
// point (or is not running). True when the driver library is loaded, so the link may be used.
bool HoldConnectionThread();

// Lowers the connection thread's suspension count by one; at count 0 it polls again.
void ReleaseConnectionThread();
