#include "telvar/naming/inflector.h"

#include <algorithm>

#include <unicode/regex.h>
#include <unicode/unistr.h>

namespace telvar {
namespace {

// The English singular rules, in the order they are added: later rules are tried first, so the
// general "-s" rule comes first and the special cases follow it.
struct RuleText {
  const char* pattern;
  const char* replacement;
};
constexpr RuleText kEnglishRules[] = {
    {"s$", ""},
    {"(ss)$", "$1"},
    {"(n)ews$", "$1ews"},
    {"([ti])a$", "$1um"},
    {"((a)naly|(b)a|(d)iagno|(p)arenthe|(p)rogno|(s)ynop|(t)he)(sis|ses)$", "$1sis"},
    {"(^analy)(sis|ses)$", "$1sis"},
    {"([^f])ves$", "$1fe"},
    {"(hive)s$", "$1"},
    {"(tive)s$", "$1"},
    {"([lr])ves$", "$1f"},
    {"([^aeiouy]|qu)ies$", "$1y"},
    {"(s)eries$", "$1eries"},
    {"(m)ovies$", "$1ovie"},
    {"(x|ch|ss|sh)es$", "$1"},
    {"^(m|l)ice$", "$1ouse"},
    {"(bus)(es)?$", "$1"},
    {"(o)es$", "$1"},
    {"(shoe)s$", "$1"},
    {"(cris|test)(is|es)$", "$1is"},
    {"^(a)x[ie]s$", "$1xis"},
    {"(octop|vir)(us|i)$", "$1us"},
    {"(alias|status)(es)?$", "$1"},
    {"^(ox)en", "$1"},
    {"(vert|ind)ices$", "$1ex"},
    {"(matr)ices$", "$1ix"},
    {"(quiz)zes$", "$1"},
    {"(database)s$", "$1"},
};

constexpr std::pair<const char*, const char*> kEnglishIrregulars[] = {
    {"person", "people"}, {"man", "men"},    {"woman", "women"},    {"child", "children"},
    {"sex", "sexes"},     {"move", "moves"}, {"zombie", "zombies"},
};

constexpr const char* kEnglishUncountables[] = {
    "equipment", "information", "rice",  "money", "species",
    "series",    "fish",        "sheep", "jeans", "police",
};

icu::UnicodeString unicode(std::string_view text) {
  return icu::UnicodeString::fromUTF8(
      icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
}

std::string utf8(const icu::UnicodeString& text) {
  std::string out;
  text.toUTF8String(out);
  return out;
}

std::string folded(std::string_view text) {
  icu::UnicodeString u = unicode(text);
  u.foldCase();
  return utf8(u);
}

}  // namespace

struct Inflector::Rule {
  std::unique_ptr<icu::RegexPattern> pattern;  // shared read-only; each match makes its matcher
  icu::UnicodeString replacement;
};

Inflector::Inflector() = default;

Inflector Inflector::english() {
  Inflector inflector;
  for (const auto& rule : kEnglishRules) inflector.addSingularRule(rule.pattern, rule.replacement);
  for (const auto& [singular, plural] : kEnglishIrregulars)
    inflector.addIrregular(singular, plural);
  for (const char* word : kEnglishUncountables) inflector.addUncountable(word);
  return inflector;
}

const Inflector& Inflector::shared() {
  // Function-local static: initialised exactly once, even when threads race to it.
  static const Inflector inflector = [] {
    Inflector english = Inflector::english();
    english.addUncountable("Data");
    english.addUncountable("Meta");
    return english;
  }();
  return inflector;
}

void Inflector::addUncountable(std::string_view word) { m_uncountables.push_back(folded(word)); }

void Inflector::addIrregular(std::string_view singular, std::string_view plural) {
  m_irregulars.push_back({folded(singular), folded(plural)});
}

void Inflector::addSingularRule(std::string_view pattern, std::string_view replacement) {
  UErrorCode status = U_ZERO_ERROR;
  UParseError parseError;
  std::unique_ptr<icu::RegexPattern> compiled(
      icu::RegexPattern::compile(unicode(pattern), UREGEX_CASE_INSENSITIVE, parseError, status));
  if (U_FAILURE(status) || !compiled) return;
  auto rule = std::make_shared<Rule>();
  rule->pattern = std::move(compiled);
  rule->replacement = unicode(replacement);
  m_rules.push_back(std::move(rule));
}

std::string Inflector::singularize(std::string_view word) const {
  if (word.empty()) return std::string();
  const std::string key = folded(word);
  if (std::find(m_uncountables.begin(), m_uncountables.end(), key) != m_uncountables.end()) {
    return std::string(word);
  }
  // Irregulars, newest first: a plural becomes its singular; a singular stays as it is.
  for (auto it = m_irregulars.rbegin(); it != m_irregulars.rend(); ++it) {
    if (key == it->singular) return std::string(word);
    if (key == it->plural) {
      // Keep the word's own first letter (its case) when the two forms share it.
      const icu::UnicodeString original = unicode(word);
      const icu::UnicodeString singular = unicode(it->singular);
      const int32_t firstLength = original.moveIndex32(0, 1);
      const int32_t singularFirstLength = singular.moveIndex32(0, 1);
      icu::UnicodeString first(original, 0, firstLength);
      if (icu::UnicodeString(first).foldCase() !=
          icu::UnicodeString(singular, 0, singularFirstLength)) {
        return it->singular;
      }
      first.append(singular, singularFirstLength, INT32_MAX);
      return utf8(first);
    }
  }
  const icu::UnicodeString text = unicode(word);
  for (auto it = m_rules.rbegin(); it != m_rules.rend(); ++it) {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::RegexMatcher> matcher((*it)->pattern->matcher(text, status));
    if (U_FAILURE(status)) continue;
    if (!matcher->find(status) || U_FAILURE(status)) continue;
    matcher->reset();
    icu::UnicodeString result = matcher->replaceFirst((*it)->replacement, status);
    if (U_FAILURE(status)) continue;
    return utf8(result);
  }
  return std::string(word);
}

}  // namespace telvar
