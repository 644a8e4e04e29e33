// Every output type in every structure style on samples no golden file can hold: nesting as deep
// as the grammar allows, 50,000 keys, and indentation settings read from a hostile file. Each
// must give its whole text without crashing, exhausting the stack or growing without bound.
#include <algorithm>
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

TEST(HostileInput, KeysWhoseNamesCollideAreAllKept) {
  for (const Target& target : targets()) {
    SCOPED_TRACE(target.options);
    const auto text = generated(target, R"({"a_b": 1, "aB": 2, "a-b": 3, "": 4, "_": 5})");
    ASSERT_TRUE(text);
    EXPECT_NE(text->find("a_b"), std::string::npos);
    EXPECT_NE(text->find("a-b"), std::string::npos);
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
