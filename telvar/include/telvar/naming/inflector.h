#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace telvar {

/// Singular forms of English words by rule, as common inflectors make them: a word that is
/// uncountable stays as it is; an irregular plural (or its singular) is looked up as a whole word;
/// otherwise the suffix rules are tried newest-first, case-insensitively, and the first that
/// matches replaces the word's end (keeping the captured stem). A word that no rule matches stays
/// as it is. Matching ignores case; the word's own spelling of the kept part is preserved.
///
/// An inflector is a plain value; `shared()` is the one the naming rules use.
class Inflector {
 public:
  /// No words and no rules: every word stays as it is.
  Inflector();

  /// The English rules: plurals in -s, -ies, -ves, -es after sibilants, -ices, Latin and Greek
  /// forms, the irregulars person/people, man/men, woman/women, child/children, sex/sexes,
  /// move/moves, zombie/zombies, and the uncountable words equipment, information, rice, money,
  /// species, series, fish, sheep, jeans, police.
  [[nodiscard]] static Inflector english();

  /// The English inflector with "Data" and "Meta" added as uncountable words, set up once for the
  /// process (safe when threads race to it) and never changed afterwards.
  [[nodiscard]] static const Inflector& shared();

  /// Adds a word that has no separate singular form.
  void addUncountable(std::string_view word);
  /// Adds a pair of whole words; the plural becomes the singular, with the case of its first
  /// letter kept.
  void addIrregular(std::string_view singular, std::string_view plural);
  /// Adds a suffix rule, tried before every rule added earlier: an ICU regular expression matched
  /// case-insensitively against the word, and its replacement ("$1" for a captured group). A
  /// pattern that does not compile is ignored.
  void addSingularRule(std::string_view pattern, std::string_view replacement);

  /// The singular of `word` (UTF-8): "users" gives "user", "Categories" gives
  /// "Category", "People" gives "Person"; "" stays "".
  [[nodiscard]] std::string singularize(std::string_view word) const;

 private:
  struct Rule;
  struct Irregular {
    std::string singular;
    std::string plural;
  };

  std::vector<std::string> m_uncountables;           // case-folded
  std::vector<Irregular> m_irregulars;               // case-folded
  std::vector<std::shared_ptr<const Rule>> m_rules;  // in the order added
};

}  // namespace telvar
