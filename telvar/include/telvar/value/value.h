#pragma once

#include <atomic>
#include <bit>
#include <cstdint>
#include <cstring>
#include <iterator>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace telvar {

class Value;

/// A key path: the JSON keys from the root down to a node, the model name first.
using Names = std::vector<std::string>;

/// The key path of a node in one word: nothing is allocated for the empty path that every parsed
/// value has. Reads as a `const Names&`.
class NodeNames {
 public:
  NodeNames() noexcept = default;
  NodeNames(Names names)  // NOLINT: every key path converts
      : m_names(names.empty() ? nullptr : std::make_unique<const Names>(std::move(names))) {}
  NodeNames(const NodeNames& other)
      : m_names(other.m_names ? std::make_unique<const Names>(*other.m_names) : nullptr) {}
  NodeNames(NodeNames&&) noexcept = default;
  NodeNames& operator=(const NodeNames& other) {
    if (this != &other) *this = NodeNames(other);
    return *this;
  }
  NodeNames& operator=(NodeNames&&) noexcept = default;
  ~NodeNames() = default;

  [[nodiscard]] const Names& get() const noexcept { return m_names ? *m_names : none(); }
  operator const Names&() const noexcept { return get(); }  // NOLINT
  [[nodiscard]] std::size_t size() const noexcept { return get().size(); }
  [[nodiscard]] bool empty() const noexcept { return !m_names; }
  [[nodiscard]] const std::string& back() const { return get().back(); }
  [[nodiscard]] const std::string& front() const { return get().front(); }
  [[nodiscard]] const std::string& operator[](std::size_t i) const { return get()[i]; }
  [[nodiscard]] Names::const_iterator begin() const noexcept { return get().begin(); }
  [[nodiscard]] Names::const_iterator end() const noexcept { return get().end(); }
  friend bool operator==(const NodeNames& a, const NodeNames& b) { return a.get() == b.get(); }
  friend bool operator==(const NodeNames& a, const Names& b) { return a.get() == b; }

 private:
  static const Names& none() noexcept {
    static const Names empty;
    return empty;
  }
  std::unique_ptr<const Names> m_names;
};

namespace detail {

/// A reference-counted immutable text: the count, the length, then the bytes. Shared by the
/// copies of a key or a long string value, so a tree never holds the same text twice for them.
struct TextRep {
  std::atomic<std::uint32_t> refs;
  std::size_t size;

  [[nodiscard]] const char* data() const noexcept {
    return reinterpret_cast<const char*>(this + 1);
  }
  [[nodiscard]] static TextRep* make(std::string_view text);
  static void retain(TextRep* rep) noexcept { rep->refs.fetch_add(1, std::memory_order_relaxed); }
  static void release(TextRep* rep) noexcept {
    // A count of one is the caller's own: no other handle can be copied meanwhile, so the text
    // goes without a locked decrement (most texts of a parsed tree are never shared).
    if (rep->refs.load(std::memory_order_acquire) == 1 ||
        rep->refs.fetch_sub(1, std::memory_order_acq_rel) == 1) {
      ::operator delete(rep);
    }
  }
};

}  // namespace detail

/// An object key: an immutable text in two machine words. Keys of up to fifteen bytes (most keys)
/// are stored in the words themselves; longer ones share one counted copy among all the handles.
/// (Fifteen rather than seven: the keys of wide records, "field_1234", then cost no allocation,
/// which spares a node per member of a 200,000-member object.)
/// Compares by bytes like `std::string`; canonical equivalence is the business of `ValueMap`.
class Key {
 public:
  /// The longest text held in place; longer keys allocate their shared copy.
  static constexpr std::size_t kInPlace = 15;

  Key() noexcept : m_bytes{1} {}
  // NOLINTNEXTLINE: every text converts to its key
  Key(std::string_view text) : m_bytes{} {
    // In line: the grammar makes a key of every key it reads.
    if (text.size() > kInPlace) {
      share(text);
    } else {
      m_bytes[0] = static_cast<unsigned char>((text.size() << 1) | 1);
      if (!text.empty()) std::memcpy(m_bytes + 1, text.data(), text.size());
    }
  }
  Key(const std::string& text) : Key(std::string_view(text)) {}  // NOLINT
  Key(const char* text) : Key(std::string_view(text)) {}         // NOLINT

  Key(const Key& other) noexcept {
    std::memcpy(m_bytes, other.m_bytes, sizeof m_bytes);
    if (!isInline()) detail::TextRep::retain(rep());
  }
  Key(Key&& other) noexcept {
    std::memcpy(m_bytes, other.m_bytes, sizeof m_bytes);
    std::memcpy(other.m_bytes, kEmpty, sizeof kEmpty);
  }
  Key& operator=(const Key& other) noexcept {
    Key copy(other);
    swap(copy);
    return *this;
  }
  Key& operator=(Key&& other) noexcept {
    Key moved(std::move(other));
    swap(moved);
    return *this;
  }
  ~Key() {
    if (!isInline()) detail::TextRep::release(rep());
  }

  [[nodiscard]] std::string_view view() const noexcept {
    if (isInline()) {
      return {reinterpret_cast<const char*>(m_bytes + 1),
              static_cast<std::size_t>(m_bytes[0] >> 1)};
    }
    const detail::TextRep* r = rep();
    return {r->data(), r->size};
  }
  operator std::string_view() const noexcept { return view(); }  // NOLINT
  [[nodiscard]] std::string str() const { return std::string(view()); }
  [[nodiscard]] std::size_t size() const noexcept { return view().size(); }
  [[nodiscard]] bool empty() const noexcept { return view().empty(); }
  /// Whether every byte is ASCII. A key held in place answers from its two words (the grammar
  /// asks this of every key it reads).
  [[nodiscard]] bool ascii() const noexcept {
    if (!isInline()) return asciiShared();
    // The tag byte is below 0x80 and the bytes past the text are zero.
    std::uint64_t words[2];
    std::memcpy(words, m_bytes, sizeof words);
    return ((words[0] | words[1]) & 0x8080808080808080u) == 0;
  }

  void swap(Key& other) noexcept {
    unsigned char t[sizeof m_bytes];
    std::memcpy(t, m_bytes, sizeof t);
    std::memcpy(m_bytes, other.m_bytes, sizeof t);
    std::memcpy(other.m_bytes, t, sizeof t);
  }

  friend bool operator==(const Key& a, const Key& b) noexcept { return a.view() == b.view(); }
  friend bool operator==(const Key& a, std::string_view b) noexcept { return a.view() == b; }
  friend bool operator==(const Key& a, const std::string& b) noexcept { return a.view() == b; }
  friend bool operator==(const Key& a, const char* b) noexcept {
    return a.view() == std::string_view(b);
  }
  friend auto operator<=>(const Key& a, const Key& b) noexcept { return a.view() <=> b.view(); }

 private:
  static_assert(std::endian::native == std::endian::little,
                "the inline tag is the low bit of the first byte of the word");

  // Inline: the first byte is the length times two plus one, the bytes follow, and the rest are
  // zero. Otherwise the first word is a pointer to the shared copy, whose low bit is zero.
  static constexpr unsigned char kEmpty[16] = {1};
  [[nodiscard]] bool isInline() const noexcept { return (m_bytes[0] & 1) != 0; }
  [[nodiscard]] detail::TextRep* rep() const noexcept {
    detail::TextRep* r;
    std::memcpy(&r, m_bytes, sizeof r);
    return r;
  }
  [[nodiscard]] bool asciiShared() const noexcept;
  // Makes this key hold a shared copy of `text`.
  void share(std::string_view text);

  alignas(8) unsigned char m_bytes[16];
};

/// The keys of an object in their order: the order of its members when that is the same, its
/// own list otherwise. A view into the object; valid while the object lives.
class KeyList {
 public:
  using Member = std::pair<Key, Value>;

  KeyList(const Key* keys, const Member* members, std::size_t size) noexcept
      : m_keys(keys), m_members(members), m_size(size) {}

  [[nodiscard]] std::size_t size() const noexcept { return m_size; }
  [[nodiscard]] bool empty() const noexcept { return m_size == 0; }
  [[nodiscard]] const Key& operator[](std::size_t i) const noexcept;

  class Iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Key;
    using difference_type = std::ptrdiff_t;
    using pointer = const Key*;
    using reference = const Key&;
    Iterator() = default;
    Iterator(const KeyList& list, std::size_t i)
        : m_keys(list.m_keys), m_members(list.m_members), m_i(i) {}
    reference operator*() const;
    pointer operator->() const { return &**this; }
    Iterator& operator++() {
      ++m_i;
      return *this;
    }
    Iterator operator++(int) {
      Iterator old = *this;
      ++m_i;
      return old;
    }
    friend bool operator==(const Iterator& a, const Iterator& b) { return a.m_i == b.m_i; }

   private:
    // The list's own pointers, so that an iterator outlives the view it came from.
    const Key* m_keys = nullptr;
    const Member* m_members = nullptr;
    std::size_t m_i = 0;
  };
  [[nodiscard]] Iterator begin() const { return {*this, 0}; }
  [[nodiscard]] Iterator end() const { return {*this, m_size}; }

  /// A copy of the keys, to build another object from.
  [[nodiscard]] std::vector<Key> toVector() const { return {begin(), end()}; }

  /// The same keys (bytes) in the same order.
  friend bool operator==(const KeyList& a, const KeyList& b) noexcept;

 private:
  const Key* m_keys;
  const Member* m_members;
  std::size_t m_size;
};

/// An immutable map from text to `Value`, keyed by canonical equivalence: two keys that differ
/// only in Unicode normalisation are one key. Iteration follows insertion order, which is never
/// used for output (objects print by their `orderedKeys`). Look-ups are hashed for large maps.
class ValueMap {
 public:
  using Member = std::pair<Key, Value>;

  ValueMap() noexcept = default;
  ValueMap(const ValueMap& other);
  ValueMap(ValueMap&& other) noexcept;
  ValueMap& operator=(const ValueMap& other);
  ValueMap& operator=(ValueMap&& other) noexcept;
  ~ValueMap();
  /// Takes members whose keys are already known to differ (the grammar's first-wins list).
  explicit ValueMap(std::vector<Member> distinctMembers);

  /// Inserts `value` under `key`, or replaces the value already stored under an equivalent key
  /// (which keeps its original position and spelling).
  void insertOrAssign(Key key, Value value);
  /// Inserts only when no equivalent key is stored; returns whether it inserted.
  bool insertIfAbsent(Key key, Value value);
  /// Appends a member whose key the caller knows to be absent (no equivalent key is stored).
  void appendAbsent(Key key, Value value);
  /// `appendAbsent` with the key's `hashOf` known.
  void appendAbsent(Key key, Value value, std::uint32_t hash);
  /// Removes the member under `key`, if any.
  void erase(std::string_view key);

  [[nodiscard]] const Value* find(std::string_view key) const;
  [[nodiscard]] bool contains(std::string_view key) const { return find(key) != nullptr; }
  /// The position in `entries()` of the member under an equivalent key, or -1. Hashed for large
  /// maps.
  [[nodiscard]] std::ptrdiff_t position(std::string_view key) const { return indexOf(key); }
  /// Whether look-ups hash the key (the map is large).
  [[nodiscard]] bool hashed() const noexcept { return m_slots != nullptr; }
  /// The hash under which a hashed map files `key`: a fold over wide records looks each new key
  /// up and then appends it, and hashes it once for both.
  [[nodiscard]] static std::uint32_t hashOf(std::string_view key);
  /// `position` with the key's `hashOf` known (used only while the map is hashed).
  [[nodiscard]] std::ptrdiff_t position(std::string_view key, std::uint32_t hash) const {
    return m_slots ? indexOf(key, hash) : indexOf(key);
  }
  /// Starts loading the slot where a look-up of `hash` begins, for a caller about to look up
  /// many keys of a large map: its table is larger than the caches, and waiting on each probe in
  /// turn was a sixth of the time of 1,000 wide records (see `mergedInto`).
  void prefetch(std::uint32_t hash) const noexcept {
    if (m_slots) __builtin_prefetch(m_slots.get() + 1 + (hash & (slotCount() - 1)));
  }
  /// The value of the member at `position`, for changing in place; only for a map no other value
  /// can see (see `Value::uniqueObject`).
  [[nodiscard]] Value& valueAt(std::size_t position) noexcept;
  [[nodiscard]] std::size_t size() const noexcept { return m_size; }
  [[nodiscard]] bool empty() const noexcept { return m_size == 0; }
  void reserve(std::size_t n);
  /// Lets go of the look-up table, where there is one: finding a key then reads the members one
  /// by one, and adding one builds the table again.
  void dropIndex() noexcept { m_slots.reset(); }

  /// The members in insertion order, as (key, value) pairs.
  [[nodiscard]] std::span<const Member> entries() const noexcept;

  /// Same key set, and equal values under each key; insertion order plays no part.
  friend bool operator==(const ValueMap& a, const ValueMap& b);

 private:
  friend class Value;
  // Capacity of a map whose members live in storage it does not own: an object node's.
  static constexpr std::uint32_t kExternal = 0xFFFFFFFF;

  [[nodiscard]] std::ptrdiff_t indexOf(std::string_view key) const;
  // The same with the key's hash known (only while the table is there).
  [[nodiscard]] std::ptrdiff_t indexOf(std::string_view key, std::uint32_t hash) const;
  // `appendAbsent` with the key's hash known.
  void appendHashed(Key key, Value value, std::uint32_t hash);
  void rebuildIndex();
  // Doubles the table, which names all its entries already.
  void growIndex();
  void indexInsert(std::size_t entry, std::uint32_t hash);
  [[nodiscard]] std::size_t slotCount() const noexcept { return m_slots ? m_slots[0] : 0; }
  // Moves the members to `size()` places at `storage`, owned from then on by the caller.
  void moveInto(Member* storage) noexcept;
  // Makes an empty map hold `members`, moved to `storage`, owned by the caller.
  void adopt(Member* storage, std::span<Member> members);
  void reallocate(std::size_t capacity);
  void clear() noexcept;

  Member* m_data = nullptr;
  std::uint32_t m_size = 0;
  std::uint32_t m_capacity = 0;
  // Open-addressing table, built once the map grows past a few members; its first word is the
  // number of slots. A slot holds the entry's position plus one in its low half (0 marks an empty
  // slot) and the key's hash in its high half, so that a probe skips most keys without reading
  // them and growing the table hashes no key again. Keys are hashed in their canonical
  // composition.
  std::unique_ptr<std::uint64_t[]> m_slots;
};

/// A parsed and refined JSON sample. Eleven cases; children live in shared immutable nodes, so a
/// copy is cheap and shares its subtrees, and no operation changes a value in place. A value is
/// two machine words: the case and its small payload (a flag, a number, a text of up to fourteen
/// bytes) in place, anything larger behind one counted pointer.
class Value {
 public:
  enum class Kind : std::uint8_t {
    bool_,
    number,
    string,
    object,
    array,
    null,
    url,
    date,
    enum_,
    dictionary,
    empty,
  };

  /// A JSON number: a signed 64-bit integer or a double. An int never equals a double.
  class Number {
   public:
    enum class Kind : std::uint8_t { int_, double_ };
    static Number int_(std::int64_t v) { return Number(v); }
    static Number double_(double v) { return Number(v); }

    [[nodiscard]] Kind kind() const noexcept { return static_cast<Kind>(m_value.index()); }
    [[nodiscard]] bool isInt() const noexcept { return m_value.index() == 0; }
    [[nodiscard]] bool isDouble() const noexcept { return m_value.index() == 1; }
    [[nodiscard]] std::int64_t intValue() const { return std::get<0>(m_value); }
    [[nodiscard]] double doubleValue() const { return std::get<1>(m_value); }
    /// The value as a double, whichever case it is.
    [[nodiscard]] double asDouble() const noexcept {
      return isInt() ? static_cast<double>(std::get<0>(m_value)) : std::get<1>(m_value);
    }

    friend bool operator==(const Number& a, const Number& b) noexcept;

   private:
    explicit Number(std::int64_t v) : m_value(v) {}
    explicit Number(double v) : m_value(v) {}
    std::variant<std::int64_t, double> m_value;
  };

  /// One case of an inferred enumeration: its name and its raw value as text.
  struct Case {
    std::string name;
    std::string value;
    friend bool operator==(const Case& a, const Case& b);
  };

  enum class RawType : std::uint8_t { int_, string };
  enum class DateKind : std::uint8_t { iso8601, timeIntervalSince1970 };

  /// An absolute URL with a host, kept as its text.
  struct Url {
    std::string text;
    friend bool operator==(const Url& a, const Url& b) = default;
  };

  class Object {
   public:
    Object(Names names, ValueMap dictionary, std::vector<Key> orderedKeys);
    /// Keys in the order of the members.
    Object(Names names, ValueMap dictionary);
    Object(const Object& other);
    Object(Object&&) noexcept = default;
    Object& operator=(const Object&) = delete;
    Object& operator=(Object&&) noexcept = default;
    ~Object() = default;

    NodeNames names;
    ValueMap dictionary;
    /// A hint for folding records in place: the members before this position are all nullable.
    /// Merging keeps a nullable member nullable and appends new members at the end, so the hint
    /// stays true; a fold over wide records then looks only at the members after it.
    std::size_t nullablePrefix = 0;
    /// The keys in the order the sample gave them.
    [[nodiscard]] KeyList orderedKeys() const noexcept {
      if (m_orderedKeys) return {m_orderedKeys->data(), nullptr, m_orderedKeys->size()};
      return {nullptr, dictionary.entries().data(), dictionary.entries().size()};
    }

    /// Whether `orderedKeys` are the keys of `dictionary.entries()` in that order, so that a walk
    /// in key order can take the members as they lie.
    [[nodiscard]] bool keysInMemberOrder() const noexcept { return !m_orderedKeys; }

   private:
    // Kept only when the order differs from the members' own (rare: merges of equivalent keys).
    std::unique_ptr<const std::vector<Key>> m_orderedKeys;
  };
  struct Array {
    NodeNames names;
    /// The elements, which live in the array's own node.
    std::span<const Value> values;

    Array(NodeNames n, std::span<const Value> v) : names(std::move(n)), values(v) {}
    Array(const Array&) = delete;
    Array& operator=(const Array&) = delete;
  };
  struct Enum {
    NodeNames names;
    RawType rawType;
    std::vector<Case> cases;
  };
  struct Dictionary {
    NodeNames names;
    std::shared_ptr<const Value> value;  // never null
  };

  // One constructor per case, payload fields in order.
  static Value bool_(bool value);
  static Value number(Number value);
  static Value string(std::string_view value);
  static Value object(Names names, ValueMap dictionary, std::vector<Key> orderedKeys);
  /// An object whose key order is the order of its members.
  static Value object(Names names, ValueMap dictionary);
  /// An object of members whose keys are known to differ, in key order, moved from `members`
  /// (the grammar's gathered members: no map is built on the way).
  static Value objectMovingDistinct(std::span<ValueMap::Member> members, Names names = {});
  /// An array of the elements moved from `values`.
  static Value arrayMoving(std::span<Value> values);
  static Value array(Names names, std::vector<Value> values);
  static Value null(std::optional<Value> optionalValue = std::nullopt);
  static Value url(const Url& value);
  static Value date(DateKind kind);
  static Value enum_(Names names, RawType rawType, std::vector<Case> cases);
  static Value dictionary(Names names, Value value);
  static Value empty();

  /// `empty`.
  Value() noexcept : m_raw{static_cast<unsigned char>(Kind::empty)} {}

  [[nodiscard]] Kind kind() const noexcept { return static_cast<Kind>(m_raw[0]); }
  [[nodiscard]] bool is(Kind k) const noexcept { return kind() == k; }

  // Payload accessors; each requires the matching case.
  [[nodiscard]] bool boolValue() const noexcept { return m_raw[1] != 0; }
  [[nodiscard]] Number numberValue() const noexcept;
  [[nodiscard]] std::string_view stringValue() const noexcept { return text(); }
  [[nodiscard]] const Object& objectValue() const noexcept { return node<Object>(); }
  [[nodiscard]] const Array& arrayValue() const noexcept { return node<Array>(); }
  /// Whether a `null` has an inner value (it is not a plain JSON null).
  [[nodiscard]] bool hasNullInner() const noexcept { return m_raw[1] != kPlainNull; }
  /// The inner value of a `null`, or nothing for a plain JSON null.
  [[nodiscard]] std::optional<Value> nullInner() const;
  /// The inner value of a `null` that keeps it in a node of its own, valid while this value
  /// lives; nullptr for a plain JSON null and for an inner value kept in place. Only scalars are
  /// kept in place: every inner value a walk enters (an object, an array, a null, an
  /// enumeration, a dictionary) has its node.
  [[nodiscard]] const Value* nullInnerNode() const noexcept {
    return m_raw[1] == kBoxedInner ? &node<Value>() : nullptr;
  }
  /// The text of a `url`.
  [[nodiscard]] std::string_view urlValue() const noexcept { return text(); }
  [[nodiscard]] DateKind dateKind() const noexcept { return static_cast<DateKind>(m_raw[1]); }
  [[nodiscard]] const Enum& enumValue() const noexcept { return node<Enum>(); }
  [[nodiscard]] const Dictionary& dictionaryValue() const noexcept { return node<Dictionary>(); }

  /// For changing in place: an object's members, or an array's elements, when this value is the
  /// only owner of its node (no copy can see the change); empty otherwise, and then the value is
  /// to be rebuilt instead. Members keep their keys: only their values may change.
  [[nodiscard]] std::span<ValueMap::Member> uniqueMembers() noexcept;
  /// For changing in place: the object, members may be added too, when this value is the only
  /// owner of its node; nullptr otherwise.
  [[nodiscard]] Object* uniqueObject() noexcept;
  [[nodiscard]] std::span<Value> uniqueElements() noexcept;
  /// For changing in place: the array (its key path), when this value is the only owner of its
  /// node; nullptr otherwise.
  [[nodiscard]] Array* uniqueArray() noexcept;
  /// For changing in place: the inner value of a `null` that keeps it in a node
  /// (`nullInnerNode`), when this value is the only owner of that node; nullptr otherwise.
  [[nodiscard]] Value* uniqueNullInner() noexcept;
  /// Lets go of the look-up tables of the objects of `minMembers` members or more that this
  /// value alone holds, at any depth (`ValueMap::dropIndex`): for a tree that is only walked
  /// from here on.
  void dropIndexes(std::size_t minMembers) noexcept;

  /// Structural equality; texts compare by canonical equivalence.
  friend bool operator==(const Value& a, const Value& b);

  ~Value() { release(); }
  Value(const Value& other) noexcept {
    std::memcpy(m_raw, other.m_raw, sizeof m_raw);
    retain();
  }
  Value(Value&& other) noexcept {
    std::memcpy(m_raw, other.m_raw, sizeof m_raw);
    other.m_raw[0] = static_cast<unsigned char>(Kind::empty);
  }
  Value& operator=(const Value& other) noexcept {
    Value copy(other);
    swap(copy);
    return *this;
  }
  Value& operator=(Value&& other) noexcept {
    Value moved(std::move(other));
    swap(moved);
    return *this;
  }
  void swap(Value& other) noexcept {
    unsigned char t[sizeof m_raw];
    std::memcpy(t, m_raw, sizeof t);
    std::memcpy(m_raw, other.m_raw, sizeof t);
    std::memcpy(other.m_raw, t, sizeof t);
  }

 private:
  // A shared node: the count, then the payload. Values hold nodes as `NodeBase*`.
  struct NodeBase {
    std::atomic<std::uint32_t> refs{1};
  };
  template <class T>
  struct Node : NodeBase {
    template <class... A>
    explicit Node(A&&... args) : payload(std::forward<A>(args)...) {}
    T payload;
  };

  // Layout: byte 0 the case; byte 1 the small payload (the flag, the number's case, the date
  // kind, how a null keeps its inner value, or an inline text's length); an inline text in
  // bytes 2-15; otherwise bytes 8-15 the number or the pointer.
  //
  // A null keeps a scalar inner value in place (see `null`): byte 2 its case, byte 3 its small
  // payload, then a number in bytes 8-15 or a text of up to twelve bytes in bytes 4-15.
  static constexpr std::size_t kInlineText = 14;
  static constexpr unsigned char kSharedText = 0xFF;
  static constexpr unsigned char kPlainNull = 0;
  static constexpr unsigned char kBoxedInner = 1;
  static constexpr unsigned char kInPlaceInner = 2;
  static constexpr std::size_t kInPlaceInnerText = 12;

  template <class T>
  [[nodiscard]] const T& node() const noexcept {
    return static_cast<const Node<T>*>(static_cast<const NodeBase*>(pointer()))->payload;
  }
  [[nodiscard]] void* pointer() const noexcept {
    void* p;
    std::memcpy(&p, m_raw + 8, sizeof p);
    return p;
  }
  void setPointer(const void* p) noexcept { std::memcpy(m_raw + 8, &p, sizeof p); }
  template <class T>
  static Value make(Kind kind, T&& payload, unsigned char small = 0);
  // An object node holds its members right after itself: one allocation per object.
  static Value makeObject(Object&& object);
  static Value makeArray(Names names, std::span<Value> values);
  // A block holding a node of `T` followed by `count` elements of `E`.
  template <class T, class E>
  static std::pair<void*, E*> allocateNode(std::size_t count);
  static Value makeText(Kind kind, std::string_view text);
  [[nodiscard]] std::string_view text() const noexcept;
  [[nodiscard]] bool holdsPointer() const noexcept;
  void retain() const noexcept;
  void release() noexcept;

  alignas(8) unsigned char m_raw[16];
};

static_assert(sizeof(Value) == 16);
static_assert(sizeof(Key) == 16);

// Defined here, where `Value` is complete.
inline std::span<const ValueMap::Member> ValueMap::entries() const noexcept {
  return {m_data, m_size};
}

inline std::optional<Value> Value::nullInner() const {
  if (m_raw[1] == kBoxedInner) return node<Value>();
  if (m_raw[1] != kInPlaceInner) return std::nullopt;
  Value inner;
  inner.m_raw[0] = m_raw[2];
  inner.m_raw[1] = m_raw[3];
  if (inner.is(Kind::number)) {
    std::memcpy(inner.m_raw + 8, m_raw + 8, 8);
  } else {
    std::memcpy(inner.m_raw + 2, m_raw + 4, kInPlaceInnerText);
  }
  return inner;
}

inline const Key& KeyList::Iterator::operator*() const {
  return m_keys ? m_keys[m_i] : m_members[m_i].first;
}

inline const Key& KeyList::operator[](std::size_t i) const noexcept {
  return m_keys ? m_keys[i] : m_members[i].first;
}

[[nodiscard]] bool namesEqual(const Names& a, const Names& b);

}  // namespace telvar
