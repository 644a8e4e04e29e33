#pragma once

#include "telvar/parse/parser.h"
#include "telvar/value/value.h"

namespace telvar {

/// The deepest nesting of arrays and objects the grammar accepts; deeper input is no match, so
/// that no later stage can run out of stack.
inline constexpr int kMaxJsonDepth = 512;

/// The shared JSON element parser: whitespace, one JSON value, whitespace. Text after the value
/// is handed back unread as the rest. Built once, on first use; safe to use from any thread.
///
/// The grammar is close to standard JSON: U+0000 and CR LF are whitespace; raw control characters
/// are allowed in strings; there are no \b and \f escapes; an escaped surrogate reads as "_"; one
/// trailing comma is allowed in arrays (not objects); the first of duplicate keys wins.
[[nodiscard]] const parse::Parser<Value>& jsonValueParser();

/// `jsonValueParser` for a reader that sees each array lying inside no other array only as the
/// fold of its elements (`mergedElements`): such an array comes out as that one merged element,
/// or empty. Its elements are merged as they are read and let go, so a sample of many records is
/// never held whole. Accepts exactly what `jsonValueParser` accepts.
[[nodiscard]] const parse::Parser<Value>& jsonMergingValueParser();

}  // namespace telvar
