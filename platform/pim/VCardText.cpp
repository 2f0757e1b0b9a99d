#include "platform/pim/VCardText.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>

namespace platform::pim::vcardtext {

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The 0x80..0x9F block of Windows-1252; 0 marks the five unassigned codes.
constexpr std::array<char32_t, 32> kCp1252High = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                                  0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

std::string fromCp1252(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() + bytes.size() / 4);
  for (char ch : bytes) {
    auto b = static_cast<unsigned char>(ch);
    char32_t cp = b;
    if (b >= 0x80 && b <= 0x9F) cp = kCp1252High[b - 0x80] ? kCp1252High[b - 0x80] : 0xFFFD;
    appendUtf8(out, cp);
  }
  return out;
}

std::string guess(std::string_view bytes) { return isValidUtf8(bytes) ? std::string(bytes) : fromCp1252(bytes); }

// RAII over an iconv conversion descriptor.
class Converter {
 public:
  explicit Converter(const std::string& from) : cd_(iconv_open("UTF-8", from.c_str())) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  std::optional<std::string> convert(std::string_view bytes) {
    std::string input(bytes);
    std::string out;
    std::array<char, 4096> buffer{};
    char* in = input.data();
    std::size_t inLeft = input.size();
    while (inLeft > 0) {
      char* dst = buffer.data();
      std::size_t dstLeft = buffer.size();
      std::size_t rc = iconv(cd_, &in, &inLeft, &dst, &dstLeft);
      out.append(buffer.data(), buffer.size() - dstLeft);
      if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) return std::nullopt;
    }
    return out;
  }

 private:
  iconv_t cd_;
};

}  // namespace

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

std::string trim(std::string_view text) {
  std::size_t b = 0;
  std::size_t e = text.size();
  while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
  while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
  return std::string(text.substr(b, e - b));
}

std::string decodeQuotedPrintable(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    char c = value[i];
    if (c != '=') {
      out += c;
      continue;
    }
    if (i + 1 < value.size() && (value[i + 1] == '\r' || value[i + 1] == '\n')) {
      // Soft line break left inside the value.
      ++i;
      if (value[i] == '\r' && i + 1 < value.size() && value[i + 1] == '\n') ++i;
      continue;
    }
    if (i + 2 < value.size()) {
      int hi = hexValue(value[i + 1]);
      int lo = hexValue(value[i + 2]);
      if (hi >= 0 && lo >= 0) {
        out += static_cast<char>(hi * 16 + lo);
        i += 2;
        continue;
      }
    }
    if (i + 1 == value.size()) break;  // a trailing soft break
    out += c;
  }
  return out;
}

std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view value) {
  std::vector<std::uint8_t> out;
  out.reserve(value.size() * 3 / 4);
  std::uint32_t acc = 0;
  int bits = 0;
  bool padding = false;
  for (char c : value) {
    int v;
    if (c >= 'A' && c <= 'Z') {
      v = c - 'A';
    } else if (c >= 'a' && c <= 'z') {
      v = c - 'a' + 26;
    } else if (c >= '0' && c <= '9') {
      v = c - '0' + 52;
    } else if (c == '+' || c == '-') {
      v = 62;
    } else if (c == '/' || c == '_') {
      v = 63;
    } else if (c == '=') {
      padding = true;
      continue;
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      continue;
    } else {
      return std::nullopt;
    }
    if (padding) return std::nullopt;  // data after the padding
    acc = (acc << 6) | static_cast<std::uint32_t>(v);
    bits += 6;
    if (bits >= 8) {
      bits -= 8;
      out.push_back(static_cast<std::uint8_t>((acc >> bits) & 0xFF));
    }
  }
  if (bits >= 6) return std::nullopt;  // a lone sixth of a byte: truncated
  return out;
}

bool isValidUtf8(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    auto b = static_cast<unsigned char>(bytes[i]);
    int extra;
    char32_t cp;
    if (b < 0x80) {
      ++i;
      continue;
    } else if ((b & 0xE0) == 0xC0) {
      extra = 1;
      cp = b & 0x1F;
    } else if ((b & 0xF0) == 0xE0) {
      extra = 2;
      cp = b & 0x0F;
    } else if ((b & 0xF8) == 0xF0) {
      extra = 3;
      cp = b & 0x07;
    } else {
      return false;
    }
    if (i + static_cast<std::size_t>(extra) >= bytes.size()) return false;
    for (int k = 1; k <= extra; ++k) {
      auto c = static_cast<unsigned char>(bytes[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if ((extra == 1 && cp < 0x80) || (extra == 2 && cp < 0x800) || (extra == 3 && cp < 0x10000) || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF))
      return false;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

std::string toUtf8(std::string_view bytes, std::string_view charset) {
  std::string name = upper(trim(charset));
  if (name.empty()) return guess(bytes);
  if (name == "UTF-8" || name == "UTF8" || name == "US-ASCII" || name == "ASCII") return guess(bytes);
  if (name == "WINDOWS-1252" || name == "CP1252" || name == "ISO-8859-1" || name == "LATIN1") {
    // Writers that say Latin-1 nearly always mean its Windows superset.
    return fromCp1252(bytes);
  }
  Converter converter(name);
  if (converter.ok()) {
    if (auto converted = converter.convert(bytes)) return *converted;
  }
  return guess(bytes);
}

std::vector<std::string> splitUnescaped(std::string_view value, std::string_view separators) {
  std::vector<std::string> pieces(1);
  for (std::size_t i = 0; i < value.size(); ++i) {
    char c = value[i];
    if (c == '\\' && i + 1 < value.size()) {
      pieces.back() += c;
      pieces.back() += value[++i];
    } else if (separators.find(c) != std::string_view::npos) {
      pieces.emplace_back();
    } else {
      pieces.back() += c;
    }
  }
  return pieces;
}

std::string unescape(std::string_view value, bool full) {
  std::string out;
  out.reserve(value.size());
  for (std::size_t i = 0; i < value.size(); ++i) {
    char c = value[i];
    if (c != '\\' || i + 1 == value.size()) {
      out += c;
      continue;
    }
    char n = value[i + 1];
    if (n == ';' || n == ',' || n == '\\') {
      out += n;
      ++i;
    } else if (full && (n == 'n' || n == 'N')) {
      out += "\r\n";
      ++i;
    } else if (full && n == ':') {
      out += ':';
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}

std::u16string withCrLf(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'\r') {
      out += u"\r\n";
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else if (c == u'\n') {
      out += u"\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace platform::pim::vcardtext
