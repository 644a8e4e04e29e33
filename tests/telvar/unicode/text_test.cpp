#include "telvar/unicode/text.h"

#include <algorithm>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unicode/uchar.h>

namespace telvar {
namespace {

using ::testing::ElementsAre;

std::vector<std::string> clusters(std::string_view text) {
  std::vector<std::string> out;
  forEachCluster(text, [&out](std::string_view c, bool valid) {
    out.push_back(valid ? std::string(c) : "<invalid:" + std::string(c) + ">");
  });
  return out;
}

TEST(CanonicalEquivalence, ComposedAndDecomposedTextsAreEqual) {
  EXPECT_TRUE(textEquals("caf\u00E9", "cafe\u0301"));
  EXPECT_TRUE(textEquals("\u212B", "\u00C5"));  // Angstrom sign and A with ring
  EXPECT_TRUE(textEquals("a\u0323\u0301", "a\u0301\u0323"));
  EXPECT_FALSE(textEquals("a\u0300\u0301", "a\u0301\u0300"));  // same class: order matters
  EXPECT_FALSE(textEquals("cafe", "caf\u00E9"));
  EXPECT_FALSE(textEquals("\uFB01", "fi"));  // compatibility is not canonical
  // Ill-formed text equals only itself.
  EXPECT_TRUE(textEquals("\xFF", "\xFF"));
  EXPECT_FALSE(textEquals("e\u0301\xFF", "\u00E9\xFF"));
}

TEST(CanonicalEquivalence, NfcComposesAndReturnsNormalisedTextAsItIs) {
  EXPECT_EQ(nfc("cafe\u0301"), "caf\u00E9");
  EXPECT_EQ(nfc("\u1100\u1161"), "\uAC00");
  std::string scratch;
  const std::string normalised = "caf\u00E9 and more";
  EXPECT_EQ(nfcView(normalised, scratch).data(), normalised.data());
  const std::string ascii = "plain";
  EXPECT_EQ(nfcView(ascii, scratch).data(), ascii.data());
  EXPECT_EQ(nfcView("e\u0301", scratch), "\u00E9");
}

TEST(TextCompare, OrdersByScalarValuesOfTheComposedForm) {
  EXPECT_LT(textCompare("Zeta", "alpha"), 0);  // upper case before lower case
  EXPECT_LT(textCompare("a", "ab"), 0);
  EXPECT_EQ(textCompare("cafe\u0301", "caf\u00E9"), 0);
  EXPECT_GT(textCompare("e\u0301", "z"), 0);          // U+00E9 sorts after "z"
  EXPECT_LT(textCompare("\uFFFD", "\U00010000"), 0);  // code point order, not UTF-16 order
}

TEST(Utf8, IsAsciiChecksEveryByte) {
  EXPECT_TRUE(isAscii(""));
  EXPECT_TRUE(isAscii(std::string(100, 'x')));
  for (std::size_t at : {0u, 7u, 8u, 15u, 16u, 20u}) {
    std::string s(21, 'x');
    s[at] = '\x80';
    EXPECT_FALSE(isAscii(s)) << at;
  }
}

TEST(Utf8, IsValidUtf8RejectsIllFormedSequences) {
  EXPECT_TRUE(isValidUtf8("a\u00E9\u20AC\U0010FFFF"));
  EXPECT_TRUE(isValidUtf8(std::string_view("\0", 1)));
  EXPECT_FALSE(isValidUtf8("\x80"));
  EXPECT_FALSE(isValidUtf8("\xC3"));              // truncated
  EXPECT_FALSE(isValidUtf8("\xC0\xAF"));          // overlong
  EXPECT_FALSE(isValidUtf8("\xED\xA0\x80"));      // surrogate
  EXPECT_FALSE(isValidUtf8("\xF4\x90\x80\x80"));  // beyond U+10FFFF
  EXPECT_FALSE(isValidUtf8("ok\xE2\x82"));
}

TEST(Utf8, AppendAndDecodeRoundTripAtEveryLengthBoundary) {
  for (char32_t cp :
       {0x0u, 0x7Fu, 0x80u, 0x7FFu, 0x800u, 0xD7FFu, 0xE000u, 0xFFFFu, 0x10000u, 0x10FFFFu}) {
    std::string s;
    appendUtf8(s, cp);
    int decoded = -2;
    EXPECT_EQ(decodeUtf8(s, decoded), s.size()) << static_cast<unsigned>(cp);
    EXPECT_EQ(decoded, static_cast<int>(cp));
  }
  int cp = 0;
  EXPECT_EQ(decodeUtf8("", cp), 0u);
  EXPECT_LT(cp, 0);
  EXPECT_GT(decodeUtf8("\xC3x", cp), 0u);
  EXPECT_LT(cp, 0);
}

TEST(GraphemeClusters, MarksJoinTheirBaseAndCarriageReturnLineFeedIsOne) {
  EXPECT_THAT(clusters("\r\n\r\r\n\n"), ElementsAre("\r\n", "\r", "\r\n", "\n"));
  EXPECT_THAT(clusters("e\u0301\u0323x"), ElementsAre("e\u0301\u0323", "x"));
  EXPECT_THAT(clusters("\"\u0301\""), ElementsAre("\"\u0301", "\""));
  EXPECT_THAT(clusters("\u0301a"), ElementsAre("\u0301", "a"));  // a lone mark is one
  // After a control character nothing joins.
  EXPECT_THAT(clusters("\n\u0301\t\u0301"), ElementsAre("\n", "\u0301", "\t", "\u0301"));
}

TEST(GraphemeClusters, EmojiHangulFlagsAndPrependedMarks) {
  // Family: man ZWJ woman ZWJ girl; thumbs up with a skin tone.
  EXPECT_THAT(clusters("\U0001F468\u200D\U0001F469\u200D\U0001F467!"),
              ElementsAre("\U0001F468\u200D\U0001F469\u200D\U0001F467", "!"));
  EXPECT_THAT(clusters("\U0001F44D\U0001F3FD"), ElementsAre("\U0001F44D\U0001F3FD"));
  // A ZWJ joins the character before it, but a letter after it starts anew.
  EXPECT_THAT(clusters("a\u200Db"), ElementsAre("a\u200D", "b"));
  // Regional indicators pair up.
  EXPECT_THAT(clusters("\U0001F1EB\U0001F1F7\U0001F1E9"),
              ElementsAre("\U0001F1EB\U0001F1F7", "\U0001F1E9"));
  // Conjoining jamo form one syllable.
  EXPECT_THAT(clusters("\u1100\u1161\u11A8\u1100"), ElementsAre("\u1100\u1161\u11A8", "\u1100"));
  // A prepended mark joins what follows, a spacing mark what precedes.
  EXPECT_THAT(clusters("\u0600\"a"), ElementsAre("\u0600\"", "a"));
  EXPECT_THAT(clusters("\u0915\u0903x"), ElementsAre("\u0915\u0903", "x"));
}

TEST(GraphemeClusters, AnAsciiCharacterIsJoinedOnlyByAnExtendingCharacterAfterIt) {
  EXPECT_THAT(clusters("a\u0903x"), ElementsAre("a\u0903", "x"));
  EXPECT_THAT(clusters("a\u200D\u0301"), ElementsAre("a\u200D\u0301"));
  EXPECT_THAT(clusters("a\u0600"), ElementsAre("a", "\u0600"));
  EXPECT_THAT(clusters("\x7F\u0301\x01\u0903"), ElementsAre("\x7F", "\u0301", "\x01", "\u0903"));
}

TEST(GraphemeClusters, OnlyAPrependedMarkAtTheEndJoinsWhatFollows) {
  EXPECT_TRUE(lastJoinsNext("a\u0600"));
  EXPECT_TRUE(lastJoinsNext("\U000110BD"));  // four bytes long
  for (std::string_view text :
       {"", "a", "\u0600a", "a\u0301", "\xFF", "\xD8", "\x80\x80\x80\x80"}) {
    EXPECT_FALSE(lastJoinsNext(text)) << text;
  }
}

TEST(CanonicalEquivalence, OnlyTheListedAsciiCharactersHaveNonAsciiEquivalents) {
  std::string found;
  for (UChar32 cp = 0x80; cp <= 0x10FFFF; ++cp) {
    if (u_getIntPropertyValue(cp, UCHAR_DECOMPOSITION_TYPE) != U_DT_CANONICAL) continue;
    std::string text;
    appendUtf8(text, static_cast<char32_t>(cp));
    const std::string composed = nfc(text);
    if (composed.size() == 1 && static_cast<unsigned char>(composed[0]) < 0x80) found += composed;
  }
  std::string listed(kAsciiWithOtherEquivalents);
  std::sort(found.begin(), found.end());
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(found, listed);
}

TEST(GraphemeClusters, IllFormedBytesAreClustersOfTheirOwnAndNotValid) {
  EXPECT_THAT(clusters("a\xFF"
                       "b"),
              ElementsAre("a", "<invalid:\xFF>", "b"));
  EXPECT_THAT(clusters("e\u0301\xC3"), ElementsAre("e\u0301", "<invalid:\xC3>"));
  Cluster c = firstCluster("\xED\xA0\x80");
  EXPECT_FALSE(c.valid);
  EXPECT_GT(c.length, 0u);
  EXPECT_EQ(firstCluster("").length, 0u);
}

}  // namespace
}  // namespace telvar
