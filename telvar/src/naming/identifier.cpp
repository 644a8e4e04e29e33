#include "telvar/naming/identifier.h"

#include <algorithm>
#include <vector>

#include "naming/characters.h"
#include "telvar/unicode/text.h"

namespace telvar {

using namespace naming_detail;

void fixUpIdentifier(std::string& name) {
  if (name.empty()) {
    name = "_";
    return;
  }
  // Among ASCII characters only the digits are numbers: most names need no character database.
  const auto lead = static_cast<unsigned char>(name[0]);
  const bool badStart = lead < 0x80 ? lead == '$' || (lead >= '0' && lead <= '9') : [&] {
    const int first = firstScalar(name);
    return first >= 0 && isNumeric(static_cast<char32_t>(first));
  }();
  if (badStart) name.insert(0, 1, '_');
}

std::string identifierFixedUp(std::string name) {
  fixUpIdentifier(name);
  return name;
}

std::optional<std::string> acronymApplied(std::string_view name, std::string_view acronym) {
  // ASCII without carriage returns is one character per byte and needs no character database:
  // every property name is tried against the acronyms, so this is most of naming wide records.
  const auto plain = [](std::string_view text) {
    return std::none_of(text.begin(), text.end(),
                        [](char c) { return static_cast<unsigned char>(c) >= 0x80 || c == '\r'; });
  };
  if (plain(acronym)) {
    // Whatever the name holds, it can only match by ending in the acronym's camel-cased bytes:
    // most names are turned down here without a look at the rest of them.
    if (name.size() < acronym.size()) return std::nullopt;
    const std::size_t cut = name.size() - acronym.size();
    for (std::size_t i = 0; i < acronym.size(); ++i) {
      // The acronym as it would appear in a camel-cased name: "Id", "Url".
      char expected = acronym[i];
      if (expected >= 'A' && expected <= 'Z') expected = static_cast<char>(expected - 'A' + 'a');
      if (i == 0 && expected >= 'a' && expected <= 'z') {
        expected = static_cast<char>(expected - 'a' + 'A');
      }
      if (name[cut + i] != expected) return std::nullopt;
    }
    if (plain(name)) return std::string(name.substr(0, cut)) + upperCased(acronym);
  }

  // The acronym as it would appear in a camel-cased name: "Id", "Url".
  std::string suffix = lowerCased(acronym);
  if (const int first = firstScalar(suffix);
      first >= 0 && isLowercase(static_cast<char32_t>(first))) {
    const std::size_t length = firstCluster(suffix).length;
    suffix = upperCased(std::string_view(suffix).substr(0, length)) + suffix.substr(length);
  }

  // ASCII without carriage returns (which join a following line feed into one character) has
  // one character per byte: compare bytes.
  if (isAscii(name) && isAscii(suffix) && name.find('\r') == std::string_view::npos &&
      suffix.find('\r') == std::string_view::npos) {
    if (name.size() < suffix.size()) return std::nullopt;
    const std::size_t cut = name.size() - suffix.size();
    if (name.substr(cut) != suffix) return std::nullopt;
    return std::string(name.substr(0, cut)) + upperCased(acronym);
  }

  // Compare whole characters: the name's last n characters, n being the suffix's length.
  std::size_t suffixCharacters = 0;
  forEachCluster(suffix, [&](std::string_view, bool) { ++suffixCharacters; });
  std::vector<std::size_t> starts;
  forEachCluster(name, [&](std::string_view cluster, bool) {
    starts.push_back(static_cast<std::size_t>(cluster.data() - name.data()));
  });
  if (starts.size() < suffixCharacters) return std::nullopt;
  const std::size_t cut =
      suffixCharacters == 0 ? name.size() : starts[starts.size() - suffixCharacters];
  if (!textEquals(name.substr(cut), suffix)) return std::nullopt;
  return std::string(name.substr(0, cut)) + upperCased(acronym);
}

}  // namespace telvar
