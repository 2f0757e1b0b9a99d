// The device's folders as a tree, with the files of the accepted extensions among them: a
// subclassed tree view (buttons and lines) whose one root "\" stands for the device root. A
// folder is read only when it is expanded, and whether it shows a button is asked of the disk
// only when its row is drawn or reached, so a root of thousands of folders opens at once.
// Collapsing a folder drops what was read: the next expand reads it as it is then. Folders come
// sorted with the closed-folder icon (the open one while expanded), then the accepted files
// with the file icon; hidden entries are left out.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/WinTreeView.h"
#include "platform/win/WindowBase.h"

namespace pellucard {

class FolderTree : public platform::WindowImpl<FolderTree> {
 public:
  FolderTree();
  ~FolderTree() override;

  static const platform::MessageMap<FolderTree>& messageMap();

  // The tree as a visible child with the root added and expanded. Extensions are lower-case,
  // without the dot; files of no other extension are listed.
  HWND create(HWND parent, const RECT& rect, UINT id, std::vector<std::u16string> extensions);

  HTREEITEM root() const { return root_; }
  // The device path of an item: empty for the root, else the parent's path, "\" and the text.
  std::u16string pathOf(HTREEITEM item) const;
  // The selected item's path; empty when nothing is selected.
  std::u16string selectedPath() const;
  // Whether the item is a listed file (not a folder or the root).
  bool isFile(HTREEITEM item) const;
  // Expands and selects, from the root down, each item whose text matches the path's next
  // component without regard to case; stops at the first component that matches none.
  void selectPath(std::u16string_view path);

  // A folder has children when it holds a folder or an accepted file.
  bool folderHasChildren(const std::u16string& path) const;
  bool accepts(std::u16string_view fileName) const;
  // The part of the name after its first '.', lower-cased, is one of the extensions.
  static bool acceptsExtension(std::u16string_view fileName, const std::vector<std::u16string>& extensions);
  // The image list index of an icon resource id; -1 when the icon is not in the list.
  int imageOf(UINT iconId) const;

 private:
  void onDestroy();
  LRESULT onItemExpanding(NMHDR& header);
  LRESULT onItemExpanded(NMHDR& header);
  LRESULT onGetDispInfo(NMHDR& header);

  void loadIcons();
  HTREEITEM insert(HTREEITEM parent, const std::u16string& text, UINT iconId, LPARAM kind);
  // A folder's button is asked for (TVN_GETDISPINFO) again the next time its row is drawn.
  void forgetChildren(HTREEITEM folder);
  void setChildren(HTREEITEM folder, int children);
  void setIcon(HTREEITEM item, UINT iconId);
  // Adds the folder's content; false when it holds nothing to list.
  bool fill(HTREEITEM folder);
  std::u16string textOf(HTREEITEM item) const;
  LPARAM kindOf(HTREEITEM item) const;

  std::vector<std::u16string> extensions_;
  HIMAGELIST images_ = nullptr;
  std::vector<std::pair<UINT, int>> imageIndex_;
  HTREEITEM root_ = nullptr;
};

}  // namespace pellucard
