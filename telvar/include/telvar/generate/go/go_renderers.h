#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "telvar/code/code.h"
#include "telvar/generate/code_printer.h"
#include "telvar/generate/identifiers.h"
#include "telvar/options/go_meta.h"
#include "telvar/value/indentation.h"

namespace telvar::generate {

// The Go texts of the code model: type texts, field lines with their json tags, named struct
// declarations and the inline style's anonymous structs. A declaration rendered at level L puts
// its "type" line and closing brace after L indentation units and its fields one unit deeper.
// None of them recurses over the depth of a type or of nested objects.

/// The type text of a property type in the named styles: "bool", "int", "float64", "string",
/// "URL", "Date", "interface{}" (also for a type of which nothing is known), the type name of an
/// object (from `types` when given), "[]" before an element type, "*" before a nullable type
/// (none before a nullable list, and a null of nothing is "interface{}"). Dictionaries and
/// enumerations give "".
[[nodiscard]] std::string goBaseType(const PropertyType& type, const GoMeta& meta,
                                     const TypeNames* types = nullptr);

/// The field type text of a property in the named styles: with a type-name map M for its key
/// path, M inside every list level and pointer of the type ("[][]*M"); otherwise `goBaseType`.
[[nodiscard]] std::string goType(const Property& property, const GoMeta& meta,
                                 const TypeNames* types = nullptr);

/// Whether a field takes ",omitempty": a nullable type whose type text is not "interface{}", or a
/// list of nullable elements.
[[nodiscard]] bool goOmitsEmpty(const PropertyType& type, const std::string& typeText);

/// One field line of a named struct at `level`: "Name Type `json:\"key\"`".
[[nodiscard]] std::string goField(const Property& property, const GoMeta& meta,
                                  const Indentation& indentation, std::int64_t level,
                                  const TypeNames* types = nullptr);

/// The named struct declaration of an object, written through `printer` at its level: "type Name
/// struct {", one field line per property one level deeper (sorted by field name when the meta
/// asks for it), "}".
void writeGoStruct(CodePrinter& printer, const Object& object, const GoMeta& meta,
                   const TypeNames* types = nullptr);

/// The inline style's anonymous struct of an object at `level`: "struct {", its fields with
/// their types written out in place (nested objects as nested anonymous structs) one level
/// deeper, and the closing brace at `level`.
[[nodiscard]] std::string goInlineStruct(const Object& object, const GoMeta& meta,
                                         const Indentation& indentation, std::int64_t level);

/// The inline style's type text of a property at `level`: every list level and pointer that the
/// named styles write, around an anonymous struct where they name a type.
[[nodiscard]] std::string goInlineFieldType(const Property& property, const GoMeta& meta,
                                            const Indentation& indentation, std::int64_t level);

/// The inline style's base type text: the innermost type inside every list and nullable wrapper
/// ("interface{}" for a null of nothing, an anonymous struct for an object); no type-name maps.
[[nodiscard]] std::string goInlineBaseType(const PropertyType& type, const GoMeta& meta,
                                           const Indentation& indentation, std::int64_t level);

/// Write `goInlineStruct`, `goInlineFieldType` and `goInlineBaseType` after what the printer's
/// current line holds, at the printer's level (the text that declares the type goes first).
void writeGoInlineStruct(CodePrinter& printer, const Object& object, const GoMeta& meta);
void writeGoInlineFieldType(CodePrinter& printer, const Property& property, const GoMeta& meta);
void writeGoInlineBaseType(CodePrinter& printer, const PropertyType& type, const GoMeta& meta);

}  // namespace telvar::generate
