#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "telvar/code/code.h"
#include "telvar/generate/code_printer.h"
#include "telvar/generate/proto/proto_names.h"
#include "telvar/options/proto_meta.h"
#include "telvar/value/indentation.h"

namespace telvar::generate {

// The Protocol Buffers texts of the code model: type texts, field lines and messages. A message
// rendered at level L puts its "message" line and closing brace after L indentation units and
// its body one unit deeper. None of them recurses over the depth of a type or of nested objects.

/// The type text of a property type: "bool", "int64", "double", "string", "URL", "Value" (also
/// for a null of nothing), "Date", the message name of an object; lists and nullable types give
/// the text of their innermost type (a list of lists of integers is "int64"). Dictionaries and
/// enumerations give "".
/// Object messages are named by `types` when given.
[[nodiscard]] std::string protoBaseType(const PropertyType& type, const ProtoMeta& meta,
                                        const TypeNames* types = nullptr);

/// The type text of a property: the `typeNameMaps` hit for its own key path, verbatim (not for a
/// dictionary), otherwise `protoBaseType`.
[[nodiscard]] std::string protoType(const Property& property, const ProtoMeta& meta,
                                    const TypeNames* types = nullptr);

/// One field line at `level`: ["repeated " for a list or a nullable list | "optional " for any
/// other nullable type] + type + " " + name + " = " + number + [" [json_name = \"key\"]"] + ";".
/// A dictionary gives the empty text. The number is `protoFieldNumber(position)`.
[[nodiscard]] std::string protoField(const Property& property, std::size_t position,
                                     const ProtoFieldName& name, const ProtoMeta& meta,
                                     const Indentation& indentation, std::int64_t level,
                                     const TypeNames* types = nullptr);

/// The message of an object at `level`: "message Name {", then - in the `nested` style - the
/// messages of the objects its properties hold, each once and followed by an empty line, then
/// one field line per property in input order, then "}".
[[nodiscard]] std::string protoMessage(const Object& object, const ProtoMeta& meta,
                                       const Indentation& indentation, std::int64_t level,
                                       const TypeNames* types = nullptr);

/// Writes, at the printer's level, the message of an object or of the object a property type
/// holds; false, having written nothing, for any other code.
bool writeProtoCode(CodePrinter& printer, const Code& code, const ProtoMeta& meta,
                    const TypeNames* types);

}  // namespace telvar::generate
