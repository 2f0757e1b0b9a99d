#include "skin/FriendPictureImage.h"

#include <optional>
#include <vector>

#include "platform/sys/DevicePath.h"
#include "skin/ImageCache.h"
#include "skin/PictureCodec.h"

namespace pellucard {

bool FriendPictureImage::setFromFile(FriendPicture& picture, std::u16string_view path) {
  return setFromFile(picture, path, ImageCache::instance().layout().avatarSize());
}

bool FriendPictureImage::setFromFile(FriendPicture& picture, std::u16string_view path, SIZE box) {
  if (path.empty()) return false;
  // A file far larger than any picture we keep is not read at all.
  const std::optional<std::vector<std::uint8_t>> file = PictureCodec::readFile(platform::sys::DevicePath::toHost(path));
  if (!file) return false;
  return setFromImage(picture, *file, box);
}

bool FriendPictureImage::setFromImage(FriendPicture& picture, std::span<const std::uint8_t> imageBytes, SIZE box) {
  const std::optional<std::vector<std::uint8_t>> jpeg = PictureCodec::encodeForBox(imageBytes, box);
  if (!jpeg || jpeg->empty()) return false;
  return picture.loadFromBytes(*jpeg);
}

}  // namespace pellucard
