#include "telvar/refine/iso8601.h"

#include <gtest/gtest.h>

namespace telvar {
namespace {

constexpr auto kPlain = Iso8601Format::internetDateTime;
constexpr auto kFraction = Iso8601Format::internetDateTimeWithFractionalSeconds;

TEST(Iso8601, AcceptsInternetDateTimesAndFractionsOnlyInTheirOwnForm) {
  for (const char* text :
       {"2024-05-17T08:30:00Z", "2024-05-17T08:30:00-11:30", "0000-01-01T00:00:00Z"}) {
    EXPECT_TRUE(isIso8601DateTime(text, kPlain)) << text;
    EXPECT_FALSE(isIso8601DateTime(text, kFraction)) << text;
  }
  for (const char* text : {"2024-05-17T08:30:00.5Z", "2024-05-17T08:30:00.123456789+05:45"}) {
    EXPECT_TRUE(isIso8601DateTime(text, kFraction)) << text;
    EXPECT_FALSE(isIso8601DateTime(text, kPlain)) << text;
  }
  EXPECT_FALSE(isIso8601DateTime("2024-05-17T08:30:00.Z", kFraction));
  EXPECT_FALSE(isIso8601DateTime("2024-05-17T08:30:00,5Z", kFraction));
}

TEST(Iso8601, RefusesIncompleteOrDecoratedTexts) {
  for (const char* text : {
           "2024-05-17",                // a bare date
           "2024-05-17T08:30:00",       // no zone
           "2024-05-17T08:30Z",         // no seconds
           "08:30:00Z",                 // no date
           "2024-05-17t08:30:00Z",      // lower-case t
           "2024-05-17 08:30:00Z",      // space for T
           "20240517T083000Z",          // basic format
           " 2024-05-17T08:30:00Z",     // leading space
           "2024-05-17T08:30:00Z ",     // trailing text
           "2024-05-17T08:30:00+0200",  // offset without colon
           "2024-5-17T08:30:00Z",       // one-digit month
           "+2024-05-17T08:30:00Z",     // signed year
           "２０２４-05-17T08:30:00Z",  // non-ASCII digits
           "",
       }) {
    EXPECT_FALSE(isIso8601DateTime(text, kPlain)) << text;
    EXPECT_FALSE(isIso8601DateTime(text, kFraction)) << text;
  }
}

TEST(Iso8601, ChecksFieldRangesAndLeapYears) {
  EXPECT_TRUE(isIso8601DateTime("2024-02-29T00:00:00Z", kPlain));  // divisible by 4
  EXPECT_TRUE(isIso8601DateTime("2000-02-29T00:00:00Z", kPlain));  // divisible by 400
  EXPECT_FALSE(isIso8601DateTime("2023-02-29T00:00:00Z", kPlain));
  EXPECT_FALSE(isIso8601DateTime("1900-02-29T00:00:00Z", kPlain));  // divisible by 100
  EXPECT_FALSE(isIso8601DateTime("2024-02-30T00:00:00Z", kPlain));
  EXPECT_FALSE(isIso8601DateTime("2024-04-31T00:00:00Z", kPlain));

  for (const char* text :
       {"2024-00-10T00:00:00Z", "2024-13-10T00:00:00Z", "2024-01-00T00:00:00Z",
        "2024-01-32T00:00:00Z", "2024-01-10T24:00:00Z", "2024-01-10T23:60:00Z",
        "2024-01-10T23:59:60Z", "2024-01-10T23:59:59+24:00", "2024-01-10T23:59:59+23:60"}) {
    EXPECT_FALSE(isIso8601DateTime(text, kPlain)) << text;
  }
  EXPECT_TRUE(isIso8601DateTime("2024-01-10T23:59:59+23:59", kPlain));
}

}  // namespace
}  // namespace telvar
