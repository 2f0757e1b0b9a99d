#include "platform/gdi/DeviceContext.h"

#include <utility>

#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/RectMath.h"
#include "platform/gdi/Screen.h"

namespace platform::gdi {

DeviceContext::DeviceContext(ObjectTable& table, HDC handle, Kind kind, HWND hwnd, POINT origin, Region visible)
    : table_(table), handle_(handle), kind_(kind), hwnd_(hwnd), origin_(origin), visible_(std::move(visible)) {
  state_.pen = table_.stockObject(BLACK_PEN);
  state_.brush = table_.stockObject(WHITE_BRUSH);
  state_.font = table_.stockObject(SYSTEM_FONT);
  state_.bitmap = kind_ == Kind::Memory ? table_.defaultBitmap() : nullptr;
  hold(state_);
}

DeviceContext::~DeviceContext() {
  for (const State& s : saved_) letGo(s);
  setBitmapOwner(state_.bitmap, nullptr);
  letGo(state_);
}

void DeviceContext::hold(const State& s) {
  for (HGDIOBJ h : {s.pen, s.brush, s.font, s.bitmap}) table_.retain(h);
}

void DeviceContext::letGo(const State& s) {
  for (HGDIOBJ h : {s.pen, s.brush, s.font, s.bitmap}) table_.release(h);
}

void DeviceContext::setBitmapOwner(HGDIOBJ bitmap, HDC owner) {
  GdiObject* object = table_.find(bitmap, true);
  if (object && !object->stock()) {
    if (BitmapData* data = object->as<BitmapData>()) data->selectedInto = owner;
  }
}

HGDIOBJ DeviceContext::selected(DWORD type) const {
  switch (type) {
    case OBJ_PEN:
      return state_.pen;
    case OBJ_BRUSH:
      return state_.brush;
    case OBJ_FONT:
      return state_.font;
    case OBJ_BITMAP:
      return state_.bitmap;
    default:
      return nullptr;
  }
}

HGDIOBJ DeviceContext::select(HGDIOBJ object) {
  GdiObject* entry = table_.find(object);
  if (!entry) return nullptr;
  HGDIOBJ* slot = nullptr;
  switch (entry->type()) {
    case OBJ_PEN:
      slot = &state_.pen;
      break;
    case OBJ_BRUSH:
      slot = &state_.brush;
      break;
    case OBJ_FONT:
      slot = &state_.font;
      break;
    case OBJ_BITMAP: {
      if (kind_ != Kind::Memory) return nullptr;
      const BitmapData* bitmap = entry->as<BitmapData>();
      if (!entry->stock() && bitmap->selectedInto && bitmap->selectedInto != handle_) return nullptr;
      slot = &state_.bitmap;
      if (*slot != object) {
        setBitmapOwner(*slot, nullptr);
        setBitmapOwner(object, handle_);
      }
      break;
    }
    default:
      return nullptr;
  }
  HGDIOBJ previous = *slot;
  table_.retain(object);
  *slot = object;
  table_.release(previous);
  return previous;
}

COLORREF DeviceContext::setTextColor(COLORREF color) { return std::exchange(state_.textColor, color); }
COLORREF DeviceContext::setBkColor(COLORREF color) { return std::exchange(state_.bkColor, color); }
int DeviceContext::setBkMode(int mode) { return std::exchange(state_.bkMode, mode); }
int DeviceContext::setStretchMode(int mode) { return std::exchange(state_.stretchMode, mode); }
UINT DeviceContext::setTextAlign(UINT align) { return std::exchange(state_.textAlign, align); }

int DeviceContext::save() {
  hold(state_);
  saved_.push_back(state_);
  return static_cast<int>(saved_.size());
}

bool DeviceContext::restore(int instance) {
  const int depth = static_cast<int>(saved_.size());
  const int target = instance > 0 ? instance : depth + instance + 1;
  if (instance == 0 || target < 1 || target > depth) return false;
  while (static_cast<int>(saved_.size()) > target) {
    letGo(saved_.back());
    saved_.pop_back();
  }
  State restored = std::move(saved_.back());
  saved_.pop_back();
  if (restored.bitmap != state_.bitmap) {
    setBitmapOwner(state_.bitmap, nullptr);
    setBitmapOwner(restored.bitmap, handle_);
  }
  letGo(state_);
  state_ = std::move(restored);
  return true;
}

Surface* DeviceContext::surface() {
  if (kind_ == Kind::Window) return &Screen::instance().surface();
  BitmapData* bitmap = table_.findAs<BitmapData>(state_.bitmap);
  return bitmap ? bitmap->surface.get() : nullptr;
}

Region DeviceContext::clipRegion() {
  Surface* target = surface();
  if (!target) return Region();
  Region region = kind_ == Kind::Window ? visible_ : Region(target->bounds());
  region.intersect(target->bounds());
  if (state_.clip) {
    Region app = *state_.clip;
    app.offset(origin_.x, origin_.y);
    region.intersect(app);
  }
  return region;
}

Region DeviceContext::logicalClipRegion() {
  Region region = clipRegion();
  region.offset(-origin_.x, -origin_.y);
  return region;
}

TextRecordList* DeviceContext::textStore() {
  if (kind_ == Kind::Window) return &Screen::instance().texts(hwnd_);
  Surface* target = surface();
  return target ? &target->texts() : nullptr;
}

void DeviceContext::noteDrawn(const RECT& surfaceArea) {
  if (kind_ == Kind::Window && !rectEmpty(surfaceArea)) Screen::instance().markDirty(surfaceArea);
}

}  // namespace platform::gdi
