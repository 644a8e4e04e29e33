#pragma once

// The JSON Schema renderers: an inferred object becomes the schema of its properties, each
// property a member naming its JSON type, its format and, for lists, the type of its items.
// Keys are the sample's JSON keys as they are, escaped so that the text is always valid JSON.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "telvar/code/code.h"
#include "telvar/generate/code_printer.h"
#include "telvar/options/shared_records.h"

namespace telvar::generate::schema {

/// What a rendering call reads besides the code: the unit of one indentation level and the order
/// in which each object's properties are written (`alphabet`: a stable sort by JSON key, texts
/// compared by the scalar values of their canonical composition; `default_`: the sample's order).
struct Style {
  std::string_view unit = "  ";
  PropertySortMethod sortMethod = PropertySortMethod::default_;
};

/// `text` as a JSON string literal: between double quotes, with the quote, the backslash and
/// every control character below U+0020 escaped. Example: a"b -> "a\"b".
[[nodiscard]] std::string jsonStringLiteral(std::string_view text);

/// The value of a "type" member: "boolean", "integer", "number" (doubles and time-interval
/// dates), "string" (texts, URLs, ISO 8601 dates), "object" (objects and maps), "array", or
/// "null" for a value that was only ever null; a nullable type has its wrapped type's name.
/// Nothing for `any`, whose schema has no "type" member. An enumeration is a programming error:
/// the schema road never makes one.
[[nodiscard]] std::optional<std::string_view> typeName(const PropertyType& type);

/// The "type" inside "items": as `typeName`, but lists (and nullable lists) are looked through,
/// so nested lists name their innermost element ("string" for a list of lists of texts).
[[nodiscard]] std::optional<std::string_view> elementTypeName(const PropertyType& type);

/// The "format" of a property: "uri" for a URL, "date-time" for an ISO 8601 date, looking
/// through nullable types only; nothing for anything else.
[[nodiscard]] std::optional<std::string_view> formatName(const PropertyType& type);

/// The "format" inside "items": as `formatName`, looking through lists, maps and nullable types
/// to the innermost primitive.
[[nodiscard]] std::optional<std::string_view> itemsFormatName(const PropertyType& type);

/// The schema of an object with `properties`, its members at `level` + 1 and its properties at
/// `level` + 2. It begins with "{" without indentation (it follows a key on the same line) and
/// ends with the prefix of `level` and "}". Properties whose type is not nullable are listed
/// under "required", in the order written; without any, there is no "required" member.
/// Works without recursion, so nesting as deep as the grammar allows is fine. With a `drain`,
/// the text goes to it as it is written and the rest is given back.
[[nodiscard]] std::string objectSchema(const std::vector<Property>& properties, std::int64_t level,
                                       const Style& style, const TextDrain* drain = nullptr);

/// One property's member: the prefix of `level`, the quoted JSON key, ": " and its schema (an
/// object schema for an object or nullable object; otherwise "type", "format" and "items" as
/// they apply). Ends with the prefix of `level` and "}". A `drain` as for `objectSchema`.
[[nodiscard]] std::string propertySchema(const Property& property, std::int64_t level,
                                         const Style& style, const TextDrain* drain = nullptr);

}  // namespace telvar::generate::schema
