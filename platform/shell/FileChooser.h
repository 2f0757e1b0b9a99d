// The full-screen file chooser behind GetOpenFileNameEx: a folder picker at the top (the path
// from the device's root down to the open folder, and that folder's subfolders), the folder's
// entries below as thumbnails or details, Done and Cancel on the soft keys. It runs its own
// modal loop and decodes thumbnails whenever that loop has no input waiting.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/shell/FileChooserView.h"
#include "platform/shell/ModalScreen.h"
#include "platform/win/WinUser.h"

namespace platform::shell {

class FileChooser {
 public:
  struct Options {
    HWND owner = nullptr;
    std::u16string title;
    std::u16string folder;      // a device folder that exists
    std::u16string selectName;  // an entry of that folder to select at first
    std::vector<std::u16string> patterns;
    DWORD sortOrder = 0;
    FileChooserView::Mode mode = FileChooserView::Mode::Thumbnails;
    bool lockFolder = false;
  };

  static constexpr int kFolderId = 100;
  static constexpr int kViewId = 101;
  static constexpr const char16_t* kClass = u"FileChooser";

  explicit FileChooser(Options options);
  ~FileChooser();
  FileChooser(const FileChooser&) = delete;
  FileChooser& operator=(const FileChooser&) = delete;

  // Creates and shows the chooser; false when its windows cannot be made.
  bool open();
  // Runs until Done (the chosen file's device path) or Cancel (none).
  std::optional<std::u16string> run();
  // Does one slice of thumbnail work; false when none is left.
  bool idleStep();

  HWND hwnd() const { return hwnd_; }
  HWND folderPicker() const { return combo_; }
  FileChooserView* view() const { return FileChooserView::fromWindow(viewHwnd_); }
  const std::u16string& folder() const { return folder_; }
  void openFolder(const std::u16string& folder);

  // The folder a chooser starts in: the given one when it exists, else \My Documents when it
  // exists, else the root.
  static std::u16string startFolder(const std::u16string& initial);

 private:
  static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  void layout();
  void fillFolderPicker();
  void activateSelected();
  bool filterInput(const MSG& msg);
  void finish(bool done);

  Options options_;
  HWND hwnd_ = nullptr;
  HWND combo_ = nullptr;
  HWND viewHwnd_ = nullptr;
  HWND menuBar_ = nullptr;
  ModalScreen modal_;
  std::u16string folder_;
  std::vector<std::u16string> pickerPaths_;
  bool finished_ = false;
  std::optional<std::u16string> result_;
};

}  // namespace platform::shell
