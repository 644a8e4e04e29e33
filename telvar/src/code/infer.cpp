#include <algorithm>
#include <utility>

#include "telvar/code/code.h"
#include "telvar/threads/chunks.h"
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
// their parent with an explicit stack, so nesting depth costs no call stack. Each object on the
// stack builds its properties in place, in one vector reserved once: wide-1000's object of
// 2,000,000 members then holds no second stack of its members' types beside its properties.
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
    detail::Shared<PropertyType>& shared = m_primitives[slot];
    if (!shared) shared = detail::Shared<PropertyType>::make(PropertyType::primitive(*primitive));
    return PropertyType::optional(shared);
  }

  PropertyType typeOf(const Value& root) {
    if (auto leaf = leafType(root)) return std::move(*leaf);
    push(root, nullptr);
    while (true) {
      Frame& frame = m_frames.back();
      const Key* key = nullptr;
      if (const Value* child = nextChild(frame, key)) {
        if (auto leaf = leafType(*child)) {
          add(frame, key, std::move(*leaf));
        } else {
          push(*child, key);
        }
        continue;
      }
      // Every child is inferred: build this value's type from theirs.
      PropertyType type = built(frame);
      const Key* ownKey = frame.key;
      m_frames.pop_back();
      if (m_frames.empty()) return type;
      add(m_frames.back(), ownKey, std::move(type));
    }
  }

  // Infers the members of a wide object on several threads, each with an inferrer (and owner
  // node) of its own, since the code model's counts are plain: wide-1000's 2,000,000 members took
  // 30 ms of the calling thread one by one. The members are counted first, so that each chunk
  // writes its own part of `properties`.
  static void inferInChunks(const KeyList& keys, const ValueMap& dictionary, const Names& names,
                            const detail::Shared<Names>& owner, std::vector<Property>& properties,
                            std::size_t chunks) {
    std::vector<std::size_t> firstOf(chunks + 1);
    forChunks(keys.size(), chunks, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
      std::size_t members = 0;
      for (std::size_t i = begin; i < end; ++i) {
        members += detail::memberAt(keys, dictionary, i) != nullptr;
      }
      firstOf[chunk + 1] = members;
    });
    for (std::size_t chunk = 0; chunk < chunks; ++chunk) firstOf[chunk + 1] += firstOf[chunk];
    properties.resize(firstOf[chunks],
                      Property{MemberPath(), PropertyType::optional(std::nullopt)});
    forChunks(keys.size(), chunks, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
      Inferrer inferrer;
      const detail::Shared<Names> own = chunk == 0 ? owner : detail::Shared<Names>::make(names);
      Property* out = properties.data() + firstOf[chunk];
      for (std::size_t i = begin; i < end; ++i) {
        if (const Value* member = detail::memberAt(keys, dictionary, i)) {
          *out++ = Property{MemberPath(own, keys[i]), inferrer.typeOf(*member)};
        }
      }
    });
  }

 private:
  // A value whose children are being inferred; `key` is its key in its parent object (nullptr
  // when the parent is not an object) and `next` the position of its next child. An object keeps
  // its members' properties and the node holding the path they share; any other value keeps the
  // type of its one child.
  struct Frame {
    const Value* value;
    const Key* key;
    std::size_t next = 0;
    detail::Shared<Names> owner;
    std::vector<Property> properties;
    std::optional<PropertyType> child;
  };

  void push(const Value& value, const Key* key) {
    Frame& frame = m_frames.emplace_back(Frame{&value, key, 0, {}, {}, std::nullopt});
    if (!value.is(VKind::object)) return;
    const auto& object = value.objectValue();
    // Every key may have a member, and no more members than keys are read.
    const std::size_t members = std::min(object.orderedKeys().size(), object.dictionary.size());
    if (members == 0) return;
    frame.owner = detail::Shared<Names>::make(object.names.get());
    const std::size_t chunks = chunksFor(object.orderedKeys().size(), kMembersAChunk);
    if (chunks > 1) {
      inferInChunks(object.orderedKeys(), object.dictionary, object.names.get(), frame.owner,
                    frame.properties, chunks);
      frame.next = object.orderedKeys().size();  // every member inferred
      return;
    }
    frame.properties.reserve(members);
  }

  // Gives a finished child's type to its parent.
  static void add(Frame& parent, const Key* key, PropertyType type) {
    if (parent.value->is(VKind::object)) {
      parent.properties.push_back(Property{MemberPath(parent.owner, *key), std::move(type)});
    } else {
      parent.child = std::move(type);
    }
  }

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

  static PropertyType built(Frame& frame) {
    switch (frame.value->kind()) {
      case VKind::object:
        return PropertyType::object(
            Object{frame.value->objectValue().names, std::move(frame.properties)});
      case VKind::array:
        return PropertyType::array(std::move(*frame.child));
      case VKind::null:
        return PropertyType::optional(std::move(*frame.child));
      default:  // dictionary
        return PropertyType::dictionary(std::move(*frame.child));
    }
  }

  // Primitive kinds, then the second date kind.
  static constexpr std::size_t kPrimitiveKinds = static_cast<std::size_t>(Primitive::Kind::any) + 1;

  std::vector<Frame> m_frames;
  detail::Shared<PropertyType> m_primitives[kPrimitiveKinds + 1];
};

}  // namespace

std::vector<Property> Object::inferredProperties(const KeyList& orderedKeys,
                                                 const ValueMap& dictionary, const Names& names) {
  std::vector<Property> properties;
  const auto owner = detail::Shared<Names>::make(names);
  if (const std::size_t chunks = chunksFor(orderedKeys.size(), kMembersAChunk); chunks > 1) {
    Inferrer::inferInChunks(orderedKeys, dictionary, names, owner, properties, chunks);
    return properties;
  }
  Inferrer inferrer;
  properties.reserve(orderedKeys.size());
  for (std::size_t i = 0; i < orderedKeys.size(); ++i) {
    if (const Value* member = detail::memberAt(orderedKeys, dictionary, i)) {
      properties.push_back(Property{MemberPath(owner, orderedKeys[i]), inferrer.typeOf(*member)});
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
