// Runs a piece of work so that a fault in it (a bad pointer, a division by
// zero) or a C++ exception ends only that work, not the process.
#pragma once

namespace kt {

// True when work returned normally. After a fault the frames between here
// and the fault are abandoned without their destructors: what they held
// leaks, which beats losing the caller's process. Faults that code below
// handles itself (system code probing memory) stay that code's.
bool RunGuarded(void (*work)(void *context), void *context);

}  // namespace kt
