#include "telvar/naming/words.h"

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
// the alphanumerics: names of wide records are mostly such keys, and the character database costs
// more than the rest of naming them.
std::string upperCamelCasedAscii(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  bool partStart = true;
  for (const char c : text) {
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!(letter || (c >= '0' && c <= '9') || c == '$')) {
      partStart = true;
      continue;
    }
    out += partStart && c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
    partStart = false;
  }
  return out;
}

}  // namespace

std::string upperCamelCased(std::string_view text) {
  if (isAscii(text)) return upperCamelCasedAscii(text);
  std::string out;
  out.reserve(text.size());
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

std::string lowerCamelCased(const Names& keyPath) {
  if (keyPath.empty()) return "...";
  std::string upper = upperCamelCased(keyPath.back());
  if (!upper.empty() && upper[0] >= 'A' && upper[0] <= 'Z') {
    upper[0] = static_cast<char>(upper[0] - 'A' + 'a');  // an ASCII capital is one character
    return upper;
  }
  const int first = firstScalar(upper);
  if (first < 0 || !isUppercase(static_cast<char32_t>(first))) return upper;
  const std::size_t length = firstCluster(upper).length;
  return lowerCased(std::string_view(upper).substr(0, length)) + upper.substr(length);
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
