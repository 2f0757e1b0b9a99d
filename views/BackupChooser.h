// "Select Backup Folder" and "Select Backup File": the device's folders as a tree filling the
// screen, with the backup files among them, and Done and Cancel on the soft keys. It opens on
// the path chosen last time. Done gives the selected item's path (empty for the root); where
// only a file will do, Done on anything but a file of an accepted extension acts as Cancel.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "forms/FormDialog.h"
#include "views/FolderTree.h"

namespace pellucard {

class BackupChooser : public platform::WindowImpl<BackupChooser, FormDialog> {
 public:
  static constexpr UINT kTreeId = 100;

  // Extensions are lower-case, without the dot. With folderMode a folder may be chosen;
  // without it and with extensions, only a file of one of them.
  BackupChooser(std::vector<std::u16string> extensions, bool folderMode, std::u16string initialPath);
  ~BackupChooser() override;

  static const platform::MessageMap<BackupChooser>& messageMap();

  // Runs the chooser modally over `parent`: the path chosen, or nothing on Cancel.
  static std::optional<std::u16string> choose(HWND parent, const std::u16string& title,
                                              std::vector<std::u16string> extensions, bool folderMode,
                                              const std::u16string& initialPath);

  // After Done: the chosen path.
  const std::u16string& resultPath() const { return result_; }
  FolderTree& tree() { return tree_; }

 protected:
  void createContent(HWND dialog) override;
  void onDone() override;
  void onLayoutChanged() override;

 private:
  std::vector<std::u16string> extensions_;
  bool folderMode_;
  std::u16string initialPath_;
  std::u16string result_;
  FolderTree tree_;
};

}  // namespace pellucard
