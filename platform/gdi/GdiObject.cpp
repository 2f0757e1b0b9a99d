#include "platform/gdi/GdiObject.h"

namespace platform::gdi {

DWORD GdiObject::type() const {
  switch (data_.index()) {
    case 0:
      return OBJ_PEN;
    case 1:
      return OBJ_BRUSH;
    case 2:
      return OBJ_FONT;
    case 3:
      return OBJ_BITMAP;
    default:
      return OBJ_REGION;
  }
}

}  // namespace platform::gdi
