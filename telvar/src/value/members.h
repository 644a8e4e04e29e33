#pragma once

#include <cstddef>

#include "telvar/value/value.h"

namespace telvar::detail {

/// The member under an object's `i`-th ordered key, or nullptr when the key has none. The
/// grammar stores members in key order, so the entry at the same position is tried first by
/// plain byte comparison before the hashed look-up; walks over wide objects then touch each
/// member once, in memory order.
inline const Value* memberAt(const Value::Object& object, std::size_t i) {
  const std::string& key = object.orderedKeys[i];
  const auto& entries = object.dictionary.entries();
  if (i < entries.size() && entries[i].first == key) return &entries[i].second;
  return object.dictionary.find(key);
}

}  // namespace telvar::detail
