#include "platform/controls/MultiTap.h"

#include "platform/base/TextCase.h"

namespace platform::controls {

std::u16string_view MultiTap::keyCharacters(int digit) {
  // The keypad letters of the handheld's phones, then the digit, then the accented letters
  // of the European names the program keeps.
  static constexpr std::u16string_view kKeys[10] = {
      u" 0",
      u".,?!'\"-1@:;/()&_+=*#%",
      u"abc2\u00E4\u00E0\u00E1\u00E2\u00E3\u00E5\u00E6\u00E7",
      u"def3\u00E8\u00E9\u00EA\u00EB",
      u"ghi4\u00EC\u00ED\u00EE\u00EF",
      u"jkl5\u0142",
      u"mno6\u00F1\u00F6\u00F2\u00F3\u00F4\u00F5\u00F8",
      u"pqrs7\u00DF\u015B",
      u"tuv8\u00FC\u00F9\u00FA\u00FB",
      u"wxyz9\u00FD\u00FF\u017C\u017A",
  };
  return digit >= 0 && digit <= 9 ? kKeys[digit] : std::u16string_view();
}

MultiTap::Press MultiTap::press(int digit, bool upper) {
  const std::u16string_view keys = keyCharacters(digit);
  if (keys.empty()) return {};
  const bool again = key_ == digit;
  index_ = again ? (index_ + 1) % static_cast<int>(keys.size()) : 0;
  key_ = digit;
  char16_t c = keys[static_cast<std::size_t>(index_)];
  if (upper) c = upperCase(c);
  return Press{c, again};
}

}  // namespace platform::controls
