#include "telvar/generate/schema/schema_renderer.h"

#include <algorithm>
#include <numeric>

#include "telvar/generate/code_printer.h"
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

// Writes schemas into one text. Objects nest inside properties as deep as the sample does, so
// open objects are kept on an explicit stack instead of the call stack, and every line is written
// at its depth below the level the writer starts at.
class Writer {
 public:
  Writer(std::string& out, const Style& style, std::int64_t level, const TextDrain* drain)
      : m_printer(out, style.unit, level), m_sortMethod(style.sortMethod) {
    m_printer.drainInto(drain);
  }

  void object(const std::vector<Property>& properties) {
    openObject(properties, 0, -1);
    writeOpen();
  }

  void property(const Property& property) {
    writeProperty(property, 0);
    writeOpen();
  }

 private:
  struct OpenObject {
    const std::vector<Property>* properties;
    std::int64_t depth;
    std::vector<std::size_t> order;  // positions in writing order; empty: the properties' own
    std::size_t next = 0;
    // The depth of a property whose brace closes after this object: the property of a list of
    // objects, whose "items" is this object. -1 when none.
    std::int64_t closesPropertyAt;

    [[nodiscard]] std::size_t at(std::size_t position) const {
      return order.empty() ? position : order[position];
    }
  };

  template <typename... Parts>
  static void line(CodePrinter& p, std::int64_t depth, const Parts&... parts) {
    auto at = p.indented(depth);
    p.line(parts...);
  }
  template <typename... Parts>
  void line(std::int64_t depth, const Parts&... parts) {
    line(m_printer, depth, parts...);
  }

  static void member(CodePrinter& p, std::int64_t depth, std::string_view key,
                     std::string_view value) {
    line(p, depth, '"', key, "\": \"", value, '"');
  }
  void member(std::int64_t depth, std::string_view key, std::string_view value) {
    member(m_printer, depth, key, value);
  }

  void openObject(const std::vector<Property>& properties, std::int64_t depth,
                  std::int64_t closesPropertyAt) {
    m_printer.add('{');
    member(depth + 1, "type", "object");
    m_printer.add(',');
    line(depth + 1, "\"properties\": {");
    {
      // Each property's lines as `writeProperty` writes them: its key, its type and its closing
      // brace, a line for a format, five for a list's items and their format; and its key again in
      // "required" unless it is nullable (wide-object-1000: 267 MB reserved for a text of 145 MB
      // when every property was taken as five lines and two keys). An object's own lines reserve
      // room for themselves when it is opened.
      std::size_t lines = 0;
      std::size_t text = 0;
      for (const Property& property : properties) {
        const std::size_t key = keyOf(property).size();
        lines += 3;
        text += key + 28;
        // A primitive (most properties) has a format line at most; anything else is taken as
        // a list whose items have a format.
        if (const Primitive* primitive = property.type.plainPrimitive()) {
          if (primitive->kind() == Primitive::Kind::url ||
              primitive->kind() == Primitive::Kind::date) {
            lines += 1;
            text += 24;
          }
        } else {
          lines += 5;
          text += 80;
        }
        if (!property.type.is(PropertyType::Kind::optional)) {
          lines += 1;
          text += key + 4;
        }
      }
      m_printer.reserve(lines, text, depth + 3);
    }
    // The properties' own order needs no list of its own (wide-object-1000: 16 MB).
    std::vector<std::size_t> order;
    if (m_sortMethod == PropertySortMethod::alphabet) {
      order.resize(properties.size());
      std::iota(order.begin(), order.end(), std::size_t{0});
      std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return textCompare(keyOf(properties[a]), keyOf(properties[b])) < 0;
      });
    }
    m_open.push_back({&properties, depth, std::move(order), 0, closesPropertyAt});
  }

  void closeObject(const OpenObject& object) {
    // An object without properties keeps an empty line between the braces of "properties".
    if (object.properties->empty()) m_printer.blank();
    line(object.depth + 1, '}');
    bool first = true;
    for (std::size_t position = 0; position < object.properties->size(); ++position) {
      const Property& property = (*object.properties)[object.at(position)];
      if (property.type.is(PropertyType::Kind::optional)) continue;
      m_printer.settle();
      m_printer.add(',');
      if (first) {
        line(object.depth + 1, "\"required\": [");
        first = false;
      }
      line(object.depth + 2, jsonStringLiteral(keyOf(property)));
    }
    if (!first) line(object.depth + 1, ']');
    line(object.depth, '}');
    if (object.closesPropertyAt >= 0) line(object.closesPropertyAt, '}');
  }

  // An object a property's schema holds, to be opened where the property's text stops.
  struct Opening {
    const std::vector<Property>* properties = nullptr;
    std::int64_t depth = 0;
    std::int64_t closesPropertyAt = -1;
  };

  // Whether a property's schema holds an object, which `writeProperty` opens.
  static bool opensObject(const PropertyType& type) {
    const PropertyType* bare = type.innermost(Wrappers::nullables);
    return bare && (bare->is(PropertyType::Kind::object) ||
                    (bare->is(PropertyType::Kind::array) && innerObject(type)));
  }

  // Writes a property; when its schema holds an object, opens it and leaves the rest to
  // `writeOpen`.
  void writeProperty(const Property& property, std::int64_t depth) {
    if (const Opening opening = writeProperty(m_printer, property, depth); opening.properties) {
      openObject(*opening.properties, opening.depth, opening.closesPropertyAt);
    }
  }

  // Writes a property into `p` up to the object its schema holds, if any, which it returns.
  static Opening writeProperty(CodePrinter& p, const Property& property, std::int64_t depth) {
    // Most keys need no escape: written in place, without a literal of their own (wide-100:
    // 200,000 keys).
    if (const std::string_view key = keyOf(property); isPlainLiteral(key)) {
      line(p, depth, '"', key, "\": ");
    } else {
      line(p, depth, jsonStringLiteral(key), ": ");
    }
    const PropertyType& type = property.type;
    const PropertyType* bare = type.innermost(Wrappers::nullables);
    if (bare && bare->is(PropertyType::Kind::object)) {
      return {&bare->objectValue().properties, depth, -1};
    }

    // Each member on its own line; a type of which nothing is known has none, which leaves the
    // braces on two lines of their own.
    p.add('{');
    bool first = true;
    auto next = [&] {
      if (!first) p.add(',');
      first = false;
    };
    if (auto name = typeName(type)) {
      next();
      member(p, depth + 1, "type", *name);
    }
    if (auto format = formatName(type)) {
      next();
      member(p, depth + 1, "format", *format);
    }
    if (bare && bare->is(PropertyType::Kind::array)) {
      next();
      line(p, depth + 1, "\"items\": ");
      if (const Object* inner = innerObject(type)) return {&inner->properties, depth + 1, depth};
      p.add('{');
      bool firstItem = true;
      if (auto name = elementTypeName(bare->arrayValue())) {
        member(p, depth + 2, "type", *name);
        firstItem = false;
      }
      if (auto format = itemsFormatName(type)) {
        if (!firstItem) p.add(',');
        member(p, depth + 2, "format", *format);
      }
      line(p, depth + 1, '}');
    }
    line(p, depth, '}');
    return {};
  }

  // Writes the open objects' properties to the end. Nothing written is read back.
  void writeOpen() {
    while (!m_open.empty()) {
      m_printer.settle();
      OpenObject& top = m_open.back();
      if (top.next == top.properties->size()) {
        const OpenObject done = std::move(top);
        m_open.pop_back();
        closeObject(done);
        continue;
      }
      // A run of properties that hold no object (all of a wide record's) is written as the
      // members of a type are.
      std::size_t runEnd = top.next;
      while (runEnd < top.properties->size() &&
             !opensObject((*top.properties)[top.at(runEnd)].type)) {
        ++runEnd;
      }
      if (runEnd > top.next) {
        const OpenObject& run = top;
        m_printer.members(runEnd - run.next, [&, first = run.next](CodePrinter& p, std::size_t i) {
          if (first + i > 0) p.add(',');
          writeProperty(p, (*run.properties)[run.at(first + i)], run.depth + 2);
        });
        top.next = runEnd;
        continue;
      }
      if (top.next > 0) m_printer.add(',');
      const Property& property = (*top.properties)[top.at(top.next++)];
      writeProperty(property, top.depth + 2);  // may open an object: `top` is not used after
    }
  }

  CodePrinter m_printer;
  PropertySortMethod m_sortMethod;
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
                         const Style& style, const TextDrain* drain) {
  std::string out;
  Writer(out, style, level, drain).object(properties);
  return out;
}

std::string propertySchema(const Property& property, std::int64_t level, const Style& style,
                           const TextDrain* drain) {
  std::string out;
  Writer(out, style, level, drain).property(property);
  return out;
}

}  // namespace telvar::generate::schema
