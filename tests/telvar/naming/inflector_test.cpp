#include "telvar/naming/inflector.h"

#include <gtest/gtest.h>

namespace telvar {
namespace {

TEST(Inflector, SingularizesOrdinaryEnglishPlurals) {
  const Inflector& inflector = Inflector::shared();
  const std::pair<const char*, const char*> table[] = {
      {"users", "user"},        {"categories", "category"},
      {"addresses", "address"}, {"statuses", "status"},
      {"people", "person"},     {"children", "child"},
      {"data", "data"},         {"media", "medium"},
      {"indices", "index"},     {"matrices", "matrix"},
      {"buses", "bus"},         {"boxes", "box"},
      {"wives", "wife"},        {"news", "news"},
      {"series", "series"},     {"wolves", "wolf"},
      {"knives", "knife"},      {"mice", "mouse"},
      {"analyses", "analysis"}, {"quizzes", "quiz"},
      {"movies", "movie"},      {"potatoes", "potato"},
      {"shoes", "shoe"},        {"databases", "database"},
      {"aliases", "alias"},     {"octopi", "octopus"},
      {"women", "woman"},       {"zombies", "zombie"},
      {"sheep", "sheep"},       {"churches", "church"},
      {"dishes", "dish"},       {"keys", "key"},
      {"days", "day"},          {"queries", "query"},
      {"axes", "axis"},         {"crises", "crisis"},
      {"archives", "archive"},  {"hives", "hive"},
      {"vertices", "vertex"},   {"oxen", "ox"},
      {"meta", "meta"},
  };
  for (const auto& [plural, singular] : table) {
    EXPECT_EQ(inflector.singularize(plural), singular) << plural;
  }
}

TEST(Inflector, LeavesSingularsAlone) {
  const Inflector& inflector = Inflector::shared();
  for (const char* word : {"user", "address", "status", "bus", "person", "child", "box", "news",
                           "analysis", "virus", "class", "list", "equipment"}) {
    EXPECT_EQ(inflector.singularize(word), word);
  }
}

TEST(Inflector, MatchesAnyCaseAndKeepsTheWordsSpelling) {
  const Inflector& inflector = Inflector::shared();
  EXPECT_EQ(inflector.singularize("Users"), "User");
  EXPECT_EQ(inflector.singularize("USERS"), "USER");
  EXPECT_EQ(inflector.singularize("Categories"), "Category");
  EXPECT_EQ(inflector.singularize("People"), "Person");
  EXPECT_EQ(inflector.singularize("Data"), "Data");
  EXPECT_EQ(inflector.singularize("DATA"), "DATA");
  EXPECT_EQ(inflector.singularize("Ids"), "Id");
  EXPECT_EQ(inflector.singularize(""), "");
}

TEST(Inflector, DataAndMetaAreUncountableOnlyInTheSharedInflector) {
  const Inflector english = Inflector::english();
  EXPECT_EQ(english.singularize("data"), "datum");
  EXPECT_EQ(english.singularize("meta"), "metum");
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
