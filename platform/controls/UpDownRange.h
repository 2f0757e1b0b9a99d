// The value of an up-down control: two ends in either order (the up arrow always moves towards
// the upper end, so the default range 100 to 0 counts down as the arrow goes up, as the platform
// has it), the position, and a step that stops at an end or, wrapping, comes round to the other.
#pragma once

namespace platform::controls {

class UpDownRange {
 public:
  int lower() const { return lower_; }
  int upper() const { return upper_; }
  int position() const { return position_; }
  int least() const { return lower_ < upper_ ? lower_ : upper_; }
  int most() const { return lower_ < upper_ ? upper_ : lower_; }

  // The ends as given; the position is left where it is, as the platform leaves it.
  void setRange(int lower, int upper);
  bool contains(int value) const { return value >= least() && value <= most(); }
  // Sets the position, brought into the range; returns the one before.
  int setPosition(int position);

  // The signed change for `steps` presses of the up (or right) arrow, negative steps for the
  // down (or left) one: towards the upper end for up, whichever way the range runs.
  int deltaFor(int steps) const { return upper_ >= lower_ ? steps : -steps; }
  // Where the position lands after `delta`: past an end it stops there, or with `wrap` goes on
  // from the other end.
  int stepped(int delta, bool wrap) const;

 private:
  int lower_ = 100;
  int upper_ = 0;
  int position_ = 0;
};

}  // namespace platform::controls
