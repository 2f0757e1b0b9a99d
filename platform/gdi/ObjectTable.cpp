#include "platform/gdi/ObjectTable.h"

#include "platform/base/WinError.h"
#include "platform/gdi/StockFont.h"

namespace platform::gdi {

namespace {

// A calm handheld scheme: white windows, black text, a quiet blue highlight, light grey chrome.
constexpr COLORREF kDefaultSysColors[ObjectTable::kSysColorCount] = {
    RGB(224, 224, 224),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(16, 72, 148),    // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(255, 255, 255),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(192, 192, 192),  // COLOR_ACTIVEBORDER
    RGB(192, 192, 192),  // COLOR_INACTIVEBORDER
    RGB(128, 128, 128),  // COLOR_APPWORKSPACE
    RGB(49, 106, 197),   // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(214, 219, 227),  // COLOR_BTNFACE
    RGB(128, 128, 128),  // COLOR_BTNSHADOW
    RGB(128, 128, 128),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(214, 219, 227),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),     // COLOR_3DDKSHADOW
    RGB(232, 232, 232),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(255, 255, 255),  // COLOR_STATIC
    RGB(0, 0, 0),        // COLOR_STATICTEXT
    RGB(16, 72, 148),    // COLOR_GRADIENTACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_GRADIENTINACTIVECAPTION
};

}  // namespace

ObjectTable& ObjectTable::instance() {
  static ObjectTable table;
  return table;
}

ObjectTable::ObjectTable() {
  auto stockBrush = [&](int index, BrushData data) { stock_[index] = add(std::make_unique<GdiObject>(data, true)); };
  stockBrush(WHITE_BRUSH, {BS_SOLID, RGB(255, 255, 255)});
  stockBrush(LTGRAY_BRUSH, {BS_SOLID, RGB(192, 192, 192)});
  stockBrush(GRAY_BRUSH, {BS_SOLID, RGB(128, 128, 128)});
  stockBrush(DKGRAY_BRUSH, {BS_SOLID, RGB(64, 64, 64)});
  stockBrush(BLACK_BRUSH, {BS_SOLID, RGB(0, 0, 0)});
  stockBrush(NULL_BRUSH, {BS_NULL, 0});
  stock_[WHITE_PEN] = add(std::make_unique<GdiObject>(PenData{PS_SOLID, 1, RGB(255, 255, 255)}, true));
  stock_[BLACK_PEN] = add(std::make_unique<GdiObject>(PenData{PS_SOLID, 1, RGB(0, 0, 0)}, true));
  stock_[NULL_PEN] = add(std::make_unique<GdiObject>(PenData{PS_NULL, 1, 0}, true));
  stock_[SYSTEM_FONT] = add(std::make_unique<GdiObject>(FontData{systemFontDescription()}, true));
  BitmapData bitmap;
  bitmap.surface = std::make_unique<Surface>(PixelFormat::Mono, 1, 1, true, 2);
  defaultBitmap_ = static_cast<HBITMAP>(add(std::make_unique<GdiObject>(std::move(bitmap), true)));
  for (int i = 0; i < kSysColorCount; ++i) {
    sysColors_[i] = kDefaultSysColors[i];
    sysBrushes_[i] = static_cast<HBRUSH>(add(std::make_unique<GdiObject>(BrushData{BS_SOLID, sysColors_[i]}, true)));
  }
}

std::uintptr_t ObjectTable::nextHandle() {
  const std::uintptr_t handle = next_;
  next_ += 4;
  return handle;
}

HGDIOBJ ObjectTable::add(std::unique_ptr<GdiObject> object) {
  const std::uintptr_t handle = nextHandle();
  objects_.emplace(handle, std::move(object));
  return reinterpret_cast<HGDIOBJ>(handle);
}

GdiObject* ObjectTable::find(HGDIOBJ handle, bool includePending) {
  std::uintptr_t key = reinterpret_cast<std::uintptr_t>(handle);
  // (HBRUSH)(COLOR_xxx + 1) names the system colour brush.
  if (key >= 1 && key <= static_cast<std::uintptr_t>(kSysColorCount)) {
    key = reinterpret_cast<std::uintptr_t>(sysBrushes_[key - 1]);
  }
  auto it = objects_.find(key);
  if (it == objects_.end() || (it->second->deletePending && !includePending)) return nullptr;
  return it->second.get();
}

void ObjectTable::destroy(HGDIOBJ handle) {
  auto it = objects_.find(reinterpret_cast<std::uintptr_t>(handle));
  if (it == objects_.end() || it->second->stock()) return;
  if (it->second->references > 0) {
    it->second->deletePending = true;
  } else {
    objects_.erase(it);
  }
}

void ObjectTable::retain(HGDIOBJ handle) {
  auto it = objects_.find(reinterpret_cast<std::uintptr_t>(handle));
  if (it != objects_.end()) ++it->second->references;
}

void ObjectTable::release(HGDIOBJ handle) {
  auto it = objects_.find(reinterpret_cast<std::uintptr_t>(handle));
  if (it == objects_.end()) return;
  if (--it->second->references <= 0) {
    it->second->references = 0;
    if (it->second->deletePending) objects_.erase(it);
  }
}

HDC ObjectTable::addDC(DeviceContext::Kind kind, HWND hwnd, POINT origin, Region visible) {
  const std::uintptr_t handle = nextHandle();
  const HDC hdc = reinterpret_cast<HDC>(handle);
  dcs_.emplace(handle, std::make_unique<DeviceContext>(*this, hdc, kind, hwnd, origin, std::move(visible)));
  return hdc;
}

DeviceContext* ObjectTable::findDC(HDC hdc) {
  auto it = dcs_.find(reinterpret_cast<std::uintptr_t>(hdc));
  return it == dcs_.end() ? nullptr : it->second.get();
}

void ObjectTable::removeDC(HDC hdc) { dcs_.erase(reinterpret_cast<std::uintptr_t>(hdc)); }

HGDIOBJ ObjectTable::stockObject(int index) const {
  if (index < 0 || index >= static_cast<int>(std::size(stock_))) return nullptr;
  return stock_[index];
}

HBRUSH ObjectTable::sysColorBrush(int index) const {
  if (index < 0 || index >= kSysColorCount) return nullptr;
  return sysBrushes_[index];
}

void ObjectTable::setSysColor(int index, COLORREF color) {
  if (index < 0 || index >= kSysColorCount) return;
  sysColors_[index] = color;
  if (BrushData* brush = findAs<BrushData>(sysBrushes_[index])) brush->color = color;
}

DeviceContext* lookupDC(HDC hdc) {
  DeviceContext* dc = ObjectTable::instance().findDC(hdc);
  if (!dc) SetLastError(ERROR_INVALID_HANDLE);
  return dc;
}

}  // namespace platform::gdi
