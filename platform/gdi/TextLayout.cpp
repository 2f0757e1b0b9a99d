#include "platform/gdi/TextLayout.h"

#include <algorithm>

namespace platform::gdi {

char32_t nextCodePoint(std::u16string_view text, std::size_t& i) {
  const char16_t c = text[i++];
  if (c >= 0xD800 && c <= 0xDBFF) {
    if (i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF) {
      const char16_t low = text[i++];
      return 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (static_cast<char32_t>(low) - 0xDC00);
    }
    return 0xFFFD;
  }
  if (c >= 0xDC00 && c <= 0xDFFF) return 0xFFFD;
  return c;
}

TextLayout::TextLayout(FontInstance& font, UINT format)
    : font_(font), format_(format), tabWidth_(std::max(1, 8 * font.avgCharWidth())) {}

int TextLayout::measure(std::u16string_view text) const {
  int width = 0;
  for (std::size_t i = 0; i < text.size();) {
    const char32_t cp = nextCodePoint(text, i);
    if (cp == U'\t' && (format_ & DT_EXPANDTABS)) {
      width = (width / tabWidth_ + 1) * tabWidth_;
    } else {
      width += font_.advance(cp);
    }
  }
  return width;
}

TextLayout::Paragraph TextLayout::stripPrefixes(std::u16string_view text) const {
  Paragraph p;
  if (format_ & DT_NOPREFIX) {
    p.text = std::u16string(text);
    return p;
  }
  // "&x" marks x as the mnemonic (the last one wins), "&&" is a literal ampersand.
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'&') {
      p.text += text[i];
      continue;
    }
    if (i + 1 >= text.size()) break;
    if (text[i + 1] == u'&') {
      p.text += u'&';
      ++i;
      continue;
    }
    p.underline = static_cast<int>(p.text.size());
  }
  return p;
}

LayoutLine TextLayout::makeLine(const Paragraph& p, std::size_t begin, std::size_t end, bool wrapped) const {
  LayoutLine line;
  line.text = p.text.substr(begin, end - begin);
  line.width = measure(line.text);
  line.wrapped = wrapped;
  if (p.underline >= static_cast<int>(begin) && p.underline < static_cast<int>(end)) {
    line.underline = p.underline - static_cast<int>(begin);
  }
  return line;
}

void TextLayout::wrap(const Paragraph& p, int maxWidth, std::vector<LayoutLine>& out) const {
  const std::u16string& t = p.text;
  const std::size_t n = t.size();
  if (!(format_ & DT_WORDBREAK) || (format_ & DT_SINGLELINE)) {
    out.push_back(makeLine(p, 0, n, false));
    return;
  }
  std::size_t start = 0;
  bool wrapped = false;
  bool spaceBefore = false;
  do {
    int width = 0;
    std::size_t i = start;
    std::size_t lastSpace = std::u16string::npos;
    bool overflow = false;
    while (i < n) {
      if (t[i] == u' ') {
        lastSpace = i;
        width += font_.advance(U' ');
        ++i;
        continue;
      }
      std::size_t next = i;
      const char32_t cp = nextCodePoint(t, next);
      const int w =
          cp == U'\t' && (format_ & DT_EXPANDTABS) ? (width / tabWidth_ + 1) * tabWidth_ - width : font_.advance(cp);
      if (width + w > maxWidth) {
        overflow = true;
        break;
      }
      width += w;
      i = next;
    }
    std::size_t end, resume;
    if (!overflow) {
      end = n;
      resume = n;
    } else if (lastSpace != std::u16string::npos && lastSpace >= start) {
      end = lastSpace;
      resume = lastSpace + 1;
    } else if (format_ & DT_EDITCONTROL) {
      // An edit control breaks a word longer than the line; at least one character a line.
      end = i > start ? i : start + (start + 1 < n && t[start] >= 0xD800 && t[start] <= 0xDBFF ? 2 : 1);
      resume = end;
    } else {
      // A word longer than the line stays whole and overflows (clipped at the edge).
      end = t.find(u' ', i);
      if (end == std::u16string::npos) end = n;
      resume = end;
    }
    std::size_t trimmed = end;
    while (trimmed > start && t[trimmed - 1] == u' ') --trimmed;
    out.push_back(makeLine(p, start, trimmed, wrapped));
    out.back().spaceBefore = spaceBefore;
    wrapped = true;
    while (resume < n && t[resume] == u' ') ++resume;
    spaceBefore = resume > trimmed;
    start = resume;
  } while (start < n);
}

void TextLayout::ellipsize(LayoutLine& line, int maxWidth) const {
  if (line.width <= maxWidth) return;
  static const std::u16string dots = u"...";
  const int dotsWidth = measure(dots);
  // Cut whole code points from the end until the text and the dots fit.
  std::vector<std::size_t> starts;
  for (std::size_t i = 0; i < line.text.size();) {
    starts.push_back(i);
    nextCodePoint(line.text, i);
  }
  std::size_t keep = line.text.size();
  int width = line.width;
  while (!starts.empty() && width + dotsWidth > maxWidth) {
    keep = starts.back();
    starts.pop_back();
    width = measure(std::u16string_view(line.text).substr(0, keep));
  }
  line.text = line.text.substr(0, keep) + dots;
  line.width = measure(line.text);
  if (line.underline >= static_cast<int>(keep)) line.underline = -1;
}

std::vector<LayoutLine> TextLayout::layout(std::u16string_view text, int maxWidth) const {
  std::vector<LayoutLine> lines;
  std::vector<std::u16string> paragraphs;
  if (format_ & DT_SINGLELINE) {
    std::u16string joined;
    for (char16_t c : text) {
      if (c != u'\r' && c != u'\n') joined += c;
    }
    paragraphs.push_back(std::move(joined));
  } else {
    // CR LF, a lone CR and a lone LF each end a line.
    std::u16string current;
    for (std::size_t i = 0; i < text.size(); ++i) {
      if (text[i] == u'\r' || text[i] == u'\n') {
        paragraphs.push_back(std::move(current));
        current.clear();
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      } else {
        current += text[i];
      }
    }
    // A break at the very end does not start another line.
    if (!current.empty() || paragraphs.empty()) paragraphs.push_back(std::move(current));
  }
  const bool ellipsis = (format_ & (DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS)) != 0;
  for (const std::u16string& paragraph : paragraphs) {
    const std::size_t first = lines.size();
    wrap(stripPrefixes(paragraph), maxWidth, lines);
    if (ellipsis) {
      for (std::size_t i = first; i < lines.size(); ++i) ellipsize(lines[i], maxWidth);
    }
  }
  return lines;
}

}  // namespace platform::gdi
