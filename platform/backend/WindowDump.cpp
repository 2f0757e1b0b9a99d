#include "platform/backend/WindowDump.h"

#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>

#include "platform/base/DeviceConfig.h"
#include "platform/base/Utf.h"
#include "platform/gdi/GdiBridge.h"
#include "platform/win/WindowView.h"

namespace platform {

namespace {
std::string quote(const std::u16string& text) {
  std::string out = "\"";
  for (char c : toUtf8(text)) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string rectText(const RECT& r) {
  std::ostringstream s;
  s << r.left << ',' << r.top << ',' << r.right << ',' << r.bottom;
  return s.str();
}

std::string colourText(COLORREF c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "#%02X%02X%02X", GetRValue(c), GetGValue(c), GetBValue(c));
  return buf;
}

void dumpWindow(const WindowView& view, HWND hwnd, int depth, std::ostringstream& out) {
  const std::optional<WindowSummary> w = view.describe(hwnd);
  if (!w || !w->shown) return;
  const std::string indent(static_cast<size_t>(depth) * 2, ' ');
  out << indent << "window " << quote(w->className) << ' ' << quote(w->text) << " id=" << w->id
      << " rect=" << rectText(w->screenRect);
  if (w->focus) out << " focus";
  if (w->active) out << " active";
  if (w->disabled) out << " disabled";
  out << '\n';
  for (const auto& t : gdi::capturedTexts(hwnd)) {
    out << indent << "  text " << quote(t.text) << " rect=" << rectText(t.screenRect)
        << " color=" << colourText(t.color) << '\n';
  }
  for (HWND c : w->children) dumpWindow(view, c, depth + 1, out);
}
}  // namespace

std::string dumpWindows() {
  const WindowView view;
  std::ostringstream out;
  const DeviceConfig& config = DeviceConfig::current();
  out << "screen " << gdi::screenWidth() << 'x' << gdi::screenHeight() << " edition "
      << (config.edition == Edition::PocketPc ? "pocketpc" : "smartphone") << '\n';
  for (HWND h : view.topLevels()) dumpWindow(view, h, 0, out);
  return out.str();
}

bool writeDump(const std::string& path, std::string& error) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  if (!file) {
    error = "cannot write " + path;
    return false;
  }
  file << dumpWindows();
  file.close();
  if (!file) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

bool writeScreenshot(const std::string& path, std::string& error) {
  if (!gdi::writePng(path, gdi::screenPixels(), gdi::screenWidth(), gdi::screenHeight(), gdi::screenWidth())) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace platform
