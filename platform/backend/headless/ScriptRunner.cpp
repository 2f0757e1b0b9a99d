#include "platform/backend/headless/ScriptRunner.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "platform/backend/WindowDump.h"
#include "platform/base/Clock.h"
#include "platform/base/Utf.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/sys/WinBase.h"
#include "platform/win/Input.h"
#include "platform/win/Screen.h"
#include "platform/win/WindowView.h"

namespace platform {

namespace {
std::int64_t ticks() { return WindowView().ticks(); }

std::string trim(const std::string& s) {
  const auto b = s.find_first_not_of(" \t\r");
  if (b == std::string::npos) return "";
  const auto e = s.find_last_not_of(" \t\r");
  return s.substr(b, e - b + 1);
}

bool parseInt(const std::string& s, int& out, int min, int max) {
  if (s.empty() || s.size() > 9) return false;
  size_t i = 0;
  bool negative = false;
  if (s[0] == '-') {
    negative = true;
    i = 1;
  }
  if (i >= s.size()) return false;
  long v = 0;
  for (; i < s.size(); ++i) {
    if (s[i] < '0' || s[i] > '9') return false;
    v = v * 10 + (s[i] - '0');
  }
  if (negative) v = -v;
  if (v < min || v > max) return false;
  out = static_cast<int>(v);
  return true;
}

void pressModifiers(const NamedKey& k, bool down) {
  const UINT mods[] = {VK_SHIFT, VK_CONTROL, VK_MENU};
  const bool on[] = {k.shift, k.ctrl, k.alt};
  for (int i = 0; i < 3; ++i) {
    if (!on[i]) continue;
    if (down) {
      postKeyDown(mods[i]);
    } else {
      postKeyUp(mods[i]);
    }
  }
}

void pressKey(const NamedKey& k) {
  pressModifiers(k, true);
  postKeyDown(k.vk);
  postKeyUp(k.vk);
  pressModifiers(k, false);
}

void typeText(const std::u16string& text) {
  for (char16_t c : text) {
    if (c >= u'a' && c <= u'z') {
      pressKey(NamedKey{static_cast<UINT>(c - u'a' + 'A')});
    } else if (c >= u'A' && c <= u'Z') {
      pressKey(NamedKey{static_cast<UINT>(c), true});
    } else if ((c >= u'0' && c <= u'9') || c == u' ') {
      pressKey(NamedKey{static_cast<UINT>(c)});
    } else {
      postCharacter(c);
    }
  }
}
}  // namespace

bool parseIsoDateTime(const std::string& text, SYSTEMTIME& out, bool& utc) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  char tail[4] = {0};
  utc = false;
  const int n = std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%3s", &y, &mo, &d, &h, &mi, &s, tail);
  if (n < 5) return false;
  if (n == 5) {
    const auto colon = text.find(':');
    const std::string rest = text.substr(colon + 3);
    if (rest == "Z") {
      utc = true;
    } else if (!rest.empty()) {
      return false;
    }
  } else if (n == 7) {
    if (std::string(tail) != "Z") return false;
    utc = true;
  }
  if (mo < 1 || mo > 12 || d < 1 || d > 31 || h > 23 || mi > 59 || s > 59 || y < 1601 || y > 9999) return false;
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
  if (d > days[mo - 1] + (mo == 2 && leap ? 1 : 0)) return false;
  out = SYSTEMTIME{static_cast<WORD>(y),  static_cast<WORD>(mo), 0, static_cast<WORD>(d), static_cast<WORD>(h),
                   static_cast<WORD>(mi), static_cast<WORD>(s),  0};
  return true;
}

ScriptRunner::ScriptRunner(Edition edition) : edition_(edition) {}

bool ScriptRunner::load(const std::string& text, std::string& error, int firstLine) {
  std::vector<Command> parsed;
  std::istringstream in(text);
  std::string raw;
  int line = firstLine - 1;
  auto bad = [&](const std::string& reason) {
    error = std::to_string(line) + ": " + reason;
    return false;
  };
  while (std::getline(in, raw)) {
    ++line;
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    const std::string body = trim(raw);
    if (body.empty() || body[0] == '#') continue;
    const auto space = body.find_first_of(" \t");
    const std::string word = body.substr(0, space);
    const std::string rest = space == std::string::npos ? "" : trim(body.substr(space));
    std::istringstream args(rest);
    std::vector<std::string> a;
    for (std::string t; args >> t;) a.push_back(t);
    Command c;
    c.line = line;
    if (word == "key" || word == "hold") {
      const size_t want = word == "key" ? 1 : 2;
      if (a.size() != want) return bad(word == "key" ? "usage: key NAME" : "usage: hold KEY MS");
      auto k = parseKeyName(a[0], edition_);
      if (!k) return bad("unknown key \"" + a[0] + "\"");
      c.key = *k;
      c.kind = word == "key" ? Command::Kind::Key : Command::Kind::Hold;
      if (word == "hold" && !parseInt(a[1], c.ms, 1, 3600000)) return bad("hold needs a duration in milliseconds");
    } else if (word == "type") {
      if (rest.empty()) return bad("usage: type TEXT");
      c.kind = Command::Kind::Type;
      // The text is the rest of the line as written, inner spaces included.
      c.text = toUtf16(body.substr(body.find_first_not_of(" \t", space)));
    } else if (word == "tap") {
      if (a.size() != 2 || !parseInt(a[0], c.x, 0, 32767) || !parseInt(a[1], c.y, 0, 32767))
        return bad("usage: tap X Y (device pixels)");
      c.kind = Command::Kind::Tap;
    } else if (word == "soft") {
      if (a.size() != 1 || (a[0] != "left" && a[0] != "right")) return bad("usage: soft left|right");
      c.kind = Command::Kind::Soft;
      c.left = a[0] == "left";
    } else if (word == "back") {
      if (!a.empty()) return bad("back takes no argument");
      c.kind = Command::Kind::Back;
    } else if (word == "wait") {
      if (a.size() != 1 || !parseInt(a[0], c.ms, 0, 86400000)) return bad("usage: wait MS");
      c.kind = Command::Kind::Wait;
    } else if (word == "idle" || word == "rotate" || word == "quit") {
      if (!a.empty()) return bad(word + " takes no argument");
      c.kind = word == "idle" ? Command::Kind::Idle : word == "rotate" ? Command::Kind::Rotate : Command::Kind::Quit;
    } else if (word == "clock") {
      SYSTEMTIME st{};
      if (a.size() != 1 || !parseIsoDateTime(a[0], st, c.utc)) return bad("usage: clock YYYY-MM-DDTHH:MM[:SS][Z]");
      c.kind = Command::Kind::Clock;
      c.time = st;
    } else if (word == "screenshot" || word == "dump") {
      if (rest.empty()) return bad("usage: " + word + " FILE");
      c.kind = word == "dump" ? Command::Kind::Dump : Command::Kind::Screenshot;
      c.path = rest;
    } else if (word == "drop") {
      if (rest.empty()) return bad("usage: drop FILE (a host path)");
      c.kind = Command::Kind::Drop;
      c.path = rest;
    } else {
      return bad("unknown command \"" + word + "\"");
    }
    parsed.push_back(std::move(c));
  }
  commands_.insert(commands_.end(), parsed.begin(), parsed.end());
  return true;
}

void ScriptRunner::fail(const Command& c, const std::string& reason) {
  failed_ = true;
  failure_ = std::to_string(c.line) + ": " + reason;
}

bool ScriptRunner::waitForInput(int timeoutMs) {
  if (failed_ || quit_) return false;
  for (;;) {
    if (waiting_) {
      const std::int64_t now = ticks();
      // A timer due at the very end of the wait still fires before the next command.
      if (timeoutMs >= 0 && now + timeoutMs <= waitEnd_ && (!holding_ || now + timeoutMs < nextRepeat_)) {
        Clock::instance().advance(timeoutMs);
        return true;
      }
      std::int64_t next = waitEnd_;
      if (holding_) next = std::min(next, nextRepeat_);
      if (next > now) Clock::instance().advance(next - now);
      if (holding_ && next >= nextRepeat_ && next < waitEnd_) {
        postKeyDown(held_.vk, true);
        nextRepeat_ += kKeyRepeatPeriodMs;
        return true;
      }
      if (next >= waitEnd_) {
        waiting_ = false;
        if (holding_) {
          holding_ = false;
          postKeyUp(held_.vk);
          pressModifiers(held_, false);
          return true;
        }
        continue;
      }
      return true;
    }
    if (next_ >= commands_.size()) return false;
    const Command& c = commands_[next_++];
    if (!run(c)) return false;
    if (c.kind == Command::Kind::Idle || c.kind == Command::Kind::Clock || c.kind == Command::Kind::Screenshot ||
        c.kind == Command::Kind::Dump || c.kind == Command::Kind::Wait)
      continue;
    return true;
  }
}

bool ScriptRunner::run(const Command& c) {
  switch (c.kind) {
    case Command::Kind::Key:
      pressKey(c.key);
      return true;
    case Command::Kind::Hold:
      pressModifiers(c.key, true);
      postKeyDown(c.key.vk);
      held_ = c.key;
      holding_ = true;
      waiting_ = true;
      nextRepeat_ = ticks() + kKeyRepeatDelayMs;
      waitEnd_ = ticks() + c.ms;
      return true;
    case Command::Kind::Type:
      typeText(c.text);
      return true;
    case Command::Kind::Tap:
      postStylusDown(POINT{c.x, c.y});
      postStylusUp(POINT{c.x, c.y});
      return true;
    case Command::Kind::Soft:
      pressKey(NamedKey{static_cast<UINT>(c.left ? VK_TSOFT1 : VK_TSOFT2)});
      return true;
    case Command::Kind::Back:
      pressKey(NamedKey{VK_TBACK});
      return true;
    case Command::Kind::Wait:
      waiting_ = true;
      waitEnd_ = ticks() + c.ms;
      return true;
    case Command::Kind::Idle:
      return true;
    case Command::Kind::Clock: {
      if (!(c.utc ? SetSystemTime(&c.time) : SetLocalTime(&c.time))) {
        fail(c, "cannot set the clock");
        return false;
      }
      return true;
    }
    case Command::Kind::Rotate:
      rotateScreen();
      return true;
    case Command::Kind::Drop:
      // Let go in the middle of the screen, as a file dragged from the desktop onto the window.
      postFilesDropped({toUtf16(c.path)}, POINT{gdi::screenWidth() / 2, gdi::screenHeight() / 2});
      return true;
    case Command::Kind::Screenshot:
    case Command::Kind::Dump: {
      std::string error;
      const bool ok = c.kind == Command::Kind::Dump ? writeDump(c.path, error) : writeScreenshot(c.path, error);
      if (!ok) {
        fail(c, error);
        return false;
      }
      return true;
    }
    case Command::Kind::Quit:
      quit_ = true;
      return false;
  }
  return true;
}

}  // namespace platform
