#include "skin/ImageResource.h"

#include "platform/base/ResourceTable.h"
#include "platform/base/WinError.h"
#include "skin/EmbeddedImages.h"
#include "skin/ImageDecoder.h"

namespace pellucard {

void registerSkinImages() {
  auto& table = platform::ResourceTable::instance();
  for (const EmbeddedImage& image : embeddedImages()) {
    table.addImage(kImageResourceType, image.id, std::span<const std::uint8_t>(image.bytes, image.size));
  }
}

DibBitmap loadImageResource(UINT id) {
  const std::span<const std::uint8_t> bytes = platform::ResourceTable::instance().findImage(kImageResourceType, id);
  if (bytes.empty()) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return {};
  }
  const std::optional<RgbImage> image = ImageDecoder::decode(bytes);
  if (!image) {
    SetLastError(ERROR_INVALID_DATA);
    return {};
  }
  DibBitmap bitmap = DibBitmap::fromImage(*image);
  if (!bitmap) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  return bitmap;
}

}  // namespace pellucard

HBITMAP SHLoadImageResource(HINSTANCE, UINT uIdImageList) {
  return pellucard::loadImageResource(uIdImageList).release();
}
