#include <utility>

#include "telvar/code/code.h"
#include "value/members.h"

namespace telvar {
namespace {

using VKind = Value::Kind;

// The primitive of a scalar, or nothing for any other value.
std::optional<Primitive> primitiveOf(const Value& value) {
  switch (value.kind()) {
    case VKind::bool_:
      return Primitive::bool_();
    case VKind::number:
      return value.numberValue().isInt() ? Primitive::int_() : Primitive::double_();
    case VKind::string:
      return Primitive::string();
    case VKind::url:
      return Primitive::url();
    case VKind::date:
      return Primitive::date(value.dateKind());
    case VKind::empty:
      return Primitive::any();
    default:
      return std::nullopt;
  }
}

// The type of a value that has no children to infer first, or nothing for one that has (an
// object, an array with elements, a null with an inner value, a dictionary).
std::optional<PropertyType> plainLeafType(const Value& value) {
  if (const std::optional<Primitive> primitive = primitiveOf(value)) {
    return PropertyType::primitive(*primitive);
  }
  switch (value.kind()) {
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
      if (!value.hasNullInner()) return PropertyType::optional(std::nullopt);
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

// Infers property types (the code of a value, as a property type). Children are inferred before
// their parent with an explicit stack, so nesting depth costs no call stack; the stacks are kept
// between calls, so the members of a wide object cost no allocations of their own.
class Inferrer {
 public:
  // `plainLeafType`, and also the nullable of a scalar: one shared node per primitive stands for
  // the wrapped type of all of them, where members absent from some records (most members of
  // wide records) would otherwise allocate one each.
  std::optional<PropertyType> leafType(const Value& value) {
    const std::optional<Value> inner =
        value.is(VKind::null) ? value.nullInner() : std::optional<Value>();
    if (!inner) return plainLeafType(value);
    // Only the primitive is looked at: building its type for each member, only to drop it for the
    // shared node, cost 15 M of inference's 107 M instructions at wide-object-100.
    const std::optional<Primitive> primitive = primitiveOf(*inner);
    if (!primitive) return std::nullopt;
    std::size_t slot = static_cast<std::size_t>(primitive->kind());
    if (primitive->kind() == Primitive::Kind::date &&
        primitive->dateKind() == Value::DateKind::timeIntervalSince1970) {
      slot = kPrimitiveKinds;
    }
    std::shared_ptr<const PropertyType>& shared = m_primitives[slot];
    if (!shared) shared = std::make_shared<const PropertyType>(PropertyType::primitive(*primitive));
    return PropertyType::optional(shared);
  }

  PropertyType typeOf(const Value& root) {
    if (auto leaf = leafType(root)) return std::move(*leaf);
    m_frames.push_back({&root, nullptr, 0, m_results.size()});
    while (true) {
      Frame& frame = m_frames.back();
      const Key* key = nullptr;
      if (const Value* child = nextChild(frame, key)) {
        if (auto leaf = leafType(*child)) {
          m_results.push_back({key, std::move(*leaf)});
        } else {
          m_frames.push_back({child, key, 0, m_results.size()});
        }
        continue;
      }
      // Every child is inferred: build this value's type from their results.
      PropertyType type = built(*frame.value, frame.base);
      m_results.erase(m_results.begin() + static_cast<std::ptrdiff_t>(frame.base), m_results.end());
      const Key* ownKey = frame.key;
      m_frames.pop_back();
      if (m_frames.empty()) return type;
      m_results.push_back({ownKey, std::move(type)});
    }
  }

 private:
  // A value whose children are being inferred; `key` is its key in its parent object (nullptr
  // when the parent is not an object), `next` the position of its next child, and `base` where
  // its children's types begin on the result stack.
  struct Frame {
    const Value* value;
    const Key* key;
    std::size_t next;
    std::size_t base;
  };
  // A finished child type, with its key when its parent is an object.
  struct Result {
    const Key* key;
    PropertyType type;
  };

  static const Value* nextChild(Frame& frame, const Key*& key) {
    const Value& value = *frame.value;
    switch (value.kind()) {
      case VKind::object: {
        const auto& object = value.objectValue();
        const KeyList keys = object.orderedKeys();
        while (frame.next < keys.size()) {
          key = &keys[frame.next];
          // Keys without a member are skipped.
          if (const Value* member = detail::memberAt(object, frame.next++)) return member;
        }
        return nullptr;
      }
      case VKind::array:  // only the first element is looked at
        return frame.next++ == 0 ? &value.arrayValue().values.front() : nullptr;
      case VKind::null:
        // Scalars, the inner values a null keeps in place, are leaves (see leafType).
        return frame.next++ == 0 ? value.nullInnerNode() : nullptr;
      case VKind::dictionary:
        return frame.next++ == 0 ? value.dictionaryValue().value.get() : nullptr;
      default:
        return nullptr;
    }
  }

  PropertyType built(const Value& value, std::size_t base) {
    switch (value.kind()) {
      case VKind::object: {
        const auto& object = value.objectValue();
        std::vector<Property> properties;
        properties.reserve(m_results.size() - base);
        // One node holds the path that the object's members share.
        const std::shared_ptr<const Names> owner =
            m_results.size() > base ? std::make_shared<const Names>(object.names.get()) : nullptr;
        for (std::size_t i = base; i < m_results.size(); ++i) {
          properties.push_back(Property{MemberPath(owner, std::string(*m_results[i].key)),
                                        std::move(m_results[i].type)});
        }
        return PropertyType::object(Object{object.names, std::move(properties)});
      }
      case VKind::array:
        return PropertyType::array(std::move(m_results[base].type));
      case VKind::null:
        return PropertyType::optional(std::move(m_results[base].type));
      default:  // dictionary
        return PropertyType::dictionary(std::move(m_results[base].type));
    }
  }

  // Primitive kinds, then the second date kind.
  static constexpr std::size_t kPrimitiveKinds = static_cast<std::size_t>(Primitive::Kind::any) + 1;

  std::vector<Frame> m_frames;
  std::vector<Result> m_results;
  std::shared_ptr<const PropertyType> m_primitives[kPrimitiveKinds + 1];
};

}  // namespace

std::vector<Property> Object::inferredProperties(const KeyList& orderedKeys,
                                                 const ValueMap& dictionary, const Names& names) {
  Inferrer inferrer;
  std::vector<Property> properties;
  properties.reserve(orderedKeys.size());
  const auto owner = std::make_shared<const Names>(names);
  for (std::size_t i = 0; i < orderedKeys.size(); ++i) {
    if (const Value* member = detail::memberAt(orderedKeys, dictionary, i)) {
      properties.push_back(
          Property{MemberPath(owner, std::string(orderedKeys[i])), inferrer.typeOf(*member)});
    }
  }
  return properties;
}

namespace {

Code inferred(const Value& value) {
  switch (value.kind()) {
    case VKind::object: {
      const auto& object = value.objectValue();
      return Code::object(Object{
          object.names,
          Object::inferredProperties(object.orderedKeys(), object.dictionary, object.names)});
    }
    case VKind::dictionary: {
      const auto& dictionary = value.dictionaryValue();
      return Code::dictionary(Dictionary{dictionary.names, Inferrer().typeOf(*dictionary.value)});
    }
    default:
      return Code::propertyType(Inferrer().typeOf(value));
  }
}

}  // namespace

Code::Code(const Value& value) : Code(inferred(value)) {}

}  // namespace telvar
