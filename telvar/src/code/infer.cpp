#include <utility>

#include "telvar/code/code.h"

namespace telvar {
namespace {

using VKind = Value::Kind;

Names appended(const Names& names, const std::string& key) {
  Names path;
  path.reserve(names.size() + 1);
  path = names;
  path.push_back(key);
  return path;
}

// The type of a value that has no children to infer first, or nothing for one that has (an
// object, an array with elements, a null with an inner value, a dictionary).
std::optional<PropertyType> leafType(const Value& value) {
  switch (value.kind()) {
    case VKind::bool_:
      return PropertyType::primitive(Primitive::bool_());
    case VKind::number:
      return PropertyType::primitive(value.numberValue().isInt() ? Primitive::int_()
                                                                 : Primitive::double_());
    case VKind::string:
      return PropertyType::primitive(Primitive::string());
    case VKind::url:
      return PropertyType::primitive(Primitive::url());
    case VKind::date:
      return PropertyType::primitive(Primitive::date(value.dateKind()));
    case VKind::empty:
      return PropertyType::primitive(Primitive::any());
    case VKind::enum_: {
      const auto& e = value.enumValue();
      std::vector<Enum::Case> cases;
      cases.reserve(e.cases.size());
      for (const auto& c : e.cases) cases.push_back({c.name, c.value});
      return PropertyType::enum_(Enum{
          e.names, e.rawType == Value::RawType::int_ ? Enum::RawType::int_ : Enum::RawType::string,
          std::move(cases)});
    }
    case VKind::array:
      if (value.arrayValue().values.empty()) {
        return PropertyType::array(PropertyType::primitive(Primitive::any()));
      }
      return std::nullopt;
    case VKind::null:
      if (!value.nullInner()) return PropertyType::optional(std::nullopt);
      return std::nullopt;
    case VKind::object:
    case VKind::dictionary:
      return std::nullopt;
  }
  return std::nullopt;
}

// The property type of a value (the code of the value, as a property type). Children are
// inferred before their parent with an explicit stack, so nesting depth costs no call stack.
PropertyType typeOf(const Value& root) {
  if (auto leaf = leafType(root)) return std::move(*leaf);

  // A value whose children are being inferred; `key` is its key in its parent object (nullptr
  // when the parent is not an object), `next` the position of its next child, and `base` where
  // its children's types begin on the result stack.
  struct Frame {
    const Value* value;
    const std::string* key;
    std::size_t next;
    std::size_t base;
  };
  // Finished child types, each with its key when its parent is an object.
  struct Result {
    const std::string* key;
    PropertyType type;
  };
  std::vector<Frame> frames{{&root, nullptr, 0, 0}};
  std::vector<Result> results;

  while (true) {
    Frame& frame = frames.back();
    const Value& value = *frame.value;
    const Value* child = nullptr;
    const std::string* key = nullptr;
    switch (value.kind()) {
      case VKind::object: {
        const auto& object = value.objectValue();
        while (!child && frame.next < object.orderedKeys.size()) {
          key = &object.orderedKeys[frame.next++];
          child = object.dictionary.find(*key);  // keys without a member are skipped
        }
        break;
      }
      case VKind::array:  // only the first element is looked at
        if (frame.next++ == 0) child = &value.arrayValue().values.front();
        break;
      case VKind::null:
        if (frame.next++ == 0) child = value.nullInner();
        break;
      case VKind::dictionary:
        if (frame.next++ == 0) child = value.dictionaryValue().value.get();
        break;
      default:
        break;
    }

    if (child) {
      if (auto leaf = leafType(*child)) {
        results.push_back({key, std::move(*leaf)});
      } else {
        frames.push_back({child, key, 0, results.size()});
      }
      continue;
    }

    // Every child is inferred: build this value's type from their results.
    const std::size_t base = frame.base;
    std::optional<PropertyType> type;
    switch (value.kind()) {
      case VKind::object: {
        const auto& object = value.objectValue();
        std::vector<Property> properties;
        properties.reserve(results.size() - base);
        for (std::size_t i = base; i < results.size(); ++i) {
          properties.push_back(
              {appended(object.names, *results[i].key), std::move(results[i].type)});
        }
        type = PropertyType::object(Object{object.names, std::move(properties)});
        break;
      }
      case VKind::array:
        type = PropertyType::array(std::move(results[base].type));
        break;
      case VKind::null:
        type = PropertyType::optional(std::move(results[base].type));
        break;
      default:  // dictionary
        type = PropertyType::dictionary(std::move(results[base].type));
        break;
    }
    results.erase(results.begin() + static_cast<std::ptrdiff_t>(base), results.end());
    const std::string* ownKey = frame.key;
    frames.pop_back();
    if (frames.empty()) return std::move(*type);
    results.push_back({ownKey, std::move(*type)});
  }
}

}  // namespace

std::vector<Property> Object::inferredProperties(const std::vector<std::string>& orderedKeys,
                                                 const ValueMap& dictionary, const Names& names) {
  std::vector<Property> properties;
  properties.reserve(orderedKeys.size());
  for (const auto& key : orderedKeys) {
    if (const Value* member = dictionary.find(key)) {
      properties.push_back({appended(names, key), typeOf(*member)});
    }
  }
  return properties;
}

namespace {

Code inferred(const Value& value) {
  switch (value.kind()) {
    case VKind::object: {
      const auto& object = value.objectValue();
      return Code::object(
          Object{object.names,
                 Object::inferredProperties(object.orderedKeys, object.dictionary, object.names)});
    }
    case VKind::dictionary: {
      const auto& dictionary = value.dictionaryValue();
      return Code::dictionary(Dictionary{dictionary.names, typeOf(*dictionary.value)});
    }
    default:
      return Code::propertyType(typeOf(value));
  }
}

}  // namespace

Code::Code(const Value& value) : Code(inferred(value)) {}

}  // namespace telvar
