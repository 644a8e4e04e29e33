#pragma once

#include <vector>

#include "telvar/options/swift_meta.h"
#include "telvar/options/value_meta.h"
#include "telvar/value/value.h"

namespace telvar {

// The refinements of a parsed sample by the value options, applied in this order: detection
// first (it stores the key paths that the other three read from `names`), then ignored, optional
// and dictionary-treated properties. Each is a pure function: the input is left as it is, and
// subtrees a rewrite does not change are shared with it. Nesting as deep as the grammar allows
// is fine.
//
// Key paths are the JSON keys from the root, the model name first. A member's path is its
// object's path followed by its key; an array's one element has the array's own path.
// Path-keyed records match by the trailing-part rule of `recordForPath`.

/// The detection walk from the root whose key path is `path`:
/// - objects and arrays get their key path as `names`; an array becomes one element, the merge
///   of all of its elements (`mergedElements`; an empty array holds one `empty`);
/// - an integer or a string at a path that `enumMaps` maps becomes an `enum` with the map's
///   cases, whatever the flags (doubles are never mapped);
/// - with time-interval detection, an integer from 1000000001 on, a double above 1000000000.0,
///   and a text that is wholly such a number ("1700000000", "1.7e9"; no leading blank) become a
///   `timeIntervalSince1970` date;
/// - with URL detection, a text that is an absolute URL with a host becomes `url`;
/// - with ISO 8601 detection, an internet date-time text ("2024-02-29T23:59:59Z", with or
///   without a fraction) becomes an `iso8601` date; a bare date stays a string.
/// For texts the order is enum map, URL, ISO 8601 date, time interval.
/// A value given up (moved in) is refined in place where it alone owns its nodes.
[[nodiscard]] Value detected(Value value, const ValueMeta& meta,
                             const std::vector<SwiftMeta::PropertyEnumMap>& enumMaps,
                             const Names& path);

/// Drops every object member whose key path is in `ignoredProperties`, from the members and
/// from every place in `orderedKeys`. Looks into arrays and nullable values, not into
/// dictionaries or enumerations.
[[nodiscard]] Value removingIgnoredProperties(const Value& value, const ValueMeta& meta);

/// Makes nullable every object member whose key path is in `optionalProperties`, or every member
/// with `allPropertiesOptional`. A value is never wrapped twice: a nullable of a nullable becomes
/// the inner nullable, anywhere in the tree. Does not look into dictionaries.
[[nodiscard]] Value applyingOptionalProperties(const Value& value, const ValueMeta& meta);

/// Turns every object whose own key path is in `dictionaryObjects` into a `dictionary` whose
/// value is the merge of its member values in key order (`empty` for none), itself rewritten.
[[nodiscard]] Value applyingDictionaryObjects(const Value& value, const ValueMeta& meta);

}  // namespace telvar
