// A scratch device root for the shell's file chooser, holding the pictures and other files a
// test writes into its "My Documents" (where the chooser opens). The device root is put back
// when it goes.
#pragma once

#include <string>

#include "tests/support/TempFolder.h"

namespace pellucard::testing {

class PictureFolder {
 public:
  PictureFolder();
  ~PictureFolder();
  PictureFolder(const PictureFolder&) = delete;
  PictureFolder& operator=(const PictureFolder&) = delete;

  // A one-colour JPEG of that size; false when it cannot be written.
  bool addJpeg(const std::string& name, int width, int height);
  bool addFile(const std::string& name, const std::string& bytes);
  // The file's device path ("\My Documents\name").
  static std::u16string devicePath(const std::string& name);

  // For a step: a tap on the name in the open file chooser, which picks that file.
  static void postPick(const std::u16string& name);

 private:
  platform::testing::TempFolder root_;
  std::string savedRoot_;
};

}  // namespace pellucard::testing
