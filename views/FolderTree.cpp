#include "views/FolderTree.h"

#include <algorithm>
#include <utility>

#include "forms/PlatformEdition.h"
#include "outlook/BusyIndicator.h"
#include "platform/base/TextCase.h"
#include "platform/controls/CommCtrl.h"
#include "platform/controls/WinImageList.h"
#include "platform/gdi/WinIcon.h"
#include "platform/sys/WinBase.h"
#include "resources/Icons.h"

namespace pellucard {

namespace {

// What an item's lParam says it is.
enum ItemKind : LPARAM { kRootItem = 0, kFolderItem = 1, kFileItem = 2, kNoItem = 3 };

constexpr UINT kIconIds[] = {IDI_FOLDER, IDI_FOLDER_OPEN, IDI_FILE, IDI_BACKUP_FILE};

bool hidden(const WIN32_FIND_DATAW& data) { return (data.dwFileAttributes & FILE_ATTRIBUTE_HIDDEN) != 0; }
bool isFolder(const WIN32_FIND_DATAW& data) { return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

// Calls `visit` with each entry of a search until it returns false.
template <class Visit>
void search(const std::u16string& pattern, Visit visit) {
  WIN32_FIND_DATAW data{};
  HANDLE found = FindFirstFileW(pattern.c_str(), &data);
  if (found == INVALID_HANDLE_VALUE) return;
  do {
    if (!visit(data)) break;
  } while (FindNextFileW(found, &data));
  FindClose(found);
}

}  // namespace

FolderTree::FolderTree() = default;

FolderTree::~FolderTree() {
  if (hwnd() != nullptr) destroyWindow();
  if (images_ != nullptr) ImageList_Destroy(images_);
}

const platform::MessageMap<FolderTree>& FolderTree::messageMap() {
  using M = FolderTree;
  static const auto map = platform::MessageMap<M>()
                              .on<WM_DESTROY>(&M::onDestroy)
                              .reflectedNotify(TVN_ITEMEXPANDINGW, &M::onItemExpanding)
                              .reflectedNotify(TVN_ITEMEXPANDEDW, &M::onItemExpanded)
                              .reflectedNotify(TVN_GETDISPINFOW, &M::onGetDispInfo);
  return map;
}

HWND FolderTree::create(HWND parent, const RECT& rect, UINT id, std::vector<std::u16string> extensions) {
  InitCommonControls();
  extensions_ = std::move(extensions);
  const DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASBUTTONS | TVS_HASLINES;
  if (createOfClass(WC_TREEVIEWW, parent, rect, u"", style, 0, id) == nullptr) return nullptr;
  loadIcons();
  root_ = insert(TVI_ROOT, u"\\", IDI_FOLDER, kRootItem);
  TreeView_Expand(hwnd(), root_, TVE_EXPAND);
  return hwnd();
}

void FolderTree::onDestroy() {
  // The control forgets its image list with its window; the list itself is ours.
  root_ = nullptr;
  passOn();
}

void FolderTree::loadIcons() {
  const int size = 16 * formScale();
  if (images_ == nullptr) images_ = ImageList_Create(size, size, ILC_COLOR32 | ILC_MASK, 4, 0);
  if (images_ == nullptr) return;
  for (UINT id : kIconIds) {
    auto icon = static_cast<HICON>(LoadImageW(nullptr, MAKEINTRESOURCE(id), IMAGE_ICON, size, size, 0));
    if (icon == nullptr) continue;
    const int index = ImageList_AddIcon(images_, icon);
    DestroyIcon(icon);
    if (index >= 0) imageIndex_.emplace_back(id, index);
  }
  TreeView_SetImageList(hwnd(), images_, TVSIL_NORMAL);
}

int FolderTree::imageOf(UINT iconId) const {
  for (const auto& [id, index] : imageIndex_) {
    if (id == iconId) return index;
  }
  return -1;
}

HTREEITEM FolderTree::insert(HTREEITEM parent, const std::u16string& text, UINT iconId, LPARAM kind) {
  TVINSERTSTRUCTW insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_CHILDREN;
  insert.item.pszText = const_cast<LPWSTR>(text.c_str());
  insert.item.lParam = kind;
  insert.item.iImage = insert.item.iSelectedImage = imageOf(iconId);
  insert.item.cChildren = kind == kFileItem ? 0 : I_CHILDRENCALLBACK;
  return TreeView_InsertItem(hwnd(), &insert);
}

void FolderTree::setChildren(HTREEITEM folder, int children) {
  TVITEMW change{};
  change.mask = TVIF_HANDLE | TVIF_CHILDREN;
  change.hItem = folder;
  change.cChildren = children;
  TreeView_SetItem(hwnd(), &change);
}

void FolderTree::forgetChildren(HTREEITEM folder) { setChildren(folder, I_CHILDRENCALLBACK); }

void FolderTree::setIcon(HTREEITEM item, UINT iconId) {
  TVITEMW change{};
  change.mask = TVIF_HANDLE | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
  change.hItem = item;
  change.iImage = change.iSelectedImage = imageOf(iconId);
  TreeView_SetItem(hwnd(), &change);
}

std::u16string FolderTree::textOf(HTREEITEM item) const {
  WCHAR buffer[MAX_PATH + 1] = {};
  TVITEMW get{};
  get.mask = TVIF_HANDLE | TVIF_TEXT;
  get.hItem = item;
  get.pszText = buffer;
  get.cchTextMax = MAX_PATH + 1;
  if (!TreeView_GetItem(hwnd(), &get)) return {};
  return buffer;
}

LPARAM FolderTree::kindOf(HTREEITEM item) const {
  TVITEMW get{};
  get.mask = TVIF_HANDLE | TVIF_PARAM;
  get.hItem = item;
  if (item == nullptr || !TreeView_GetItem(hwnd(), &get)) return kNoItem;
  return get.lParam;
}

std::u16string FolderTree::pathOf(HTREEITEM item) const {
  if (item == nullptr || hwnd() == nullptr || kindOf(item) == kRootItem) return {};
  return pathOf(TreeView_GetParent(hwnd(), item)) + u"\\" + textOf(item);
}

std::u16string FolderTree::selectedPath() const {
  if (hwnd() == nullptr) return {};
  return pathOf(TreeView_GetSelection(hwnd()));
}

bool FolderTree::isFile(HTREEITEM item) const { return item != nullptr && kindOf(item) == kFileItem; }

bool FolderTree::acceptsExtension(std::u16string_view fileName, const std::vector<std::u16string>& extensions) {
  const std::size_t dot = fileName.find(u'.');
  if (dot == std::u16string_view::npos) return false;
  std::u16string extension(fileName.substr(dot + 1));
  for (char16_t& c : extension) c = platform::lowerCase(c);
  return std::find(extensions.begin(), extensions.end(), extension) != extensions.end();
}

bool FolderTree::accepts(std::u16string_view fileName) const { return acceptsExtension(fileName, extensions_); }

bool FolderTree::folderHasChildren(const std::u16string& path) const {
  bool found = false;
  search(path + u"\\*", [&](const WIN32_FIND_DATAW& data) {
    found = !hidden(data) && (isFolder(data) || accepts(data.cFileName));
    return !found;
  });
  return found;
}

bool FolderTree::fill(HTREEITEM folder) {
  const std::u16string path = pathOf(folder);
  BusyIndicator busy;
  std::vector<std::u16string> folders;
  search(path + u"\\*", [&](const WIN32_FIND_DATAW& data) {
    if (isFolder(data) && !hidden(data)) folders.emplace_back(data.cFileName);
    return true;
  });
  std::sort(folders.begin(), folders.end(),
            [](const std::u16string& a, const std::u16string& b) { return platform::compareIgnoringCase(a, b) < 0; });
  for (const std::u16string& name : folders) insert(folder, name, IDI_FOLDER, kFolderItem);
  bool files = false;
  search(path + u"\\*.*", [&](const WIN32_FIND_DATAW& data) {
    if (!isFolder(data) && !hidden(data) && accepts(data.cFileName)) {
      insert(folder, data.cFileName, IDI_FILE, kFileItem);
      files = true;
    }
    return true;
  });
  return files || !folders.empty();
}

LRESULT FolderTree::onGetDispInfo(NMHDR& header) {
  auto& info = reinterpret_cast<NMTVDISPINFOW&>(header);
  if ((info.item.mask & TVIF_CHILDREN) == 0) return 0;
  const LPARAM kind = kindOf(info.item.hItem);
  const bool folder = kind == kFolderItem || kind == kRootItem;
  info.item.cChildren = folder && folderHasChildren(pathOf(info.item.hItem)) ? 1 : 0;
  // Asked once until the folder is closed again.
  info.item.mask |= TVIF_DI_SETITEM;
  return 0;
}

LRESULT FolderTree::onItemExpanding(NMHDR& header) {
  const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
  HTREEITEM item = change.itemNew.hItem;
  if ((change.action & TVE_TOGGLE) != TVE_EXPAND || kindOf(item) == kFileItem) return FALSE;
  setIcon(item, IDI_FOLDER_OPEN);
  if (TreeView_GetChild(hwnd(), item) == nullptr && !fill(item)) {
    // Emptied since its button was drawn: the button goes.
    setIcon(item, IDI_FOLDER);
    setChildren(item, 0);
  }
  return FALSE;
}

LRESULT FolderTree::onItemExpanded(NMHDR& header) {
  const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
  HTREEITEM item = change.itemNew.hItem;
  if ((change.action & TVE_TOGGLE) != TVE_COLLAPSE || kindOf(item) == kFileItem) return 0;
  setIcon(item, IDI_FOLDER);
  // What was read goes: the next expand reads the folder as it is then.
  TreeView_Expand(hwnd(), item, TVE_COLLAPSE | TVE_COLLAPSERESET);
  forgetChildren(item);
  return 0;
}

void FolderTree::selectPath(std::u16string_view path) {
  if (hwnd() == nullptr || root_ == nullptr) return;
  HTREEITEM level = TreeView_GetChild(hwnd(), root_);
  std::size_t start = 0;
  while (start <= path.size() && level != nullptr) {
    const std::size_t end = std::min(path.find(u'\\', start), path.size());
    const std::u16string_view component = path.substr(start, end - start);
    start = end + 1;
    if (component.empty()) continue;
    HTREEITEM match = nullptr;
    for (HTREEITEM item = level; item != nullptr; item = TreeView_GetNextSibling(hwnd(), item)) {
      if (platform::equalsIgnoringCase(textOf(item), component)) {
        match = item;
        break;
      }
    }
    if (match == nullptr) return;
    TreeView_Expand(hwnd(), match, TVE_EXPAND);
    TreeView_SelectItem(hwnd(), match);
    level = TreeView_GetChild(hwnd(), match);
  }
}

}  // namespace pellucard
