#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "telvar/value/value.h"

namespace telvar::detail {

/// The member under an object's `i`-th ordered key, or nullptr when the key has none. The
/// grammar stores members in key order, so the entry at the same position is tried first by
/// plain byte comparison before the hashed look-up; walks over wide objects then touch each
/// member once, in memory order.
inline const Value* memberAt(const KeyList& orderedKeys, const ValueMap& dictionary,
                             std::size_t i) {
  const Key& key = orderedKeys[i];
  const auto& entries = dictionary.entries();
  if (i < entries.size() && entries[i].first == key) return &entries[i].second;
  return dictionary.find(key);
}

inline const Value* memberAt(const Value::Object& object, std::size_t i) {
  return memberAt(object.orderedKeys(), object.dictionary, i);
}

}  // namespace telvar::detail
