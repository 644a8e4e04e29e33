#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "telvar/code/code.h"
#include "telvar/generate/identifiers.h"
#include "telvar/options/swift_meta.h"
#include "telvar/value/indentation.h"

namespace telvar::generate::swift {

/// The import lines of a Swift file: "import Foundation", then "import Sorbel" under the
/// `sorbelModel` protocol, then "import SorbelMacros" when its macros are on; each line begins
/// with the indentation prefix of the document's level.
[[nodiscard]] std::string swiftHeader(const SwiftMeta& meta, const Indentation& indentation);

/// Writes the code model as Swift declarations with one set of Swift options and the document's
/// indentation unit. Every `level` is the number of indentation units before a renderer's own
/// opening and closing lines; member lines are one level deeper. Results are lines joined with
/// "\n", without a final line feed; nothing is cached between calls.
///
/// Names: type names come from the type-name rule (maps unless `sorbelModel`, reserved words in
/// backquotes), property names from the property-name rule of the naming style; a name that is
/// still no Swift identifier after those rules (a leading combining mark, a character Swift
/// forbids, the lone "_") is repaired by `swiftIdentifier`. Keys written into string literals are
/// escaped.
class SwiftRenderer;

/// The type names of the key paths that enclose declarations, kept across `typePath` calls of
/// one renderer: each nested declaration of a deep sample names every level above it again.
class TypePathMemo {
 private:
  friend class SwiftRenderer;
  struct Step {
    std::size_t parent;  // the position of the path without its last key; 0 the empty path
    std::string key;
    friend bool operator==(const Step&, const Step&) = default;
  };
  struct StepHash {
    std::size_t operator()(const Step& step) const noexcept {
      return std::hash<std::string>{}(step.key) ^ (step.parent * 0x9E3779B97F4A7C15ULL);
    }
  };
  std::unordered_map<Step, std::size_t, StepHash> m_positions;
  std::vector<std::optional<std::string>> m_names{std::nullopt};  // by position
};

class SwiftRenderer {
 public:
  SwiftRenderer(SwiftMeta meta, Indentation indentation);

  // ---- Names ------------------------------------------------------------------------------------

  /// The names of every object type the file declares for `root` (see `TypeNames`): one scope for
  /// the file in the subtype styles, one per enclosing type in the nested styles, where the
  /// enclosing type's property names and "CodingKeys" are taken. A type-name map hit is kept.
  [[nodiscard]] TypeNames typeNames(const Code& root) const;
  /// Names object types from `types` from now on (nullptr: by the type-name rule alone). The
  /// table must outlive the renderer's use of it.
  void useTypeNames(const TypeNames* types) { m_types = types; }

  /// The declared name of the type at a key path: the `typeNameMaps` hit verbatim unless the
  /// protocol is `sorbelModel`, otherwise the unmapped name; escaped when a reserved word.
  [[nodiscard]] std::string typeName(const Names& path) const;
  /// The Swift name of the property at a key path, unescaped.
  [[nodiscard]] std::string propertyName(const Names& path) const;
  /// The dotted path of the types that enclose the declaration of `code`, outermost first, for
  /// "extension <path> {". Keys in `leaveOut` (the dictionary objects' last keys) declare no type
  /// and are skipped. {"Root", "user", "address"} gives "Root.User". Names already made are
  /// taken from `memo`, which must only ever serve this renderer and this `leaveOut`.
  [[nodiscard]] std::string typePath(const Code& code, const std::vector<std::string>& leaveOut,
                                     TypePathMemo& memo) const;
  [[nodiscard]] std::string typePath(const Code& code,
                                     const std::vector<std::string>& leaveOut) const;

  // ---- Type texts -------------------------------------------------------------------------------

  /// The type text of a property type without name maps: "Int", "[String: Double]", "[Int?]",
  /// "User?", "Any?" for a type of which only null was seen.
  [[nodiscard]] std::string baseType(const PropertyType& type) const;
  /// The type text written after a property's name: a type-name map's name (shaped by the
  /// property's lists, maps and nullability), an enum map's name when the type is an
  /// enumeration, or the base type text.
  [[nodiscard]] std::string type(const Property& property) const;
  /// "Codable" (or the protocol of the options), followed by ", Identifiable" when asked.
  [[nodiscard]] std::string protocolList(bool identifiable) const;

  // ---- Declarations -----------------------------------------------------------------------------

  /// One property's line ("let name: Type"), with its "@SorbelKey" line in front when the macros
  /// need one.
  [[nodiscard]] std::string propertyDeclaration(const Property& property, std::int64_t level) const;
  /// An object type's whole declaration: nested declarations (in the `nested` style), the
  /// identifiable `id`, the properties, the coding keys or JSON initializer, and the memberwise
  /// initializer.
  [[nodiscard]] std::string objectDeclaration(const Object& object, std::int64_t level) const;
  /// A raw-value enumeration with one case per named case of `enumeration`.
  [[nodiscard]] std::string enumDeclaration(const Enum& enumeration, std::int64_t level) const;
  /// The declaration of the object or enumeration type that `type` holds, looking through lists,
  /// maps and nullable types; nothing for primitives.
  [[nodiscard]] std::optional<std::string> typeDeclaration(const PropertyType& type,
                                                           std::int64_t level) const;
  /// The declaration one inferred `Code` stands for: an object's, a dictionary value type's, a
  /// property's, or the type a property type holds; nothing when it declares nothing.
  [[nodiscard]] std::optional<std::string> render(const Code& code, std::int64_t level) const;

  // ---- Coding keys and initializers -------------------------------------------------------------

  /// The "CodingKeys" enumeration of an object's properties, or nothing when every property's
  /// Swift name equals its JSON key.
  [[nodiscard]] std::optional<std::string> codingKeys(const std::vector<Property>& properties,
                                                      std::int64_t level) const;
  /// How the JSON initializer reads one key from `json`: "json.key", or "json[\"key\"]" when the
  /// key is a member of the JSON type, ends with an acronym's capitalised form, or cannot follow
  /// a dot in Swift.
  [[nodiscard]] std::string jsonAccessor(std::string_view key) const;
  /// The line that reads one property in the JSON initializer ("name = json.name.int()").
  [[nodiscard]] std::string decodeExpression(const Property& property, std::int64_t level) const;
  /// "init(json: SorbelJSON) { ... }".
  [[nodiscard]] std::string jsonInitializer(const std::vector<Property>& properties,
                                            std::int64_t level) const;
  /// The memberwise initializer, on one line or with one parameter per line.
  [[nodiscard]] std::string memberwiseInitializer(const std::vector<Property>& properties,
                                                  std::int64_t level) const;

 private:
  // A property with its Swift name (unescaped) and JSON key, formed once per declaration.
  struct Member {
    const Property* property;
    std::string name;
    std::string_view key;
  };

  [[nodiscard]] std::vector<Member> members(const std::vector<Property>& properties) const;
  [[nodiscard]] std::string propertyDeclaration(const Member& member, std::int64_t level) const;
  // The declarations append to `out`, so that a deep sample's nested types are written once
  // into one text instead of being copied into every enclosing declaration.
  void appendObjectDeclaration(std::string& out, const Object& object, std::int64_t level) const;
  [[nodiscard]] bool appendTypeDeclaration(std::string& out, const PropertyType& type,
                                           std::int64_t level) const;
  void appendNestedDeclarations(std::string& out, const std::vector<Member>& members,
                                std::int64_t level) const;
  [[nodiscard]] std::string pad(std::int64_t level) const;
  [[nodiscard]] std::string unmappedTypeName(const Names& path) const;
  [[nodiscard]] std::string formedTypeName(const Names& path) const;
  [[nodiscard]] const std::vector<std::string>& memberNames(
      const std::vector<Property>& properties) const;
  [[nodiscard]] std::string baseType(const PropertyType& type, const std::string* enumName) const;
  [[nodiscard]] std::optional<std::string> codingKeys(const std::vector<Member>& members,
                                                      std::int64_t level) const;
  [[nodiscard]] std::string decodeExpression(const Member& member, std::int64_t level) const;
  [[nodiscard]] std::string jsonInitializer(const std::vector<Member>& members,
                                            std::int64_t level) const;
  [[nodiscard]] std::string memberwiseInitializer(const std::vector<Member>& members,
                                                  std::int64_t level) const;

  SwiftMeta m_meta;
  Indentation m_indentation;
  SwiftMeta::ProtocolType m_protocol;
  SwiftMeta::StructureStyle m_structureStyle;
  bool m_macros;                            // `sorbelModel` with its macros on
  std::vector<std::string> m_acronymForms;  // "Id", "Url": the JSON accessor's subscript test
  const TypeNames* m_types = nullptr;
  // The member names of each type named so far, by the type's key path.
  struct PathHash {
    std::size_t operator()(const Names& path) const noexcept {
      std::size_t hash = path.size();
      for (const std::string& key : path) hash = hash * 31 + std::hash<std::string>{}(key);
      return hash;
    }
  };
  mutable std::unordered_map<Names, std::vector<std::string>, PathHash> m_memberNames;
};

}  // namespace telvar::generate::swift
