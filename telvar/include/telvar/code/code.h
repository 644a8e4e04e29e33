#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "telvar/value/key_path.h"
#include "telvar/value/value.h"

namespace telvar {

// The code model: what a sample contains in language-neutral terms, between the refined `Value`
// and the renderers. Every type is an immutable value compared structurally (texts by canonical
// equivalence); nested types live in shared nodes, so copies are cheap and share their subtrees.

struct Object;
struct Property;

namespace detail {

/// A node of the code model that its copies share, counted by the copies themselves so that a
/// handle is one pointer. The count is plain, not atomic: a code model is built on one thread, and
/// the threads that read it at once (the name forms of a wide type) copy no handle.
class SharedNode {
 public:
  SharedNode() noexcept = default;
  SharedNode(const SharedNode&) = delete;
  SharedNode& operator=(const SharedNode&) = delete;
  virtual ~SharedNode() = default;

  void retain() const noexcept { ++m_count; }
  void release() const noexcept {
    if (--m_count == 0) delete this;
  }

 private:
  mutable std::size_t m_count = 1;
};

/// A shared node holding one immutable `T`.
template <class T>
class Node final : public SharedNode {
 public:
  explicit Node(T value) : value(std::move(value)) {}
  const T value;
};

/// A handle to a shared `T`: one pointer, copied by counting. Null when default-made.
template <class T>
class Shared {
 public:
  Shared() noexcept = default;
  /// A new node holding `value`.
  static Shared make(T value) { return Shared(new Node<T>(std::move(value))); }
  /// Another handle to the node under `node`, which holds a `T`.
  static Shared of(const SharedNode* node) noexcept {
    node->retain();
    return Shared(static_cast<const Node<T>*>(node));
  }

  Shared(const Shared& other) noexcept : m_node(other.m_node) {
    if (m_node) m_node->retain();
  }
  Shared(Shared&& other) noexcept : m_node(std::exchange(other.m_node, nullptr)) {}
  Shared& operator=(Shared other) noexcept {
    std::swap(m_node, other.m_node);
    return *this;
  }
  ~Shared() {
    if (m_node) m_node->release();
  }

  [[nodiscard]] const T* get() const noexcept { return m_node ? &m_node->value : nullptr; }
  [[nodiscard]] const T& operator*() const noexcept { return m_node->value; }
  [[nodiscard]] const T* operator->() const noexcept { return &m_node->value; }
  explicit operator bool() const noexcept { return m_node != nullptr; }
  /// Gives up the node without releasing it.
  [[nodiscard]] const SharedNode* release() noexcept { return std::exchange(m_node, nullptr); }

  friend bool operator==(const Shared& a, const Shared& b) noexcept { return a.m_node == b.m_node; }

 private:
  explicit Shared(const Node<T>* node) noexcept : m_node(node) {}

  const Node<T>* m_node = nullptr;
};

}  // namespace detail

/// A scalar type. `any` stands for a value of which nothing is known.
class Primitive {
 public:
  enum class Kind : std::uint8_t { date, bool_, int_, double_, string, url, any };

  static constexpr Primitive date(Value::DateKind kind) { return Primitive(Kind::date, kind); }
  static constexpr Primitive bool_() { return Primitive(Kind::bool_); }
  static constexpr Primitive int_() { return Primitive(Kind::int_); }
  static constexpr Primitive double_() { return Primitive(Kind::double_); }
  static constexpr Primitive string() { return Primitive(Kind::string); }
  static constexpr Primitive url() { return Primitive(Kind::url); }
  static constexpr Primitive any() { return Primitive(Kind::any); }

  [[nodiscard]] constexpr Kind kind() const noexcept { return m_kind; }
  /// How a date is written in the sample; requires the `date` case.
  [[nodiscard]] Value::DateKind dateKind() const noexcept { return m_dateKind; }

  /// Same case, and for dates the same kind.
  friend bool operator==(const Primitive& a, const Primitive& b) noexcept {
    return a.m_kind == b.m_kind && (a.m_kind != Kind::date || a.m_dateKind == b.m_dateKind);
  }

 private:
  constexpr explicit Primitive(Kind kind, Value::DateKind dateKind = Value::DateKind::iso8601)
      : m_kind(kind), m_dateKind(dateKind) {}

  Kind m_kind;
  Value::DateKind m_dateKind;
};

/// An enumeration with raw values, named by the key path of the member that became it.
struct Enum {
  enum class RawType : std::uint8_t { int_, string };

  /// One case: its name and its raw value written as text (also for integer raw types).
  struct Case {
    std::string name;
    std::string value;
    friend bool operator==(const Case& a, const Case& b);
  };

  Names names;
  RawType rawType;
  std::vector<Case> cases;  // in the order of the enum map that produced them

  friend bool operator==(const Enum& a, const Enum& b);
};

/// The wrappers a walk over a type looks through: nullable types only; lists and nullable types;
/// or lists, maps and nullable types.
enum class Wrappers : std::uint8_t { nullables, listsAndNullables, all };

/// The type of a property: a primitive, an object type, a map from text keys to one value type,
/// an enumeration, a list, or a nullable type (whose payload is absent when nothing but null was
/// seen). One word: the kind in its low bits, above them the address of the shared node holding
/// the payload or, for a primitive, of the primitive in a constant table (wide-1000: 2,000,000
/// members, whose 24-byte variant of shared pointers cost 32 MB more).
class PropertyType {
 public:
  enum class Kind : std::uint8_t { primitive, object, dictionary, enum_, array, optional };

  static PropertyType primitive(Primitive primitive);
  static PropertyType object(Object object);
  /// The object type held by a shared node, without copying it.
  static PropertyType object(detail::Shared<Object> object);
  /// A map from text keys to values of `valueType`.
  static PropertyType dictionary(PropertyType valueType);
  static PropertyType enum_(Enum enumeration);
  /// A list whose elements have `elementType`.
  static PropertyType array(PropertyType elementType);
  /// A nullable type; `std::nullopt` when nothing but null was seen.
  static PropertyType optional(std::optional<PropertyType> wrapped);
  /// A nullable type of a type held by a shared node, without copying it.
  static PropertyType optional(detail::Shared<PropertyType> wrapped);

  PropertyType(const PropertyType& other) noexcept : m_bits(other.m_bits) {
    if (const detail::SharedNode* n = node()) n->retain();
  }
  // A moved-from type is a payload-less `optional`, which holds no node.
  PropertyType(PropertyType&& other) noexcept
      : m_bits(std::exchange(other.m_bits, static_cast<std::uintptr_t>(Kind::optional))) {}
  PropertyType& operator=(PropertyType other) noexcept {
    std::swap(m_bits, other.m_bits);
    return *this;
  }
  ~PropertyType() {
    if (const detail::SharedNode* n = node()) n->release();
  }

  [[nodiscard]] Kind kind() const noexcept { return static_cast<Kind>(m_bits & kKindBits); }
  [[nodiscard]] bool is(Kind k) const noexcept { return kind() == k; }

  // Payload accessors; each requires the matching case.
  [[nodiscard]] const Primitive& primitiveValue() const noexcept {
    return *reinterpret_cast<const Primitive*>(m_bits & ~kKindBits);
  }
  [[nodiscard]] const Object& objectValue() const noexcept;
  /// Another handle to the node holding an `object`'s type.
  [[nodiscard]] detail::Shared<Object> sharedObject() const noexcept;
  /// The value type of a `dictionary`.
  [[nodiscard]] const PropertyType& dictionaryValue() const noexcept {
    return payload<PropertyType>();
  }
  [[nodiscard]] const Enum& enumValue() const noexcept { return payload<Enum>(); }
  /// The element type of an `array`.
  [[nodiscard]] const PropertyType& arrayValue() const noexcept { return payload<PropertyType>(); }
  /// The wrapped type of an `optional`, or nullptr when its payload is absent.
  [[nodiscard]] const PropertyType* optionalValue() const noexcept {
    return node() ? &payload<PropertyType>() : nullptr;
  }

  /// Whether this type is a wrapper that `through` looks through.
  [[nodiscard]] bool isWrapper(Wrappers through) const noexcept {
    switch (kind()) {
      case Kind::optional:
        return true;
      case Kind::array:
        return through != Wrappers::nullables;
      case Kind::dictionary:
        return through == Wrappers::all;
      case Kind::primitive:
      case Kind::object:
      case Kind::enum_:
        break;
    }
    return false;
  }

  /// The type directly inside a wrapper: an `array`'s element type, a `dictionary`'s value type
  /// or an `optional`'s wrapped type (nullptr when its payload is absent). Requires one of those.
  [[nodiscard]] const PropertyType* unwrapped() const {
    return node() ? &payload<PropertyType>() : nullptr;
  }

  /// Calls `visit` with each wrapper that `through` looks through, outermost first, and gives the
  /// type inside them all (`innermost(through)`). Loops, never recurses, so deep lists cost no
  /// call stack. For `[[Foo]?]` through lists and nullables: the outer list, the nullable, the
  /// inner list, then gives `Foo`.
  template <class Visit>
  const PropertyType* visitWrappers(Wrappers through, Visit&& visit) const {
    const PropertyType* t = this;
    while (t && t->isWrapper(through)) {
      visit(*t);
      t = t->unwrapped();
    }
    return t;
  }

  /// The type inside every wrapper that `through` looks through: this type itself when it is no
  /// such wrapper, and nullptr when the chain ends in an `optional` without payload. So
  /// `[String: [Foo?]]` gives `Foo` through `all`, and itself through `listsAndNullables`.
  [[nodiscard]] const PropertyType* innermost(Wrappers through = Wrappers::all) const {
    return visitWrappers(through, [](const PropertyType&) {});
  }

  /// The primitive of a primitive or of a nullable primitive (most members of a sample), else
  /// nullptr: the type a renderer can name as one word of its language.
  [[nodiscard]] const Primitive* plainPrimitive() const {
    const PropertyType* t = is(Kind::optional) ? optionalValue() : this;
    return t && t->is(Kind::primitive) ? &t->primitiveValue() : nullptr;
  }

  /// The key path of the object or enumeration type this type holds, looking through lists, maps
  /// and nullable types; nothing for primitives and for a payload-less `optional`. So a list of
  /// lists of nullable objects gives the object's `names`, and a map of strings nothing.
  [[nodiscard]] std::optional<Names> walk() const;

  friend bool operator==(const PropertyType& a, const PropertyType& b);

 private:
  static constexpr std::uintptr_t kKindBits = 7;
  static_assert(static_cast<std::uintptr_t>(Kind::optional) <= kKindBits);
  static_assert(alignof(detail::SharedNode) > kKindBits, "a node's address leaves the kind bits");

  // Each primitive once: the kinds in order, then the second date kind.
  struct alignas(kKindBits + 1) PrimitiveEntry {
    Primitive primitive;
  };
  static constexpr PrimitiveEntry kPrimitives[] = {
      {Primitive::date(Value::DateKind::iso8601)},
      {Primitive::bool_()},
      {Primitive::int_()},
      {Primitive::double_()},
      {Primitive::string()},
      {Primitive::url()},
      {Primitive::any()},
      {Primitive::date(Value::DateKind::timeIntervalSince1970)}};

  // Takes over `payload`: a node (null only for a payload-less `optional`), or an entry of
  // `kPrimitives`.
  PropertyType(Kind kind, const void* payload) noexcept
      : m_bits(reinterpret_cast<std::uintptr_t>(payload) | static_cast<std::uintptr_t>(kind)) {}
  // The node holding the payload, or nullptr for a primitive and a payload-less `optional`.
  [[nodiscard]] const detail::SharedNode* node() const noexcept {
    if (kind() == Kind::primitive) return nullptr;
    return reinterpret_cast<const detail::SharedNode*>(m_bits & ~kKindBits);
  }
  template <class T>
  static PropertyType make(Kind kind, T payload) {
    return {kind, detail::Shared<T>::make(std::move(payload)).release()};
  }
  template <class T>
  [[nodiscard]] const T& payload() const noexcept {
    return static_cast<const detail::Node<T>*>(node())->value;
  }

  // The node is a Node<Object>, Node<Enum> or Node<PropertyType>.
  std::uintptr_t m_bits;
};

/// The key path of an object's member: its object's key path, held by one shared node for all
/// the object's members, followed by its own key. A member costs one pointer for its object's
/// path, and a key of up to 15 bytes no allocation at all (wide-object-100: 200,000 members, whose
/// copied paths cost 117 M instructions to build and destroy). Reads as a `KeyPath`.
class MemberPath {
 public:
  /// The empty path.
  MemberPath() noexcept = default;
  /// Any key path: its last key is the member's own.
  MemberPath(Names names);  // NOLINT: every key path converts
  MemberPath(std::initializer_list<std::string> keys) : MemberPath(Names(keys)) {}
  /// The key path `*owner` followed by `key`; `owner` is never null.
  MemberPath(detail::Shared<Names> owner, Key key) noexcept
      : m_owner(std::move(owner)), m_key(std::move(key)) {}

  [[nodiscard]] KeyPath path() const noexcept {
    return m_owner ? KeyPath(*m_owner, m_key.view()) : KeyPath();
  }
  operator KeyPath() const noexcept { return path(); }  // NOLINT: reads as one

  [[nodiscard]] std::size_t size() const noexcept { return path().size(); }
  [[nodiscard]] bool empty() const noexcept { return !m_owner; }
  [[nodiscard]] std::string_view operator[](std::size_t i) const { return path()[i]; }
  /// The member's own key; requires a non-empty path.
  [[nodiscard]] std::string_view back() const noexcept { return m_key.view(); }
  [[nodiscard]] KeyPath::Iterator begin() const noexcept { return path().begin(); }
  [[nodiscard]] KeyPath::Iterator end() const noexcept { return path().end(); }
  /// A copy of the keys, for a caller that keeps them.
  [[nodiscard]] Names names() const { return path().names(); }

  friend bool operator==(const MemberPath& a, const MemberPath& b) { return a.path() == b.path(); }
  friend bool operator==(const MemberPath& a, const Names& b) { return a.path() == KeyPath(b); }

 private:
  detail::Shared<Names> m_owner;  // null for the empty path
  // A `Key` rather than a `std::string`: half the size, and the properties of a wide object are
  // most of the memory of its code (wide-1000: 2,000,000 properties, 32 MB less).
  Key m_key;
};

/// A single property: the key path of the member (its object's key path followed by its JSON
/// key) and its type.
struct Property {
  MemberPath names;
  PropertyType type;

  friend bool operator==(const Property& a, const Property& b);
};

static_assert(sizeof(Property) == 32, "a wide object's properties are most of its code's memory");

/// An object type to be declared: its key path and its properties in the sample's key order.
struct Object {
  Names names;
  std::vector<Property> properties;

  /// The properties of one object value: for each key of `orderedKeys` that has a member in
  /// `dictionary`, in order, a property with key path `names` followed by the key and the type
  /// inferred from the member (see `Code(const Value&)`). Keys without a member are skipped.
  [[nodiscard]] static std::vector<Property> inferredProperties(const KeyList& orderedKeys,
                                                                const ValueMap& dictionary,
                                                                const Names& names);

  friend bool operator==(const Object& a, const Object& b);
};

/// An object treated as a map from text keys to one value type.
struct Dictionary {
  Names names;
  PropertyType propertyType;

  friend bool operator==(const Dictionary& a, const Dictionary& b);
};

/// One item of inferred code: an object type, a dictionary, a single property (never inferred,
/// but accepted by every renderer) or any other type.
class Code {
 public:
  enum class Kind : std::uint8_t { object, dictionary, property, propertyType };

  static Code object(Object object);
  /// The object type held by a shared node, without copying it.
  static Code object(detail::Shared<Object> object);
  static Code dictionary(Dictionary dictionary);
  static Code property(Property property);
  static Code propertyType(PropertyType type);

  /// Inference: the code model of a refined sample. An object gives `object` (its properties in
  /// key order), a dictionary gives `dictionary`, everything else `propertyType`; of an array only
  /// the first element is looked at, and an empty array is a list of `any`. Key paths are copied
  /// from the value, not made. Linear in the size of the value and free of recursion, so deep
  /// samples cost no call stack.
  explicit Code(const Value& value);

  [[nodiscard]] Kind kind() const noexcept { return static_cast<Kind>(m_storage.index()); }
  [[nodiscard]] bool is(Kind k) const noexcept { return kind() == k; }

  // Payload accessors; each requires the matching case.
  [[nodiscard]] const Object& objectValue() const { return *std::get<0>(m_storage); }
  [[nodiscard]] const Dictionary& dictionaryValue() const { return std::get<1>(m_storage); }
  [[nodiscard]] const Property& propertyValue() const { return std::get<2>(m_storage); }
  [[nodiscard]] const PropertyType& propertyTypeValue() const { return std::get<3>(m_storage); }

  /// The property type this code stands for: an object's object type, a dictionary's map type
  /// (its own key path is dropped), a property's type, or the type itself.
  [[nodiscard]] PropertyType asPropertyType() const;

  friend bool operator==(const Code& a, const Code& b);

 private:
  using Storage = std::variant<detail::Shared<Object>, Dictionary, Property, PropertyType>;
  struct FromStorage {};

  Code(FromStorage, Storage storage) : m_storage(std::move(storage)) {}

  Storage m_storage;
};

}  // namespace telvar
