#pragma once

// The Dart renderers: plain classes with fields, a constructor with named parameters, and by the
// options a `copyWith` method, a `fromJSON` factory and a `toJSON` method. Classes are never
// nested; each object of the sample becomes a class of its own at the document's level n, its
// members at n + 1 and the lines inside its methods at n + 2. Names come from dart_names.h.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "telvar/code/code.h"
#include "telvar/generate/code_printer.h"
#include "telvar/generate/identifiers.h"
#include "telvar/options/dart_meta.h"
#include "telvar/value/indentation.h"

namespace telvar::generate {

/// The text of one inferred `Code` at the document's indentation: an object's class, a
/// property's field declaration, the class a property type carries (through lists and nullable
/// types), or nothing (a dictionary, a primitive, a list of primitives).
[[nodiscard]] std::optional<std::string> dartRendered(const Code& code, const DartMeta& meta,
                                                      const Indentation& indentation,
                                                      const TypeNames* types = nullptr);

/// Writes what `dartRendered` gives through `p`, at the printer's level; false, before writing
/// anything, when that is nothing.
bool writeDartCode(CodePrinter& p, const Code& code, const DartMeta& meta,
                   const TypeNames* types = nullptr);

/// The class of an object at the document's level (see the file comment). With the `alphabet`
/// sort the properties are ordered by their Dart names in every section. An object without
/// properties gets the constructor "K();" and "K copyWith() => K();".
[[nodiscard]] std::string dartClass(const Object& object, const DartMeta& meta,
                                    const Indentation& indentation,
                                    const TypeNames* types = nullptr);

/// The Dart type text of a property: its base type text, unless `typeNameMaps` has a record for
/// the property's own key path, whose name then replaces the innermost type ("List<" + name +
/// ">" for a list, name + "?" for a nullable type; a dictionary keeps its base text).
[[nodiscard]] std::string dartType(const Property& property, const DartMeta& meta,
                                   const TypeNames* types = nullptr);

/// The base type text: "bool", "int", "double", "String", "URL", "Date", "dynamic" (nothing
/// known), the class name of an object, "List<E>", "E?", and "Null" for a type only ever null.
[[nodiscard]] std::string dartBaseType(const PropertyType& type, const DartMeta& meta,
                                       const TypeNames* types = nullptr);

/// The constructor parameter lines at `prefix`: "required this.name," ("this.name," for a
/// nullable property), one per property in the given order.
[[nodiscard]] std::vector<std::string> dartConstructorParameters(
    const std::vector<Property>& properties, const std::string& prefix, const DartMeta& meta,
    const TypeNames* types = nullptr);

/// Appends the `copyWith` parameter line "T? name," ("T name," when T is already nullable).
void dartCopyWithParameter(const Property& property, const DartMeta& meta,
                           const std::string& prefix, std::vector<std::string>& lines,
                           const TypeNames* types = nullptr);

/// Appends the `copyWith` argument line "name: name ?? this.name,".
void dartCopyWithArgument(const Property& property, const DartMeta& meta, const std::string& prefix,
                          std::vector<std::string>& lines, const TypeNames* types = nullptr);

/// The property's argument line inside `fromJSON` at `level`: "name: " and the expression that
/// reads json["key"] as the property's type, converting objects with their `fromJSON` and
/// lists element by element at every depth.
[[nodiscard]] std::string dartFromJSON(const Property& property, std::int64_t level,
                                       const Indentation& indentation, const DartMeta& meta,
                                       const TypeNames* types = nullptr);

/// The property's entry line inside `toJSON` at `level`: "\"key\": " and the expression that
/// writes the member, objects through their `toJSON` and lists as `List<dynamic>`.
[[nodiscard]] std::string dartToJSON(const Property& property, std::int64_t level,
                                     const Indentation& indentation, const DartMeta& meta,
                                     const TypeNames* types = nullptr);

}  // namespace telvar::generate
