// Where the device's clipboard text lives besides the device: the SDL backend joins it to the
// host desktop's clipboard so that text travels between the program and other programs. Without
// a host (headless, tests) the device keeps its own clipboard.
#pragma once

#include <optional>
#include <string>

namespace platform {

class ClipboardHost {
 public:
  virtual ~ClipboardHost() = default;
  // The host's text with line breaks as "\r\n", or nothing when it holds no text.
  virtual std::optional<std::u16string> text() = 0;
  // Puts text (line breaks as "\r\n") on the host's clipboard; empty clears it.
  virtual void setText(const std::u16string& text) = 0;
};

// nullptr goes back to the device's own clipboard. The host is not owned.
void setClipboardHost(ClipboardHost* host);

}  // namespace platform
