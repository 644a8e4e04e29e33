// The whole Dart file on inputs too large or too odd for a golden case.
#include <string>

#include <gtest/gtest.h>

#include "telvar/generate/generate.h"
#include "telvar/model/model.h"

namespace telvar {
namespace {

Model modelWith(std::string input, DartMeta meta = {}) {
  return Model(Uuid::random(), std::move(input), std::nullopt, std::nullopt, OutputType::dart,
               std::nullopt, std::nullopt, std::nullopt, DartOptions(std::nullopt, std::move(meta)),
               std::nullopt, std::nullopt);
}

std::size_t count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

TEST(DartOutput, WritesAClassPerLevelOfObjectsNestedAsDeepAsTheGrammarAllows) {
  std::string input;
  for (int i = 0; i < 511; ++i) input += "{\"k" + std::to_string(i) + "\":";
  input += "{}";
  input += std::string(511, '}');
  const auto out = dartOutput(modelWith(input));
  ASSERT_TRUE(out);
  EXPECT_EQ(count(*out, "\nclass "), 512u);
  EXPECT_NE(out->find("class K509 {\n  K510 k510;\n"), std::string::npos);
  // The innermost object has no members.
  EXPECT_NE(out->find("class K510 {\n\n  K510();\n"), std::string::npos);
}

TEST(DartOutput, ReadsAndWritesListsNestedAsDeepAsTheGrammarAllows) {
  std::string input = "{\"a\":" + std::string(510, '[') + "{\"b\":1}" + std::string(510, ']') + "}";
  const auto out = dartOutput(modelWith(input));
  ASSERT_TRUE(out);
  std::string field = "  ";
  for (int i = 0; i < 510; ++i) field += "List<";
  field += "A" + std::string(510, '>') + " a;";
  EXPECT_NE(out->find(field), std::string::npos);
  EXPECT_EQ(count(*out, ".map((x) => "), 2u * 510u);
}

TEST(DartOutput, HandlesFiftyThousandMembersSorted) {
  std::string input = "{";
  for (int i = 49999; i >= 0; --i) {
    input += "\"key_" + std::to_string(i) + "\":" + std::to_string(i);
    if (i) input += ',';
  }
  input += "}";
  DartMeta meta;
  meta.setPropertySortMethod(PropertySortMethod::alphabet);
  const auto out = dartOutput(modelWith(input, meta));
  ASSERT_TRUE(out);
  EXPECT_EQ(count(*out, "  int key"), 50000u);
  EXPECT_LT(out->find("  int key0;"), out->find("  int key1;"));
  EXPECT_LT(out->find("  int key10;"), out->find("  int key2;"));
}

TEST(DartOutput, KeepsKeysThatCollideAfterCamelCasingAsSeparateMembers) {
  const auto out = dartOutput(modelWith(R"({"user_name": 1, "userName": "x", "user-name": true})"));
  ASSERT_TRUE(out);
  EXPECT_NE(out->find("    userName: json[\"user_name\"],\n"
                      "    userName: json[\"userName\"],\n"
                      "    userName: json[\"user-name\"],"),
            std::string::npos);
}

TEST(DartOutput, GivesNothingWithoutAClass) {
  EXPECT_FALSE(dartOutput(modelWith("")));
  EXPECT_FALSE(dartOutput(modelWith(" \n\t")));
  EXPECT_FALSE(dartOutput(modelWith("[[[]]]")));
  EXPECT_FALSE(dartOutput(modelWith("\"text\"")));
  EXPECT_FALSE(dartOutput(modelWith("{\"a\": }")));
}

}  // namespace
}  // namespace telvar
