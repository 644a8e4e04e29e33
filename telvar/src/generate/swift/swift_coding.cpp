// The blocks that close a Swift object declaration: the coding keys, the JSON initializer of the
// Sorbel library and the memberwise initializer.
#include <algorithm>
#include <array>

#include "telvar/generate/code_printer.h"
#include "telvar/generate/literals.h"
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
void addEnumDefault(CodePrinter& p, const Enum& enumeration) {
  for (const Enum::Case& c : enumeration.cases) {
    if (c.name.empty()) continue;
    if (isSwiftDotKeyword(c.name)) {
      p.add(".`", c.name, '`');
    } else {
      p.add('.', c.name);
    }
    return;
  }
  p.add(kTodo);
}

// The expression that reads a value of `type` through the accessor `a`.
void addDecode(CodePrinter& p, const PropertyType& type, std::string_view a) {
  const auto word = [](const PropertyType& t) { return primitiveWord(t.primitiveValue()); };
  const auto raw = [](const PropertyType& t) { return rawWord(t.enumValue()); };
  switch (type.kind()) {
    case Kind::primitive:
      p.add(a, '.', word(type), "()");
      return;
    case Kind::object:
      p.add(".decode(from: ", a, ')');
      return;
    case Kind::enum_:
      p.add(".init(rawValue: ", a, '.', raw(type), ") ?? ");
      addEnumDefault(p, type.enumValue());
      return;
    case Kind::dictionary: {
      const PropertyType& v = type.dictionaryValue();
      switch (v.kind()) {
        case Kind::primitive:
          p.add(a, ".dictionary().mapValues { $0.", word(v), "() }");
          return;
        case Kind::object:
          p.add(a, ".dictionary().mapValues { .decode(from: $0) }");
          return;
        case Kind::enum_:
          p.add(a, ".dictionary().compactMapValues { .init(rawValue: $0.", raw(v), ") }");
          return;
        default:
          p.add(kTodo);
          return;
      }
    }
    case Kind::array: {
      const PropertyType& v = type.arrayValue();
      switch (v.kind()) {
        case Kind::primitive:
          p.add(a, ".array().map { $0.", word(v), "() }");
          return;
        case Kind::object:
          p.add(a, ".array().map { .decode(from: $0) }");
          return;
        case Kind::dictionary: {
          const PropertyType& w = v.dictionaryValue();
          if (w.is(Kind::primitive)) {
            p.add(a, ".array().map { $0.dictionary().mapValues { $0.", word(w), "() } }");
          } else if (w.is(Kind::object)) {
            p.add(a, ".array().map { $0.dictionary().mapValues { .decode(from: $0) } }");
          } else {
            p.add(kTodo);
          }
          return;
        }
        case Kind::enum_:
          p.add(a, ".array().compactMap { .init(rawValue: $0.", raw(v), ") }");
          return;
        default:
          p.add(kTodo);
          return;
      }
    }
    case Kind::optional: {
      const PropertyType* v = type.optionalValue();
      if (!v) {
        p.add(kTodo);
        return;
      }
      switch (v->kind()) {
        case Kind::primitive:
          p.add(a, '.', word(*v));
          return;
        case Kind::object:
          p.add(a, ".emptyAsNil.map { .decode(from: $0) }");
          return;
        case Kind::enum_:
          p.add(".init(rawValue: ", a, '.', raw(*v), ')');
          return;
        case Kind::array: {
          const PropertyType& w = v->arrayValue();
          if (w.is(Kind::primitive)) {
            p.add(a, ".array?.map { $0.", word(w), "() }");
          } else if (w.is(Kind::object)) {
            p.add(a, ".array?.map { .decode(from: $0) }");
          } else {
            p.add(kTodo);
          }
          return;
        }
        default:
          p.add(kTodo);
          return;
      }
    }
  }
  p.add(kTodo);
}

// A parameter label: any word but these three may label an argument unquoted.
void addParameterLabel(CodePrinter& p, std::string_view name) {
  if (name == "let" || name == "var" || name == "inout") {
    p.add('`', name, '`');
  } else {
    p.add(name);
  }
}

}  // namespace

// ---- Coding keys --------------------------------------------------------------------------------

std::optional<std::string> SwiftRenderer::codingKeys(const std::vector<Property>& properties,
                                                     std::int64_t level) const {
  const Members all = members(properties);
  if (std::none_of(all.begin(), all.end(), [](const Member& m) { return m.renamed; })) {
    return std::nullopt;
  }
  return printed(level, [&](CodePrinter& p) { writeCodingKeys(p, all); });
}

void SwiftRenderer::writeCodingKeys(CodePrinter& p, const Members& members) const {
  p.line("private enum CodingKeys: String, CodingKey {");
  {
    auto body = p.indented();
    p.members(members.size(), [&](CodePrinter& q, std::size_t i) {
      const Member m = members[i];
      // A plain name for a plain key, most members, in one go.
      if (m.renamed && !m.reserved && isPlainLiteral(m.key())) {
        q.line("case ", m.name(), " = \"", m.key(), '"');
        return;
      }
      q.line("case ");
      addName(q, m.name(), m.reserved);
      if (!m.renamed) return;
      q.add(" = ");
      addStringLiteral(q, m.key());
    });
  }
  p.line("}");
}

// ---- JSON initializer ---------------------------------------------------------------------------

std::string SwiftRenderer::jsonAccessor(std::string_view key) const {
  std::string out;
  appendJsonAccessor(out, key);
  return out;
}

void SwiftRenderer::appendJsonAccessor(std::string& out, std::string_view key) const {
  const bool member =
      std::find(kJsonMembers.begin(), kJsonMembers.end(), key) != kJsonMembers.end();
  const bool acronym = std::any_of(m_acronymForms.begin(), m_acronymForms.end(),
                                   [&](const std::string& form) { return key.ends_with(form); });
  // A key that cannot follow a dot ("first name", "init", "1st") is read by subscript too.
  if (member || acronym || !isSwiftMemberName(key)) {
    out += "json[\"";
    appendEscaped(out, key, kSwiftLiteral);
    out += "\"]";
  } else {
    out += "json.";
    out += key;
  }
}

std::string SwiftRenderer::decodeExpression(const Property& property, std::int64_t level) const {
  const std::string name = propertyName(property.names);
  return printed(level + 1, [&](CodePrinter& p) { writeDecodeLine(p, memberOf(property, name)); });
}

void SwiftRenderer::writeDecodeLine(CodePrinter& p, const Member& member) const {
  std::string accessor;  // its own: members are written on several threads
  appendJsonAccessor(accessor, member.key());
  p.line();
  addName(p, member.name(), member.reserved);
  p.add(" = ");
  addDecode(p, member.property->type, accessor);
}

std::string SwiftRenderer::jsonInitializer(const std::vector<Property>& properties,
                                           std::int64_t level) const {
  const Members all = members(properties);
  return printed(level, [&](CodePrinter& p) { writeJsonInitializer(p, all); });
}

void SwiftRenderer::writeJsonInitializer(CodePrinter& p, const Members& members) const {
  p.line(description(m_meta.modelAccessLevel()), "init(json: SorbelJSON) {");
  {
    auto body = p.indented();
    p.members(members.size(),
              [&](CodePrinter& q, std::size_t i) { writeDecodeLine(q, members[i]); });
  }
  p.line("}");
}

// ---- Memberwise initializer ---------------------------------------------------------------------

std::string SwiftRenderer::memberwiseInitializer(const std::vector<Property>& properties,
                                                 std::int64_t level) const {
  const Members all = members(properties);
  return printed(level, [&](CodePrinter& p) { writeMemberwiseInitializer(p, all); });
}

void SwiftRenderer::writeMemberwiseInitializer(CodePrinter& p, const Members& members) const {
  const SwiftMeta::Initializer initializer = m_meta.initializer();
  const auto addParameter = [&](CodePrinter& q, const Member& m) {
    addParameterLabel(q, m.name());
    q.add(": ");
    addType(q, *m.property);
  };
  p.line(description(initializer.accessLevel()), "init(");
  if (initializer.style() == SwiftMeta::Initializer::Style::multipleLines) {
    {
      auto parameters = p.indented();
      // Without parameters this leaves one empty line between the parentheses.
      if (members.empty()) p.blank();
      p.members(members.size(), [&](CodePrinter& q, std::size_t i) {
        if (i > 0) q.add(",");
        q.line();
        addParameter(q, members[i]);
      });
    }
    p.line(") {");
  } else {
    p.members(members.size(), [&](CodePrinter& q, std::size_t i) {
      if (i > 0) q.add(", ");
      addParameter(q, members[i]);
    });
    p.add(") {");
  }
  {
    auto body = p.indented();
    p.members(members.size(), [&](CodePrinter& q, std::size_t i) {
      const Member m = members[i];
      q.line("self.");
      if (isSwiftDotKeyword(m.name())) {
        q.add('`', m.name(), '`');
      } else {
        q.add(m.name());
      }
      q.add(" = ");
      addName(q, m.name(), m.reserved);
    });
  }
  p.line("}");
}

}  // namespace telvar::generate::swift
