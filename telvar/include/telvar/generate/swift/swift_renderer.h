#pragma once

#include <cstdint>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "telvar/code/code.h"
#include "telvar/generate/code_printer.h"
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
  [[nodiscard]] std::string propertyName(KeyPath path) const;
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
  /// Writes the declaration `render` gives as the next lines of `printer`, at its level; false,
  /// with nothing written, when `code` declares nothing.
  bool write(CodePrinter& printer, const Code& code) const;

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
  // A property with what its lines need: its Swift name (unescaped), whether the name is a
  // reserved word (written in backquotes) and whether it differs from the JSON key (the coding
  // keys and "@SorbelKey" then name the key). The key is read from the property.
  struct Member {
    const Property* property;
    std::string_view text;
    bool reserved;
    bool renamed;
    [[nodiscard]] std::string_view name() const { return text; }
    [[nodiscard]] std::string_view key() const {
      return property->names.empty() ? std::string_view("...")
                                     : std::string_view(property->names.back());
    }
  };

  // The members of one declaration in the order they are written, each made when it is read
  // from the properties, their names and a byte of what was found out once per member. A wide
  // type holds one member per key: a list of whole members took 24 bytes a key (wide-1000:
  // 48 MB), this one byte, and a position more when sorted.
  class Members {
   public:
    Members(const std::vector<Property>& properties, std::shared_ptr<const NameList> names,
            bool sorted);
    [[nodiscard]] std::size_t size() const noexcept { return m_flags.size(); }
    [[nodiscard]] bool empty() const noexcept { return m_flags.empty(); }
    [[nodiscard]] Member operator[](std::size_t position) const {
      const std::size_t i = m_order.empty() ? position : m_order[position];
      return {&(*m_properties)[i], (*m_names)[i], (m_flags[i] & kReserved) != 0,
              (m_flags[i] & kRenamed) != 0};
    }

    using Iterator = PositionIterator<Members, Member>;
    [[nodiscard]] Iterator begin() const { return {this, 0}; }
    [[nodiscard]] Iterator end() const { return {this, size()}; }

   private:
    static constexpr std::uint8_t kReserved = 1;
    static constexpr std::uint8_t kRenamed = 2;
    const std::vector<Property>* m_properties;
    std::shared_ptr<const NameList> m_names;  // its own: the cache may name the path afresh
    std::vector<std::uint8_t> m_flags;        // by property
    std::vector<std::size_t> m_order;  // the properties by position; empty: in their own order
  };

  [[nodiscard]] static Member memberOf(const Property& property, std::string_view name);
  [[nodiscard]] Members members(const std::vector<Property>& properties) const;
  [[nodiscard]] std::string unmappedTypeName(KeyPath path) const;
  [[nodiscard]] std::string formedTypeName(const Names& path) const;
  [[nodiscard]] std::shared_ptr<const NameList> memberNames(
      const std::vector<Property>& properties) const;

  // Runs `write` with a printer over a new text at `level` and gives the text.
  template <typename Write>
  [[nodiscard]] std::string printed(std::int64_t level, Write&& write) const {
    std::string out;
    CodePrinter p(out, m_indentation, level);
    write(p);
    return out;
  }

  // The writers put their lines into the printer at its level; nested declarations are written
  // into the same text, and a repeated one is taken back out.
  void writeObject(CodePrinter& p, const Object& object) const;
  void writeEnum(CodePrinter& p, const Enum& enumeration) const;
  [[nodiscard]] bool writeTypeDeclaration(CodePrinter& p, const PropertyType& type) const;
  void writeNestedDeclarations(CodePrinter& p, const Members& members) const;
  // Makes room in the printer's text for the lines that `members` write.
  void reserveMembers(CodePrinter& p, const Members& members) const;
  void writeProperty(CodePrinter& p, const Member& member) const;
  void writeCodingKeys(CodePrinter& p, const Members& members) const;
  void writeDecodeLine(CodePrinter& p, const Member& member) const;
  void writeJsonInitializer(CodePrinter& p, const Members& members) const;
  void writeMemberwiseInitializer(CodePrinter& p, const Members& members) const;
  // Parts of a line, added at its end. A name is written in backquotes when a reserved word.
  // Written for every member line or two: inline, so that a name costs its copy alone.
  static void addName(CodePrinter& p, std::string_view name, bool reserved) {
    if (reserved) {
      p.add('`', name, '`');
    } else {
      p.add(name);
    }
  }
  static void addName(CodePrinter& p, std::string_view name);
  void addTypeName(CodePrinter& p, const Names& path) const;
  void addType(CodePrinter& p, const Property& property) const;
  void addBaseType(CodePrinter& p, const PropertyType& type, std::string_view enumName) const;
  void addStringLiteral(CodePrinter& p, std::string_view text) const;
  void appendJsonAccessor(std::string& out, std::string_view key) const;

  SwiftMeta m_meta;
  Indentation m_indentation;
  SwiftMeta::ProtocolType m_protocol;
  SwiftMeta::StructureStyle m_structureStyle;
  bool m_macros;                            // `sorbelModel` with its macros on
  std::vector<std::string> m_acronymForms;  // "Id", "Url": the JSON accessor's subscript test
  std::string m_propertyLead;               // "let ", what every property line begins with
  const TypeNames* m_types = nullptr;
  // The member names of each type named so far, by the type's key path.
  struct PathHash {
    std::size_t operator()(const Names& path) const noexcept {
      std::size_t hash = path.size();
      for (const std::string& key : path) hash = hash * 31 + std::hash<std::string>{}(key);
      return hash;
    }
  };
  struct MemberNames {
    std::size_t keys = 0;  // a hash of the members' keys, in order
    // Shared with the declarations being written: a nested list of members at the same path
    // replaces the entry without taking the names from under its holder.
    std::shared_ptr<const NameList> names;
  };
  mutable std::unordered_map<Names, MemberNames, PathHash> m_memberNames;
};

}  // namespace telvar::generate::swift
