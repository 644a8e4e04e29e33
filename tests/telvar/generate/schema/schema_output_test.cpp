#include <random>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "telvar/generate/generate.h"
#include "telvar/model/model.h"
#include "telvar/unicode/text.h"

namespace telvar {
namespace {

using Json = nlohmann::ordered_json;

Model schemaModel(std::string input, std::optional<SchemaOptions> options = std::nullopt) {
  return Model(Uuid::random(), std::move(input), std::nullopt, std::nullopt, OutputType::schema,
               std::move(options), std::nullopt, std::nullopt, std::nullopt, std::nullopt,
               std::nullopt);
}

// Nothing when `text` is JSON.
std::vector<std::string> problemsOf(const std::string& text) {
  if (nlohmann::json::accept(text)) return {};
  return {"not JSON"};
}

// Random samples with keys made of quotes, backslashes, control characters and non-ASCII text:
// the schema is valid JSON, and each object's properties are the sample's keys, in order.
class RandomSample {
 public:
  explicit RandomSample(unsigned seed) : m_rng(seed) {}

  Json object(int depth) {
    Json o = Json::object();
    const int members = static_cast<int>(m_rng() % 6);
    for (int i = 0; i < members; ++i) o[key()] = value(depth);
    return o;
  }

 private:
  std::string key() {
    static const std::vector<std::string> kPieces = {
        "a",    "_b",   "\"",   "\\", "\n", "\t",    std::string(1, '\0'),
        "\x01", "\x1f", "\x7f", "$",  "9",  "ü",     "😀",
        "/",    " ",    "type", "{",  "}",  "\u2028"};
    std::string k;
    const int pieces = static_cast<int>(m_rng() % 4);
    for (int i = 0; i < pieces; ++i) k += kPieces[m_rng() % kPieces.size()];
    return k;
  }

  Json value(int depth) {
    switch (m_rng() % (depth > 0 ? 8 : 5)) {
      case 0:
        return static_cast<int>(m_rng() % 100);
      case 1:
        return "text";
      case 2:
        return true;
      case 3:
        return nullptr;
      case 4:
        return 2.5;
      case 5:
        return object(depth - 1);
      case 6:
        return Json::array({object(depth - 1), object(depth - 1)});
      default:
        return Json::array({Json::array({value(depth - 1)})});
    }
  }

  std::mt19937 m_rng;
};

void checkKeys(const Json& sample, const Json& schema, std::vector<std::string>& problems) {
  std::vector<std::string> expected;
  for (const auto& [key, value] : sample.items()) expected.push_back(key);
  std::vector<std::string> actual;
  for (const auto& [key, value] : schema["properties"].items()) actual.push_back(key);
  if (actual != expected) problems.push_back("keys of " + sample.dump());
  for (const auto& [key, value] : sample.items()) {
    if (value.is_object() && schema["properties"].contains(key)) {
      checkKeys(value, schema["properties"][key], problems);
    }
  }
}

TEST(SchemaOutput, HostileKeysGiveValidJsonThatNamesTheSamplesKeys) {
  for (unsigned seed = 1; seed <= 200; ++seed) {
    const Json sample = RandomSample(seed).object(3);
    const auto text = schemaOutput(schemaModel(sample.dump()));
    ASSERT_TRUE(text.has_value()) << sample.dump();
    std::vector<std::string> problems = problemsOf(*text);
    ASSERT_EQ(problems, std::vector<std::string>()) << sample.dump() << "\n" << *text;
    checkKeys(sample, Json::parse(*text), problems);
    EXPECT_EQ(problems, std::vector<std::string>()) << *text;
  }
}

TEST(SchemaOutput, FiftyThousandKeysSortByKeyAndAreAllRequired) {
  std::string input = "{";
  for (int i = 0; i < 50000; ++i) {
    if (i) input += ',';
    input += "\"k" + std::to_string((i * 7919) % 50000) + "\":" + std::to_string(i);
  }
  input += "}";
  const auto text = schemaOutput(
      schemaModel(input, SchemaOptions(std::nullopt, SchemaMeta(PropertySortMethod::alphabet))));
  ASSERT_TRUE(text.has_value());
  ASSERT_EQ(problemsOf(*text), std::vector<std::string>());
  const auto schema = nlohmann::json::parse(*text);
  ASSERT_EQ(schema["required"].size(), 50000u);
  std::string previous;
  for (const auto& key : schema["required"]) {
    EXPECT_LT(textCompare(previous, key.get<std::string>()), 0);
    previous = key.get<std::string>();
  }
}

}  // namespace
}  // namespace telvar
