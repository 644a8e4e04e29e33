#include "telvar/model/model.h"

#include <fstream>
#include <sstream>
#include <string>

#include "../options/test_support.h"

namespace telvar {
namespace {

using testing::decodingError;
using testing::json;
using testing::uuid;
using Kind = DecodingError::Kind;

std::string id1() { return "\"" + testing::uuidText(1) + "\""; }

Model minimal(std::string input = "") {
  return Model(uuid(1), std::move(input), std::nullopt, std::nullopt, std::nullopt, std::nullopt,
               std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt);
}

TEST(Model, AnIdAndAnInputAloneReadAsEverySettingUnset) {
  Model model = modelFromDocumentText(R"({"id":)" + id1() + R"(,"input":""})");
  EXPECT_EQ(model, minimal());
  EXPECT_EQ(model.indentation(), Indentation::default_());
  EXPECT_EQ(model.modelName(), "Unknown");
  EXPECT_EQ(model.outputType(), Model::OutputType::swift);
  EXPECT_EQ(documentText(model), R"({"id":)" + id1() + R"(,"input":""})");
}

TEST(Model, WritesEverySetSettingUnderItsKey) {
  Model model(
      uuid(1), "[1]", Indentation{2, "\t"}, "Root", Model::OutputType::dart, Model::SchemaOptions(),
      Model::SwiftOptions(ValueMeta(true)), Model::KotlinOptions(std::nullopt, KotlinMeta("k")),
      Model::DartOptions(std::nullopt, DartMeta("D")), Model::GoOptions(std::nullopt, GoMeta("g")),
      Model::ProtoOptions(std::nullopt, ProtoMeta("p")));
  std::string text =
      R"({"_dartOptions":{"_dartMeta":{"_modelPrefix":"D"}},"_goOptions":{"_goMeta":)"
      R"({"_packageName":"g"}},"_indentation":{"level":2,"unit":"\t"},"_kotlinOptions":)"
      R"({"_kotlinMeta":{"_packageName":"k"}},"_modelName":"Root","_outputType":"dart",)"
      R"("_protoOptions":{"_protoMeta":{"_packageName":"p"}},"_schemaOptions":{},)"
      R"("_swiftOptions":{"_valueMeta":{"_needsDetectURL":true}},"id":)" +
      id1() + R"(,"input":"[1]"})";
  EXPECT_EQ(documentText(model), text);
  EXPECT_EQ(modelFromDocumentText(text), model);
}

TEST(Model, AGoPackageNameIsWrittenAsFiveMembers) {
  Model model = minimal("{}");
  model.setModelName("User");
  model.setOutputType(Model::OutputType::go);
  model.editGoOptions([](Model::GoOptions& options) {
    options.editGoMeta([](GoMeta& meta) { meta.setPackageName("users"); });
  });
  nlohmann::json j = toJson(model);
  EXPECT_EQ(j.size(), 5u);
  EXPECT_EQ(j["_goOptions"], json(R"({"_goMeta":{"_packageName":"users"}})"));
  EXPECT_EQ(j["_outputType"], "go");
  EXPECT_EQ(j["_modelName"], "User");
}

TEST(Model, RequiresTheIdAndTheInput) {
  EXPECT_THAT([] { (void)modelFromDocumentText(R"({"id":)" + id1() + "}"); },
              decodingError(Kind::keyNotFound, {"input"}));
  EXPECT_THAT([] { (void)modelFromDocumentText(R"({"input":""})"); },
              decodingError(Kind::keyNotFound, {"id"}));
  EXPECT_THAT([] { (void)modelFromDocumentText(R"({"id":null,"input":""})"); },
              decodingError(Kind::valueNotFound, {"id"}));
  EXPECT_THAT([] { (void)modelFromDocumentText(R"({"id":)" + id1() + R"(,"input":null})"); },
              decodingError(Kind::valueNotFound, {"input"}));
  EXPECT_THAT([] { (void)modelFromDocumentText(R"({"id":"document-1","input":""})"); },
              decodingError(Kind::dataCorrupted, {"id"}));
  EXPECT_THAT([] { (void)modelFromDocumentText(R"({"id":7,"input":""})"); },
              decodingError(Kind::typeMismatch, {"id"}));
}

// A null setting reads as unset; unknown members are dropped; the id is written upper-cased.
TEST(Model, ReadsLenientlyAndWritesBackOnlyWhatItKnows) {
  Model model = modelFromDocumentText(
      R"({"id":"e621e1f8-c36c-495a-93fc-0c247a3e6e5f","input":"","_modelName":null,)"
      R"("version":3,"_extra":{}})");
  EXPECT_EQ(model.modelName(), "Unknown");
  EXPECT_EQ(documentText(model), R"({"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","input":""})");
}

TEST(Model, OutputTypeCaseNamesAreExact) {
  auto document = [](const std::string& value) {
    return R"({"id":)" + id1() + R"(,"input":"","_outputType":)" + value + "}";
  };
  EXPECT_EQ(modelFromDocumentText(document(R"("proto")")).outputType(), Model::OutputType::proto);
  EXPECT_THAT([&] { (void)modelFromDocumentText(document(R"("Swift")")); },
              decodingError(Kind::dataCorrupted, {"_outputType"}));
  EXPECT_THAT([&] { (void)modelFromDocumentText(document("1")); },
              decodingError(Kind::typeMismatch, {"_outputType"}));
}

TEST(Model, TheModelNameReadsUnknownOnlyWhenUnset) {
  Model named = minimal();
  named.setModelName("Unknown");
  EXPECT_NE(named, minimal());
  EXPECT_EQ(toJson(named)["_modelName"], "Unknown");
}

TEST(Model, EqualityTakesTheIdAndComparesInputsAsText) {
  Model a = minimal("{}");
  Model b(uuid(2), "{}", std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
          std::nullopt, std::nullopt, std::nullopt, std::nullopt);
  EXPECT_NE(a, b);
  EXPECT_EQ(minimal("\"caf\u00e9\""), minimal("\"cafe\u0301\""));
  EXPECT_NE(minimal("{}"), minimal("{ }"));
}

TEST(Model, StoredEmptyOptionsDifferFromUnsetOnes) {
  Model model = minimal();
  model.setSchemaOptions(Model::SchemaOptions());
  EXPECT_EQ(toJson(model)["_schemaOptions"], json("{}"));
  EXPECT_NE(model, minimal());
  EXPECT_EQ(model.schemaOptions(), minimal().schemaOptions());
}

TEST(Model, CopiesShareTheInputUntilOneIsReplaced) {
  Model original = minimal(std::string(1 << 20, ' ') + "[]");
  Model copy = original;
  EXPECT_EQ(&copy.input(), &original.input());
  copy.setInput("{}");
  EXPECT_EQ(copy.input(), "{}");
  EXPECT_EQ(original.input().size(), (1u << 20) + 2);
}

TEST(Model, IndentationLevelsAreKeptAsRead) {
  auto withIndentation = [](const std::string& indentation) {
    return R"({"id":)" + id1() + R"(,"input":"","_indentation":)" + indentation + "}";
  };
  EXPECT_EQ(
      modelFromDocumentText(withIndentation(R"({"level":-5,"unit":"  "})")).indentation().level,
      -5);
  Model huge =
      modelFromDocumentText(withIndentation(R"({"level":1000000000000000000,"unit":" "})"));
  EXPECT_EQ(huge.indentation().level, 1000000000000000000);
  EXPECT_EQ(huge.indentation().effectiveLevel(), Indentation::kMaxLevel);
  EXPECT_THAT(
      [&] {
        (void)modelFromDocumentText(
            withIndentation(R"({"level":18446744073709551615,"unit":" "})"));
      },
      decodingError(Kind::dataCorrupted, {"_indentation", "level"}));
}

TEST(Model, AFailureDeepInsideNamesTheWholePathOnOneLine) {
  std::string text = R"({"id":)" + id1() +
                     R"(,"input":"","_swiftOptions":{"_swiftMeta":{"_acronyms":[)"
                     R"({"id":"not a uuid","name":"ID"}]}}})";
  try {
    (void)modelFromDocumentText(text);
    FAIL() << "expected a decoding error";
  } catch (const DecodingError& e) {
    EXPECT_STREQ(e.what(), R"(data corrupted at "_swiftOptions._swiftMeta._acronyms.0.id": )"
                           R"(invalid UUID text "not a uuid")");
  }
}

TEST(Model, TheSampleDocumentReadsAndWritesBackUnchanged) {
  auto read = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  };
  std::string text = read(TELVAR_EXAMPLES_DIR "/sample.mirel");
  Model model = modelFromDocumentText(text);
  EXPECT_EQ(model.input(), read(TELVAR_EXAMPLES_DIR "/sample.json"));
  EXPECT_EQ(model.modelName(), "User");
  EXPECT_EQ(documentText(model) + "\n", text);
}

TEST(Model, WritingTextThatIsNotUtf8FailsInsteadOfCorrupting) {
  EXPECT_THROW((void)documentText(minimal("\"\xff\"")), std::invalid_argument);
}

}  // namespace
}  // namespace telvar
