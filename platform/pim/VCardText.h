// Decoding of vCard values: transfer encodings, character sets, escapes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::pim::vcardtext {

// Quoted-printable to bytes; malformed escapes are kept literally.
std::string decodeQuotedPrintable(std::string_view value);

// Base64 with any whitespace between characters; nullopt when the text is not base64.
std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view value);

// Bytes in the named character set to UTF-8. An empty or unknown name guesses:
// valid UTF-8 stays as is, anything else is read as Windows-1252.
std::string toUtf8(std::string_view bytes, std::string_view charset);

bool isValidUtf8(std::string_view bytes);

// Splits at separators that are not escaped with a backslash; escapes stay in the pieces.
std::vector<std::string> splitUnescaped(std::string_view value, std::string_view separators);

// Resolves backslash escapes. With 'full' (vCard 3.0 and 4.0) \n, \N, \, \; \: and \\ are
// understood; without it (2.1) only \; \, and \\, so Windows paths survive.
std::string unescape(std::string_view value, bool full);

// Every CR LF, lone CR and lone LF becomes CR LF, as the handheld's texts use them.
std::u16string withCrLf(std::u16string_view text);

std::string upper(std::string_view text);
std::string trim(std::string_view text);

}  // namespace platform::pim::vcardtext
