#include "telvar/generate/swift/swift_text.h"

#include <gtest/gtest.h>

namespace telvar::generate::swift {
namespace {

TEST(SwiftIdentifier, KeepsWhatSwiftAlreadyAccepts) {
  for (const char* name :
       {"name", "userID", "_1st", "naïve", "名前", "😀", "a\u0301", "__", "default", "Type"}) {
    EXPECT_TRUE(isSwiftIdentifier(name)) << name;
    EXPECT_EQ(swiftIdentifier(name), name);
  }
}

TEST(SwiftIdentifier, RepairsWhatSwiftRejects) {
  EXPECT_EQ(swiftIdentifier(""), "__");
  EXPECT_EQ(swiftIdentifier("_"), "__");
  EXPECT_EQ(swiftIdentifier("1st"), "_1st");
  // "$" stands in no name of ours: Swift's grammar keeps it for the names the compiler makes.
  EXPECT_EQ(swiftIdentifier("$ref"), "_ref");
  EXPECT_EQ(swiftIdentifier("_$ref"), "__ref");
  EXPECT_EQ(swiftIdentifier("$"), "__");
  EXPECT_EQ(swiftIdentifier("first name"), "first_name");
  EXPECT_EQ(swiftIdentifier("a-b.c"), "a_b_c");
  EXPECT_EQ(swiftIdentifier("a`b"), "a_b");
  // A combining mark may follow a character, not begin a name.
  EXPECT_EQ(swiftIdentifier("\u0301x"), "_\u0301x");
  // Multiplication sign: a Latin-1 character outside the identifier ranges.
  EXPECT_EQ(swiftIdentifier("a\u00D7b"), "a_b");
  // Ill-formed UTF-8 never reaches the output.
  EXPECT_EQ(swiftIdentifier("a\xFF"), "a_");
  // ASCII before and after other characters is judged the same as alone.
  EXPECT_EQ(swiftIdentifier("a b\u00E9"), "a_b\u00E9");
  EXPECT_EQ(swiftIdentifier("\u00E9 1"), "\u00E9_1");
  EXPECT_EQ(swiftIdentifier("1\u00E9"), "_1\u00E9");
  EXPECT_TRUE(isSwiftIdentifier("\u00E91"));
  for (const char* name : {"", "_", "1st", "a b", "\u0301", "-", "\xC3", "$", "$0"}) {
    EXPECT_TRUE(isSwiftIdentifier(swiftIdentifier(name))) << name;
  }
}

TEST(SwiftMemberName, QuotesOnlyTheWordsSwiftKeepsAfterADot) {
  EXPECT_EQ(swiftMemberName("default"), "default");
  EXPECT_EQ(swiftMemberName("let"), "let");
  EXPECT_EQ(swiftMemberName("init"), "`init`");
  EXPECT_EQ(swiftMemberName("self"), "`self`");
  EXPECT_EQ(swiftMemberName("Type"), "`Type`");
  EXPECT_EQ(swiftMemberName("Protocol"), "`Protocol`");
  EXPECT_TRUE(isSwiftDotKeyword("Protocol"));
  EXPECT_FALSE(isSwiftDotKeyword("protocol"));
  EXPECT_TRUE(isSwiftMemberName("default"));
  EXPECT_FALSE(isSwiftMemberName("init"));
  EXPECT_FALSE(isSwiftMemberName("first name"));
}

}  // namespace
}  // namespace telvar::generate::swift
