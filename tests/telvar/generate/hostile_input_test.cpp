// Every output type in every structure style on samples no golden file can hold: nesting as deep
// as the grammar allows, 50,000 keys, and indentation settings read from a hostile file. Each
// must give its whole text without crashing, exhausting the stack or growing without bound.
#include <algorithm>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "telvar/generate/generate.h"
#include "telvar/model/model.h"
#include "telvar/parse/json_grammar.h"

namespace telvar {
namespace {

struct Target {
  OutputType type;
  const char* options;  // the document's options member for one structure style
};

const std::vector<Target>& targets() {
  static const std::vector<Target> all{
      {OutputType::schema, R"("_schemaOptions": {})"},
      {OutputType::swift, R"("_swiftOptions": {"_swiftMeta": {"_structureStyle": "nested"}})"},
      {OutputType::swift,
       R"("_swiftOptions": {"_swiftMeta": {"_structureStyle": "nestedInExtension"}})"},
      {OutputType::swift,
       R"("_swiftOptions": {"_swiftMeta": {"_structureStyle": "subtypeFirst"}})"},
      {OutputType::swift, R"("_swiftOptions": {"_swiftMeta": {"_structureStyle": "subtypeLast"}})"},
      {OutputType::kotlin, R"("_kotlinOptions": {"_kotlinMeta": {"_structureStyle": "nested"}})"},
      {OutputType::kotlin,
       R"("_kotlinOptions": {"_kotlinMeta": {"_structureStyle": "subtypeFirst"}})"},
      {OutputType::kotlin,
       R"("_kotlinOptions": {"_kotlinMeta": {"_structureStyle": "subtypeLast"}})"},
      {OutputType::dart, R"("_dartOptions": {"_dartMeta": {"_structureStyle": "subtypeFirst"}})"},
      {OutputType::dart, R"("_dartOptions": {"_dartMeta": {"_structureStyle": "subtypeLast"}})"},
      {OutputType::go, R"("_goOptions": {"_goMeta": {"_structureStyle": "inline"}})"},
      {OutputType::go, R"("_goOptions": {"_goMeta": {"_structureStyle": "subtypeFirst"}})"},
      {OutputType::go, R"("_goOptions": {"_goMeta": {"_structureStyle": "subtypeLast"}})"},
      {OutputType::proto, R"("_protoOptions": {"_protoMeta": {"_structureStyle": "nested"}})"},
      {OutputType::proto,
       R"("_protoOptions": {"_protoMeta": {"_structureStyle": "subtypeFirst"}})"},
      {OutputType::proto, R"("_protoOptions": {"_protoMeta": {"_structureStyle": "subtypeLast"}})"},
  };
  return all;
}

std::optional<std::string> generated(const Target& target, const std::string& input,
                                     const std::string& indentation = "") {
  Model model = modelFromDocumentText(
      std::string(R"({"id": "6F1C2A3B-4D5E-4F60-8172-93A4B5C6D7E8", "input": "", )") +
      (indentation.empty() ? "" : R"("_indentation": )" + indentation + ", ") + target.options +
      "}");
  model.setInput(input);
  return output(model, target.type);
}

// `kMaxJsonDepth` objects, each under its own key "k<n>", the innermost holding "leaf".
std::string deepObjects() {
  std::string open;
  for (int i = 0; i + 1 < kMaxJsonDepth; ++i) open += "{\"k" + std::to_string(i) + "\":";
  return open + "{\"leaf\":1}" + std::string(kMaxJsonDepth - 1, '}');
}

TEST(HostileInput, NestingAsDeepAsTheGrammarAllows) {
  const std::string objects = deepObjects();
  const int lists = kMaxJsonDepth - 2;  // inside the root object, around one object
  const std::string listed =
      "{\"grid\":" + std::string(lists, '[') + "{\"cell\":1}" + std::string(lists, ']') + "}";
  for (const Target& target : targets()) {
    SCOPED_TRACE(target.options);
    const auto deep = generated(target, objects);
    ASSERT_TRUE(deep);
    EXPECT_NE(deep->find("leaf"), std::string::npos);
    EXPECT_NE(deep->find("k510"), std::string::npos);
    const auto grid = generated(target, listed);
    ASSERT_TRUE(grid);
    EXPECT_NE(grid->find("cell"), std::string::npos);
  }
}

// Whether `key` stands in `text` with no digit after it ("key_1" is not in "key_12").
bool namesKey(const std::string& text, const std::string& key) {
  for (auto at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
    const std::size_t end = at + key.size();
    if (end == text.size() || text[end] < '0' || text[end] > '9') return true;
  }
  return false;
}

TEST(HostileInput, FiftyThousandKeysAreAllWritten) {
  std::string wide = "{";
  for (int i = 49'999; i >= 0; --i) {
    wide += "\"key_" + std::to_string(i) + "\":" + std::to_string(i) + (i ? "," : "");
  }
  wide += "}";
  for (const Target& target : targets()) {
    SCOPED_TRACE(target.options);
    const auto text = generated(target, wide);
    ASSERT_TRUE(text);
    for (int i = 0; i < 50'000; i += 4'999) {
      EXPECT_TRUE(namesKey(*text, "key_" + std::to_string(i))) << i;
    }
  }
}

// The member names the root type of a generated file declares, in order, read with a pattern
// per output type; JSON Schema's property keys are the JSON keys and need none.
std::vector<std::string> memberNames(OutputType type, const std::string& text) {
  std::string pattern;
  switch (type) {
    case OutputType::swift:
      pattern = R"(^\s*(?:let|var) (\S+):)";
      break;
    case OutputType::kotlin:
      pattern = R"(^\s*(?:val|var) (\S+):)";
      break;
    case OutputType::dart:
      pattern = R"(^\s+(?:final )?[^ (]+ ([^ (]+);$)";
      break;
    case OutputType::go:
      pattern = R"(^\s+(\S+) \S+ [`"]json)";
      break;
    case OutputType::proto:
      pattern = R"(^\s+(?:repeated |optional )?\S+ (\S+) = \d+)";
      break;
    case OutputType::schema:
      return {};
  }
  const std::regex member(pattern);
  std::vector<std::string> names;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (std::regex_search(line, match, member)) names.push_back(match[1]);
  }
  return names;
}

TEST(HostileInput, KeysWhoseNamesCollideGiveDistinctMembers) {
  const std::string sample =
      R"({"a_b": 1, "aB": 2, "a-b": 3, "a b": 4, "": 5, "_": 6, "__": 7, "-": 8, )"
      R"("user_id": 9, "userId": 10, "UserID": 11})";
  for (const Target& target : targets()) {
    SCOPED_TRACE(target.options);
    const auto text = generated(target, sample);
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("a_b"), std::string::npos);
    EXPECT_NE(text->find("a-b"), std::string::npos);
    if (target.type == OutputType::schema) continue;
    const std::vector<std::string> names = memberNames(target.type, *text);
    EXPECT_EQ(names.size(), 11u) << *text;
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()).size(), names.size()) << *text;
  }
}

TEST(HostileInput, IndentationGrowsWithEveryNestedLevel) {
  // 105 nested objects: the styles that write them inside each other indent the innermost member
  // 105 units or more, never stopping at the 101st level.
  std::string deep;
  for (int i = 0; i < 105; ++i) deep += "{\"k\":";
  deep += "{\"leaf\":1}" + std::string(105, '}');
  for (const Target& target : targets()) {
    const std::string options = target.options;
    if (options.find("subtype") != std::string::npos ||
        options.find("Extension") != std::string::npos) {
      continue;
    }
    SCOPED_TRACE(options);
    const auto text = generated(target, deep, R"({"level": 0, "unit": " "})");
    ASSERT_TRUE(text);
    const std::size_t leaf = text->find("leaf");
    ASSERT_NE(leaf, std::string::npos);
    const std::size_t lineStart = text->rfind('\n', leaf) + 1;
    const std::size_t indent = text->find_first_not_of(' ', lineStart) - lineStart;
    EXPECT_GE(indent, 105u);
  }
}

TEST(HostileInput, OddIndentationFromAFileStaysBounded) {
  const std::string sample = R"({"a": {"b": [{"c": 1}]}, "d": "x"})";
  const std::string unit(64, ' ');
  const std::string hugeLevel = R"({"level": 1000000000000, "unit": ")" + unit + "\"}";
  for (const Target& target : targets()) {
    SCOPED_TRACE(target.options);
    const auto plain = generated(target, sample, R"({"level": 0, "unit": "  "})");
    ASSERT_TRUE(plain);
    // A negative level counts as none.
    EXPECT_EQ(generated(target, sample, R"({"level": -5, "unit": "  "})"), plain);
    // A huge level is clamped to 100: every line starts within a few units of it.
    const auto huge = generated(target, sample, hugeLevel);
    ASSERT_TRUE(huge);
    std::size_t lines = 1;
    for (char c : *huge) lines += c == '\n';
    EXPECT_LT(huge->size(), lines * 110 * unit.size());
    EXPECT_EQ(huge->find(std::string(200 * unit.size(), ' ')), std::string::npos);
  }
}

TEST(HostileInput, LongIndentationUnitsAreUsedOnlyUpToTheirBound) {
  // 100 nested objects at level 100: with the unit as stored this wrote hundreds of megabytes.
  std::string sample;
  for (int i = 0; i < 100; ++i) sample += "{\"a\":";
  sample += "1" + std::string(100, '}');
  for (const std::string& unit : {std::string(65'536, ' '), std::string(70'000, 'x')}) {
    const std::string indentation = R"({"level": 100, "unit": ")" + unit + "\"}";
    for (const Target& target : targets()) {
      SCOPED_TRACE(target.options);
      const auto text = generated(target, sample, indentation);
      ASSERT_TRUE(text);
      std::size_t longest = 0;
      for (std::size_t start = 0; start < text->size();) {
        std::size_t end = text->find('\n', start);
        if (end == std::string::npos) end = text->size();
        longest = std::max(longest, end - start);
        start = end + 1;
      }
      // The level and up to three steps per nested object (a schema's "properties") in units
      // of the bound, plus the line's own text.
      EXPECT_LT(longest, (100 + 3 * 100 + 10) * Indentation::kMaxUnitBytes + 200);
    }
  }
}

}  // namespace
}  // namespace telvar
