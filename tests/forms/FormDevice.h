// The test device for forms: the shell running, the program's strings and menubars registered,
// and a small form screen with rows of every kind to open on it.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "forms/FormBuilder.h"
#include "forms/FormDialog.h"
#include "tests/support/TestDevice.h"

namespace pellucard::testing {

class FormDevice : public platform::testing::TestDevice {
 public:
  FormDevice(platform::Edition edition, int width, int height);
  ~FormDevice() override;

  bool pocketPc() const { return pocketPc_; }
  // The frame the forms are opened over: a full-screen popup below the title bar.
  HWND owner() const { return owner_; }

 private:
  bool pocketPc_;
  HWND owner_ = nullptr;
};

// Names parameterised cases by their edition.
inline std::string editionName(const ::testing::TestParamInfo<platform::Edition>& info) {
  return info.param == platform::Edition::PocketPc ? "PocketPc" : "Smartphone";
}

// Row ids of the sample form.
enum SampleRow : UINT {
  kName = 1,
  kCount = 2,
  kSecret = 3,
  kNotes = 4,
  kKind = 5,
  kDay = 6,
  kTime = 7,
  kReturnDay = 8,
};

// A form with one row of each kind; what it is given to fill and what Done stored.
class SampleForm : public FormDialog {
 public:
  explicit SampleForm(bool scrolling = false, UINT menuBar = 1522) : FormDialog(menuBar, scrolling) {}

  FormBuilder builder;
  SYSTEMTIME day{};
  SYSTEMTIME returnDay{};
  SYSTEMTIME time{};
  // Extra rows added after the sample ones, to make the form scroll.
  int extraRows = 0;
  // Runs at the end of content creation.
  std::function<void(SampleForm&)> afterContent;
  // Done: what the rows held.
  bool done = false;
  std::u16string storedName;
  LPARAM storedKind = 0;
  int layoutChanges = 0;

 protected:
  void createContent(HWND dialog) override;
  void onDone() override;
  void onLayoutChanged() override { ++layoutChanges; }
};

}  // namespace pellucard::testing
