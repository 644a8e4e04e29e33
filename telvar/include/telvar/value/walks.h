#pragma once

#include <vector>

#include "telvar/value/value.h"

namespace telvar {

// The nested values of a refined sample that need a declaration of their own (objects and
// enumerations, directly, inside arrays, inside a nullable wrapper or as a dictionary's value
// type). Only member values and dictionary value types are listed, each as it stands in the tree
// (an array of objects is listed as the array, a nullable object as its `null`); arrays and
// nulls met on the way pass through to their first element or inner value. Duplicates are kept,
// and the walked value itself is never in its own list.
//
// The walks keep their own stack, so nesting depth costs no call stack.

/// Whether `value`, or the value it wraps, declares a type: objects and enumerations do; an array
/// answers for its first element (false when empty), a `null` for its inner value (false for a
/// plain null), a dictionary for its value type; every other case is false.
[[nodiscard]] bool hasNestedType(const Value& value);

/// The nested values, each before the values nested inside it. For {"a": {"c": {}}, "b": [{}]}:
/// a, c, b.
[[nodiscard]] std::vector<Value> nestedValuesParentFirst(const Value& value);

/// The nested values, each after the values nested inside it. For {"a": {"c": {}}, "b": [{}]}:
/// c, a, b.
[[nodiscard]] std::vector<Value> nestedValuesChildrenFirst(const Value& value);

}  // namespace telvar
