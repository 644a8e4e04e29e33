// The blocks that close a Swift object declaration: the coding keys, the JSON initializer of the
// Sorbel library and the memberwise initializer.
#include <algorithm>
#include <array>

#include "telvar/generate/lines.h"
#include "telvar/generate/swift/swift_renderer.h"
#include "telvar/generate/swift/swift_text.h"
#include "telvar/naming/names.h"
#include "telvar/unicode/text.h"

namespace telvar::generate::swift {
namespace {

using Kind = PropertyType::Kind;

constexpr std::string_view kTodo = "<#TODO#>";

// The members of the Sorbel JSON type: a key of the same name must be read by subscript.
constexpr std::array<std::string_view, 25> kJsonMembers{"self",
                                                        "description",
                                                        "isNull",
                                                        "isEmpty",
                                                        "emptyAsNil",
                                                        "isOriginalBool",
                                                        "originalBool",
                                                        "bool",
                                                        "isOriginalInt",
                                                        "originalInt",
                                                        "int",
                                                        "originalUInt",
                                                        "uInt",
                                                        "isOriginalDouble",
                                                        "originalDouble",
                                                        "double",
                                                        "isOriginalString",
                                                        "originalString",
                                                        "string",
                                                        "url",
                                                        "date",
                                                        "isDictionary",
                                                        "dictionary",
                                                        "isArray",
                                                        "array"};

std::string_view primitiveWord(const Primitive& primitive) {
  switch (primitive.kind()) {
    case Primitive::Kind::date:
      return "date";
    case Primitive::Kind::bool_:
      return "bool";
    case Primitive::Kind::int_:
      return "int";
    case Primitive::Kind::double_:
      return "double";
    case Primitive::Kind::string:
      return "string";
    case Primitive::Kind::url:
      return "url";
    case Primitive::Kind::any:
      return "...";
  }
  return "...";
}

std::string_view rawWord(const Enum& enumeration) {
  return enumeration.rawType == Enum::RawType::string ? "string()" : "int()";
}

// The case a missing or unknown raw value falls back to: the first case that is declared (cases
// without a name are not).
std::string enumDefault(const Enum& enumeration) {
  for (const Enum::Case& c : enumeration.cases) {
    if (!c.name.empty()) return std::string(".").append(swiftMemberName(c.name));
  }
  return std::string(kTodo);
}

std::string decodeText(const PropertyType& type, const std::string& a) {
  const auto word = [](const PropertyType& t) {
    return std::string(primitiveWord(t.primitiveValue()));
  };
  const auto raw = [](const PropertyType& t) { return std::string(rawWord(t.enumValue())); };
  switch (type.kind()) {
    case Kind::primitive:
      return a + "." + word(type) + "()";
    case Kind::object:
      return ".decode(from: " + a + ")";
    case Kind::enum_:
      return ".init(rawValue: " + a + "." + raw(type) + ") ?? " + enumDefault(type.enumValue());
    case Kind::dictionary: {
      const PropertyType& v = type.dictionaryValue();
      switch (v.kind()) {
        case Kind::primitive:
          return a + ".dictionary().mapValues { $0." + word(v) + "() }";
        case Kind::object:
          return a + ".dictionary().mapValues { .decode(from: $0) }";
        case Kind::enum_:
          return a + ".dictionary().compactMapValues { .init(rawValue: $0." + raw(v) + ") }";
        default:
          return std::string(kTodo);
      }
    }
    case Kind::array: {
      const PropertyType& v = type.arrayValue();
      switch (v.kind()) {
        case Kind::primitive:
          return a + ".array().map { $0." + word(v) + "() }";
        case Kind::object:
          return a + ".array().map { .decode(from: $0) }";
        case Kind::dictionary: {
          const PropertyType& w = v.dictionaryValue();
          if (w.is(Kind::primitive)) {
            return a + ".array().map { $0.dictionary().mapValues { $0." + word(w) + "() } }";
          }
          if (w.is(Kind::object)) {
            return a + ".array().map { $0.dictionary().mapValues { .decode(from: $0) } }";
          }
          return std::string(kTodo);
        }
        case Kind::enum_:
          return a + ".array().compactMap { .init(rawValue: $0." + raw(v) + ") }";
        default:
          return std::string(kTodo);
      }
    }
    case Kind::optional: {
      const PropertyType* v = type.optionalValue();
      if (!v) return std::string(kTodo);
      switch (v->kind()) {
        case Kind::primitive:
          return a + "." + word(*v);
        case Kind::object:
          return a + ".emptyAsNil.map { .decode(from: $0) }";
        case Kind::enum_:
          return ".init(rawValue: " + a + "." + raw(*v) + ")";
        case Kind::array: {
          const PropertyType& w = v->arrayValue();
          if (w.is(Kind::primitive)) return a + ".array?.map { $0." + word(w) + "() }";
          if (w.is(Kind::object)) return a + ".array?.map { .decode(from: $0) }";
          return std::string(kTodo);
        }
        default:
          return std::string(kTodo);
      }
    }
  }
  return std::string(kTodo);
}

// A parameter label: any word but these three may label an argument unquoted.
std::string parameterLabel(const std::string& name) {
  if (name == "let" || name == "var" || name == "inout") return "`" + name + "`";
  return name;
}

std::string_view initializerAccessText(const SwiftMeta::Initializer& initializer) {
  return description(initializer.accessLevel());
}

}  // namespace

// ---- Coding keys --------------------------------------------------------------------------------

std::optional<std::string> SwiftRenderer::codingKeys(const std::vector<Property>& properties,
                                                     std::int64_t level) const {
  return codingKeys(members(properties), level);
}

std::optional<std::string> SwiftRenderer::codingKeys(const std::vector<Member>& members,
                                                     std::int64_t level) const {
  const bool needed = std::any_of(members.begin(), members.end(),
                                  [](const Member& m) { return !textEquals(m.name, m.key); });
  if (!needed) return std::nullopt;
  const std::string p1 = pad(level + 1);
  Lines lines;
  lines.add(pad(level) + "private enum CodingKeys: String, CodingKey {");
  for (const Member& m : members) {
    std::string line = p1 + "case " + swiftEscaped(m.name);
    if (!textEquals(m.name, m.key)) line += " = " + swiftStringLiteral(m.key);
    lines.add(std::move(line));
  }
  lines.add(pad(level) + "}");
  return lines.joined();
}

// ---- JSON initializer ---------------------------------------------------------------------------

std::string SwiftRenderer::jsonAccessor(std::string_view key) const {
  const bool member =
      std::find(kJsonMembers.begin(), kJsonMembers.end(), key) != kJsonMembers.end();
  const bool acronym = std::any_of(m_acronymForms.begin(), m_acronymForms.end(),
                                   [&](const std::string& form) { return key.ends_with(form); });
  // A key that cannot follow a dot ("first name", "init", "1st") is read by subscript too.
  if (member || acronym || !isSwiftMemberName(key)) return "json[" + swiftStringLiteral(key) + "]";
  return "json." + std::string(key);
}

std::string SwiftRenderer::decodeExpression(const Property& property, std::int64_t level) const {
  return decodeExpression(Member{&property, propertyName(property.names),
                                 property.names.empty() ? std::string_view("...")
                                                        : std::string_view(property.names.back())},
                          level);
}

std::string SwiftRenderer::decodeExpression(const Member& member, std::int64_t level) const {
  return pad(level + 1) + swiftEscaped(member.name) + " = " +
         decodeText(member.property->type, jsonAccessor(member.key));
}

std::string SwiftRenderer::jsonInitializer(const std::vector<Property>& properties,
                                           std::int64_t level) const {
  return jsonInitializer(members(properties), level);
}

std::string SwiftRenderer::jsonInitializer(const std::vector<Member>& members,
                                           std::int64_t level) const {
  Lines lines;
  lines.add(pad(level) + std::string(description(m_meta.modelAccessLevel())) +
            "init(json: SorbelJSON) {");
  for (const Member& m : members) lines.add(decodeExpression(m, level));
  lines.add(pad(level) + "}");
  return lines.joined();
}

// ---- Memberwise initializer ---------------------------------------------------------------------

std::string SwiftRenderer::memberwiseInitializer(const std::vector<Property>& properties,
                                                 std::int64_t level) const {
  return memberwiseInitializer(members(properties), level);
}

std::string SwiftRenderer::memberwiseInitializer(const std::vector<Member>& members,
                                                 std::int64_t level) const {
  const SwiftMeta::Initializer initializer = m_meta.initializer();
  const std::string p0 = pad(level);
  const std::string p1 = pad(level + 1);
  const std::string opening = p0 + std::string(initializerAccessText(initializer)) + "init(";

  std::vector<std::string> parameters;
  parameters.reserve(members.size());
  for (const Member& m : members) {
    parameters.push_back(parameterLabel(m.name) + ": " + type(*m.property));
  }

  Lines lines;
  if (initializer.style() == SwiftMeta::Initializer::Style::multipleLines) {
    lines.add(opening);
    for (std::string& parameter : parameters) parameter.insert(0, p1);
    // Without parameters this leaves one empty line between the parentheses.
    lines.add(joined(parameters, ",\n"));
    lines.add(p0 + ") {");
  } else {
    lines.add(opening + joined(parameters, ", ") + ") {");
  }
  for (const Member& m : members) {
    lines.add(p1 + "self." + swiftMemberName(m.name) + " = " + swiftEscaped(m.name));
  }
  lines.add(p0 + "}");
  return lines.joined();
}

}  // namespace telvar::generate::swift
