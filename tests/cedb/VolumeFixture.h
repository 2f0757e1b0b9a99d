// A temporary folder for volume files, removed after each test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/base/Utf.h"
#include "platform/cedb/WinDb.h"
#include "tests/support/TempFolder.h"

class VolumeFixture : public ::testing::Test {
 protected:
  std::string hostPath(const std::string& name) const { return dir_ + "/" + name; }
  std::u16string path(const std::string& name) const { return platform::toUtf16(hostPath(name)); }

  // Files in the folder other than the volume itself (journals, WAL, temporary files).
  std::vector<std::string> strayFiles(const std::string& volume) const {
    std::vector<std::string> stray;
    for (const auto& entry : std::filesystem::directory_iterator(dir_))
      if (entry.path().filename() != volume) stray.push_back(entry.path().filename().string());
    return stray;
  }

  platform::testing::TempFolder folder_;
  std::string dir_ = folder_.path().string();
};
