#include "platform/gdi/DeviceContext.h"

#include "platform/gdi/ObjectTable.h"
#include "platform/gdi/RectMath.h"
#include "platform/gdi/Screen.h"

namespace platform::gdi {

DeviceContext::DeviceContext(Kind kind, HWND hwnd, POINT origin, Region visible)
    : kind_(kind), hwnd_(hwnd), origin_(origin), visible_(std::move(visible)) {}

Surface* DeviceContext::surface() {
  if (kind_ == Kind::Window) return &Screen::instance().surface();
  BitmapData* bitmap = ObjectTable::instance().findAs<BitmapData>(state_.bitmap);
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
