// The handle table of the drawing layer: every HDC and GDI object handle is a key here.
// Handles are never reused, so a stale handle is reported invalid instead of hitting a new object.
#pragma once

#include <cstdint>
#include <memory>
#include <unordered_map>

#include "platform/gdi/DeviceContext.h"
#include "platform/gdi/GdiObject.h"

namespace platform::gdi {

class ObjectTable {
 public:
  static ObjectTable& instance();

  HGDIOBJ add(std::unique_ptr<GdiObject> object);
  // Objects waiting for deletion stay reachable only with includePending (for the DCs holding them).
  GdiObject* find(HGDIOBJ handle, bool includePending = false);
  template <class T>
  T* findAs(HGDIOBJ handle, bool includePending = true) {
    GdiObject* object = find(handle, includePending);
    return object ? object->as<T>() : nullptr;
  }
  // Destroys the object now, or when the last DC lets go of it.
  void destroy(HGDIOBJ handle);
  void retain(HGDIOBJ handle);
  void release(HGDIOBJ handle);

  // Makes a DC; it lives until removeDC.
  HDC addDC(DeviceContext::Kind kind, HWND hwnd, POINT origin, Region visible);
  DeviceContext* findDC(HDC hdc);
  void removeDC(HDC hdc);

  HGDIOBJ stockObject(int index) const;
  HBITMAP defaultBitmap() const { return defaultBitmap_; }
  // The brush of a system colour, also reachable as (HBRUSH)(index + 1).
  HBRUSH sysColorBrush(int index) const;
  COLORREF sysColor(int index) const { return sysColors_[index]; }
  void setSysColor(int index, COLORREF color);
  static constexpr int kSysColorCount = COLOR_GRADIENTINACTIVECAPTION + 1;

  std::size_t objectCount() const { return objects_.size(); }

 private:
  ObjectTable();
  std::uintptr_t nextHandle();

  std::uintptr_t next_ = 0x10000;
  std::unordered_map<std::uintptr_t, std::unique_ptr<GdiObject>> objects_;
  // After objects_, so that the DCs let go of their objects while those still exist.
  std::unordered_map<std::uintptr_t, std::unique_ptr<DeviceContext>> dcs_;
  HGDIOBJ stock_[20] = {};
  HBITMAP defaultBitmap_ = nullptr;
  HBRUSH sysBrushes_[kSysColorCount] = {};
  COLORREF sysColors_[kSysColorCount] = {};
};

HDC createDC(DeviceContext::Kind kind, HWND hwnd, POINT origin, Region visible);
void destroyDC(HDC hdc);

// The DC behind a handle, or null with ERROR_INVALID_HANDLE as the last error.
DeviceContext* lookupDC(HDC hdc);

}  // namespace platform::gdi
