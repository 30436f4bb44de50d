// The lock-key indicators of the status bar: Kana, Caps Lock, Num Lock, Scroll Lock.
#pragma once

// Fills abOn (Kana, Caps, Num, Scroll) from the display's keyboard indicators; all off where
// the display does not tell (other window systems, no display).
void ReadKeyIndicators(bool abOn[4]);
