#include "telvar/generate/code_printer.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace telvar::generate {
namespace {

TEST(CodePrinter, IndentsLinesByScopeAndLeavesEmptyLinesBare) {
  std::string out;
  CodePrinter p(out, "  ", 1);
  p.line("struct A {");
  {
    auto body = p.indented();
    p.line("let a: ", std::string("Int"));
    p.blank();
    {
      auto deeper = p.indented(2);
      p.line('x', 42, ' ', std::int64_t{-7});
    }
    p.line("}").add(" // end");
  }
  p.line("}");
  EXPECT_EQ(out, "  struct A {\n    let a: Int\n\n        x42 -7\n    } // end\n  }");
  EXPECT_EQ(p.level(), 1);
}

TEST(CodePrinter, AppendsAfterWhatTheTextHoldsWithoutALeadingLineFeed) {
  std::string out = "head ";
  CodePrinter p(out, "\t", 0);
  EXPECT_TRUE(p.empty());
  p.add("struct {");
  p.line("}");
  EXPECT_EQ(out, "head struct {\n}");
}

TEST(CodePrinter, IndentationBelowTheDocumentLevelIsNeverCut) {
  std::string out;
  CodePrinter p(out, " ", 100);
  auto inner = p.indented(5);
  p.line("x");
  EXPECT_EQ(out, std::string(105, ' ') + "x");

  std::string none;
  CodePrinter q(none, "  ", -3);
  q.line("y");
  EXPECT_EQ(none, "y");
}

TEST(CodePrinter, LevelsGoingBackAndDeeperAgainKeepTheirIndentation) {
  std::string out;
  CodePrinter p(out, "ab", 1);
  {
    auto two = p.indented();
    p.line(2);
  }
  p.line(1);
  {
    auto four = p.indented(3);
    p.line(4);
  }
  {
    auto zero = p.indented(-1);
    p.line(0);
  }
  EXPECT_EQ(out, "abab2\nab1\nabababab4\n0");
}

TEST(CodePrinter, JoinsWithSeparatorsBetweenItems) {
  std::string out;
  CodePrinter p(out, "  ", 0);
  const std::vector<std::string> names{"a", "b", "c"};
  p.line("(");
  {
    auto args = p.indented();
    p.join(names, ",", [&](const std::string& n) { p.line(n); });
  }
  p.line(")");
  EXPECT_EQ(out, "(\n  a,\n  b,\n  c\n)");

  std::string empty;
  CodePrinter q(empty, "  ", 0);
  q.join(std::vector<int>{}, ", ", [&](int i) { q.add(i); });
  EXPECT_EQ(empty, "");
}

TEST(CodePrinter, TakesBackARepeatedDeclarationIncludingItsLineFeed) {
  std::string out;
  CodePrinter p(out, "  ", 0);
  const auto start = p.mark();
  p.line("first");
  EXPECT_EQ(p.since(start), "first");
  const auto second = p.mark();
  p.line("second");
  EXPECT_EQ(p.since(second), "\nsecond");
  p.takeBack(second);
  p.line("third");
  EXPECT_EQ(out, "first\nthird");
  p.takeBack(start);
  EXPECT_TRUE(p.empty());
  p.line("again");
  EXPECT_EQ(out, "again");
}

// Lines of many parts are measured and copied in at once: every kind of text, empty parts and
// characters land in order, after reserved room, and a mark still takes them back.
TEST(CodePrinter, LinesOfManyPartsAfterReservedRoomKeepTheirOrder) {
  std::string out = "x";
  CodePrinter p(out, "  ", 1);
  const auto start = p.mark();
  p.reserve(2, 100, 1);
  EXPECT_GE(out.capacity(), 1 + 100 + 2 * (1 + 4));
  EXPECT_EQ(out, "x");
  const std::string name = "a_name_longer_than_a_short_string_holds";
  const char* lead = "let ";
  p.line(lead, std::string_view(name), ": ", "", 'T', '?');
  {
    auto in = p.indented();
    p.line("case ", name, " = \"", name, '"');
  }
  EXPECT_EQ(out, "x  let " + name + ": T?\n    case " + name + " = \"" + name + '"');
  p.takeBack(start);
  EXPECT_EQ(out, "x");
}

TEST(CodePrinter, BlockWritesARenderedDeclarationAsItStands) {
  std::string out;
  CodePrinter p(out, "  ", 3);
  p.line("{");
  p.block("  a\n  b");
  EXPECT_EQ(out, "      {\n  a\n  b");
}

// A drain takes the text at settle points once there is a megabyte of it, never while something
// holds the text; a mark from before a drain is refused rather than pointing into text that went.
TEST(CodePrinter, DrainsSettledTextUnlessHeld) {
  std::string out;
  std::string drained;
  const TextDrain drain = [&](std::string_view text) { drained += text; };
  CodePrinter p(out, "  ", 0);
  p.drainInto(&drain);
  const std::string line(1000, 'x');
  {
    const CodePrinter::Hold held = p.hold();
    for (int i = 0; i < 3000; ++i) {
      p.line(line);
      p.settle();
    }
    EXPECT_TRUE(drained.empty());
    EXPECT_EQ(out.size(), 3000u * 1001 - 1);
  }
  const auto before = p.mark();
  p.settle();
  EXPECT_EQ(drained.size(), 3000u * 1001 - 1);
  EXPECT_TRUE(out.empty());
  p.line("last");
  EXPECT_EQ(drained + out, [&] {
    std::string whole;
    for (int i = 0; i < 3000; ++i) whole += (i ? "\n" : "") + line;
    return whole + "\nlast";
  }());
  EXPECT_DEATH((void)p.since(before), "drained");
}

}  // namespace
}  // namespace telvar::generate
