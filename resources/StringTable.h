// The program's string table and its registration with the platform's resources.
#pragma once

#include <initializer_list>
#include <span>
#include <string>

#include "platform/base/ResourceTable.h"
#include "resources/StringIds.h"

namespace pellucard {

// Every text of the program, by id.
std::span<const platform::StringResource> stringTable();

// Hands the string table to the platform, so that LoadStringW finds it. Called at start-up.
void registerStringTable();

// The string with each "%s" replaced by the next value, in order; extra "%s" stay as they are.
std::u16string formatString(UINT stringId, std::initializer_list<std::u16string> values);

}  // namespace pellucard
