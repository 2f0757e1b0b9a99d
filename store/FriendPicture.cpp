#include "store/FriendPicture.h"

#include <optional>

#include "platform/sys/DevicePath.h"
#include "skin/ImageCache.h"
#include "skin/PictureCodec.h"

namespace pellucard {

FriendPicture& FriendPicture::operator=(const FriendPicture& other) {
  if (this != &other) replaceBytes(other.bytes_);
  return *this;
}

void FriendPicture::replaceBytes(std::vector<std::uint8_t> bytes) {
  bytes.shrink_to_fit();
  bytes_ = std::move(bytes);
  bitmaps_.reset();
}

bool FriendPicture::loadFromBytes(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > kMaxBytes) return false;
  replaceBytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
  return true;
}

bool FriendPicture::loadFromStream(std::istream& in) {
  std::vector<std::uint8_t> read;
  char chunk[16384];
  while (in) {
    in.read(chunk, sizeof chunk);
    const std::streamsize got = in.gcount();
    if (got <= 0) break;
    if (read.size() + static_cast<std::size_t>(got) > kMaxBytes) return false;
    read.insert(read.end(), chunk, chunk + got);
  }
  if (in.bad()) return false;
  replaceBytes(std::move(read));
  return true;
}

void FriendPicture::clear() {
  std::vector<std::uint8_t>().swap(bytes_);
  bitmaps_.reset();
}

bool FriendPicture::setFromFile(std::u16string_view path) {
  return setFromFile(path, ImageCache::instance().layout().avatarSize());
}

bool FriendPicture::setFromFile(std::u16string_view path, SIZE box) {
  if (path.empty()) return false;
  // A file far larger than any picture we keep is not read at all.
  const std::optional<std::vector<std::uint8_t>> file = PictureCodec::readFile(platform::sys::DevicePath::toHost(path));
  if (!file) return false;
  return setFromImage(*file, box);
}

bool FriendPicture::setFromImage(std::span<const std::uint8_t> imageBytes, SIZE box) {
  std::optional<std::vector<std::uint8_t>> jpeg = PictureCodec::encodeForBox(imageBytes, box);
  if (!jpeg || jpeg->empty() || jpeg->size() > kMaxBytes) return false;
  replaceBytes(std::move(*jpeg));
  return true;
}

void FriendPicture::useLayout(const ScreenLayout& layout) const {
  if (layout == bitmapsLayout_) return;
  bitmaps_.reset();
  bitmapsLayout_ = layout;
}

HBITMAP FriendPicture::largeBitmap() const { return largeBitmap(ImageCache::instance().layout()); }

HBITMAP FriendPicture::smallBitmap() const { return smallBitmap(ImageCache::instance().layout()); }

HBITMAP FriendPicture::largeBitmap(const ScreenLayout& layout) const {
  useLayout(layout);
  return bitmaps_.large(bytes_, layout);
}

HBITMAP FriendPicture::smallBitmap(const ScreenLayout& layout) const {
  useLayout(layout);
  return bitmaps_.small(bytes_, layout);
}

const DibBitmap& FriendPicture::largePixels(const ScreenLayout& layout) const {
  largeBitmap(layout);
  return bitmaps_.largeBitmap();
}

const DibBitmap& FriendPicture::smallPixels(const ScreenLayout& layout) const {
  smallBitmap(layout);
  return bitmaps_.smallBitmap();
}

}  // namespace pellucard
