// Accelerator tables: handles into a table of entry lists. A key down (FVIRTKEY entries, with
// exactly the Shift/Ctrl/Alt state the entry names) or a character (other entries) that matches
// becomes WM_COMMAND with HIWORD(wParam) = 1 sent to the window.
#include <map>
#include <vector>

#include "platform/base/ResourceTable.h"
#include "platform/base/WinError.h"
#include "platform/win/WinUser.h"

namespace {
struct Tables {
  std::map<UINT_PTR, std::vector<ACCEL>> tables;
  std::map<UINT, HACCEL> loaded;
  UINT_PTR next = 0x40000;
};

Tables& state() {
  static Tables t;
  return t;
}

HACCEL store(std::vector<ACCEL> entries) {
  Tables& t = state();
  t.next += 4;
  t.tables[t.next] = std::move(entries);
  return reinterpret_cast<HACCEL>(t.next);
}

const std::vector<ACCEL>* lookup(HACCEL table) {
  auto it = state().tables.find(reinterpret_cast<UINT_PTR>(table));
  return it == state().tables.end() ? nullptr : &it->second;
}

bool modifiersMatch(BYTE fVirt) {
  const bool shift = GetKeyState(VK_SHIFT) < 0;
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  const bool alt = GetKeyState(VK_MENU) < 0;
  return shift == ((fVirt & FSHIFT) != 0) && ctrl == ((fVirt & FCONTROL) != 0) && alt == ((fVirt & FALT) != 0);
}
}  // namespace

HACCEL CreateAcceleratorTableW(LPACCEL accelerators, int count) {
  if (!accelerators || count <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return store(std::vector<ACCEL>(accelerators, accelerators + count));
}

BOOL DestroyAcceleratorTable(HACCEL table) {
  Tables& t = state();
  auto it = t.tables.find(reinterpret_cast<UINT_PTR>(table));
  if (it == t.tables.end()) {
    SetLastError(ERROR_INVALID_ACCEL_HANDLE);
    return FALSE;
  }
  for (auto& [id, handle] : t.loaded) {
    // Loaded resource tables live as long as the program, as on the handheld.
    if (handle == table) return TRUE;
  }
  t.tables.erase(it);
  return TRUE;
}

HACCEL LoadAcceleratorsW(HINSTANCE, LPCWSTR name) {
  if (!IS_INTRESOURCE(name)) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  const UINT id = static_cast<UINT>(reinterpret_cast<UINT_PTR>(name));
  Tables& t = state();
  const auto* res = platform::ResourceTable::instance().findAccelerators(id);
  if (!res || res->empty()) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  std::vector<ACCEL> entries;
  for (const auto& a : *res) entries.push_back(ACCEL{a.virtFlags, a.key, a.command});
  // One handle per resource, as on the handheld; it follows the resource if that is replaced.
  if (auto it = t.loaded.find(id); it != t.loaded.end()) {
    t.tables[reinterpret_cast<UINT_PTR>(it->second)] = std::move(entries);
    return it->second;
  }
  const HACCEL table = store(std::move(entries));
  t.loaded[id] = table;
  return table;
}

int TranslateAcceleratorW(HWND hwnd, HACCEL table, LPMSG msg) {
  const std::vector<ACCEL>* entries = lookup(table);
  if (!entries) {
    SetLastError(ERROR_INVALID_ACCEL_HANDLE);
    return 0;
  }
  if (!msg || !IsWindow(hwnd)) {
    SetLastError(msg ? ERROR_INVALID_WINDOW_HANDLE : ERROR_INVALID_PARAMETER);
    return 0;
  }
  const bool keyDown = msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN;
  const bool character = msg->message == WM_CHAR || msg->message == WM_SYSCHAR;
  if (!keyDown && !character) return 0;
  for (const ACCEL& a : *entries) {
    if (a.fVirt & FVIRTKEY) {
      if (!keyDown || a.key != LOWORD(msg->wParam) || !modifiersMatch(a.fVirt)) continue;
    } else {
      if (!character || a.key != msg->wParam) continue;
      if ((a.fVirt & FALT) && GetKeyState(VK_MENU) >= 0) continue;
    }
    SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
    return 1;
  }
  return 0;
}
