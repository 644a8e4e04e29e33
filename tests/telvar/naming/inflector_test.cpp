#include "telvar/naming/inflector.h"

#include <gtest/gtest.h>

namespace telvar {
namespace {

// One word per kind of rule: plain, -ies, -es, -ves, Latin and Greek endings, irregulars,
// uncountables, and singulars that look plural.
TEST(Inflector, SingularizesPluralsAndLeavesSingularsAlone) {
  const Inflector& inflector = Inflector::shared();
  const std::pair<const char*, const char*> table[] = {
      {"users", "user"},
      {"categories", "category"},
      {"addresses", "address"},
      {"people", "person"},
      {"media", "medium"},
      {"matrices", "matrix"},
      {"wolves", "wolf"},
      {"knives", "knife"},
      {"mice", "mouse"},
      {"analyses", "analysis"},
      {"quizzes", "quiz"},
      {"movies", "movie"},
      {"databases", "database"},
      {"octopi", "octopus"},
      {"archives", "archive"},
      {"vertices", "vertex"},
      {"oxen", "ox"},
      {"sheep", "sheep"},
      {"data", "data"},
      {"meta", "meta"},
      {"status", "status"},
      {"bus", "bus"},
      {"analysis", "analysis"},
      {"virus", "virus"},
      {"class", "class"},
      {"Users", "User"},
      {"USERS", "USER"},
      {"People", "Person"},
      {"DATA", "DATA"},
      {"", ""},
  };
  for (const auto& [plural, singular] : table) {
    EXPECT_EQ(inflector.singularize(plural), singular) << plural;
  }
  // "data" and "meta" are uncountable only in the shared inflector.
  EXPECT_EQ(Inflector::english().singularize("data"), "datum");
}

TEST(Inflector, NewerRulesWinAndBadPatternsAreIgnored) {
  Inflector inflector;
  EXPECT_EQ(inflector.singularize("cats"), "cats");
  inflector.addSingularRule("s$", "");
  inflector.addSingularRule("(ca)ts$", "$1t!");
  inflector.addSingularRule("([", "x");
  EXPECT_EQ(inflector.singularize("cats"), "cat!");
  EXPECT_EQ(inflector.singularize("dogs"), "dog");
  inflector.addUncountable("Dogs");
  EXPECT_EQ(inflector.singularize("dogs"), "dogs");
}

}  // namespace
}  // namespace telvar
