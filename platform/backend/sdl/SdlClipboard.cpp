#include "platform/backend/sdl/SdlClipboard.h"

#include <SDL.h>

#include "platform/base/Utf.h"

namespace platform {

// The host ends lines with "\n", the handheld with "\r\n".
std::optional<std::u16string> SdlClipboard::text() {
  if (!SDL_HasClipboardText()) return std::nullopt;
  char* raw = SDL_GetClipboardText();
  if (raw == nullptr) return std::nullopt;
  const std::u16string host = toUtf16(raw);
  SDL_free(raw);
  std::u16string text;
  text.reserve(host.size());
  for (std::size_t i = 0; i < host.size(); ++i) {
    const char16_t c = host[i];
    if (c == u'\r' || c == u'\n') {
      text += u"\r\n";
      if (c == u'\r' && i + 1 < host.size() && host[i + 1] == u'\n') ++i;
    } else {
      text.push_back(c);
    }
  }
  return text;
}

void SdlClipboard::setText(const std::u16string& text) {
  std::u16string host;
  host.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') continue;
    host.push_back(text[i]);
  }
  SDL_SetClipboardText(toUtf8(host).c_str());
}

}  // namespace platform
