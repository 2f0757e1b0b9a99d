#include "platform/win/Clipboard.h"

#include <cstring>

#include "platform/base/WinError.h"
#include "platform/sys/LocalHeap.h"
#include "platform/sys/WinBase.h"
#include "platform/win/WinClipboard.h"
#include "platform/win/WinUser.h"

namespace platform {
namespace {

// The handheld's ANSI code page, Windows-1252: Latin-1 except 0x80 to 0x9F.
constexpr char16_t kCp1252High[32] = {u'\u20AC', u'?',      u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020',
                                      u'\u2021', u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'?',
                                      u'\u017D', u'?',      u'?',      u'\u2018', u'\u2019', u'\u201C', u'\u201D',
                                      u'\u2022', u'\u2013', u'\u2014', u'\u02DC', u'\u2122', u'\u0161', u'\u203A',
                                      u'\u0153', u'?',      u'\u017E', u'\u0178'};

char16_t fromCp1252(unsigned char c) { return c >= 0x80 && c < 0xA0 ? kCp1252High[c - 0x80] : c; }

char toCp1252(char16_t c) {
  if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
  for (int i = 0; i < 32; ++i) {
    if (kCp1252High[i] == c && c != u'?') return static_cast<char>(0x80 + i);
  }
  return '?';
}

// A block holding bytes, or null when the heap is out of memory.
HANDLE blockOf(const void* bytes, std::size_t size) {
  HLOCAL block = LocalAlloc(LMEM_MOVEABLE, static_cast<UINT>(size));
  if (block == nullptr) return nullptr;
  std::memcpy(LocalLock(block), bytes, size);
  LocalUnlock(block);
  return block;
}

HANDLE unicodeBlock(const std::u16string& text) { return blockOf(text.c_str(), (text.size() + 1) * sizeof(char16_t)); }

// The text of a block up to its terminator or its end, whichever comes first.
std::u16string unicodeOf(HANDLE block) {
  const auto* units = static_cast<const char16_t*>(LocalLock(block));
  if (units == nullptr) return {};
  const std::size_t n = LocalSize(block) / sizeof(char16_t);
  std::size_t length = 0;
  while (length < n && units[length] != 0) ++length;
  std::u16string text(units, length);
  LocalUnlock(block);
  return text;
}

std::u16string ansiOf(HANDLE block) {
  const auto* bytes = static_cast<const unsigned char*>(LocalLock(block));
  if (bytes == nullptr) return {};
  const std::size_t n = LocalSize(block);
  std::u16string text;
  for (std::size_t i = 0; i < n && bytes[i] != 0; ++i) text.push_back(fromCp1252(bytes[i]));
  LocalUnlock(block);
  return text;
}

}  // namespace

Clipboard& Clipboard::instance() {
  static Clipboard clipboard;
  return clipboard;
}

void setClipboardHost(ClipboardHost* host) { Clipboard::instance().setHost(host); }

bool Clipboard::isOpen() {
  if (open_ && openedBy_ != nullptr && !IsWindow(openedBy_)) open_ = false;
  return open_;
}

bool Clipboard::open(HWND window) {
  if (window != nullptr && !IsWindow(window)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return false;
  }
  if (isOpen() && openedBy_ != window) {
    SetLastError(ERROR_ACCESS_DENIED);
    return false;
  }
  if (!open_) {
    pullFromHost();
    changed_ = false;
    ownerSet_ = false;
  }
  open_ = true;
  openedBy_ = window;
  return true;
}

bool Clipboard::close() {
  if (!isOpen()) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return false;
  }
  open_ = false;
  openedBy_ = nullptr;
  if (changed_) pushToHost();
  changed_ = false;
  return true;
}

bool Clipboard::empty() {
  if (!isOpen()) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return false;
  }
  const HWND previous = owner();
  freeBlocks();
  owner_ = openedBy_;
  ownerSet_ = true;
  changed_ = true;
  if (previous != nullptr && previous != owner_) SendMessageW(previous, WM_DESTROYCLIPBOARD, 0, 0);
  return true;
}

HANDLE Clipboard::set(UINT format, HANDLE block) {
  if (!isOpen()) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  // Formats rendered on request are not offered here, and a clipboard emptied by no window has
  // no owner to add formats.
  if (!sys::LocalHeap::instance().owns(block) || (ownerSet_ && owner_ == nullptr) || format == 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto it = blocks_.find(format);
  if (it != blocks_.end() && it->second != block) LocalFree(it->second);
  blocks_[format] = block;
  // A text set anew replaces the text made from the other format.
  if (format == CF_UNICODETEXT || format == CF_TEXT) {
    const UINT other = format == CF_TEXT ? CF_UNICODETEXT : CF_TEXT;
    auto made = blocks_.find(other);
    if (made != blocks_.end() && made->second != block) {
      LocalFree(made->second);
      blocks_.erase(made);
    }
  }
  changed_ = true;
  return block;
}

HANDLE Clipboard::get(UINT format) {
  if (!isOpen()) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  auto it = blocks_.find(format);
  if (it != blocks_.end()) return it->second;
  return synthesize(format);
}

bool Clipboard::available(UINT format) {
  if (!open_) pullFromHost();
  if (blocks_.count(format)) return true;
  if (format == CF_TEXT) return blocks_.count(CF_UNICODETEXT) > 0;
  if (format == CF_UNICODETEXT) return blocks_.count(CF_TEXT) > 0;
  return false;
}

HWND Clipboard::owner() {
  if (owner_ != nullptr && !IsWindow(owner_)) owner_ = nullptr;
  return owner_;
}

void Clipboard::freeBlocks() {
  for (auto& [format, block] : blocks_) LocalFree(block);
  blocks_.clear();
}

HANDLE Clipboard::synthesize(UINT format) {
  HANDLE made = nullptr;
  if (format == CF_TEXT && blocks_.count(CF_UNICODETEXT)) {
    const std::u16string text = unicodeOf(blocks_[CF_UNICODETEXT]);
    std::string bytes;
    for (char16_t c : text) bytes.push_back(toCp1252(c));
    made = blockOf(bytes.c_str(), bytes.size() + 1);
  } else if (format == CF_UNICODETEXT && blocks_.count(CF_TEXT)) {
    made = unicodeBlock(ansiOf(blocks_[CF_TEXT]));
  }
  if (made != nullptr) blocks_[format] = made;
  return made;
}

std::u16string Clipboard::unicodeText() {
  if (blocks_.count(CF_UNICODETEXT)) return unicodeOf(blocks_[CF_UNICODETEXT]);
  if (blocks_.count(CF_TEXT)) return ansiOf(blocks_[CF_TEXT]);
  return {};
}

void Clipboard::pullFromHost() {
  if (host_ == nullptr) return;
  std::u16string text = host_->text().value_or(std::u16string());
  if (hostSeen_ && text == lastHostText_) return;
  hostSeen_ = true;
  lastHostText_ = text;
  freeBlocks();
  owner_ = nullptr;
  if (!text.empty()) {
    if (HANDLE block = unicodeBlock(text)) blocks_[CF_UNICODETEXT] = block;
  }
}

void Clipboard::pushToHost() {
  if (host_ == nullptr) return;
  const std::u16string text = unicodeText();
  host_->setText(text);
  hostSeen_ = true;
  lastHostText_ = text;
}

}  // namespace platform
