// The program's string table and its registration with the platform's resources.
#pragma once

#include <span>

#include "platform/base/ResourceTable.h"
#include "resources/StringIds.h"

namespace pellucard {

// Every text of the program, by id.
std::span<const platform::StringResource> stringTable();

// Hands the string table to the platform, so that LoadStringW finds it. Called at start-up.
void registerStringTable();

}  // namespace pellucard
