// The user guide, built into the program (UTF-8 HTML).
#pragma once

#include <string_view>

namespace pellucard {

std::string_view helpFileText();

}  // namespace pellucard
