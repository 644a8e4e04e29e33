#include <gtest/gtest.h>

#include "telvar/parse/json_grammar.h"

TEST(Smoke, ParsesAnObject) {
  auto r = telvar::jsonValueParser().parse(std::string_view(R"({"a": [1, 2.5, "x", null, true]})"));
  ASSERT_TRUE(r.has_value());
}
