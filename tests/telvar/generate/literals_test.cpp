#include "telvar/generate/literals.h"

#include <algorithm>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

namespace telvar::generate {
namespace {

using namespace std::string_view_literals;

// One hostile text for every language: a quote, a backslash, a dollar, the named controls, a NUL,
// other controls, DEL, a byte order mark and non-ASCII text that must pass unchanged.
constexpr std::string_view kHostile =
    "q\"b\\d$n\nr\rt\tb\bf\fz\0e\x1B"
    "x\x7F"
    "m\xEF\xBB\xBF"
    "é"sv;

struct Case {
  const char* language;
  const LiteralRules* rules;
  std::string_view expected;
};

TEST(Literals, EachLanguageEscapesByItsOwnRules) {
  const Case cases[] = {
      {"json", &kJsonLiteral,
       R"(q\"b\\d$n\nr\rt\tb\bf\fz\u0000e\u001bx)"
       "\x7F"
       "m\xEF\xBB\xBF"
       "é"},
      {"swift", &kSwiftLiteral,
       R"(q\"b\\d$n\nr\rt\tb\u{8}f\u{C}z\0e\u{1B}x\u{7F}m)"
       "\xEF\xBB\xBF"
       "é"},
      {"kotlin", &kKotlinLiteral,
       R"(q\"b\\d\$n\nr\rt\tb\bf\u000Cz\u0000e\u001Bx)"
       "\x7F"
       "m\xEF\xBB\xBF"
       "é"},
      {"dart", &kDartLiteral,
       R"(q\"b\\d\$n\nr\rt\tb\x08f\x0Cz\x00e\x1Bx\x7Fm)"
       "\xEF\xBB\xBF"
       "é"},
      {"go", &kGoLiteral, R"(q\"b\\d$n\nr\rt\tb\x08f\x0cz\x00e\x1bx\x7fm\uFEFFé)"},
      {"proto", &kProtoLiteral,
       R"(q\"b\\d$n\nr\rt\tb\010f\014z\000e\033x\177m)"
       "\xEF\xBB\xBF"
       "é"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.language);
    EXPECT_EQ(escaped(kHostile, *c.rules), c.expected);
    EXPECT_EQ(quoted(kHostile, *c.rules), "\"" + std::string(c.expected) + "\"");
    EXPECT_EQ(escaped("plain key_1", *c.rules), "plain key_1");
  }
}

// Whatever the bytes below U+0080, a JSON literal reads back as the same text.
TEST(Literals, JsonLiteralsReadBackAsTheirText) {
  for (int c = 0; c < 0x80; ++c) {
    const std::string text = std::string("k") + static_cast<char>(c) + "k";
    EXPECT_EQ(nlohmann::json::parse(quoted(text, kJsonLiteral)).get<std::string>(), text) << c;
  }
}

// A plain text is written in place of its escape by several generators: it must be exactly the
// texts that no language changes.
TEST(Literals, APlainTextIsOneNoLanguageEscapes) {
  const LiteralRules* all[] = {&kJsonLiteral, &kSwiftLiteral, &kKotlinLiteral,
                               &kDartLiteral, &kGoLiteral,    &kProtoLiteral};
  for (int c = 0; c < 0x100; ++c) {
    const std::string text = std::string("k") + static_cast<char>(c) + "\xBB\xBF";
    const bool unchanged = std::all_of(std::begin(all), std::end(all), [&](const LiteralRules* r) {
      return escaped(text, *r) == text;
    });
    EXPECT_EQ(isPlainLiteral(text), unchanged) << c;
  }
  EXPECT_TRUE(isPlainLiteral(""));
  EXPECT_TRUE(isPlainLiteral("r0_field_1 é"));
}

}  // namespace
}  // namespace telvar::generate
