#include "views/BackupChooser.h"

#include <utility>

#include "resources/CommandIds.h"

namespace pellucard {

BackupChooser::BackupChooser(std::vector<std::u16string> extensions, bool folderMode, std::u16string initialPath)
    : WindowImpl(IDR_DONE_CANCEL_BAR, false),
      extensions_(std::move(extensions)),
      folderMode_(folderMode),
      initialPath_(std::move(initialPath)) {}

BackupChooser::~BackupChooser() = default;

const platform::MessageMap<BackupChooser>& BackupChooser::messageMap() {
  static const auto map = platform::MessageMap<BackupChooser>().chain(FormDialog::messageMap()).reflectNotifications();
  return map;
}

std::optional<std::u16string> BackupChooser::choose(HWND parent, const std::u16string& title,
                                                    std::vector<std::u16string> extensions, bool folderMode,
                                                    const std::u16string& initialPath) {
  BackupChooser chooser(std::move(extensions), folderMode, initialPath);
  if (chooser.run(parent, title) != IDOK) return std::nullopt;
  return chooser.resultPath();
}

void BackupChooser::createContent(HWND dialog) {
  RECT client{};
  GetClientRect(dialog, &client);
  if (tree_.create(dialog, client, kTreeId, extensions_) == nullptr) return;
  if (!initialPath_.empty()) tree_.selectPath(initialPath_);
  SetFocus(tree_.hwnd());
}

void BackupChooser::onLayoutChanged() {
  if (tree_.hwnd() == nullptr) return;
  RECT client{};
  GetClientRect(hwnd(), &client);
  SetWindowPos(tree_.hwnd(), nullptr, 0, 0, client.right, client.bottom, SWP_NOZORDER | SWP_NOACTIVATE);
}

void BackupChooser::onDone() {
  HTREEITEM selected = tree_.hwnd() != nullptr ? TreeView_GetSelection(tree_.hwnd()) : nullptr;
  result_ = tree_.pathOf(selected);
  const bool accepted = extensions_.empty() || folderMode_ || tree_.isFile(selected);
  end(accepted ? IDOK : IDCANCEL);
}

}  // namespace pellucard
