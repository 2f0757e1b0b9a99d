// Line layout for DrawText: mnemonic prefixes, paragraphs, word wrapping and ellipses,
// measured with one font.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/FontInstance.h"

namespace platform::gdi {

// The code point at text[i], advancing i past it; a lone surrogate reads as U+FFFD.
char32_t nextCodePoint(std::u16string_view text, std::size_t& i);

struct LayoutLine {
  std::u16string text;
  int width = 0;
  int underline = -1;        // index into text of the mnemonic character, -1 for none
  bool wrapped = false;      // continues the paragraph of the line before
  bool spaceBefore = false;  // the wrap swallowed spaces between this line and the one before
};

class TextLayout {
 public:
  TextLayout(FontInstance& font, UINT format);

  // Width of a run of text in pixels (tabs expand with DT_EXPANDTABS).
  int measure(std::u16string_view text) const;
  std::vector<LayoutLine> layout(std::u16string_view text, int maxWidth) const;

 private:
  struct Paragraph {
    std::u16string text;
    int underline = -1;
  };
  Paragraph stripPrefixes(std::u16string_view text) const;
  void wrap(const Paragraph& paragraph, int maxWidth, std::vector<LayoutLine>& out) const;
  void ellipsize(LayoutLine& line, int maxWidth) const;
  LayoutLine makeLine(const Paragraph& p, std::size_t begin, std::size_t end, bool wrapped) const;

  FontInstance& font_;
  UINT format_;
  int tabWidth_;
};

}  // namespace platform::gdi
