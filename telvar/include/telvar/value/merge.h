#pragma once

#include <span>
#include <vector>

#include "telvar/value/value.h"

namespace telvar {

/// Merges two values of one place in a sample into one shape. Not symmetric: the receiver keeps
/// its texts, key paths, URL and date kind. Members missing on one side become nullable, ints
/// widen to doubles, and incompatible kinds give `empty`.
[[nodiscard]] Value mergedWith(const Value& receiver, const Value& other);

/// `mergedWith(accumulator, next)` for an accumulator that is given up: one step of a fold.
[[nodiscard]] Value mergedInto(Value&& accumulator, const Value& next);

/// The left fold of `mergedWith` over `values`: `empty` for no values.
[[nodiscard]] Value mergedElements(std::span<const Value> values);

}  // namespace telvar
