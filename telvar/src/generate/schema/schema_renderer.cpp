#include "telvar/generate/schema/schema_renderer.h"

#include <algorithm>
#include <numeric>

#include "telvar/generate/lines.h"
#include "telvar/generate/literals.h"
#include "telvar/parse/parser.h"
#include "telvar/unicode/text.h"

namespace telvar::generate::schema {
namespace {

// The JSON key of a property: the last key of its key path, as the sample spells it.
std::string_view keyOf(const Property& property) {
  return property.names.empty() ? std::string_view() : std::string_view(property.names.back());
}

std::optional<std::string_view> primitiveFormat(const PropertyType* type) {
  if (!type || !type->is(PropertyType::Kind::primitive)) return std::nullopt;
  const Primitive& primitive = type->primitiveValue();
  switch (primitive.kind()) {
    case Primitive::Kind::url:
      return "uri";
    case Primitive::Kind::date:
      // A time interval is a number of seconds, which no string format describes.
      if (primitive.dateKind() == Value::DateKind::iso8601) return "date-time";
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

// The object a property's schema describes: through nullable, list and map wrappers.
const Object* innerObject(const PropertyType& type) {
  const PropertyType* inner = type.innermost();
  return inner && inner->is(PropertyType::Kind::object) ? &inner->objectValue() : nullptr;
}

// Quote, backslash and control characters escaped: the text stays valid JSON whatever the key.
void appendJsonStringLiteral(std::string& out, std::string_view text) {
  out += '"';
  appendEscaped(out, text, kJsonLiteral);
  out += '"';
}

// Writes schemas into one text. Objects nest inside properties as deep as the sample does, so
// open objects are kept on an explicit stack instead of the call stack.
class Writer {
 public:
  explicit Writer(const Style& style) : m_style(style) {}

  void object(const std::vector<Property>& properties, std::int64_t level) {
    openObject(properties, level, -1);
    drain();
  }

  void property(const Property& property, std::int64_t level) {
    writeProperty(property, level);
    drain();
  }

  [[nodiscard]] std::string take() { return std::move(m_out); }

 private:
  struct OpenObject {
    const std::vector<Property>* properties;
    std::int64_t level;
    std::vector<std::size_t> order;  // positions in writing order
    std::size_t next = 0;
    // The level of a property whose brace closes after this object: the property of a list of
    // objects, whose "items" is this object. -1 when none.
    std::int64_t closesPropertyAt;
  };

  void indent(std::int64_t level) { appendPrefix(m_out, m_style.unit, level); }

  void quoted(std::string_view text) { appendJsonStringLiteral(m_out, text); }

  void member(std::int64_t level, std::string_view key, std::string_view value) {
    indent(level);
    m_out += '"';
    m_out += key;
    m_out += "\": \"";
    m_out += value;
    m_out += '"';
  }

  void openObject(const std::vector<Property>& properties, std::int64_t level,
                  std::int64_t closesPropertyAt) {
    m_out += "{\n";
    member(level + 1, "type", "object");
    m_out += ",\n";
    indent(level + 1);
    m_out += "\"properties\": {\n";
    std::vector<std::size_t> order(properties.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    if (m_style.sortMethod == PropertySortMethod::alphabet) {
      std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return textCompare(keyOf(properties[a]), keyOf(properties[b])) < 0;
      });
    }
    m_open.push_back({&properties, level, std::move(order), 0, closesPropertyAt});
  }

  void closeObject(const OpenObject& object) {
    m_out += '\n';
    indent(object.level + 1);
    m_out += '}';
    bool first = true;
    for (std::size_t i : object.order) {
      const Property& property = (*object.properties)[i];
      if (property.type.is(PropertyType::Kind::optional)) continue;
      if (first) {
        m_out += ",\n";
        indent(object.level + 1);
        m_out += "\"required\": [\n";
        first = false;
      } else {
        m_out += ",\n";
      }
      indent(object.level + 2);
      quoted(keyOf(property));
    }
    if (!first) {
      m_out += '\n';
      indent(object.level + 1);
      m_out += ']';
    }
    m_out += '\n';
    indent(object.level);
    m_out += '}';
    if (object.closesPropertyAt >= 0) {
      m_out += '\n';
      indent(object.closesPropertyAt);
      m_out += '}';
    }
  }

  // Writes a property; when its schema holds an object, opens it and leaves the rest to `drain`.
  void writeProperty(const Property& property, std::int64_t level) {
    indent(level);
    quoted(keyOf(property));
    m_out += ": ";
    const PropertyType& type = property.type;
    const PropertyType* bare = type.innermost(Wrappers::nullables);
    if (bare && bare->is(PropertyType::Kind::object)) {
      openObject(bare->objectValue().properties, level, -1);
      return;
    }

    // Each member on its own line; a type of which nothing is known has none, which leaves the
    // braces on two lines of their own.
    m_out += '{';
    bool first = true;
    auto next = [&] {
      m_out += first ? "\n" : ",\n";
      first = false;
    };
    if (auto name = typeName(type)) {
      next();
      member(level + 1, "type", *name);
    }
    if (auto format = formatName(type)) {
      next();
      member(level + 1, "format", *format);
    }
    if (bare && bare->is(PropertyType::Kind::array)) {
      next();
      indent(level + 1);
      m_out += "\"items\": ";
      if (const Object* inner = innerObject(type)) {
        openObject(inner->properties, level + 1, level);
        return;
      }
      m_out += '{';
      bool firstItem = true;
      if (auto name = elementTypeName(bare->arrayValue())) {
        m_out += '\n';
        member(level + 2, "type", *name);
        firstItem = false;
      }
      if (auto format = itemsFormatName(type)) {
        m_out += firstItem ? "\n" : ",\n";
        member(level + 2, "format", *format);
      }
      m_out += '\n';
      indent(level + 1);
      m_out += '}';
    }
    m_out += '\n';
    indent(level);
    m_out += '}';
  }

  void drain() {
    while (!m_open.empty()) {
      OpenObject& top = m_open.back();
      if (top.next == top.order.size()) {
        const OpenObject done = std::move(top);
        m_open.pop_back();
        closeObject(done);
        continue;
      }
      if (top.next > 0) m_out += ",\n";
      const Property& property = (*top.properties)[top.order[top.next++]];
      writeProperty(property, top.level + 2);  // may open an object: `top` is not used after
    }
  }

  Style m_style;
  std::string m_out;
  std::vector<OpenObject> m_open;
};

}  // namespace

std::string jsonStringLiteral(std::string_view text) { return quoted(text, kJsonLiteral); }

std::optional<std::string_view> typeName(const PropertyType& type) {
  const PropertyType* bare = type.innermost(Wrappers::nullables);
  if (!bare) return "null";
  switch (bare->kind()) {
    case PropertyType::Kind::primitive: {
      const Primitive& primitive = bare->primitiveValue();
      switch (primitive.kind()) {
        case Primitive::Kind::bool_:
          return "boolean";
        case Primitive::Kind::int_:
          return "integer";
        case Primitive::Kind::double_:
          return "number";
        case Primitive::Kind::date:
          return primitive.dateKind() == Value::DateKind::iso8601 ? "string" : "number";
        case Primitive::Kind::string:
        case Primitive::Kind::url:
          return "string";
        case Primitive::Kind::any:
          return std::nullopt;
      }
      return std::nullopt;
    }
    case PropertyType::Kind::object:
    case PropertyType::Kind::dictionary:
      return "object";
    case PropertyType::Kind::array:
      return "array";
    case PropertyType::Kind::enum_:
      telvar::parse::detail::programmingError(
          "an enumeration cannot reach the JSON Schema renderer");
    case PropertyType::Kind::optional:
      break;  // looked through above
  }
  return std::nullopt;
}

std::optional<std::string_view> elementTypeName(const PropertyType& type) {
  const PropertyType* element = type.innermost(Wrappers::listsAndNullables);
  if (!element) return "null";
  return typeName(*element);
}

std::optional<std::string_view> formatName(const PropertyType& type) {
  return primitiveFormat(type.innermost(Wrappers::nullables));
}

std::optional<std::string_view> itemsFormatName(const PropertyType& type) {
  return primitiveFormat(type.innermost());
}

std::string objectSchema(const std::vector<Property>& properties, std::int64_t level,
                         const Style& style) {
  Writer writer(style);
  writer.object(properties, level);
  return writer.take();
}

std::string propertySchema(const Property& property, std::int64_t level, const Style& style) {
  Writer writer(style);
  writer.property(property, level);
  return writer.take();
}

}  // namespace telvar::generate::schema
