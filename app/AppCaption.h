// The application title "Pellucard": the caption of every message box the program shows.
#pragma once

#include <string>

namespace pellucard {

const std::u16string& appCaption();

}  // namespace pellucard
