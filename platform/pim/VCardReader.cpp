#include "platform/pim/VCardReader.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <optional>

#include "platform/base/Utf.h"
#include "platform/pim/VCardText.h"

namespace platform::pim {

namespace vt = vcardtext;

namespace {

struct Property {
  std::string group;
  std::string name;                                         // upper case
  std::vector<std::pair<std::string, std::string>> params;  // name upper case, value as written
  std::string value;

  std::string param(std::string_view key) const {
    for (const auto& [k, v] : params)
      if (k == key) return v;
    return {};
  }
  bool hasParam(std::string_view key) const {
    return std::any_of(params.begin(), params.end(), [&](const auto& p) { return p.first == key; });
  }
  // Every TYPE value, lower case, whether written TYPE=a,b or as bare 2.1 words.
  std::vector<std::string> types() const {
    std::vector<std::string> out;
    for (const auto& [k, v] : params) {
      if (k != "TYPE") continue;
      for (std::string& t : vt::splitUnescaped(v, ",")) {
        std::string lower = vt::trim(t);
        for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        out.push_back(lower);
      }
    }
    return out;
  }
  std::string encoding() const { return vt::upper(vt::trim(param("ENCODING"))); }
};

bool startsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }
bool endsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

// Position of the first ':' outside double quotes, or npos.
std::size_t valueColon(std::string_view line) {
  bool quoted = false;
  for (std::size_t i = 0; i < line.size(); ++i) {
    if (line[i] == '"') quoted = !quoted;
    if (line[i] == ':' && !quoted) return i;
  }
  return std::string_view::npos;
}

std::optional<Property> parseLine(std::string_view line) {
  std::size_t colon = valueColon(line);
  if (colon == std::string_view::npos) return std::nullopt;
  std::string_view header = line.substr(0, colon);
  Property p;
  p.value = std::string(line.substr(colon + 1));

  std::vector<std::string> parts;
  {
    std::string cur;
    bool quoted = false;
    for (char c : header) {
      if (c == '"') quoted = !quoted;
      if (c == ';' && !quoted) {
        parts.push_back(cur);
        cur.clear();
      } else {
        cur += c;
      }
    }
    parts.push_back(cur);
  }
  std::string name = vt::trim(parts[0]);
  if (std::size_t dot = name.find('.'); dot != std::string::npos) {
    p.group = lower(name.substr(0, dot));
    name = name.substr(dot + 1);
  }
  if (name.empty()) return std::nullopt;
  for (char c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_') return std::nullopt;
  p.name = vt::upper(name);

  for (std::size_t i = 1; i < parts.size(); ++i) {
    std::string param = vt::trim(parts[i]);
    if (param.empty()) continue;
    std::size_t eq = param.find('=');
    if (eq == std::string::npos) {
      // vCard 2.1 writes bare values: "TEL;HOME;VOICE", "PHOTO;BASE64".
      std::string word = vt::upper(param);
      if (word == "QUOTED-PRINTABLE" || word == "BASE64" || word == "B" || word == "8BIT" || word == "7BIT")
        p.params.emplace_back("ENCODING", word);
      else
        p.params.emplace_back("TYPE", param);
      continue;
    }
    std::string value = vt::trim(param.substr(eq + 1));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    p.params.emplace_back(vt::upper(vt::trim(param.substr(0, eq))), value);
  }
  return p;
}

// The header of a logical line, upper case, for the continuation checks.
std::string headerOf(std::string_view line) {
  std::size_t colon = valueColon(line);
  return vt::upper(colon == std::string_view::npos ? line : line.substr(0, colon));
}

bool isBase64Line(std::string_view line) {
  if (line.empty()) return false;
  return std::all_of(line.begin(), line.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '/' || c == '=' || c == ' ' || c == '\t';
  });
}

std::vector<std::string> physicalLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      start = i + 1;
    }
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

// Joins folded lines, quoted-printable soft breaks and bare base64 continuation lines.
std::vector<std::string> logicalLines(std::string_view text) {
  std::vector<std::string> logical;
  for (std::string& line : physicalLines(text)) {
    if (!logical.empty()) {
      std::string& cur = logical.back();
      if (!cur.empty() && cur.back() == '=' && headerOf(cur).find("QUOTED-PRINTABLE") != std::string::npos) {
        cur.pop_back();
        cur += line;
        continue;
      }
      if (!line.empty() && (line[0] == ' ' || line[0] == '\t')) {
        cur.append(line, 1, std::string::npos);
        continue;
      }
      if (valueColon(line) == std::string::npos && isBase64Line(line)) {
        std::string header = headerOf(cur);
        if (header.find("BASE64") != std::string::npos || header.find("ENCODING=B") != std::string::npos) {
          cur += line;
          continue;
        }
      }
    }
    if (vt::trim(line).empty()) continue;
    logical.push_back(std::move(line));
  }
  return logical;
}

// UTF-16 text with 3.0/4.0 or 2.1 escapes already resolved by the caller.
std::u16string utf16(std::string_view utf8) { return vt::withCrLf(platform::toUtf16(utf8)); }

class CardBuilder {
 public:
  explicit CardBuilder(std::vector<Property> props) : props_(std::move(props)) {
    for (const Property& p : props_)
      if (p.name == "VERSION") full_ = vt::trim(p.value) != "2.1";
  }

  std::optional<ContactRecord> build() {
    for (const Property& p : props_)
      if (endsWith(p.name, "LABEL") && !p.group.empty()) labels_[p.group] = lower(text(p));
    for (const Property& p : props_) apply(p);
    for (const Property& p : props_) applyGrouped(p);
    finish();
    if (rec_.firstName.empty() && rec_.lastName.empty() && rec_.fullName.empty() && rec_.fileAs.empty() &&
        rec_.companyName.empty())
      return std::nullopt;
    return std::move(rec_);
  }

 private:
  // The value decoded from its transfer encoding and character set, escapes still in place.
  std::string text(const Property& p) const {
    std::string bytes = p.encoding() == "QUOTED-PRINTABLE" ? vt::decodeQuotedPrintable(p.value) : p.value;
    return vt::toUtf8(bytes, p.param("CHARSET"));
  }
  std::string plain(const Property& p) const { return vt::trim(vt::unescape(text(p), full_)); }
  std::vector<std::string> components(const Property& p, std::string_view separators) const {
    std::vector<std::string> out;
    for (const std::string& piece : vt::splitUnescaped(text(p), separators))
      out.push_back(vt::trim(vt::unescape(piece, full_)));
    return out;
  }

  void apply(const Property& p) {
    const std::string& n = p.name;
    if (n == "N") {
      auto parts = components(p, ";");
      rec_.lastName = utf16(parts[0]);
      if (parts.size() > 1) rec_.firstName = utf16(parts[1]);
    } else if (n == "FN") {
      rec_.fullName = utf16(plain(p));
    } else if (n == "UID") {
      rec_.uid = utf16(plain(p));
    } else if (n == "NOTE") {
      std::u16string note = utf16(plain(p));
      if (note.empty()) return;
      if (!rec_.body.empty()) rec_.body += u"\r\n";
      rec_.body += note;
    } else if (n == "ORG") {
      if (rec_.companyName.empty()) rec_.companyName = utf16(components(p, ";")[0]);
    } else if (n == "TITLE") {
      if (rec_.jobTitle.empty()) rec_.jobTitle = utf16(plain(p));
    } else if (n == "CATEGORIES") {
      for (const std::string& c : components(p, ",;")) addCategory(utf16(c));
    } else if (n == "BDAY") {
      if (!rec_.birthday) rec_.birthday = date(p);
    } else if (n == "ANNIVERSARY" || n == "X-ANNIVERSARY" || (startsWith(n, "X-") && endsWith(n, "-ANNIVERSARY"))) {
      if (!rec_.anniversary) rec_.anniversary = date(p);
    } else if (startsWith(n, "X-") && endsWith(n, "-FILE-AS")) {
      if (rec_.fileAs.empty()) rec_.fileAs = utf16(plain(p));
    } else if (n == "X-SPOUSE" || (startsWith(n, "X-") && endsWith(n, "-SPOUSE"))) {
      if (rec_.spouse.empty()) rec_.spouse = utf16(plain(p));
    } else if (n == "X-CHILDREN" || (startsWith(n, "X-") && (endsWith(n, "-CHILDREN") || endsWith(n, "-CHILD")))) {
      addChild(plain(p));
    } else if (n == "RELATED") {
      applyRelated(p);
    } else if (n == "PHOTO") {
      if (rec_.picture.empty()) rec_.picture = picture(p);
    } else if (n == "TEL") {
      addPhone(p);
    } else if (n == "EMAIL") {
      addEmail(p);
    } else if (n == "ADR") {
      addAddress(p);
    }
  }

  bool hasType(const Property& p, std::string_view type) const {
    const auto types = p.types();
    return std::find(types.begin(), types.end(), type) != types.end();
  }

  // The preferred value leads, as address books list it first.
  bool preferred(const Property& p) const { return hasType(p, "pref") || vt::trim(p.param("PREF")) == "1"; }

  void addPhone(const Property& p) {
    std::string number = plain(p);
    // vCard 4.0 writes numbers as tel: URIs.
    if (lower(number.substr(0, 4)) == "tel:") number = vt::trim(number.substr(4));
    if (number.empty()) return;
    const bool work = hasType(p, "work");
    const bool home = hasType(p, "home");
    std::u16string label;
    if (hasType(p, "fax")) {
      label = work ? u"Work fax" : home ? u"Home fax" : u"Fax";
    } else if (hasType(p, "cell") || hasType(p, "mobile")) {
      label = u"Mobile";
    } else if (hasType(p, "pager")) {
      label = u"Pager";
    } else if (hasType(p, "car")) {
      label = u"Car";
    } else if (work) {
      label = u"Work";
    } else if (home) {
      label = u"Home";
    } else {
      label = u"Phone";
    }
    ContactEntry entry{std::move(label), utf16(number)};
    if (preferred(p)) {
      rec_.phones.insert(rec_.phones.begin() + static_cast<std::ptrdiff_t>(preferredPhones_++), std::move(entry));
    } else {
      rec_.phones.push_back(std::move(entry));
    }
  }

  void addEmail(const Property& p) {
    std::string address = plain(p);
    if (lower(address.substr(0, 7)) == "mailto:") address = vt::trim(address.substr(7));
    if (address.empty()) return;
    if (preferred(p)) {
      rec_.emails.insert(rec_.emails.begin() + static_cast<std::ptrdiff_t>(preferredEmails_++), utf16(address));
    } else {
      rec_.emails.push_back(utf16(address));
    }
  }

  // Post office box, extended address, street, locality, region, postal code, country.
  void addAddress(const Property& p) {
    std::vector<std::string> parts = components(p, ";");
    parts.resize(7);
    std::vector<std::string> lines;
    for (int i : {0, 1, 2}) {
      if (!parts[static_cast<std::size_t>(i)].empty()) lines.push_back(parts[static_cast<std::size_t>(i)]);
    }
    std::string town = parts[3];
    const std::string regionCode = vt::trim(parts[4] + " " + parts[5]);
    if (!regionCode.empty()) town = town.empty() ? regionCode : town + ", " + regionCode;
    if (!town.empty()) lines.push_back(town);
    if (!parts[6].empty()) lines.push_back(parts[6]);
    if (lines.empty()) return;
    std::string value;
    for (const std::string& line : lines) value += (value.empty() ? "" : "\r\n") + line;
    const std::u16string label = hasType(p, "work")   ? u"Work address"
                                 : hasType(p, "home") ? u"Home address"
                                                      : u"Other address";
    rec_.addresses.push_back(ContactEntry{label, utf16(value)});
  }

  // Desktop address books label grouped values: item2.X-...RELATEDNAMES with item2.X-...LABEL.
  void applyGrouped(const Property& p) {
    if (p.group.empty() || !startsWith(p.name, "X-")) return;
    auto label = labels_.find(p.group);
    if (label == labels_.end()) return;
    const std::string& l = label->second;
    if (endsWith(p.name, "RELATEDNAMES")) {
      if (l.find("spouse") != std::string::npos || l.find("partner") != std::string::npos) {
        if (rec_.spouse.empty()) rec_.spouse = utf16(plain(p));
      } else if (l.find("child") != std::string::npos) {
        addChild(plain(p));
      }
    } else if (endsWith(p.name, "DATE") && l.find("anniversary") != std::string::npos && !rec_.anniversary) {
      rec_.anniversary = date(p);
    }
  }

  void applyRelated(const Property& p) {
    auto types = p.types();
    bool spouse = std::find(types.begin(), types.end(), "spouse") != types.end();
    bool child = std::find(types.begin(), types.end(), "child") != types.end();
    if (!spouse && !child) return;
    std::string value = plain(p);
    if (value.empty()) return;
    bool isText = lower(p.param("VALUE")) == "text";
    if (!isText && isUri(value)) {
      (spouse ? rec_.spouseRefs : rec_.childRefs).push_back(value);
      return;
    }
    if (spouse) {
      if (rec_.spouse.empty()) rec_.spouse = utf16(value);
    } else {
      addChild(value);
    }
  }

  static bool isUri(std::string_view v) {
    std::size_t colon = v.find(':');
    if (colon == std::string_view::npos || colon == 0) return false;
    if (!std::isalpha(static_cast<unsigned char>(v[0]))) return false;
    return std::all_of(v.begin(), v.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
      return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '.' || c == '-';
    });
  }

  void addChild(const std::string& name) {
    if (name.empty()) return;
    if (!rec_.children.empty()) rec_.children += u", ";
    rec_.children += utf16(name);
  }

  void addCategory(const std::u16string& c) {
    if (c.empty()) return;
    if (std::find(rec_.categories.begin(), rec_.categories.end(), c) == rec_.categories.end())
      rec_.categories.push_back(c);
  }

  static bool allDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
  }

  std::optional<ContactDate> date(const Property& p) const {
    if (lower(p.param("VALUE")) == "text") return std::nullopt;
    std::string s = plain(p);
    if (std::size_t t = s.find_first_of("Tt"); t != std::string::npos) s.resize(t);
    ContactDate d;
    std::string digits;
    if (startsWith(s, "--")) {
      std::string rest = s.substr(2);
      rest.erase(std::remove(rest.begin(), rest.end(), '-'), rest.end());
      if (rest.size() != 4 || !allDigits(rest)) return std::nullopt;
      d.month = std::stoi(rest.substr(0, 2));
      d.day = std::stoi(rest.substr(2, 2));
    } else {
      std::vector<std::string> pieces = vt::splitUnescaped(s, "-");
      if (pieces.size() == 3 && allDigits(pieces[0]) && allDigits(pieces[1]) && allDigits(pieces[2]) &&
          pieces[0].size() == 4 && pieces[1].size() <= 2 && pieces[2].size() <= 2) {
        d.year = std::stoi(pieces[0]);
        d.month = std::stoi(pieces[1]);
        d.day = std::stoi(pieces[2]);
      } else if (pieces.size() == 1 && s.size() == 8 && allDigits(s)) {
        d.year = std::stoi(s.substr(0, 4));
        d.month = std::stoi(s.substr(4, 2));
        d.day = std::stoi(s.substr(6, 2));
      } else {
        return std::nullopt;
      }
    }
    // A year the writer marks as omitted, or one before the platform's dates begin, is unknown.
    for (const auto& [k, v] : p.params)
      if (endsWith(k, "OMIT-YEAR") && vt::trim(v).size() <= 4 && allDigits(vt::trim(v)) &&
          std::stoi(vt::trim(v)) == d.year)
        d.year = 0;
    if (d.year != 0 && d.year < 1601) d.year = 0;
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (d.month < 1 || d.month > 12 || d.day < 1 || d.day > kDays[d.month - 1]) return std::nullopt;
    bool leap = d.year == 0 || (d.year % 4 == 0 && (d.year % 100 != 0 || d.year % 400 == 0));
    if (d.month == 2 && d.day == 29 && !leap) return std::nullopt;
    return d;
  }

  std::vector<std::uint8_t> picture(const Property& p) const {
    std::optional<std::vector<std::uint8_t>> bytes;
    std::string enc = p.encoding();
    std::string value = vt::trim(p.value);
    if (enc == "B" || enc == "BASE64") {
      bytes = vt::decodeBase64(value);
    } else if (lower(value.substr(0, 5)) == "data:") {
      std::size_t comma = value.find(',');
      if (comma == std::string::npos) return {};
      std::string meta = lower(value.substr(5, comma - 5));
      std::string payload = value.substr(comma + 1);
      if (endsWith(meta, ";base64")) {
        bytes = vt::decodeBase64(payload);
      } else {
        bytes = percentDecode(payload);
      }
    }
    // Anything else is a link to a picture elsewhere, which the handheld never fetches.
    if (!bytes || bytes->empty() || bytes->size() > VCardReader::kMaxPictureBytes) return {};
    return std::move(*bytes);
  }

  static std::vector<std::uint8_t> percentDecode(std::string_view s) {
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < s.size(); ++i) {
      if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
          std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
        out.push_back(static_cast<std::uint8_t>(std::stoi(std::string(s.substr(i + 1, 2)), nullptr, 16)));
        i += 2;
      } else {
        out.push_back(static_cast<std::uint8_t>(s[i]));
      }
    }
    return out;
  }

  void finish() {
    if (rec_.fileAs.empty()) rec_.fileAs = rec_.fullName;
    if (rec_.fileAs.empty()) {
      if (!rec_.lastName.empty() && !rec_.firstName.empty())
        rec_.fileAs = rec_.lastName + u", " + rec_.firstName;
      else
        rec_.fileAs = rec_.lastName.empty() ? rec_.firstName : rec_.lastName;
    }
    if (rec_.fileAs.empty()) rec_.fileAs = rec_.companyName;
  }

  std::vector<Property> props_;
  std::map<std::string, std::string> labels_;
  std::size_t preferredPhones_ = 0;
  std::size_t preferredEmails_ = 0;
  bool full_ = true;
  ContactRecord rec_;
};

// Some desktop exports are UTF-16 with a byte-order mark; everything else is read as bytes.
std::string normalizeEncoding(std::string_view bytes) {
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") return std::string(bytes.substr(3));
  if (bytes.size() >= 2 && (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")) {
    bool littleEndian = bytes[0] == '\xFF';
    std::u16string wide;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
      auto a = static_cast<unsigned char>(bytes[i]);
      auto b = static_cast<unsigned char>(bytes[i + 1]);
      wide += static_cast<char16_t>(littleEndian ? (a | (b << 8)) : ((a << 8) | b));
    }
    return platform::toUtf8(wide);
  }
  return std::string(bytes);
}

}  // namespace

std::vector<ContactRecord> VCardReader::read(std::string_view bytes, const std::string& fileName) {
  std::vector<ContactRecord> cards;
  std::size_t position = 0;
  bool inCard = false;
  int skipDepth = 0;  // inside a card embedded as a 2.1 AGENT value
  std::vector<Property> props;
  std::string content;

  auto finishCard = [&] {
    if (auto rec = CardBuilder(std::move(props)).build()) {
      rec->content = std::move(content);
      rec->fileName = fileName;
      rec->position = position++;
      cards.push_back(std::move(*rec));
    }
    props.clear();
    content.clear();
    inCard = false;
  };

  for (const std::string& line : logicalLines(normalizeEncoding(bytes))) {
    std::optional<Property> p = parseLine(line);
    if (!p) continue;
    bool isBegin = p->name == "BEGIN" && vt::upper(vt::trim(p->value)) == "VCARD";
    bool isEnd = p->name == "END" && vt::upper(vt::trim(p->value)) == "VCARD";
    if (skipDepth > 0) {
      if (isBegin) ++skipDepth;
      if (isEnd) --skipDepth;
      continue;
    }
    if (isBegin) {
      if (inCard) finishCard();  // the previous card lost its END line
      inCard = true;
      continue;
    }
    if (!inCard) continue;
    if (isEnd) {
      finishCard();
      continue;
    }
    if (p->name == "AGENT" && vt::upper(vt::trim(p->value)) == "BEGIN:VCARD") {
      skipDepth = 1;
      continue;
    }
    content += line;
    content += '\n';
    props.push_back(std::move(*p));
  }
  if (inCard) finishCard();
  return cards;
}

}  // namespace platform::pim
