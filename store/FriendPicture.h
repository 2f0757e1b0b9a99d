// A friend's own picture, held as its encoded bytes (JPEG, or whatever a contact supplied), with
// the two bitmaps that screens draw made from those bytes on first use.
#pragma once

#include <cstdint>
#include <istream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "device/ScreenLayout.h"
#include "platform/base/WinTypes.h"
#include "platform/cedb/WinDb.h"
#include "skin/PictureBitmaps.h"

namespace pellucard {

class FriendPicture {
 public:
  // Stored pictures larger than this are refused rather than read whole into memory.
  static constexpr std::size_t kMaxBytes = 16 * 1024 * 1024;
  // The largest picture a friend record can hold: the volume refuses bigger properties.
  static constexpr std::size_t kMaxStoredBytes = CEDB_MAXPROPDATASIZE;

  FriendPicture() = default;
  // Copies carry the bytes only; their bitmaps are made again when first asked for.
  FriendPicture(const FriendPicture& other) : bytes_(other.bytes_) {}
  FriendPicture& operator=(const FriendPicture& other);
  FriendPicture(FriendPicture&&) noexcept = default;
  FriendPicture& operator=(FriendPicture&&) noexcept = default;

  bool hasPicture() const { return !bytes_.empty(); }
  // Replaces the picture with a copy of the bytes; an empty span clears it.
  bool loadFromBytes(std::span<const std::uint8_t> bytes);
  // Reads the stream to its end. A failing or oversized stream leaves the picture as it was.
  bool loadFromStream(std::istream& in);
  std::vector<std::uint8_t> saveToBytes() const { return bytes_; }
  const std::vector<std::uint8_t>& bytes() const { return bytes_; }
  void clear();

  // Decodes a PNG or JPEG file (a device path such as "\My Pictures\a.jpg", or a host path),
  // fits it into the box (by default the avatar size of the active layout) and keeps it as
  // JPEG. A file that cannot be read or decoded, or is too large, leaves the picture as it was.
  bool setFromFile(std::u16string_view path);
  bool setFromFile(std::u16string_view path, SIZE box);
  // The same for an image already in memory.
  bool setFromImage(std::span<const std::uint8_t> imageBytes, SIZE box);

  // The picture at the layout's avatar size and at its small picture size, made from the bytes
  // on first use; none without a picture or when the bytes do not decode (they are kept).
  // Without a layout, the active one of the image cache.
  HBITMAP largeBitmap() const;
  HBITMAP smallBitmap() const;
  HBITMAP largeBitmap(const ScreenLayout& layout) const;
  HBITMAP smallBitmap(const ScreenLayout& layout) const;
  // The pixels behind the handles above, for callers that need their size.
  const DibBitmap& largePixels(const ScreenLayout& layout) const;
  const DibBitmap& smallPixels(const ScreenLayout& layout) const;

 private:
  void replaceBytes(std::vector<std::uint8_t> bytes);
  // Drops the bitmaps when they were made for another layout.
  void useLayout(const ScreenLayout& layout) const;

  std::vector<std::uint8_t> bytes_;
  // Caches of the bytes; logically part of the picture, so const readers may fill them.
  mutable PictureBitmaps bitmaps_;
  mutable ScreenLayout bitmapsLayout_;
};

}  // namespace pellucard
