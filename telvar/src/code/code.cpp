#include "telvar/code/code.h"

#include <iterator>

#include "telvar/unicode/text.h"

namespace telvar {

// MemberPath

MemberPath::MemberPath(Names names) {
  if (names.empty()) return;
  m_key = Key(names.back());
  names.pop_back();
  m_owner = detail::Shared<Names>::make(std::move(names));
}

// PropertyType

PropertyType PropertyType::primitive(Primitive primitive) {
  static_assert(
      [] {
        for (std::size_t i = 0; i + 1 < std::size(kPrimitives); ++i) {
          if (static_cast<std::size_t>(kPrimitives[i].primitive.kind()) != i) return false;
        }
        return std::size(kPrimitives) == static_cast<std::size_t>(Primitive::Kind::any) + 2 &&
               kPrimitives[std::size(kPrimitives) - 1].primitive.kind() == Primitive::Kind::date;
      }(),
      "each kind at its own slot, and the second date kind last");
  std::size_t slot = static_cast<std::size_t>(primitive.kind());
  if (primitive == Primitive::date(Value::DateKind::timeIntervalSince1970)) {
    slot = std::size(kPrimitives) - 1;
  }
  return {Kind::primitive, &kPrimitives[slot].primitive};
}
PropertyType PropertyType::object(Object object) { return make(Kind::object, std::move(object)); }
PropertyType PropertyType::object(detail::Shared<Object> object) {
  return {Kind::object, object.release()};
}
PropertyType PropertyType::dictionary(PropertyType valueType) {
  return make(Kind::dictionary, std::move(valueType));
}
PropertyType PropertyType::enum_(Enum enumeration) {
  return make(Kind::enum_, std::move(enumeration));
}
PropertyType PropertyType::array(PropertyType elementType) {
  return make(Kind::array, std::move(elementType));
}
PropertyType PropertyType::optional(std::optional<PropertyType> wrapped) {
  if (!wrapped) return {Kind::optional, nullptr};
  return make(Kind::optional, std::move(*wrapped));
}
PropertyType PropertyType::optional(detail::Shared<PropertyType> wrapped) {
  return {Kind::optional, wrapped.release()};
}

const Object& PropertyType::objectValue() const noexcept { return payload<Object>(); }
detail::Shared<Object> PropertyType::sharedObject() const noexcept {
  return detail::Shared<Object>::of(node());
}

std::optional<Names> PropertyType::walk() const {
  const PropertyType* t = innermost();
  if (t && t->is(Kind::object)) return t->objectValue().names;
  if (t && t->is(Kind::enum_)) return t->enumValue().names;
  return std::nullopt;
}

bool operator==(const PropertyType& a, const PropertyType& b) {
  if (a.kind() != b.kind()) return false;
  switch (a.kind()) {
    case PropertyType::Kind::primitive:
      return a.primitiveValue() == b.primitiveValue();
    case PropertyType::Kind::object: {
      const Object& x = a.objectValue();
      const Object& y = b.objectValue();
      return &x == &y || x == y;
    }
    case PropertyType::Kind::dictionary:
      return a.dictionaryValue() == b.dictionaryValue();
    case PropertyType::Kind::enum_:
      return a.enumValue() == b.enumValue();
    case PropertyType::Kind::array:
      return a.arrayValue() == b.arrayValue();
    case PropertyType::Kind::optional: {
      const PropertyType* x = a.optionalValue();
      const PropertyType* y = b.optionalValue();
      if (!x || !y) return !x && !y;
      return x == y || *x == *y;
    }
  }
  return false;
}

// Records

namespace {

// `namesEqual` of a member's path, read in place.
bool pathsEqual(KeyPath a, KeyPath b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!textEquals(a[i], b[i])) return false;
  }
  return true;
}

}  // namespace

bool operator==(const Enum::Case& a, const Enum::Case& b) {
  return textEquals(a.name, b.name) && textEquals(a.value, b.value);
}

bool operator==(const Enum& a, const Enum& b) {
  return namesEqual(a.names, b.names) && a.rawType == b.rawType && a.cases == b.cases;
}

bool operator==(const Property& a, const Property& b) {
  return pathsEqual(a.names, b.names) && a.type == b.type;
}

bool operator==(const Object& a, const Object& b) {
  return namesEqual(a.names, b.names) && a.properties == b.properties;
}

bool operator==(const Dictionary& a, const Dictionary& b) {
  return namesEqual(a.names, b.names) && a.propertyType == b.propertyType;
}

// Code

Code Code::object(Object object) {
  return Code(FromStorage{}, detail::Shared<Object>::make(std::move(object)));
}
Code Code::object(detail::Shared<Object> object) {
  return Code(FromStorage{}, Storage(std::in_place_index<0>, std::move(object)));
}
Code Code::dictionary(Dictionary dictionary) {
  return Code(FromStorage{}, Storage(std::in_place_index<1>, std::move(dictionary)));
}
Code Code::property(Property property) {
  return Code(FromStorage{}, Storage(std::in_place_index<2>, std::move(property)));
}
Code Code::propertyType(PropertyType type) {
  return Code(FromStorage{}, Storage(std::in_place_index<3>, std::move(type)));
}

PropertyType Code::asPropertyType() const {
  switch (kind()) {
    case Kind::object:
      return PropertyType::object(std::get<0>(m_storage));
    case Kind::dictionary:
      return PropertyType::dictionary(dictionaryValue().propertyType);
    case Kind::property:
      return propertyValue().type;
    case Kind::propertyType:
      break;
  }
  return propertyTypeValue();
}

bool operator==(const Code& a, const Code& b) {
  if (a.kind() != b.kind()) return false;
  switch (a.kind()) {
    case Code::Kind::object: {
      const auto& x = std::get<0>(a.m_storage);
      const auto& y = std::get<0>(b.m_storage);
      return x == y || *x == *y;
    }
    case Code::Kind::dictionary:
      return a.dictionaryValue() == b.dictionaryValue();
    case Code::Kind::property:
      return a.propertyValue() == b.propertyValue();
    case Code::Kind::propertyType:
      return a.propertyTypeValue() == b.propertyTypeValue();
  }
  return false;
}

}  // namespace telvar
