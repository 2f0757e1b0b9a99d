// The user's private runtime folder: $XDG_RUNTIME_DIR/pellucard, or /tmp/pellucard-<uid>
// when the variable is unset. Created with mode 0700; a folder that is not ours or that
// others can enter is refused.
#pragma once

#include <optional>
#include <string>

namespace platform::sys {

std::optional<std::string> runtimeFolder();

}  // namespace platform::sys
