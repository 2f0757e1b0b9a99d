#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>

#include "platform/base/DeviceConfig.h"
#include "platform/base/Utf.h"
#include "platform/shell/FileChooser.h"
#include "platform/shell/PictureDecoder.h"
#include "platform/shell/Shell.h"
#include "platform/shell/WinCommDlg.h"
#include "platform/shell/WinMessageBox.h"
#include "resources/Icons.h"
#include "skin/ThumbnailJob.h"
#include "tests/shell/PictureFiles.h"
#include "tests/shell/ShellDevice.h"
#include "tests/support/TempFolder.h"

using platform::Edition;
using platform::shell::FileChooser;
using platform::shell::FileChooserView;
using platform::shell::FolderListing;
using platform::shell::ThumbnailQueue;
using platform::testing::ShellDevice;
using platform::testing::TempFolder;
using platform::testing::TestDevice;

namespace fs = std::filesystem;

namespace {

constexpr const char16_t* kPictures = u"\\My Documents\\My Pictures";

// A device root with folders, pictures, a non-picture, a broken picture and names in several
// scripts, with the program's icons and picture decoder installed.
class ScratchDevice {
 public:
  explicit ScratchDevice(Edition edition = Edition::PocketPc, int width = 240, int height = 320)
      : device_(edition, width, height) {
    savedRoot_ = platform::DeviceConfig::current().deviceRoot;
    platform::DeviceConfig::current().deviceRoot = root_.path().string();
    pellucard::registerIcons();
    pellucard::ThumbnailJob::install();
    const fs::path pictures = root_.path() / "My Documents" / "My Pictures";
    fs::create_directories(pictures / "Holiday 2024");
    fs::create_directories(pictures / "Zdjęcia Łódź");
    fs::create_directories(pictures / "Φωτογραφίες");
    fs::create_directories(pictures / "写真");
    EXPECT_TRUE(platform::testing::writeJpeg((pictures / "photo.jpg").string(), 64, 48, 0xE00000));
    EXPECT_TRUE(platform::testing::writePng((pictures / "two words.png").string(), 40, 30, 0x00C000));
    EXPECT_TRUE(platform::testing::writeJpeg((pictures / "Holiday 2024" / "beach.jpg").string(), 20, 20, 0x0000E0));
    std::ofstream(pictures / "notes.txt") << "not a picture";
    std::ofstream(pictures / "broken.jpg") << "\xFF\xD8\xFF but nothing more";
    std::ofstream(root_.path() / "My Documents" / "letter.txt") << "Dear friend";
  }
  ~ScratchDevice() {
    platform::shell::PictureDecoder::install(nullptr);
    platform::DeviceConfig::current().deviceRoot = savedRoot_;
  }

  ShellDevice& device() { return device_; }
  const fs::path& root() const { return root_.path(); }
  fs::path pictures() const { return root_.path() / "My Documents" / "My Pictures"; }

 private:
  TempFolder root_;
  ShellDevice device_;
  std::string savedRoot_;
};

HWND chooserWindow() { return FindWindowW(FileChooser::kClass, nullptr); }
HWND chooserView() { return GetDlgItem(chooserWindow(), FileChooser::kViewId); }

struct Outcome {
  BOOL ok = FALSE;
  DWORD error = 0;
  std::u16string path;
};

// Runs GetOpenFileNameEx; the steps queued on the device drive it.
Outcome choose(const char16_t* initialDir, DWORD exFlags = OFN_EXFLAG_THUMBNAILVIEW, const char16_t* filter = nullptr,
               DWORD filterIndex = 0, DWORD bufferSize = MAX_PATH) {
  std::u16string buffer(MAX_PATH, u'\0');
  OPENFILENAMEEX ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = bufferSize;
  ofn.lpstrInitialDir = initialDir;
  ofn.lpstrFilter = filter;
  ofn.nFilterIndex = filterIndex;
  ofn.ExFlags = exFlags;
  Outcome out;
  out.ok = GetOpenFileNameEx(&ofn);
  out.error = CommDlgExtendedError();
  out.path = buffer.c_str();
  return out;
}

bool contains(const std::string& dump, const char16_t* text) {
  return dump.find(platform::toUtf8(text)) != std::string::npos;
}

int indexOf(const FileChooserView& view, const std::u16string& name) {
  for (std::size_t i = 0; i < view.entries().size(); ++i) {
    if (view.entries()[i].name == name) return static_cast<int>(i);
  }
  return -1;
}

FileChooser::Options thumbnailsOf(const std::u16string& folder) {
  FileChooser::Options options;
  options.folder = folder;
  options.title = u"Select Picture";
  return options;
}

}  // namespace

TEST(FileChooserTest, ShowsTheFolderWithEveryNameAndPicksATappedPicture) {
  ScratchDevice scratch;
  std::string dump;
  scratch.device().addStep([&] {
    dump = scratch.device().dump();
    TestDevice::postTapOn(chooserView(), u"photo.jpg");
  });
  const Outcome out = choose(kPictures);
  EXPECT_TRUE(out.ok);
  EXPECT_EQ(out.error, 0u);
  EXPECT_EQ(platform::toUtf8(out.path), "\\My Documents\\My Pictures\\photo.jpg");
  for (const char16_t* text :
       {u"Select Picture", u"Holiday 2024", u"Zdjęcia Łódź", u"Φωτογραφίες", u"写真", u"photo.jpg", u"two words.png",
        u"notes.txt", u"broken.jpg", u"My Pictures", u"Done", u"Cancel"}) {
    EXPECT_TRUE(contains(dump, text)) << platform::toUtf8(text) << "\n" << dump;
  }
  EXPECT_EQ(chooserWindow(), nullptr) << "the chooser is gone once it returns";
}

TEST(FileChooserTest, StartsInMyDocumentsOpensFoldersAndDonePicksTheSelection) {
  ScratchDevice scratch;
  std::string first;
  scratch.device().addStep([&] {
    first = scratch.device().dump();
    TestDevice::postKey(VK_RETURN);  // "My Pictures", the first entry
  });
  scratch.device().addStep([] { TestDevice::postKey(VK_END); });
  scratch.device().addStep([] { TestDevice::postKey(VK_F1); });
  const Outcome out = choose(nullptr);
  EXPECT_TRUE(contains(first, u"letter.txt")) << first;
  ASSERT_TRUE(out.ok);
  EXPECT_EQ(platform::toUtf8(out.path), "\\My Documents\\My Pictures\\two words.png");
}

TEST(FileChooserTest, WithoutMyDocumentsItStartsAtTheRoot) {
  ScratchDevice scratch;
  fs::remove_all(scratch.root() / "My Documents");
  std::ofstream(scratch.root() / "top.jpg") << "x";
  scratch.device().addStep([] { TestDevice::postKey(VK_F1); });
  const Outcome out = choose(u"\\No such folder");
  ASSERT_TRUE(out.ok);
  EXPECT_EQ(platform::toUtf8(out.path), "\\top.jpg");
}

TEST(FileChooserTest, CancelBackAndAnEmptyFolderReturnFalseWithoutAnError) {
  ScratchDevice scratch;
  scratch.device().addStep([] { TestDevice::postKey(VK_F2); });
  Outcome out = choose(kPictures);
  EXPECT_FALSE(out.ok);
  EXPECT_EQ(out.error, 0u);
  EXPECT_EQ(out.path, u"") << "the buffer is left alone";

  scratch.device().addStep([] { TestDevice::postKey(VK_ESCAPE); });
  out = choose(kPictures);
  EXPECT_FALSE(out.ok);
  EXPECT_EQ(out.error, 0u);

  // Done in an empty folder picks nothing and the chooser stays.
  fs::create_directories(scratch.root() / "Empty");
  scratch.device().addStep([] { TestDevice::postKey(VK_F1); });
  scratch.device().addStep([] {
    EXPECT_NE(chooserWindow(), nullptr);
    TestDevice::postKey(VK_F2);
  });
  out = choose(u"\\Empty");
  EXPECT_FALSE(out.ok);
}

TEST(FileChooserTest, PicturesGetThumbnailsAndOtherFilesTheFileIcon) {
  ScratchDevice scratch;
  FileChooser chooser(thumbnailsOf(kPictures));
  ASSERT_TRUE(chooser.open());
  while (chooser.idleStep()) {
  }
  scratch.device().runUntilIdle();
  const FileChooserView& view = *chooser.view();
  const ThumbnailQueue& thumbs = view.thumbnails();
  EXPECT_EQ(thumbs.state(indexOf(view, u"photo.jpg")), ThumbnailQueue::State::Ready);
  EXPECT_EQ(thumbs.state(indexOf(view, u"two words.png")), ThumbnailQueue::State::Ready);
  EXPECT_EQ(thumbs.state(indexOf(view, u"broken.jpg")), ThumbnailQueue::State::Failed);
  EXPECT_EQ(thumbs.state(indexOf(view, u"notes.txt")), ThumbnailQueue::State::None);
  EXPECT_EQ(thumbs.state(indexOf(view, u"Holiday 2024")), ThumbnailQueue::State::None);
  const SIZE size = thumbs.size(indexOf(view, u"photo.jpg"));
  EXPECT_EQ(size.cx * 3, size.cy * 4) << "the picture keeps its shape";

  // The thumbnail's pixels are on screen in the middle of its cell.
  const auto centre = [&](const std::u16string& name) {
    const RECT cell = view.itemRect(indexOf(view, name));
    POINT pt{(cell.left + cell.right) / 2, cell.top + (cell.bottom - cell.top) / 3};
    ClientToScreen(chooserView(), &pt);
    return scratch.device().pixel(pt.x, pt.y);
  };
  const COLORREF red = centre(u"photo.jpg");
  EXPECT_GT(GetRValue(red), 180);
  EXPECT_LT(GetGValue(red), 60);
  const COLORREF green = centre(u"two words.png");
  EXPECT_GT(GetGValue(green), 150);
  EXPECT_LT(GetRValue(green), 60);
}

TEST(FileChooserTest, WithoutADecoderPicturesShowTheFileIcon) {
  ScratchDevice scratch;
  platform::shell::PictureDecoder::install(nullptr);
  FileChooser chooser(thumbnailsOf(kPictures));
  ASSERT_TRUE(chooser.open());
  EXPECT_FALSE(chooser.idleStep());
  EXPECT_EQ(chooser.view()->thumbnails().state(indexOf(*chooser.view(), u"photo.jpg")), ThumbnailQueue::State::Failed);
}

TEST(FileChooserTest, AHugePictureIsDecodedInSlicesAndStillShows) {
  ScratchDevice scratch;
  fs::create_directories(scratch.root() / "Huge");
  // 39.9 megapixels, just under the decoder's limit.
  ASSERT_TRUE(platform::testing::writePng((scratch.root() / "Huge" / "panorama.png").string(), 7000, 5700, 0x3060C0));
  FileChooser chooser(thumbnailsOf(u"\\Huge"));
  ASSERT_TRUE(chooser.open());
  const ThumbnailQueue& thumbs = chooser.view()->thumbnails();
  int slices = 0;
  while (chooser.idleStep()) ++slices;
  EXPECT_GT(slices, 2) << "the chooser answers input between the slices of a huge picture";
  EXPECT_EQ(thumbs.state(0), ThumbnailQueue::State::Ready);
  const SIZE size = thumbs.size(0);
  EXPECT_GT(size.cx, 0);
  EXPECT_LE(size.cx, 240);
}

TEST(FileChooserTest, AFolderThatCannotBeReadShowsEmptyWithoutAMessage) {
  ScratchDevice scratch;
  FileChooser chooser(thumbnailsOf(kPictures));
  ASSERT_TRUE(chooser.open());
  // The folder goes away after it was listed, as a removed card would take it.
  fs::remove_all(scratch.pictures() / "Holiday 2024");
  chooser.view()->select(indexOf(*chooser.view(), u"Holiday 2024"));
  SendMessageW(chooser.hwnd(), WM_COMMAND, MAKEWPARAM(FileChooser::kViewId, FileChooserView::kOpen),
               reinterpret_cast<LPARAM>(chooserView()));
  scratch.device().runUntilIdle();
  EXPECT_TRUE(chooser.view()->entries().empty());
  EXPECT_EQ(FindWindowW(platform::shell::kMessageBoxClass, nullptr), nullptr);
  EXPECT_TRUE(contains(scratch.device().dump(), u"This folder is empty."));

  if (geteuid() != 0) {
    fs::create_directories(scratch.root() / "Locked");
    std::ofstream(scratch.root() / "Locked" / "secret.jpg") << "x";
    fs::permissions(scratch.root() / "Locked", fs::perms::none);
    chooser.openFolder(u"\\Locked");
    EXPECT_TRUE(chooser.view()->entries().empty());
    fs::permissions(scratch.root() / "Locked", fs::perms::owner_all);
  }
}

TEST(FileChooserTest, PathsNeverLeaveTheDeviceRoot) {
  ScratchDevice scratch;
  EXPECT_EQ(FileChooser::startFolder(u"\\..\\..\\..\\My Documents"), u"\\My Documents");
  EXPECT_EQ(FolderListing::normalize(u"\\a\\..\\..\\b\\.\\c\\"), u"\\b\\c");
  EXPECT_EQ(FolderListing::parent(u"\\"), u"\\");
  // A host name holding a backslash would name another file in the device's notation.
  std::ofstream(scratch.pictures() / "Holiday 2024\\beach.jpg") << "x";
  FileChooser chooser(thumbnailsOf(kPictures));
  ASSERT_TRUE(chooser.open());
  EXPECT_EQ(indexOf(*chooser.view(), u"Holiday 2024\\beach.jpg"), -1);
}

TEST(FileChooserTest, TheFilterKeepsMatchingFilesAndEveryFolder) {
  ScratchDevice scratch;
  const char16_t filter[] = u"Pictures\0*.jpg;*.PNG\0Text\0*.txt\0";
  EXPECT_EQ(FolderListing::filterPatterns(filter, 0), (std::vector<std::u16string>{u"*.jpg", u"*.PNG"}));
  EXPECT_EQ(FolderListing::filterPatterns(filter, 2), (std::vector<std::u16string>{u"*.txt"}));
  EXPECT_EQ(FolderListing::filterPatterns(filter, 9), FolderListing::filterPatterns(filter, 1));
  EXPECT_TRUE(FolderListing::filterPatterns(nullptr, 0).empty());

  std::string dump;
  scratch.device().addStep([&] {
    dump = scratch.device().dump();
    TestDevice::postKey(VK_F2);
  });
  choose(kPictures, OFN_EXFLAG_THUMBNAILVIEW, filter, 1);
  EXPECT_TRUE(contains(dump, u"photo.jpg"));
  EXPECT_TRUE(contains(dump, u"two words.png")) << "patterns ignore case";
  EXPECT_TRUE(contains(dump, u"Holiday 2024"));
  EXPECT_FALSE(contains(dump, u"notes.txt"));
}

TEST(FileChooserTest, DetailsViewListsNameDateAndSize) {
  ScratchDevice scratch;
  std::ofstream(scratch.pictures() / "big.txt") << std::string(3 * 1024 * 1024 / 2, 'x');
  std::string dump;
  scratch.device().addStep([&] {
    dump = scratch.device().dump();
    TestDevice::postKey(VK_F2);
  });
  choose(kPictures, OFN_EXFLAG_DETAILSVIEW);
  for (const char16_t* text : {u"Open", u"Name", u"Date", u"Size", u"notes.txt", u"13B", u"1.5M"}) {
    EXPECT_TRUE(contains(dump, text)) << platform::toUtf8(text) << "\n" << dump;
  }
}

TEST(FileChooserTest, TheFolderPickerGoesUpAndDown) {
  ScratchDevice scratch;
  std::string dump;
  scratch.device().addStep([] { TestDevice::postKey(VK_UP); });  // the first row leaves for the picker
  scratch.device().addStep([] { TestDevice::postKey(VK_UP); });  // the picker's "My Documents"
  scratch.device().addStep([&] {
    dump = scratch.device().dump();
    TestDevice::postKey(VK_F2);
  });
  choose(kPictures);
  EXPECT_TRUE(contains(dump, u"letter.txt")) << dump;
  EXPECT_FALSE(contains(dump, u"photo.jpg")) << dump;
}

TEST(FileChooserTest, APathLongerThanTheBufferReportsTheSizeNeeded) {
  ScratchDevice scratch;
  scratch.device().addStep([] { TestDevice::postTapOn(chooserView(), u"photo.jpg"); });
  std::u16string buffer(8, u'\0');
  OPENFILENAMEEX ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = 8;
  ofn.lpstrInitialDir = kPictures;
  ofn.ExFlags = OFN_EXFLAG_THUMBNAILVIEW;
  EXPECT_FALSE(GetOpenFileNameEx(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
  EXPECT_EQ(buffer[0], static_cast<char16_t>(std::u16string(u"\\My Documents\\My Pictures\\photo.jpg").size() + 1));

  ofn.lStructSize = 12;
  EXPECT_FALSE(GetOpenFileNameEx(&ofn));
  EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
}

TEST(FileChooserTest, AFileInTheBufferOpensItsFolderWithItSelected) {
  ScratchDevice scratch;
  scratch.device().addStep([] { TestDevice::postKey(VK_RETURN); });
  std::u16string buffer(MAX_PATH, u'\0');
  const std::u16string given = u"\\My Documents\\My Pictures\\two words.png";
  std::copy(given.begin(), given.end(), buffer.begin());
  OPENFILENAMEEX ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.lpstrFile = buffer.data();
  ofn.nMaxFile = MAX_PATH;
  ofn.ExFlags = OFN_EXFLAG_THUMBNAILVIEW;
  ASSERT_TRUE(GetOpenFileNameEx(&ofn));
  EXPECT_EQ(std::u16string(buffer.c_str()), given);
  EXPECT_EQ(ofn.nFileOffset, given.find(u"two"));
  EXPECT_EQ(ofn.nFileExtension, given.find(u"png"));
}

class FileChooserLayoutTest : public ::testing::TestWithParam<std::tuple<Edition, int, int>> {};

TEST_P(FileChooserLayoutTest, EveryLayoutShowsThePickerTheNamesAndTheSoftKeys) {
  const auto [edition, width, height] = GetParam();
  ScratchDevice scratch(edition, width, height);
  std::string dump;
  scratch.device().addStep([&] {
    dump = scratch.device().dump();
    if (const char* dir = std::getenv("PELLUCARD_SCREENSHOTS")) {
      scratch.device().screenshot(std::string(dir) + "/chooser-" + std::to_string(width) + "x" +
                                  std::to_string(height) + (edition == Edition::PocketPc ? "-ppc" : "-sp") + ".png");
    }
    TestDevice::postKey(VK_END);
  });
  scratch.device().addStep([] { TestDevice::postKey(VK_F1); });
  const Outcome out = choose(kPictures);
  for (const char16_t* text : {u"My Pictures", u"Holiday 2024", u"Zdjęcia Łódź", u"Done", u"Cancel"}) {
    EXPECT_TRUE(contains(dump, text)) << platform::toUtf8(text) << "\n" << dump;
  }
  // The last entry is scrolled into view and picked by the soft key.
  ASSERT_TRUE(out.ok);
  EXPECT_EQ(platform::toUtf8(out.path), "\\My Documents\\My Pictures\\two words.png");
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, FileChooserLayoutTest,
    ::testing::Values(std::make_tuple(Edition::PocketPc, 240, 320), std::make_tuple(Edition::PocketPc, 320, 240),
                      std::make_tuple(Edition::PocketPc, 240, 240), std::make_tuple(Edition::PocketPc, 480, 640),
                      std::make_tuple(Edition::Smartphone, 176, 220), std::make_tuple(Edition::Smartphone, 240, 320)));
