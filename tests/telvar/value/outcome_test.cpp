#include "telvar/value/outcome.h"

#include <new>
#include <optional>
#include <stdexcept>
#include <string>

#include <gtest/gtest.h>

#include "telvar/generate/generate.h"
#include "telvar/model/model.h"
#include "telvar/value/printer.h"

namespace telvar {
namespace {

TEST(Outcome, RunningOutOfMemoryIsNothingWithAOneLineReason) {
  const Outcome memory = guarded([]() -> std::optional<std::string> { throw std::bad_alloc(); });
  EXPECT_FALSE(memory.text);
  EXPECT_EQ(memory.failure, "out of memory");
  const Outcome size = guarded([]() -> std::optional<std::string> {
    throw std::length_error("an object has too many members");
  });
  EXPECT_FALSE(size.text);
  EXPECT_EQ(size.failure, "input too large");
  // Nothing from the input is no failure of the machine.
  const Outcome nothing = guarded([] { return std::optional<std::string>(); });
  EXPECT_FALSE(nothing.text);
  EXPECT_TRUE(nothing.failure.empty());
}

TEST(Outcome, TheCheckedEntryPointsGiveWhatTheOthersGive) {
  Model model =
      modelFromDocumentText(R"({"id": "6F1C2A3B-4D5E-4F60-8172-93A4B5C6D7E8", "input": ""})");
  model.setInput(R"({"a": [1, 2], "b": "x"})");
  for (OutputType type : {OutputType::schema, OutputType::swift, OutputType::go}) {
    const Outcome checked = checkedOutput(model, type);
    EXPECT_TRUE(checked.failure.empty());
    EXPECT_EQ(checked.text, output(model, type));
    EXPECT_TRUE(checked.text);
  }
  model.setInput("42");
  EXPECT_FALSE(checkedOutput(model, OutputType::swift).text);
  const Outcome formatted = Formatter::checkedFormat("[1]", Indentation::default_());
  EXPECT_EQ(formatted.text, "[\n  1\n]");
  EXPECT_EQ(Formatter::checkedFormat("[1", Indentation::default_()).text, "[1");
}

}  // namespace
}  // namespace telvar
