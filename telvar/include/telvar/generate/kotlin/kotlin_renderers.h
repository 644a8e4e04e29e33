#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "telvar/code/code.h"
#include "telvar/generate/code_printer.h"
#include "telvar/generate/identifiers.h"
#include "telvar/options/kotlin_meta.h"
#include "telvar/value/indentation.h"

namespace telvar::generate::kotlin {

// The renderers of the Kotlin output: data classes annotated for kotlinx.serialization. Each
// takes the Kotlin options (unset fields read as their defaults) and, where it writes lines, the
// document's indentation with the level to write at. Names and keys are written so that every
// sample compiles (see kotlin_names.h). Nesting depth costs no call stack.

/// What every renderer needs: the options and the indentation unit (its level is the caller's).
struct Style {
  const KotlinMeta& meta;
  const Indentation& indentation;
  /// The classes' names (see `kotlinTypeNames`); without them each class has its formed name.
  const TypeNames* types = nullptr;
};

/// The names of every class the file declares for `root`: different classes of one formed name
/// in one scope (the file, or the class holding them in the nested style, where the holder's
/// property names are taken too) are numbered ("Item", "Item2"). A type-name map hit is kept
/// exactly as typed.
[[nodiscard]] TypeNames kotlinTypeNames(const Code& root, const KotlinMeta& meta);

/// The member names of one class, in the properties' order: the property-name rule's names as
/// Kotlin identifiers, made distinct by `distinctNames` ("userID", "userID2").
[[nodiscard]] NameList kotlinPropertyNames(const Object& object, const KotlinMeta& meta);

/// The type text of a property type: "Boolean", "Long", "Double", "String", "URL", "Any",
/// "Date", the object's type name, "List<T>" and "T?" ("Any?" for a nullable of nothing known);
/// dictionaries and enumerations give "".
[[nodiscard]] std::string kotlinBaseType(const PropertyType& type, const KotlinMeta& meta);

/// The type text of a property: a type-name map on the property's own key path names the type
/// (inside "List<...>" for lists, with "?" for nullables); otherwise `kotlinBaseType`.
[[nodiscard]] std::string kotlinType(const Property& property, const KotlinMeta& meta);

/// The property list of a class at `level`: each declaration one level deeper, joined with
/// ",\n"; annotated declarations stand between blank lines. No properties give "".
[[nodiscard]] std::string kotlinPropertyList(const Object& object, const Style& style,
                                             std::int64_t level);

/// A whole class at `level`: "@Serializable", "data class Name (", the property list and ")";
/// in the nested style the classes of its properties' objects follow inside "{ ... }". An object
/// without properties is written "class Name" (a data class needs a parameter).
[[nodiscard]] std::string kotlinClass(const Object& object, const Style& style, std::int64_t level);

/// One inferred `Code` at `level`: an object's class, a property's declaration, the class a
/// property type holds; nothing for a dictionary or a type without an object.
[[nodiscard]] std::optional<std::string> kotlinRendered(const Code& code, const Style& style,
                                                        std::int64_t level);
/// Writes what `kotlinRendered` gives at the printer's level; false, having written nothing,
/// where that gives nothing.
bool writeKotlinCode(CodePrinter& p, const Code& code, const Style& style);

}  // namespace telvar::generate::kotlin
