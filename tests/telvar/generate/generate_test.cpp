#include "telvar/generate/generate.h"

#include <memory>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

namespace telvar {
namespace {

// A root of 40,000 members (more than a megabyte of code in every language) with an object every
// 500 members, all of one shape: the nested styles write its declaration for each and take the
// repeats back. Then one nested object whose own members are more than a megabyte of code.
std::string largeSample() {
  std::string sample = "{";
  for (int i = 0; i < 40000; ++i) {
    sample += "\"member_" + std::to_string(i) + "\":";
    sample += i % 500 == 0 ? R"({"a":1,"b":"x"},)" : std::to_string(i) + ",";
  }
  sample += R"("big":{)";
  for (int i = 0; i < 40000; ++i) {
    if (i > 0) sample += ',';
    sample += "\"inner_" + std::to_string(i) + "\":\"s\"";
  }
  return sample + "}}";
}

// A document in which every language but JSON Schema writes its types in `style`.
std::string styledDocument(std::string_view style) {
  std::string document = R"({"id": "6F1C2A3B-4D5E-4F60-8172-93A4B5C6D7E8",
    "input": "", "_modelName": "Root")";
  for (std::string_view language : {"swift", "kotlin", "dart", "go", "proto"}) {
    document += ", \"_" + std::string(language) + "Options\": {\"_" + std::string(language) +
                "Meta\": {\"_structureStyle\": \"" + std::string(style) + "\"}}";
  }
  return document + "}";
}

// A file handed out as it is written is the very file written whole, in every language and
// structure style, also where nested declarations are taken back among many members or are
// themselves large, or come before or after the root's; and the sample given with a keeper is
// let go before any of the file is written.
TEST(GeneratedFile, DrainedAsItIsWrittenIsTheFileWrittenWhole) {
  for (const std::string& document :
       {std::string(R"({"id": "6F1C2A3B-4D5E-4F60-8172-93A4B5C6D7E8",
          "input": "", "_modelName": "Root"})"),
        styledDocument("subtypeFirst"), styledDocument("subtypeLast")}) {
    SCOPED_TRACE(document);
    Model model = modelFromDocumentText(document);
    model.setInput(largeSample());
    for (OutputType type : {OutputType::schema, OutputType::swift, OutputType::kotlin,
                            OutputType::dart, OutputType::go, OutputType::proto}) {
      SCOPED_TRACE(rawValue(type));
      const std::optional<std::string> whole = output(model, type);
      ASSERT_TRUE(whole);

      auto keeper = std::make_shared<const std::string>(model.input());
      const std::weak_ptr<const std::string> kept = keeper;
      std::string drained;
      bool keptWhileWriting = false;
      const TextDrain drain = [&](std::string_view text) {
        keptWhileWriting = keptWhileWriting || !kept.expired();
        drained += text;
      };
      const Outcome rest = checkedOutput(model, {*keeper, std::move(keeper)}, type, drain);
      ASSERT_TRUE(rest.text);
      EXPECT_EQ(drained + *rest.text, *whole);
      EXPECT_FALSE(keptWhileWriting);
      EXPECT_TRUE(kept.expired());
      // Every style writes the root's declaration, the large one, as it goes.
      EXPECT_FALSE(drained.empty());
    }
  }
}

}  // namespace
}  // namespace telvar
