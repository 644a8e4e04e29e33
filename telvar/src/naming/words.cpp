#include "telvar/naming/words.h"

#include <array>
#include <optional>
#include <vector>

#include "naming/characters.h"
#include "telvar/naming/inflector.h"
#include "telvar/unicode/text.h"

namespace telvar {
namespace {

using namespace naming_detail;

// `part` with its first character (grapheme cluster) upper-cased when it begins with a
// lower-case letter.
void appendCapitalised(std::string& out, std::string_view part) {
  const int first = firstScalar(part);
  if (first < 0 || !isLowercase(static_cast<char32_t>(first))) {
    out.append(part);
    return;
  }
  const std::size_t length = firstCluster(part).length;
  out += upperCased(part.substr(0, length));
  out.append(part.substr(length));
}

// `upperCamelCased` for ASCII text, where a byte is a character and the letters and digits are
// the alphanumerics, written into `out` (room for `text.size()` bytes): its length, or nothing
// when `text` is not ASCII. Names of wide records are mostly such keys, and the character
// database costs more than the rest of naming them; one pass over the key both tests and forms
// it, straight into the name's own bytes (wide-100: 480 instructions a key's lower camel case
// before, 220).
std::optional<std::size_t> upperCamelCasedAscii(std::string_view text, char* out) {
  // What each byte becomes at the start of a part ("a" gives "A"): 0 where it separates parts,
  // -1 past ASCII. One lookup a byte, and the rest of a part is copied by a loop of its own.
  static constexpr std::array<signed char, 256> kPartStarts = [] {
    std::array<signed char, 256> starts{};
    for (int byte = 0x80; byte < 0x100; ++byte) starts[byte] = -1;
    for (char c = '0'; c <= '9'; ++c) starts[c] = c;
    for (char c = 'A'; c <= 'Z'; ++c) starts[c] = c;
    for (char c = 'a'; c <= 'z'; ++c) starts[c] = static_cast<signed char>(c - 'a' + 'A');
    starts['$'] = '$';
    return starts;
  }();
  const auto startOf = [&](char c) { return kPartStarts[static_cast<unsigned char>(c)]; };
  char* end = out;
  for (std::size_t i = 0; i < text.size();) {
    const signed char start = startOf(text[i++]);
    if (start < 0) return std::nullopt;
    if (start == 0) continue;
    *end++ = start;
    for (; i < text.size() && startOf(text[i]) > 0; ++i) *end++ = text[i];
  }
  return static_cast<std::size_t>(end - out);
}

}  // namespace

std::string upperCamelCased(std::string_view text) {
  std::string out(text.size(), '\0');
  if (const auto length = upperCamelCasedAscii(text, out.data())) {
    out.resize(*length);
    return out;
  }
  out.clear();
  std::size_t partStart = 0;
  std::size_t pos = 0;
  while (pos < text.size()) {
    int c = 0;
    const std::size_t length = decodeUtf8(text.substr(pos), c);
    // Ill-formed bytes are no letters: they separate like punctuation.
    const bool keeps = c >= 0 && (c == '$' || isAlphanumeric(static_cast<char32_t>(c)));
    if (!keeps) {
      appendCapitalised(out, text.substr(partStart, pos - partStart));
      partStart = pos + length;
    }
    pos += length;
  }
  appendCapitalised(out, text.substr(partStart));
  return out;
}

std::string lowerCamelCased(KeyPath keyPath) {
  std::string out;
  if (keyPath.empty()) {
    out = "...";
    return out;
  }
  // One text throughout, formed in place and handed back without a copy.
  const std::string_view key = keyPath.back();
  out.resize(key.size());
  if (const auto length = upperCamelCasedAscii(key, out.data())) {
    out.resize(*length);
  } else {
    out = upperCamelCased(key);
  }
  if (!out.empty() && out[0] >= 'A' && out[0] <= 'Z') {
    out[0] = static_cast<char>(out[0] - 'A' + 'a');  // an ASCII capital is one character
    return out;
  }
  const int first = firstScalar(out);
  if (first < 0 || !isUppercase(static_cast<char32_t>(first))) return out;
  const std::size_t length = firstCluster(out).length;
  out.replace(0, length, lowerCased(std::string_view(out).substr(0, length)));
  return out;
}

std::string singularized(std::string_view text) {
  const Inflector& inflector = Inflector::shared();
  const std::string upper = upperCamelCased(text);
  if (upper.empty()) return upper;

  // Words begin at an upper-case letter that follows anything but an upper-case letter, so runs
  // of capitals stay with the lower-case letters after them ("URLs").
  std::vector<std::string_view> words;
  const std::string_view all(upper);
  std::size_t wordStart = 0;
  bool previousUpper = false;
  for (std::size_t pos = 0; pos < all.size();) {
    int c = 0;
    const std::size_t length = decodeUtf8(all.substr(pos), c);
    const bool upperLetter = c >= 0 && isUppercaseLetter(static_cast<char32_t>(c));
    if (upperLetter && pos > 0 && !previousUpper) {
      words.push_back(all.substr(wordStart, pos - wordStart));
      wordStart = pos;
    }
    previousUpper = upperLetter;
    pos += length;
  }
  words.push_back(all.substr(wordStart));

  const std::string_view last = words.back();
  const std::string singular = inflector.singularize(last);
  std::string replacement;
  if (singular.empty()) {
    replacement = std::string(last);
  } else if (const std::string lower = lowerCased(singular); lower == "id" || lower == "url") {
    replacement = upperCased(singular);
  } else if (lowerCased(last) == "list" && words.size() >= 2) {
    replacement.clear();
  } else {
    replacement = singular;
  }

  std::string out(all.substr(0, static_cast<std::size_t>(last.data() - all.data())));
  out += replacement;
  return out;
}

}  // namespace telvar
