// A document file may hold anything: reading gives a model or a DecodingError, never a crash,
// another exception or a partly read model.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../options/test_support.h"
#include "telvar/model/model.h"

namespace telvar {
namespace {

using testing::decodingError;
using Kind = DecodingError::Kind;

const std::string kId = "\"" + testing::uuidText(1) + "\"";

struct BadDocument {
  std::string name;
  std::string text;
  Kind kind;
  std::vector<std::string> path;

  friend void PrintTo(const BadDocument& c, std::ostream* os) { *os << c.name; }
};

std::vector<BadDocument> badDocuments() {
  return {
      {"Empty", "", Kind::dataCorrupted, {}},
      {"NotJson", "not json", Kind::dataCorrupted, {}},
      {"Truncated", R"({"id":)" + kId + R"(,"input":"x)", Kind::dataCorrupted, {}},
      {"TrailingGarbage", R"({"id":)" + kId + R"(,"input":""} x)", Kind::dataCorrupted, {}},
      {"InvalidUtf8", "{\"id\":" + kId + ",\"input\":\"\xff\"}", Kind::dataCorrupted, {}},
      {"Array", "[]", Kind::typeMismatch, {}},
      {"Null", "null", Kind::typeMismatch, {}},
      {"Number", "42", Kind::typeMismatch, {}},
      {"Text", R"("document")", Kind::typeMismatch, {}},
      {"NumberForInput", R"({"id":)" + kId + R"(,"input":1})", Kind::typeMismatch, {"input"}},
      {"ArrayForInput", R"({"id":)" + kId + R"(,"input":["a"]})", Kind::typeMismatch, {"input"}},
      {"NumberForModelName",
       R"({"id":)" + kId + R"(,"input":"","_modelName":5})",
       Kind::typeMismatch,
       {"_modelName"}},
      {"TextForIndentation",
       R"({"id":)" + kId + R"(,"input":"","_indentation":"  "})",
       Kind::typeMismatch,
       {"_indentation"}},
      {"TextForIndentationLevel",
       R"({"id":)" + kId + R"(,"input":"","_indentation":{"level":"2","unit":" "}})",
       Kind::typeMismatch,
       {"_indentation", "level"}},
      {"HugeFloatLevel",
       R"({"id":)" + kId + R"(,"input":"","_indentation":{"level":1e300,"unit":" "}})",
       Kind::dataCorrupted,
       {"_indentation", "level"}},
      {"ArrayForOptions",
       R"({"id":)" + kId + R"(,"input":"","_goOptions":[]})",
       Kind::typeMismatch,
       {"_goOptions"}},
      {"TextForAcronyms",
       R"({"id":)" + kId + R"(,"input":"","_dartOptions":{"_dartMeta":{"_acronyms":"ID"}}})",
       Kind::typeMismatch,
       {"_dartOptions", "_dartMeta", "_acronyms"}},
      {"UnknownCaseDeepInside",
       R"({"id":)" + kId +
           R"(,"input":"","_protoOptions":{"_protoMeta":{"_structureStyle":"flat"}}})",
       Kind::dataCorrupted,
       {"_protoOptions", "_protoMeta", "_structureStyle"}},
      // Members are read in a fixed order, so the error names the first member that fails.
      {"TwoBadMembers",
       R"({"_modelName":1,"id":)" + kId + R"(,"input":"","_outputType":"x"})",
       Kind::typeMismatch,
       {"_modelName"}},
  };
}

class BadDocumentText : public ::testing::TestWithParam<BadDocument> {};

TEST_P(BadDocumentText, FailsWithTheExactErrorOnOneLine) {
  const BadDocument& c = GetParam();
  EXPECT_THAT([&] { (void)modelFromDocumentText(c.text); }, decodingError(c.kind, c.path));
  try {
    (void)modelFromDocumentText(c.text);
  } catch (const DecodingError& e) {
    EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(Documents, BadDocumentText, ::testing::ValuesIn(badDocuments()),
                         [](const auto& info) { return info.param.name; });

std::string sampleDocument() {
  std::ifstream in(TELVAR_EXAMPLES_DIR "/sample.mirel", std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

TEST(DocumentReading, EveryPrefixOfADocumentGivesAModelOrADecodingError) {
  std::string text = sampleDocument();
  ASSERT_FALSE(text.empty());
  int models = 0;
  for (std::size_t n = 0; n <= text.size(); ++n) {
    try {
      (void)modelFromDocumentText(std::string_view(text).substr(0, n));
      ++models;
    } catch (const DecodingError&) {
    }
  }
  // Only the whole text, with or without its final line feed, is a complete document.
  EXPECT_EQ(models, 2);
}

TEST(DocumentReading, EveryByteFlipOfADocumentGivesAModelOrADecodingError) {
  std::string text = sampleDocument();
  for (std::size_t i = 0; i < text.size(); ++i) {
    for (char replacement : {'"', '0', '{', ']', '\xff'}) {
      std::string changed = text;
      changed[i] = replacement;
      try {
        (void)modelFromDocumentText(changed);
      } catch (const DecodingError&) {
      }
    }
  }
}

TEST(DocumentReading, DeepNestingInAnUnknownMemberIsIgnored) {
  std::string deep = std::string(100000, '[') + std::string(100000, ']');
  Model model = modelFromDocumentText(R"({"id":)" + kId + R"(,"input":"","x":)" + deep + "}");
  EXPECT_EQ(model.modelName(), "Unknown");
}

TEST(DocumentReading, DeepNestingWhereARecordBelongsFailsAtOnce) {
  std::string deep = std::string(100000, '[') + std::string(100000, ']');
  EXPECT_THAT(
      [&] {
        (void)modelFromDocumentText(R"({"id":)" + kId + R"(,"input":"","_goOptions":)" + deep +
                                    "}");
      },
      decodingError(Kind::typeMismatch, {"_goOptions"}));
}

TEST(DocumentReading, AMillionAcronymsRead) {
  std::string acronyms;
  acronyms.reserve(64 * 1000000);
  for (int i = 0; i < 1000000; ++i) {
    if (i) acronyms += ',';
    acronyms += R"({"id":)" + kId + R"(,"name":"A"})";
  }
  Model model = modelFromDocumentText(R"({"id":)" + kId +
                                      R"(,"input":"","_goOptions":{"_goMeta":{"_acronyms":[)" +
                                      acronyms + "]}}}");
  EXPECT_EQ(model._goOptions->_goMeta->_acronyms->size(), 1000000u);
}

TEST(DocumentReading, ALongListWithOneBadRowFailsAtThatRow) {
  std::string acronyms;
  for (int i = 0; i < 100000; ++i) {
    if (i) acronyms += ',';
    acronyms += i == 99999 ? R"({"id":)" + kId + "}" : R"({"id":)" + kId + R"(,"name":"A"})";
  }
  EXPECT_THAT(
      [&] {
        (void)modelFromDocumentText(R"({"id":)" + kId +
                                    R"(,"input":"","_goOptions":{"_goMeta":{"_acronyms":[)" +
                                    acronyms + "]}}}");
      },
      decodingError(Kind::keyNotFound, {"_goOptions", "_goMeta", "_acronyms", "99999", "name"}));
}

TEST(DocumentReading, AHugeInputReadsWhole) {
  std::string input(20 * 1000 * 1000, 'x');
  Model model = modelFromDocumentText(R"({"id":)" + kId + R"(,"input":")" + input + "\"}");
  EXPECT_EQ(model.input().size(), input.size());
}

TEST(DocumentReading, DuplicateMembersDoNotCrash) {
  Model model = modelFromDocumentText(R"({"id":)" + kId +
                                      R"(,"input":"","_modelName":"A","_modelName":"B"})");
  EXPECT_TRUE(model.modelName() == "A" || model.modelName() == "B");
}

}  // namespace
}  // namespace telvar
