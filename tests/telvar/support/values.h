#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "telvar/parse/json_grammar.h"
#include "telvar/value/value.h"

namespace telvar::testing {

/// Parses a whole JSON text; fails the test when it does not parse.
inline Value parsed(std::string_view json) {
  auto r = jsonValueParser().parse(json);
  EXPECT_TRUE(r.has_value()) << json;
  return r ? r->output : Value::empty();
}

/// An object with the key path `names` and the members in this key order.
inline Value object(Names names, std::vector<std::pair<std::string, Value>> members) {
  ValueMap map;
  std::vector<Key> keys;
  for (auto& [key, value] : members) {
    keys.push_back(key);
    map.insertOrAssign(key, std::move(value));
  }
  return Value::object(std::move(names), std::move(map), std::move(keys));
}

inline Value integer(std::int64_t n) { return Value::number(Value::Number::int_(n)); }

/// `depth` nested containers, alternating objects and arrays, around the number 1; the outermost
/// is an object under key "a", each inner object holds its child under "a".
inline std::string nestedJson(int depth) {
  std::string open;
  std::string close;
  for (int i = 0; i < depth; ++i) {
    if (i % 2 == 0) {
      open += "{\"a\":";
      close.insert(0, "}");
    } else {
      open += "[";
      close.insert(0, "]");
    }
  }
  return open + "1" + close;
}

}  // namespace telvar::testing
