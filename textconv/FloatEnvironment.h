#pragma once
// The floating-point environment of the program: rounding to nearest, no
// pending conditions. The date arithmetic does its extended operations in
// software (Extended.h) and raises EOverflow itself, so it does not depend on
// the unit's state; the catchers still put the unit back to these settings
// after every failure, so that no pending condition survives one.

namespace vesk {

// Sets the start-up settings. Called once, before anything else runs.
void SetStartupFloatEnvironment();

// Puts the unit back to the start-up settings: round to nearest, every
// condition flag cleared. The catchers call it before showing a failure.
void ResetFloatEnvironment();

}  // namespace vesk
