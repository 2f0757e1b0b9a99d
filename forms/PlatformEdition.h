// What a form asks of the device it runs on, each time it starts: a form opened after the
// device changed (tests, a rotated or other screen) lays itself out for the new one.
#pragma once

namespace pellucard {

// True when the platform type query succeeds and names the Pocket PC.
bool onPocketPc();

// The factor of the form's pixel measures: 1 on screens of 96 dots an inch (240 pixels on the
// short side), 2 on those of 192, where the system font is twice as high.
int formScale();

}  // namespace pellucard
