#include "telvar/generate/generate.h"

#include <memory>
#include <string>

#include <gtest/gtest.h>

namespace telvar {
namespace {

// A root of 30,000 members (more than a megabyte of code in every language) with an object every
// 500 members, all of one shape: the nested styles write its declaration for each and take the
// repeats back. Then one nested object whose own members are more than a megabyte of code.
std::string largeSample() {
  std::string sample = "{";
  for (int i = 0; i < 30000; ++i) {
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

// A file handed out as it is written is the very file written whole, in every language, also
// where nested declarations are taken back among many members or are themselves large; and the
// sample given with a keeper is let go before any of the file is written.
TEST(GeneratedFile, DrainedAsItIsWrittenIsTheFileWrittenWhole) {
  Model model = modelFromDocumentText(R"({"id": "6F1C2A3B-4D5E-4F60-8172-93A4B5C6D7E8",
    "input": "", "_modelName": "Root"})");
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
    // Dart's classes are compared with each other whole, so its file is kept whole.
    EXPECT_EQ(drained.empty(), type == OutputType::dart);
  }
}

}  // namespace
}  // namespace telvar
