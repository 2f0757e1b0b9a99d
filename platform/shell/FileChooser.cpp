#include "platform/shell/FileChooser.h"

#include <algorithm>
#include <unordered_map>

#include "platform/controls/ControlLook.h"
#include "platform/controls/WinComboBox.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/shell/MenuBar.h"
#include "platform/shell/Shell.h"
#include "platform/shell/ShellWindow.h"
#include "platform/win/Host.h"

namespace platform::shell {
namespace {

constexpr UINT kNavigate = WM_APP + 1;  // posted: open the folder chosen in the folder picker

std::unordered_map<HWND, FileChooser*>& choosers() {
  static std::unordered_map<HWND, FileChooser*> table;
  return table;
}

std::vector<std::u16string> components(const std::u16string& path) {
  std::vector<std::u16string> parts;
  std::size_t start = 1;
  while (start < path.size()) {
    std::size_t end = path.find(u'\\', start);
    if (end == std::u16string::npos) end = path.size();
    parts.push_back(path.substr(start, end - start));
    start = end + 1;
  }
  return parts;
}

// Shows what the last slices of work painted; the host otherwise presents only when the
// device waits for input.
void presentScreen() {
  const RECT dirty = gdi::takeDirtyRect();
  if (host() != nullptr && !IsRectEmpty(&dirty)) host()->present(dirty);
}

HWND topLevelOf(HWND hwnd) {
  while (hwnd != nullptr && (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD)) hwnd = GetParent(hwnd);
  return hwnd;
}

}  // namespace

FileChooser::FileChooser(Options options) : options_(std::move(options)) {}

FileChooser::~FileChooser() {
  if (IsWindow(hwnd_)) DestroyWindow(hwnd_);
}

std::u16string FileChooser::startFolder(const std::u16string& initial) {
  if (!initial.empty()) {
    const std::u16string folder = FolderListing::normalize(initial);
    if (FolderListing::isFolder(folder)) return folder;
  }
  if (FolderListing::isFolder(u"\\My Documents")) return u"\\My Documents";
  return u"\\";
}

LRESULT CALLBACK FileChooser::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    auto* chooser = static_cast<FileChooser*>(cs->lpCreateParams);
    if (chooser != nullptr) {
      chooser->hwnd_ = hwnd;
      choosers()[hwnd] = chooser;
    }
  }
  auto it = choosers().find(hwnd);
  if (it == choosers().end()) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    choosers().erase(it);
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  return it->second->handle(message, wParam, lParam);
}

bool FileChooser::open() {
  startShell();
  registerShellClass(kClass, &FileChooser::windowProc);
  const HWND owner = topLevelOf(options_.owner);
  CreateWindowExW(0, kClass, options_.title.c_str(), WS_POPUP, 0, 0, 0, 0, owner, nullptr, nullptr, this);
  if (hwnd_ == nullptr) return false;
  combo_ = CreateWindowExW(0, WC_COMBOBOXW, u"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, 0,
                           0, 0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kFolderId)), nullptr, nullptr);
  viewHwnd_ = FileChooserView::create(hwnd_, kViewId, options_.mode);
  SoftKeyButton done;
  done.command = IDOK;
  done.text = u"Done";
  SoftKeyButton cancel;
  cancel.command = IDCANCEL;
  cancel.text = u"Cancel";
  menuBar_ = MenuBar::create(hwnd_, {done, cancel});
  if (combo_ == nullptr || viewHwnd_ == nullptr || menuBar_ == nullptr) return false;
  layout();
  openFolder(startFolder(options_.folder));
  if (!options_.selectName.empty()) {
    const std::vector<FolderEntry>& entries = view()->entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].name == options_.selectName) view()->select(static_cast<int>(i));
    }
  }
  modal_.show(owner, hwnd_, viewHwnd_);
  return true;
}

void FileChooser::layout() {
  const int top = taskBarVisible() ? titleBarHeight() : 0;
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int bottom = GetSystemMetrics(SM_CYSCREEN) - menuBarHeight();
  SetWindowPos(hwnd_, nullptr, 0, top, width, std::max(bottom - top, 1), SWP_NOZORDER | SWP_NOACTIVATE);
  RECT client{};
  GetClientRect(hwnd_, &client);
  const int m = controls::scaled(2);
  // The combo box keeps its field's height; the rest is its dropped list.
  SetWindowPos(combo_, nullptr, m, m, client.right - 2 * m, client.bottom / 2, SWP_NOZORDER | SWP_NOACTIVATE);
  RECT field{};
  GetWindowRect(combo_, &field);
  const int viewTop = m + static_cast<int>(field.bottom - field.top) + m;
  SetWindowPos(viewHwnd_, nullptr, 0, viewTop, client.right, std::max(static_cast<int>(client.bottom) - viewTop, 1),
               SWP_NOZORDER | SWP_NOACTIVATE);
}

void FileChooser::openFolder(const std::u16string& folder) {
  folder_ = FolderListing::normalize(folder);
  std::vector<FolderEntry> entries = FolderListing::read(folder_, options_.patterns, options_.sortOrder);
  if (options_.lockFolder) {
    entries.erase(std::remove_if(entries.begin(), entries.end(), [](const FolderEntry& e) { return e.folder; }),
                  entries.end());
  }
  view()->setEntries(folder_, std::move(entries));
  fillFolderPicker();
}

void FileChooser::fillFolderPicker() {
  SendMessageW(combo_, CB_RESETCONTENT, 0, 0);
  pickerPaths_.clear();
  const auto add = [&](int depth, const std::u16string& name, const std::u16string& path) {
    const std::u16string text = std::u16string(static_cast<std::size_t>(depth) * 2, u' ') + name;
    SendMessageW(combo_, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    pickerPaths_.push_back(path);
  };
  const std::vector<std::u16string> parts = components(folder_);
  int current = 0;
  if (options_.lockFolder) {
    add(0, parts.empty() ? std::u16string(u"My Device") : parts.back(), folder_);
  } else {
    add(0, u"My Device", u"\\");
    std::u16string path;
    for (std::size_t i = 0; i < parts.size(); ++i) {
      path += u"\\" + parts[i];
      add(static_cast<int>(i) + 1, parts[i], path);
    }
    current = static_cast<int>(parts.size());
    for (const std::u16string& name : FolderListing::subfolders(folder_)) {
      add(current + 1, name, FolderListing::join(folder_, name));
    }
  }
  SendMessageW(combo_, CB_SETCURSEL, static_cast<WPARAM>(current), 0);
  EnableWindow(combo_, options_.lockFolder ? FALSE : TRUE);
}

void FileChooser::activateSelected() {
  const FolderEntry* entry = view()->selected();
  if (entry == nullptr) return;
  const std::u16string path = FolderListing::join(folder_, entry->name);
  if (entry->folder) {
    openFolder(path);
    return;
  }
  result_ = path;
  finish(true);
}

void FileChooser::finish(bool done) {
  if (!done) result_.reset();
  finished_ = true;
}

LRESULT FileChooser::handle(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND: {
      RECT rc{};
      GetClientRect(hwnd_, &rc);
      controls::fillSysColor(reinterpret_cast<HDC>(wParam), rc, COLOR_WINDOW);
      return 1;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wParam);
      const int code = HIWORD(wParam);
      if (id == IDOK && lParam == 0) {
        activateSelected();
      } else if (id == IDCANCEL && lParam == 0) {
        finish(false);
      } else if (id == kViewId && code == FileChooserView::kOpen) {
        activateSelected();
      } else if (id == kViewId && code == FileChooserView::kLeaveUp) {
        if (IsWindowEnabled(combo_)) SetFocus(combo_);
      } else if (id == kFolderId && (code == CBN_SELCHANGE || code == CBN_CLOSEUP)) {
        // The picker is refilled by the new folder, so not from inside its own notification.
        if (SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0) == 0) PostMessageW(hwnd_, kNavigate, 0, 0);
      }
      return 0;
    }
    case kNavigate: {
      const LRESULT index = SendMessageW(combo_, CB_GETCURSEL, 0, 0);
      if (index >= 0 && index < static_cast<LRESULT>(pickerPaths_.size()) &&
          pickerPaths_[static_cast<std::size_t>(index)] != folder_) {
        openFolder(pickerPaths_[static_cast<std::size_t>(index)]);
      }
      return 0;
    }
    case WM_SETTINGCHANGE:
      layout();
      return 0;
    case WM_CLOSE:
      finish(false);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

bool FileChooser::filterInput(const MSG& msg) {
  const bool dropped = SendMessageW(combo_, CB_GETDROPPEDSTATE, 0, 0) != 0;
  switch (msg.message) {
    case WM_KEYDOWN:
      if (dropped) return false;
      // Back acts on its release; its press only waits.
      if (msg.wParam == VK_ESCAPE) return true;
      if (msg.wParam == VK_TAB) {
        SetFocus(GetFocus() == viewHwnd_ && IsWindowEnabled(combo_) ? combo_ : viewHwnd_);
        return true;
      }
      // The Smartphone's picker is left downwards, as its forms move between fields.
      if (msg.wParam == VK_DOWN && !pocketPc() && GetFocus() == combo_) {
        SetFocus(viewHwnd_);
        return true;
      }
      return false;
    case WM_KEYUP:
      if (msg.wParam == VK_ESCAPE && !dropped) {
        finish(false);
        return true;
      }
      return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_MOUSEMOVE: {
      // The stylus works on the chooser, its menubar, the title bar and the dropped list only.
      if (msg.hwnd == hwnd_ || IsChild(hwnd_, msg.hwnd) || msg.hwnd == menuBar_ || msg.hwnd == titleBarWindow() ||
          GetCapture() == msg.hwnd || dropped) {
        return false;
      }
      return true;
    }
    default:
      return false;
  }
}

bool FileChooser::idleStep() {
  FileChooserView* v = view();
  if (v == nullptr || !v->hasIdleWork()) return false;
  presentScreen();
  v->idleStep();
  return true;
}

std::optional<std::u16string> FileChooser::run() {
  // Thumbnails are made only while no input or paint is waiting.
  const std::optional<int> quit = modal_.run(
      hwnd_, [this] { return !finished_; }, [this](const MSG& msg) { return filterInput(msg); },
      [this] { return idleStep(); });
  // The owner comes back before the chooser goes, so that it is the one activated.
  modal_.close(hwnd_, menuBar_);
  if (quit) {
    PostQuitMessage(*quit);
    return std::nullopt;
  }
  return result_;
}

}  // namespace platform::shell
