#include "telvar/naming/words.h"

#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace telvar {
namespace {

TEST(UpperCamelCased, JoinsPartsAtEverySeparator) {
  EXPECT_EQ(upperCamelCased("user_name"), "UserName");
  EXPECT_EQ(upperCamelCased("user name"), "UserName");
  EXPECT_EQ(upperCamelCased("userName"), "UserName");
  EXPECT_EQ(upperCamelCased("$ref"), "$ref");
  EXPECT_EQ(upperCamelCased("a$b"), "A$b");
  EXPECT_EQ(upperCamelCased("2fa_code"), "2faCode");
  EXPECT_EQ(upperCamelCased("URL"), "URL");
  EXPECT_EQ(upperCamelCased("_-_ "), "");
  EXPECT_EQ(upperCamelCased(""), "");
}

TEST(UpperCamelCased, UsesUnicodeClassesAndFullCaseMapping) {
  EXPECT_EQ(upperCamelCased("\u00dfe_stra\u00dfe"), "SSeStra\u00dfe");  // ß upper-cases to SS
  EXPECT_EQ(upperCamelCased("\u00e9t\u00e9_caf\u00e9"), "\u00c9t\u00e9Caf\u00e9");
  EXPECT_EQ(upperCamelCased("e\u0301t\u00e9"), "E\u0301t\u00e9");  // the whole first character
  EXPECT_EQ(upperCamelCased("\u540d\u524d_\u03b1\u03b2"), "\u540d\u524d\u0391\u03b2");
  EXPECT_EQ(upperCamelCased("x\u00b2_\u0661\u0662"), "X\u00b2\u0661\u0662");  // numbers stay
  EXPECT_EQ(upperCamelCased("a\u2014b"), "AB");                               // dash separates
  EXPECT_EQ(upperCamelCased("a\xff"
                            "b"),
            "AB");  // ill-formed bytes separate, never leak
}

TEST(UpperCamelCased, AsciiKeysNameAsTheCharacterDatabaseDoes) {
  // ASCII text takes a path of its own; a trailing "_\u00e9" sends the same text down the
  // general one. Every pair of ASCII bytes (carriage return and line feed included) must agree.
  for (int a = 0; a < 128; ++a) {
    for (int b = 0; b < 128; ++b) {
      const std::string text{static_cast<char>(a), static_cast<char>(b), 'x'};
      ASSERT_EQ(upperCamelCased(text) + "\u00c9", upperCamelCased(text + "_\u00e9"))
          << a << ' ' << b;
      ASSERT_EQ(lowerCamelCased(Names{text}) + "\u00c9", lowerCamelCased(Names{text + "_\u00e9"}))
          << a << ' ' << b;
    }
  }
}

TEST(LowerCamelCased, LowersOnlyTheFirstCharacterOfTheLastKey) {
  EXPECT_EQ(lowerCamelCased(Names{"M", "user_name"}), "userName");
  EXPECT_EQ(lowerCamelCased(Names{"M", "Id"}), "id");
  EXPECT_EQ(lowerCamelCased(Names{"M", "URL"}), "uRL");
  EXPECT_EQ(lowerCamelCased(Names{"M", "1st_place"}), "1stPlace");
  EXPECT_EQ(lowerCamelCased(Names{"M", "_"}), "");
  EXPECT_EQ(lowerCamelCased(Names{"Model"}), "model");
  EXPECT_EQ(lowerCamelCased({}), "...");
  EXPECT_EQ(lowerCamelCased(Names{"M", "\u00c9t\u00e9"}), "\u00e9t\u00e9");
}

TEST(Singularized, MakesTheLastWordSingular) {
  EXPECT_EQ(singularized("users"), "User");
  EXPECT_EQ(singularized("user_ids"), "UserID");
  EXPECT_EQ(singularized("image_urls"), "ImageURL");
  EXPECT_EQ(singularized("ImageURLs"), "ImageURL");
  EXPECT_EQ(singularized("recent_people"), "RecentPerson");
  EXPECT_EQ(singularized("User2Names"), "User2Name");
  EXPECT_EQ(singularized("URLStrings"), "URLString");
  EXPECT_EQ(singularized("my_model"), "MyModel");
}

TEST(Singularized, DropsATrailingListAndKeepsUncountables) {
  EXPECT_EQ(singularized("friend_list"), "Friend");
  EXPECT_EQ(singularized("user_settings_list"), "UserSettings");  // only the last word counts
  EXPECT_EQ(singularized("list"), "List");
  EXPECT_EQ(singularized("data"), "Data");
  EXPECT_EQ(singularized("user_data"), "UserData");
  EXPECT_EQ(singularized(""), "");
  EXPECT_EQ(singularized("s"), "S");  // an empty singular keeps the word
}

TEST(Singularized, IsSafeWhenThreadsRaceToTheFirstCall) {
  std::vector<std::thread> threads;
  std::vector<std::string> results(8);
  for (std::size_t i = 0; i < results.size(); ++i) {
    threads.emplace_back([&results, i] { results[i] = singularized("meta_boxes"); });
  }
  for (auto& t : threads) t.join();
  for (const auto& r : results) EXPECT_EQ(r, "MetaBox");
}

}  // namespace
}  // namespace telvar
