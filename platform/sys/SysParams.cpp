#include "platform/sys/SysParams.h"

#include <cstddef>
#include <cstring>
#include <mutex>
#include <optional>
#include <string>

#include "platform/base/DeviceConfig.h"
#include "platform/base/Utf.h"

namespace platform::sys {

namespace {

struct State {
  std::mutex mutex;
  std::optional<RECT> workArea;
  bool sipOn = false;
  SettingChangeNotifier broadcaster = nullptr;
  SettingChangeNotifier notifier = nullptr;
};

State& state() {
  static State s;
  return s;
}

int scale() {
  const DeviceConfig& config = DeviceConfig::current();
  const int shortSide = config.screenWidth < config.screenHeight ? config.screenWidth : config.screenHeight;
  return shortSide >= 480 ? 2 : 1;
}

RECT defaultWorkArea() {
  const DeviceConfig& config = DeviceConfig::current();
  return RECT{0, taskBarHeight(), config.screenWidth, config.screenHeight};
}

RECT currentWorkArea() {
  State& s = state();
  return s.workArea ? *s.workArea : defaultWorkArea();
}

SIPINFO currentSipInfo(DWORD cbSize) {
  const DeviceConfig& config = DeviceConfig::current();
  const RECT work = currentWorkArea();
  SIPINFO info{};
  info.cbSize = cbSize;
  const bool on = state().sipOn;
  info.fdwFlags = SIPF_DOCKED | (on ? SIPF_ON : 0);
  const LONG menuTop = config.screenHeight - menuBarHeight();
  info.rcSipRect = RECT{0, menuTop - inputPanelHeight(), config.screenWidth, menuTop};
  info.rcVisibleDesktop = RECT{work.left, work.top, work.right, on ? info.rcSipRect.top : menuTop};
  if (info.rcVisibleDesktop.bottom > work.bottom) info.rcVisibleDesktop.bottom = work.bottom;
  return info;
}

void notify(WPARAM wParam) {
  SettingChangeNotifier notifier;
  {
    std::lock_guard lock(state().mutex);
    notifier = state().notifier ? state().notifier : state().broadcaster;
  }
  if (notifier) notifier(wParam, 0);
}

BOOL copyText(const std::string& text, UINT bytes, PVOID buffer) {
  const std::u16string wide = toUtf16(text);
  if (!buffer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if ((wide.size() + 1) * sizeof(WCHAR) > bytes) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  std::memcpy(buffer, wide.c_str(), (wide.size() + 1) * sizeof(WCHAR));
  return TRUE;
}

}  // namespace

void setSettingChangeBroadcaster(SettingChangeNotifier broadcaster) {
  std::lock_guard lock(state().mutex);
  state().broadcaster = broadcaster;
}

void setSettingChangeNotifier(SettingChangeNotifier notifier) {
  std::lock_guard lock(state().mutex);
  state().notifier = notifier;
}

int taskBarHeight() { return 26 * scale(); }
int menuBarHeight() { return 26 * scale(); }
int inputPanelHeight() { return 80 * scale(); }

void resetSystemParameters() {
  std::lock_guard lock(state().mutex);
  state().workArea.reset();
  state().sipOn = false;
}

}  // namespace platform::sys

using namespace platform::sys;

BOOL SystemParametersInfoW(UINT uiAction, UINT uiParam, PVOID pvParam, UINT fWinIni) {
  const platform::DeviceConfig& config = platform::DeviceConfig::current();
  switch (uiAction) {
    case SPI_GETPLATFORMTYPE:
      return copyText(config.edition == platform::Edition::PocketPc ? "PocketPC" : "SmartPhone", uiParam, pvParam);
    case SPI_GETOEMINFO:
      return copyText(config.oemInfo, uiParam, pvParam);
    case SPI_GETWORKAREA: {
      if (!pvParam) break;
      std::lock_guard lock(state().mutex);
      *static_cast<RECT*>(pvParam) = currentWorkArea();
      return TRUE;
    }
    case SPI_SETWORKAREA: {
      {
        std::lock_guard lock(state().mutex);
        if (pvParam) {
          const RECT r = *static_cast<const RECT*>(pvParam);
          if (r.left > r.right || r.top > r.bottom) break;
          state().workArea = r;
        } else {
          state().workArea.reset();
        }
      }
      if (fWinIni & SPIF_SENDCHANGE) notify(SPI_SETWORKAREA);
      return TRUE;
    }
    case SPI_GETSIPINFO: {
      auto* info = static_cast<SIPINFO*>(pvParam);
      if (!info || info->cbSize < offsetof(SIPINFO, dwImDataSize)) break;
      const DWORD size = info->cbSize;
      std::lock_guard lock(state().mutex);
      const SIPINFO current = currentSipInfo(size);
      // Only the fields the caller's structure holds are written.
      std::memcpy(info, &current, size < sizeof current ? size : sizeof current);
      return TRUE;
    }
    case SPI_SETSIPINFO: {
      const auto* info = static_cast<const SIPINFO*>(pvParam);
      if (!info || info->cbSize < offsetof(SIPINFO, rcVisibleDesktop)) break;
      bool changed = false;
      {
        std::lock_guard lock(state().mutex);
        const bool on = (info->fdwFlags & SIPF_ON) != 0;
        changed = on != state().sipOn;
        state().sipOn = on;
      }
      if (changed) notify(SPI_SETSIPINFO);
      return TRUE;
    }
    default:
      break;
  }
  SetLastError(ERROR_INVALID_PARAMETER);
  return FALSE;
}
