// The device's clipboard joined to the host desktop's (text only), so that a name copied in
// another program can be pasted into a field, and the other way round.
#pragma once

#include "platform/win/ClipboardHost.h"

namespace platform {

class SdlClipboard : public ClipboardHost {
 public:
  std::optional<std::u16string> text() override;
  void setText(const std::u16string& text) override;
};

}  // namespace platform
