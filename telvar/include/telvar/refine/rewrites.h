#pragma once

#include <vector>

#include "telvar/options/swift_meta.h"
#include "telvar/options/value_meta.h"
#include "telvar/value/value.h"

namespace telvar {

// The rewrites between parsing and inference; each is a pure function of its arguments.

/// Stores key paths, folds arrays, and detects enum maps, URLs and dates.
[[nodiscard]] Value detected(const Value& value, const ValueMeta& meta,
                             const std::vector<SwiftMeta::PropertyEnumMap>& enumMaps,
                             const Names& path);
/// Drops the members whose key paths are ignored.
[[nodiscard]] Value removingIgnoredProperties(const Value& value, const ValueMeta& meta);
/// Makes members optional.
[[nodiscard]] Value applyingOptionalProperties(const Value& value, const ValueMeta& meta);
/// Turns objects into dictionaries.
[[nodiscard]] Value applyingDictionaryObjects(const Value& value, const ValueMeta& meta);

}  // namespace telvar
