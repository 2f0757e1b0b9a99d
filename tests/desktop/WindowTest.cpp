// The real window end to end: the program and the demo device run with their SDL window on a
// private X display (Xvfb) and are driven by real X input (xdotool), with text pasted through
// the desktop's clipboard (xclip). What they show is read from their window dump, asked for
// with SIGUSR1, and from a picture of the display (xwd), which must show the device's screen
// exactly, at the window's zoom.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/backend/HostWindow.h"
#include "tests/desktop/RunningDevice.h"
#include "tests/desktop/ShellCommand.h"
#include "tests/desktop/XServer.h"
#include "tests/support/TempFolder.h"

namespace pellucard::testing {
namespace {

namespace fs = std::filesystem;
using platform::testing::TempFolder;

constexpr int kDisplayWidth = 1280;
constexpr int kDisplayHeight = 1024;

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  int midX() const { return (left + right) / 2; }
  int midY() const { return (top + bottom) / 2; }
};

struct DrawnText {
  std::string text;
  Box box;
};

Box boxOf(const std::string& line) {
  Box b;
  const auto at = line.find("rect=");
  if (at != std::string::npos) std::sscanf(line.c_str() + at, "rect=%d,%d,%d,%d", &b.left, &b.top, &b.right, &b.bottom);
  return b;
}

std::vector<std::string> linesOf(const std::string& dump) {
  std::vector<std::string> lines;
  std::istringstream in(dump);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The first window line holding `marker`.
std::string windowLine(const std::string& dump, const std::string& marker) {
  for (const std::string& line : linesOf(dump))
    if (has(line, marker) && has(line, "window \"")) return line;
  return {};
}

// The texts drawn by the first window whose line holds `marker` and by its children.
std::vector<DrawnText> textsOf(const std::string& dump, const std::string& marker) {
  std::vector<DrawnText> texts;
  size_t depth = std::string::npos;
  for (const std::string& line : linesOf(dump)) {
    const size_t indent = line.find_first_not_of(' ');
    if (depth == std::string::npos) {
      if (has(line, marker) && has(line, "window \"")) depth = indent;
      continue;
    }
    if (indent <= depth) break;
    if (line.compare(indent, 6, "text \"") != 0) continue;
    const size_t end = line.find("\" rect=");
    texts.push_back(DrawnText{line.substr(indent + 6, end - indent - 6), boxOf(line)});
  }
  return texts;
}

// Device pixels that the display does not show as the device has them, comparing the colour
// bits the device keeps (5-6-5); -1 when a picture cannot be had.
int mismatchesOnDisplay(const RunningDevice& device, const std::string& display, std::string& why) {
  const DeviceScreen screen = device.lastScreen();
  const HostGeometry at = device.geometry();
  int width = 0;
  const std::vector<std::uint32_t> shown = displayPixels(display, width, why);
  if (screen.pixels.empty() || shown.empty() || screen.width == 0) return -1;
  const int zoom = at.width / screen.width;
  const int height = static_cast<int>(shown.size()) / width;
  if (zoom < 1 || at.x < 0 || at.y < 0 || at.x + at.width > width || at.y + at.height > height) return -1;
  auto as565 = [](std::uint32_t c) { return (c >> 19 & 0x1F) << 11 | (c >> 10 & 0x3F) << 5 | (c >> 3 & 0x1F); };
  int mismatches = 0;
  for (int y = 0; y < screen.height * zoom; ++y) {
    for (int x = 0; x < screen.width * zoom; ++x) {
      const std::uint32_t want = screen.pixels[static_cast<size_t>(y / zoom) * screen.width + x / zoom];
      if (as565(shown[static_cast<size_t>(at.y + y) * width + at.x + x]) != as565(want)) ++mismatches;
    }
  }
  return mismatches;
}

// The display shows the device's screen at the window's zoom (asking again while a repaint may
// still be on its way to the display).
void expectDisplayShowsTheScreen(RunningDevice& device, const std::string& display) {
  std::string why;
  int mismatches = -1;
  for (int attempt = 0; attempt < 50 && mismatches != 0; ++attempt) {
    device.waitForDump([](const std::string&) { return true; }, "a dump");
    mismatches = mismatchesOnDisplay(device, display, why);
    if (mismatches != 0) std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(mismatches, 0) << why;
}

// Another program holding text on the desktop's clipboard: xclip in the foreground, so that the
// test ends it and no process outlives the test.
class ClipboardOffer {
 public:
  ClipboardOffer(const std::string& display, const std::string& file) {
    pid_ = ::fork();
    if (pid_ == 0) {
      const int null = ::open("/dev/null", O_RDWR);
      ::dup2(null, 1);
      ::dup2(null, 2);
      ::setenv("DISPLAY", display.c_str(), 1);
      ::execlp("xclip", "xclip", "-quiet", "-selection", "clipboard", "-i", file.c_str(), nullptr);
      ::_exit(127);
    }
  }
  ~ClipboardOffer() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
  }
  ClipboardOffer(const ClipboardOffer&) = delete;
  ClipboardOffer& operator=(const ClipboardOffer&) = delete;

 private:
  pid_t pid_ = -1;
};

// A fresh application folder with a dozen friends, past the first start's question.
void prepareData(const TempFolder& folder) {
  const std::string app = folder.file("app");
  ASSERT_EQ(runShell(std::string(PELLUCARD_FILLDB_EXE) + " --app-dir " + shellQuoted(app) + " --friends 12").exitCode,
            0);
  std::ofstream(folder.file("first.txt")) << "key N\n";
  fs::create_directories(folder.path() / "run");
  const ShellOutcome first =
      runShell("XDG_RUNTIME_DIR=" + shellQuoted(folder.file("run")) +
               " XDG_CONFIG_HOME=" + shellQuoted(folder.file("config")) + " " + PELLUCARD_PROGRAM_EXE +
               " --headless --app-dir " + shellQuoted(app) + " --script " + shellQuoted(folder.file("first.txt")));
  ASSERT_EQ(first.exitCode, 0) << first.output;
}

struct Edition {
  const char* name;
  int width;
  int height;
};

class RealWindow : public ::testing::TestWithParam<Edition> {
 protected:
  void SetUp() override {
    if (!x_.running()) GTEST_SKIP() << "no X display for the window test: " << x_.problem();
  }
  std::vector<std::string> deviceOptions() const {
    const Edition& e = GetParam();
    return {"--edition", e.name,
            "--screen",  std::to_string(e.width) + "x" + std::to_string(e.height),
            "--app-dir", folder_.file("app"),
            "--pim-dir", folder_.file("pim")};
  }
  bool smartphone() const { return std::string(GetParam().name) == "smartphone"; }
  std::string screenLine(int w, int h) const {
    return "screen " + std::to_string(w) + "x" + std::to_string(h) + " edition " + GetParam().name + "\n";
  }

  XServer x_{kDisplayWidth, kDisplayHeight};
  TempFolder folder_;
};

TEST_P(RealWindow, TheProgramTakesKeysSoftKeysClicksAndRotationFromTheHost) {
  const Edition e = GetParam();
  prepareData(folder_);
  RunningDevice program(PELLUCARD_PROGRAM_EXE, deviceOptions(), x_.display(), folder_.path() / "window");
  ASSERT_TRUE(program.running()) << program.problem();
  std::string dump = program.waitForDump(
      [](const std::string& d) { return has(d, "\"FriendList\"") && has(d, "text \"Friends\""); }, "the friends");
  EXPECT_EQ(dump.rfind(screenLine(e.width, e.height), 0), 0u) << dump;
  // The window takes the largest whole zoom that fits the display.
  const int zoom = platform::HostWindow::fittingZoom(e.width, e.height, kDisplayWidth, kDisplayHeight);
  HostGeometry at = program.geometry();
  EXPECT_EQ(at.width, e.width * zoom);
  EXPECT_EQ(at.height, e.height * zoom);
  expectDisplayShowsTheScreen(program, x_.display());
  // The desktop reads the title as UTF-8, dash and all, and the class the menu entry names.
  const std::string title = platform::HostWindow::title(
      smartphone() ? platform::Edition::Smartphone : platform::Edition::PocketPc, e.width, e.height);
  EXPECT_EQ(program.windowProperty("_NET_WM_NAME"), "_NET_WM_NAME(UTF8_STRING) = \"" + title + "\"\n");
  EXPECT_EQ(program.windowProperty("WM_CLASS"), "WM_CLASS(STRING) = \"pellucard\", \"pellucard\"\n");

  // The D-pad turns the lists; the right soft key opens the menu and Escape closes it.
  program.key("Right");
  program.waitForDump([](const std::string& d) { return has(d, "text \"Gifts\""); }, "the gifts");
  program.key("Left");
  program.waitForDump([](const std::string& d) { return has(d, "text \"Friends\""); }, "the friends again");
  program.key("F2");
  program.waitForDump([](const std::string& d) { return has(d, "window \"MNU\""); }, "the menu");
  program.key("Escape");
  dump = program.waitForDump([](const std::string& d) { return !has(d, "window \"MNU\""); }, "the menu to close");

  // A click selects the second row and a second click on it opens that friend, wherever the
  // zoom puts the row on the display.
  std::vector<DrawnText> rows = textsOf(dump, "\"FriendList\"");
  ASSERT_GE(rows.size(), 2u) << dump;
  std::sort(rows.begin(), rows.end(), [](const DrawnText& a, const DrawnText& b) { return a.box.top < b.box.top; });
  const DrawnText second = rows[1];
  program.click(second.box.midX(), second.box.midY());
  program.click(second.box.midX(), second.box.midY());
  dump = program.waitForDump(
      [&](const std::string& d) {
        const auto bar = textsOf(d, "\"HHTaskBar\"");
        return has(d, "\"FriendDetailsScreen\"") &&
               std::any_of(bar.begin(), bar.end(), [&](const DrawnText& t) { return t.text == second.text; });
      },
      "the details of " + second.text);

  if (smartphone()) {
    // Escape is the Smartphone's Back key.
    program.key("Escape");
    program.waitForDump([](const std::string& d) { return has(d, "\"FriendList\"") && !has(d, "FriendDetails"); },
                        "Back to return to the list");
  } else {
    // The Pocket PC has no Back key: Escape does nothing there, while the next key still acts.
    program.key("Escape Right");
    dump = program.waitForDump(
        [](const std::string& d) {
          const auto page = textsOf(d, "\"SpinnerViewCtrl\"");
          return has(d, "\"FriendDetailsScreen\"") && !page.empty() && page[0].text != "Details";
        },
        "the next page of the details");
    EXPECT_FALSE(has(dump, "\"FriendList\"")) << dump;
    program.key("F2");
    dump = program.waitForDump([](const std::string& d) { return has(d, "Switch to Friends View"); }, "the menu");
    const auto items = textsOf(dump, "\"MNU\"");
    const auto item =
        std::find_if(items.begin(), items.end(), [](const DrawnText& t) { return t.text == "Switch to Friends View"; });
    ASSERT_NE(item, items.end()) << dump;
    program.click(item->box.midX(), item->box.midY());
    program.waitForDump([](const std::string& d) { return has(d, "\"FriendList\"") && !has(d, "FriendDetails"); },
                        "Switch to Friends View to return to the list");
  }

  // Ctrl+R turns the screen and the window with it.
  program.key("ctrl+r");
  dump = program.waitForDump([&](const std::string& d) { return d.rfind(screenLine(e.height, e.width), 0) == 0; },
                             "the screen to turn");
  at = program.geometry();
  EXPECT_EQ(at.width, e.height * zoom);
  EXPECT_EQ(at.height, e.width * zoom);
  expectDisplayShowsTheScreen(program, x_.display());
  program.key("ctrl+r");
  program.waitForDump([&](const std::string& d) { return d.rfind(screenLine(e.width, e.height), 0) == 0; },
                      "the screen to turn back");

  program.key("ctrl+q");
  EXPECT_EQ(program.waitForExit(), 0);
}

TEST_P(RealWindow, TextComesAndGoesThroughTheDesktopsClipboard) {
  RunningDevice demo(PELLUCARD_DEMO_EXE, deviceOptions(), x_.display(), folder_.path() / "window");
  ASSERT_TRUE(demo.running()) << demo.problem();
  std::string dump =
      demo.waitForDump([](const std::string& d) { return has(d, "\"PellucardDemo\""); }, "the demo's frame");

  // The left soft key opens the demo's dialog and Enter answers it.
  demo.key("F1");
  demo.waitForDump([](const std::string& d) { return has(d, "\"Demo dialog\""); }, "the dialog");
  demo.key("Return");
  dump = demo.waitForDump([](const std::string& d) { return has(d, "text \"Dialog: OK\""); }, "the dialog's answer");

  const Box field = boxOf(windowLine(dump, "window \"EDIT\""));
  ASSERT_GT(field.right, field.left) << dump;
  demo.click(field.midX(), field.midY());
  demo.waitForDump([](const std::string& d) { return has(windowLine(d, "window \"EDIT\""), " focus"); },
                   "the field to take the keys");

  // Another program puts a name with letters of several languages on the clipboard.
  const std::string name = "Zoë Łukasz-Wiśniewska";
  std::ofstream(folder_.file("clip.txt")) << name;
  ClipboardOffer offer(x_.display(), folder_.file("clip.txt"));
  // The paste waits until the offer stands.
  const std::string display = "DISPLAY=" + x_.display() + " ";
  const auto offered = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (runShell(display + "timeout 5 xclip -selection clipboard -o").output != name &&
         std::chrono::steady_clock::now() < offered)
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  demo.key("ctrl+v");
  demo.waitForDump([&](const std::string& d) { return has(d, "window \"EDIT\" \"" + name + "\""); }, "the paste");
  demo.type(" & Co");
  demo.waitForDump([&](const std::string& d) { return has(d, "window \"EDIT\" \"" + name + " & Co\""); },
                   "the typed text");

  // Copied in the field, the text is the desktop's to paste elsewhere.
  demo.key("ctrl+a ctrl+c");
  std::string pasted;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (pasted != name + " & Co" && std::chrono::steady_clock::now() < deadline) {
    pasted = runShell(display + "timeout 5 xclip -selection clipboard -o").output;
    if (pasted != name + " & Co") std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_EQ(pasted, name + " & Co");
  expectDisplayShowsTheScreen(demo, x_.display());

  // A tap on the list gives the keys back to the frame, whose right soft key ends the demo.
  const Box list = boxOf(windowLine(dump, "\"DemoList\""));
  demo.click(list.midX(), list.midY());
  demo.waitForDump([](const std::string& d) { return has(windowLine(d, "\"PellucardDemo\""), " focus"); },
                   "the frame to take the keys back");
  demo.key("F2");
  EXPECT_EQ(demo.waitForExit(), 0);
}

INSTANTIATE_TEST_SUITE_P(BothEditions, RealWindow,
                         ::testing::Values(Edition{"pocketpc", 240, 320}, Edition{"smartphone", 176, 220}),
                         [](const ::testing::TestParamInfo<Edition>& edition) {
                           return std::string(edition.param.name);
                         });

}  // namespace
}  // namespace pellucard::testing
