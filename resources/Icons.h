// The program's icons (resource type "ICON", built from resources/icons/<id>.ico) and their
// registration with the platform's resources, so that LoadIcon and LoadImage find them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/base/WinTypes.h"

namespace pellucard {

inline constexpr UINT IDI_PELLUCARD = 128;     // the application: About box, host window
inline constexpr UINT IDI_FOLDER = 5120;       // the backup chooser's closed folder,
inline constexpr UINT IDI_FOLDER_OPEN = 5121;  // open folder,
inline constexpr UINT IDI_FILE = 5122;         // file
inline constexpr UINT IDI_BACKUP_FILE = 5123;  // and backup file

struct EmbeddedIcon {
  UINT id;
  const std::uint8_t* bytes;
  std::size_t size;
};

// Every built-in icon, in ascending id order.
std::span<const EmbeddedIcon> embeddedIcons();

// Hands every built-in icon to the platform's resources (again after a clear). Called at
// start-up with the other resources.
void registerIcons();

}  // namespace pellucard
