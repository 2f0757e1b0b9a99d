// A friend's picture set from image files, and the bitmaps screens draw from it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/base/DeviceConfig.h"
#include "platform/base/Utf.h"
#include "platform/gdi/GdiBridge.h"
#include "skin/FriendPictureImage.h"
#include "skin/ImageCache.h"
#include "skin/ImageDecoder.h"
#include "skin/JpegEncoder.h"
#include "skin/PictureBitmaps.h"
#include "store/Friend.h"
#include "store/FriendPicture.h"
#include "tests/support/TempFolder.h"

using namespace pellucard;

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

RgbImage gradient(int width, int height) {
  RgbImage image;
  image.width = width;
  image.height = height;
  image.rgb.resize(static_cast<std::size_t>(width) * height * 3);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      std::uint8_t* p = image.rgb.data() + (static_cast<std::size_t>(y) * width + x) * 3;
      p[0] = static_cast<std::uint8_t>(x * 255 / width);
      p[1] = static_cast<std::uint8_t>(y * 255 / height);
      p[2] = 128;
    }
  }
  return image;
}

std::uint32_t crc32(const std::uint8_t* data, std::size_t size) {
  std::uint32_t crc = 0xFFFFFFFFu;
  for (std::size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void put32(Bytes& out, std::uint32_t v) {
  for (int shift : {24, 16, 8, 0}) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

// A well-formed PNG header announcing width x height, followed by an empty IDAT.
Bytes pngHeaderOnly(std::uint32_t width, std::uint32_t height) {
  Bytes png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  Bytes ihdr = {'I', 'H', 'D', 'R'};
  put32(ihdr, width);
  put32(ihdr, height);
  for (std::uint8_t b : {8, 2, 0, 0, 0}) ihdr.push_back(b);
  put32(png, 13);
  png.insert(png.end(), ihdr.begin(), ihdr.end());
  put32(png, crc32(ihdr.data(), ihdr.size()));
  put32(png, 0);
  for (char c : {'I', 'D', 'A', 'T'}) png.push_back(static_cast<std::uint8_t>(c));
  put32(png, crc32(png.data() + png.size() - 4, 4));
  return png;
}

class FriendPictureImages : public ::testing::Test {
 protected:
  void SetUp() override {
    savedRoot_ = platform::DeviceConfig::current().deviceRoot;
    platform::DeviceConfig::current().deviceRoot = dir_.string();
    ImageCache::instance().setUpRoles(ScreenLayout(LayoutKind::Portrait));
  }

  void TearDown() override {
    ImageCache::destroy();
    platform::DeviceConfig::current().deviceRoot = savedRoot_;
  }

  std::string write(const std::string& name, const Bytes& bytes) {
    const fs::path path = dir_ / name;
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    return path.string();
  }

  std::string writePng(const std::string& name, int width, int height) {
    std::vector<std::uint16_t> pixels(static_cast<std::size_t>(width) * height);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint16_t>(i * 2654435761u >> 16);
    const std::string path = (dir_ / name).string();
    EXPECT_TRUE(platform::gdi::writePng(path, pixels.data(), width, height, width));
    return path;
  }

  static std::u16string u16(const std::string& path) { return platform::toUtf16(path); }

  // The size a stored picture decodes to.
  static SIZE storedSize(const FriendPicture& picture) {
    const auto size = ImageDecoder::readSize(picture.bytes());
    return size ? *size : SIZE{0, 0};
  }

  platform::testing::TempFolder folder_;
  fs::path dir_ = folder_.path();
  std::string savedRoot_;
};

// What a screen keeps beside a picture it draws: bitmaps made from its bytes for the active
// layout, made again once the bytes change.
class DrawnPicture {
 public:
  explicit DrawnPicture(const FriendPicture& picture) : picture_(picture) {}
  HBITMAP large(const ScreenLayout& layout = ImageCache::instance().layout()) {
    fit(layout);
    return bitmaps_.large(picture_.bytes(), layout);
  }
  HBITMAP small(const ScreenLayout& layout = ImageCache::instance().layout()) {
    fit(layout);
    return bitmaps_.small(picture_.bytes(), layout);
  }
  const DibBitmap& largePixels(const ScreenLayout& layout) {
    large(layout);
    return bitmaps_.largeBitmap();
  }
  const DibBitmap& smallPixels(const ScreenLayout& layout) {
    small(layout);
    return bitmaps_.smallBitmap();
  }

 private:
  void fit(const ScreenLayout& layout) {
    if (layout == layout_ && picture_.bytes() == bytes_) return;
    bitmaps_.reset();
    layout_ = layout;
    bytes_ = picture_.bytes();
  }

  const FriendPicture& picture_;
  PictureBitmaps bitmaps_;
  ScreenLayout layout_;
  Bytes bytes_;
};

TEST_F(FriendPictureImages, PngAndJpegFilesAreFittedIntoTheAvatarAndKeptAsJpeg) {
  FriendPicture picture;
  ASSERT_TRUE(FriendPictureImage::setFromFile(picture, u16(writePng("wide.png", 640, 480))));
  EXPECT_EQ(ImageDecoder::detectFormat(picture.bytes()), ImageFormat::Jpeg);
  EXPECT_EQ(storedSize(picture).cx, 80);
  EXPECT_EQ(storedSize(picture).cy, 60);

  ASSERT_TRUE(
      FriendPictureImage::setFromFile(picture, u16(write("tall.jpg", *JpegEncoder::encode(gradient(480, 640))))));
  EXPECT_EQ(ImageDecoder::detectFormat(picture.bytes()), ImageFormat::Jpeg);
  EXPECT_EQ(storedSize(picture).cx, 60);
  EXPECT_EQ(storedSize(picture).cy, 80);
}

TEST_F(FriendPictureImages, DevicePathsAndTheActiveLayoutDecideFileAndSize) {
  writePng("holiday.png", 300, 100);
  ImageCache::instance().setUpRoles(ScreenLayout(LayoutKind::PocketPc240Portrait));
  FriendPicture picture;
  ASSERT_TRUE(FriendPictureImage::setFromFile(picture, u"\\holiday.png"));
  EXPECT_EQ(storedSize(picture).cx, 50);
  EXPECT_EQ(storedSize(picture).cy, 16);
  // A picture smaller than the avatar is enlarged to it, as a fit always fills one side.
  ASSERT_TRUE(FriendPictureImage::setFromFile(picture, u16(writePng("tiny.png", 4, 8)), SIZE{80, 80}));
  EXPECT_EQ(storedSize(picture).cx, 40);
  EXPECT_EQ(storedSize(picture).cy, 80);
}

TEST_F(FriendPictureImages, FilesThatAreNoUsableImageLeaveThePictureAsItWas) {
  const Bytes jpeg = *JpegEncoder::encode(gradient(120, 90));
  const Bytes header = pngHeaderOnly(64, 64);
  const Bytes text = {'h', 'e', 'l', 'l', 'o', '\n'};
  Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, ',', 0, 0, 0, 0, 1, 0, 1, 0, 0, 2, 2, 'D', 1, 0, ';'};
  const std::vector<std::string> bad = {
      write("notes.txt", text),
      write("empty.jpg", {}),
      write("half.jpg", Bytes(jpeg.begin(), jpeg.begin() + jpeg.size() / 2)),
      write("head.png", Bytes(header.begin(), header.end() - 8)),
      write("anim.gif", gif),
      write("huge.png", pngHeaderOnly(10000, 4001)),
      (dir_ / "missing.png").string(),
      dir_.string(),
  };
  FriendPicture picture;
  ASSERT_TRUE(FriendPictureImage::setFromFile(picture, u16(write("good.jpg", jpeg))));
  const Bytes before = picture.bytes();
  DrawnPicture drawn(picture);
  ASSERT_NE(drawn.large(), nullptr);
  for (const std::string& path : bad) {
    EXPECT_FALSE(FriendPictureImage::setFromFile(picture, u16(path))) << path;
    EXPECT_EQ(picture.bytes(), before) << path;
  }
  EXPECT_FALSE(FriendPictureImage::setFromFile(picture, u""));
  EXPECT_EQ(picture.bytes(), before);
  EXPECT_NE(drawn.large(), nullptr);

  FriendPicture none;
  EXPECT_FALSE(FriendPictureImage::setFromFile(none, u16(bad.front())));
  EXPECT_FALSE(none.hasPicture());
}

TEST_F(FriendPictureImages, BitmapsAreMadeOnDemandAndRemadeAfterEveryChange) {
  const ScreenLayout portrait(LayoutKind::Portrait);
  FriendPicture picture;
  DrawnPicture drawn(picture);
  EXPECT_EQ(drawn.large(), nullptr);
  EXPECT_EQ(drawn.small(), nullptr);

  ASSERT_TRUE(picture.loadFromBytes(*JpegEncoder::encode(gradient(640, 480))));
  ASSERT_NE(drawn.small(portrait), nullptr);
  EXPECT_EQ(drawn.largePixels(portrait).width(), 80);
  EXPECT_EQ(drawn.largePixels(portrait).height(), 60);
  EXPECT_EQ(drawn.smallPixels(portrait).width(), 32);
  EXPECT_EQ(drawn.smallPixels(portrait).height(), 24);

  ASSERT_TRUE(FriendPictureImage::setFromFile(picture, u16(writePng("tall.png", 30, 60))));
  ASSERT_NE(drawn.large(portrait), nullptr);
  EXPECT_EQ(drawn.largePixels(portrait).width(), 40);
  EXPECT_EQ(drawn.smallPixels(portrait).width(), 16);

  // Another layout gets bitmaps of its own sizes.
  const ScreenLayout small(LayoutKind::PocketPc240Portrait);
  ASSERT_NE(drawn.large(small), nullptr);
  EXPECT_EQ(drawn.largePixels(small).height(), 50);
  EXPECT_EQ(drawn.smallPixels(small).height(), 26);

  std::istringstream stream(std::string(reinterpret_cast<const char*>(picture.bytes().data()), picture.bytes().size()));
  FriendPicture copy = picture;
  ASSERT_TRUE(copy.loadFromStream(stream));
  DrawnPicture drawnCopy(copy);
  EXPECT_NE(drawnCopy.large(portrait), nullptr);

  picture.clear();
  EXPECT_EQ(drawn.large(portrait), nullptr);
  EXPECT_EQ(drawn.small(portrait), nullptr);
  EXPECT_NE(drawnCopy.small(portrait), nullptr) << "a copy keeps its own picture";
}

TEST_F(FriendPictureImages, StoredBytesThatDoNotDecodeGiveNoBitmapAndAreKept) {
  const Bytes jpeg = *JpegEncoder::encode(gradient(64, 64));
  const Bytes broken(jpeg.begin(), jpeg.begin() + 40);
  FriendPicture picture;
  ASSERT_TRUE(picture.loadFromBytes(broken));
  DrawnPicture drawn(picture);
  EXPECT_EQ(drawn.large(), nullptr);
  EXPECT_EQ(drawn.small(), nullptr);
  EXPECT_TRUE(picture.hasPicture());
  EXPECT_EQ(picture.saveToBytes(), broken);

  // Good bytes afterwards decode again.
  ASSERT_TRUE(picture.loadFromBytes(jpeg));
  EXPECT_NE(drawn.large(), nullptr);
}

TEST_F(FriendPictureImages, AFriendsOwnPictureGoesWhenAnAvatarIsChosen) {
  Friend person(u"Ann", u"Lee", u"", Friend::kOwnPicture);
  ASSERT_TRUE(FriendPictureImage::setFromFile(person.picture(), u16(writePng("ann.png", 100, 100))));
  DrawnPicture drawn(person.picture());
  ASSERT_NE(drawn.large(), nullptr);
  person.assign(u"Ann", u"Lee", u"", 3);
  EXPECT_FALSE(person.picture().hasPicture());
  EXPECT_EQ(drawn.large(), nullptr);
}

}  // namespace
