#include "telvar/value/value.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <functional>
#include <new>
#include <stdexcept>

#include "telvar/threads/chunks.h"
#include "telvar/unicode/text.h"

namespace telvar {
namespace {

// Small maps are searched in order: comparing a few keys costs less than hashing one.
constexpr std::size_t kIndexThreshold = 16;

std::uint32_t hashKey(std::string_view key) {
  // ASCII text is its own composition: most keys skip the normaliser's check.
  if (isAscii(key)) return static_cast<std::uint32_t>(std::hash<std::string_view>{}(key));
  std::string scratch;
  return static_cast<std::uint32_t>(std::hash<std::string_view>{}(nfcView(key, scratch)));
}

constexpr std::uint64_t slotOf(std::size_t entry, std::uint32_t hash) {
  return (std::uint64_t{hash} << 32) | static_cast<std::uint32_t>(entry + 1);
}

// Storage of 4 MB or more is zeroed on several threads as soon as it is allocated, a share of at
// least one huge page (2 MB) to a thread. Memory a process takes afresh costs a page fault per
// page the first time it is written; on the virtual machines we measure on, memory the host has
// taken back meanwhile costs about a millisecond a megabyte more (a second run straight after
// another does not pay it). Wide records grow a fold of 64 MB of members and a table of 32 MB:
// zeroing blocks from 8 MB on took wide-1000 from 0.61 to 0.52 s (Swift), and from 4 MB on
// wide-100 from 0.124 to 0.103 s (Dart; medians of 6-8 runs, each after 2.5 s idle).
constexpr std::size_t kZeroedAThread = std::size_t{2} << 20;
constexpr std::size_t kZeroedOnThreads = 2 * kZeroedAThread;

// The slots of a look-up table moved to its larger one by a thread.
constexpr std::size_t kSlotsAChunk = std::size_t{1} << 17;

void zeroed(void* block, std::size_t bytes) noexcept {
  auto* at = static_cast<unsigned char*>(block);
  if (bytes >= kZeroedOnThreads) {
    try {
      forChunks(bytes, chunksFor(bytes, kZeroedAThread),
                [at](std::size_t, std::size_t begin, std::size_t end) {
                  std::memset(at + begin, 0, end - begin);
                });
      return;
    } catch (...) {
      // No memory to set the threads up with: zeroed here instead.
    }
  }
  std::memset(at, 0, bytes);
}

std::unique_ptr<std::uint64_t[]> zeroedSlots(std::size_t count) {
  std::unique_ptr<std::uint64_t[]> slots(new std::uint64_t[count]);
  zeroed(slots.get(), count * sizeof(std::uint64_t));
  return slots;
}

}  // namespace

// Texts

detail::TextRep* detail::TextRep::make(std::string_view text) {
  void* memory = ::operator new(sizeof(TextRep) + text.size());
  auto* rep = new (memory) TextRep{{1}, text.size()};
  if (!text.empty()) std::memcpy(const_cast<char*>(rep->data()), text.data(), text.size());
  return rep;
}

void Key::share(std::string_view text) {
  detail::TextRep* r = detail::TextRep::make(text);
  std::memcpy(m_bytes, &r, sizeof r);
}

bool Key::asciiShared() const noexcept { return isAscii(view()); }

bool operator==(const KeyList& a, const KeyList& b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!(a[i] == b[i])) return false;
  }
  return true;
}

// ValueMap

ValueMap::ValueMap(const ValueMap& other) {
  try {
    reallocate(other.m_size);
    for (std::uint32_t i = 0; i < other.m_size; ++i) {
      new (m_data + i) Member(other.m_data[i]);
      ++m_size;
    }
    if (other.m_slots) {
      const std::size_t n = other.slotCount() + 1;
      m_slots = std::make_unique<std::uint64_t[]>(n);
      std::memcpy(m_slots.get(), other.m_slots.get(), n * sizeof(std::uint64_t));
    }
  } catch (...) {
    clear();  // a constructor that throws runs no destructor
    throw;
  }
}

ValueMap::ValueMap(ValueMap&& other) noexcept
    : m_data(other.m_data),
      m_size(other.m_size),
      m_capacity(other.m_capacity),
      m_slots(std::move(other.m_slots)) {
  other.m_data = nullptr;
  other.m_size = other.m_capacity = 0;
}

ValueMap& ValueMap::operator=(const ValueMap& other) {
  if (this != &other) *this = ValueMap(other);
  return *this;
}

ValueMap& ValueMap::operator=(ValueMap&& other) noexcept {
  if (this != &other) {
    clear();
    m_data = other.m_data;
    m_size = other.m_size;
    m_capacity = other.m_capacity;
    m_slots = std::move(other.m_slots);
    other.m_data = nullptr;
    other.m_size = other.m_capacity = 0;
  }
  return *this;
}

ValueMap::~ValueMap() { clear(); }

void ValueMap::clear() noexcept {
  for (std::uint32_t i = 0; i < m_size; ++i) m_data[i].~Member();
  if (m_capacity != kExternal && m_data) ::operator delete(m_data);
  m_data = nullptr;
  m_size = m_capacity = 0;
  m_slots.reset();
}

void ValueMap::reallocate(std::size_t capacity) {
  if (capacity > kExternal - 1) throw std::length_error("an object has too many members");
  auto* storage =
      capacity ? static_cast<Member*>(::operator new(capacity * sizeof(Member))) : nullptr;
  // Only for its pages: see `kZeroedAThread`.
  if (capacity * sizeof(Member) >= kZeroedOnThreads) zeroed(storage, capacity * sizeof(Member));
  for (std::uint32_t i = 0; i < m_size; ++i) {
    new (storage + i) Member(std::move(m_data[i]));
    m_data[i].~Member();
  }
  if (m_capacity != kExternal && m_data) ::operator delete(m_data);
  m_data = storage;
  m_capacity = static_cast<std::uint32_t>(capacity);
}

void ValueMap::reserve(std::size_t n) {
  if (m_capacity == kExternal || n > m_capacity) reallocate(std::max<std::size_t>(n, m_size));
}

void ValueMap::adopt(Member* storage, std::span<Member> members) {
  if (members.size() > kExternal - 1) throw std::length_error("an object has too many members");
  for (std::size_t i = 0; i < members.size(); ++i) new (storage + i) Member(std::move(members[i]));
  m_data = storage;
  m_size = static_cast<std::uint32_t>(members.size());
  m_capacity = kExternal;
  rebuildIndex();
}

void ValueMap::moveInto(Member* storage) noexcept {
  for (std::uint32_t i = 0; i < m_size; ++i) {
    new (storage + i) Member(std::move(m_data[i]));
    m_data[i].~Member();
  }
  if (m_capacity != kExternal && m_data) ::operator delete(m_data);
  m_data = storage;
  m_capacity = kExternal;
}

std::ptrdiff_t ValueMap::indexOf(std::string_view key) const {
  if (!m_slots) {
    for (std::size_t i = 0; i < m_size; ++i) {
      if (textEquals(m_data[i].first, key)) return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
  }
  return indexOf(key, hashKey(key));
}

std::ptrdiff_t ValueMap::indexOf(std::string_view key, std::uint32_t hash) const {
  // Wide records look up every key of every record here (most of them absent): comparing the
  // stored hashes first keeps a probe from reading the keys' text.
  const std::size_t mask = slotCount() - 1;
  const std::uint64_t* slots = m_slots.get() + 1;
  for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
    const std::uint64_t s = slots[slot];
    if (s == 0) return -1;
    if ((s >> 32) != hash) continue;
    const auto e = static_cast<std::uint32_t>(s);
    if (textEquals(m_data[e - 1].first, key)) return static_cast<std::ptrdiff_t>(e - 1);
  }
}

void ValueMap::indexInsert(std::size_t entry, std::uint32_t hash) {
  const std::size_t mask = slotCount() - 1;
  std::uint64_t* slots = m_slots.get() + 1;
  std::size_t slot = hash & mask;
  while (slots[slot] != 0) slot = (slot + 1) & mask;
  slots[slot] = slotOf(entry, hash);
}

void ValueMap::rebuildIndex() {
  m_slots.reset();
  if (m_size <= kIndexThreshold) return;
  std::size_t capacity = 32;
  while (capacity < std::size_t{m_size} * 2) capacity *= 2;
  // The first word holds the number of slots.
  m_slots = zeroedSlots(capacity + 1);
  m_slots[0] = capacity;
  for (std::size_t i = 0; i < m_size; ++i) indexInsert(i, hashKey(m_data[i].first));
}

void ValueMap::growIndex() {
  const std::unique_ptr<std::uint64_t[]> old = std::move(m_slots);
  const std::size_t oldCount = old[0];
  m_slots = zeroedSlots(oldCount * 2 + 1);
  m_slots[0] = oldCount * 2;
  // The old slots hold the hashes of the entries they name: no key is hashed again.
  const std::size_t chunks = chunksFor(oldCount, kSlotsAChunk);
  if (chunks == 1) {
    for (std::size_t i = 1; i <= oldCount; ++i) {
      const std::uint64_t s = old[i];
      const auto e = static_cast<std::uint32_t>(s);
      if (e != 0) indexInsert(e - 1, static_cast<std::uint32_t>(s >> 32));
    }
    return;
  }
  // A wide fold's table is moved on several threads (wide-1000: 4,000,000 moves, a twentieth of
  // the calling thread's time): each claims its free slot by exchange. Which of two colliding
  // entries comes first in the probe does not matter to a look-up.
  const std::size_t mask = oldCount * 2 - 1;
  std::uint64_t* slots = m_slots.get() + 1;
  forChunks(oldCount, chunks, [&](std::size_t, std::size_t begin, std::size_t end) {
    for (std::size_t i = begin + 1; i <= end; ++i) {
      const std::uint64_t s = old[i];
      if (static_cast<std::uint32_t>(s) == 0) continue;
      for (std::size_t slot = (s >> 32) & mask;; slot = (slot + 1) & mask) {
        std::uint64_t empty = 0;
        if (std::atomic_ref<std::uint64_t>(slots[slot])
                .compare_exchange_strong(empty, s, std::memory_order_relaxed)) {
          break;
        }
      }
    }
  });
}

ValueMap::ValueMap(std::vector<Member> distinctMembers) {
  try {
    reallocate(distinctMembers.size());
    for (Member& member : distinctMembers) new (m_data + m_size++) Member(std::move(member));
    rebuildIndex();
  } catch (...) {
    clear();  // a constructor that throws runs no destructor
    throw;
  }
}

bool ValueMap::insertIfAbsent(Key key, Value value) {
  if (!m_slots) {
    if (indexOf(key) >= 0) return false;
    appendAbsent(std::move(key), std::move(value));
    return true;
  }
  // One hash for the look-up and the insertion: the grammar adds every key of a wide object
  // here.
  const std::uint32_t hash = hashKey(key);
  if (indexOf(key, hash) >= 0) return false;
  appendHashed(std::move(key), std::move(value), hash);
  return true;
}

void ValueMap::appendAbsent(Key key, Value value) {
  const std::uint32_t hash = m_size + 1 > kIndexThreshold ? hashKey(key) : 0;
  appendHashed(std::move(key), std::move(value), hash);
}

std::uint32_t ValueMap::hashOf(std::string_view key) { return hashKey(key); }

void ValueMap::appendAbsent(Key key, Value value, std::uint32_t hash) {
  appendHashed(std::move(key), std::move(value), hash);
}

void ValueMap::appendHashed(Key key, Value value, std::uint32_t hash) {
  if (m_capacity == kExternal || m_size == m_capacity) {
    reallocate(m_capacity == kExternal ? std::size_t{m_size} + 1
                                       : std::max<std::size_t>(4, std::size_t{m_size} * 2));
  }
  new (m_data + m_size) Member(std::move(key), std::move(value));
  ++m_size;
  if (m_size <= kIndexThreshold) return;
  if (!m_slots) {
    rebuildIndex();  // the first table, of a few keys
    return;
  }
  // The table names every member but the new one.
  if (slotCount() < std::size_t{m_size} * 2) growIndex();
  indexInsert(m_size - 1, hash);
}

void ValueMap::insertOrAssign(Key key, Value value) {
  std::ptrdiff_t i = indexOf(key);
  if (i >= 0) {
    if (m_capacity == kExternal) reallocate(m_size);
    m_data[static_cast<std::size_t>(i)].second = std::move(value);
    return;
  }
  insertIfAbsent(std::move(key), std::move(value));
}

void ValueMap::erase(std::string_view key) {
  std::ptrdiff_t i = indexOf(key);
  if (i < 0) return;
  if (m_capacity == kExternal) reallocate(m_size);
  for (auto j = static_cast<std::size_t>(i); j + 1 < m_size; ++j) {
    m_data[j] = std::move(m_data[j + 1]);
  }
  m_data[--m_size].~Member();
  m_slots.reset();  // the positions moved: every key is hashed again
  rebuildIndex();
}

Value& ValueMap::valueAt(std::size_t position) noexcept { return m_data[position].second; }

const Value* ValueMap::find(std::string_view key) const {
  std::ptrdiff_t i = indexOf(key);
  return i < 0 ? nullptr : &m_data[static_cast<std::size_t>(i)].second;
}

bool operator==(const ValueMap& a, const ValueMap& b) {
  if (a.size() != b.size()) return false;
  for (const auto& [key, value] : a.entries()) {
    const Value* other = b.find(key);
    if (!other || !(value == *other)) return false;
  }
  return true;
}

bool operator==(const Value::Number& a, const Value::Number& b) noexcept {
  if (a.m_value.index() != b.m_value.index()) return false;
  if (a.isInt()) return std::get<0>(a.m_value) == std::get<0>(b.m_value);
  return std::get<1>(a.m_value) == std::get<1>(b.m_value);
}

bool operator==(const Value::Case& a, const Value::Case& b) {
  return textEquals(a.name, b.name) && textEquals(a.value, b.value);
}

bool namesEqual(const Names& a, const Names& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!textEquals(a[i], b[i])) return false;
  }
  return true;
}

// Value

Value::Object::Object(Names n, ValueMap d) : names(std::move(n)), dictionary(std::move(d)) {}

Value::Object::Object(const Object& other)
    : names(other.names),
      dictionary(other.dictionary),
      nullablePrefix(other.nullablePrefix),
      m_orderedKeys(other.m_orderedKeys
                        ? std::make_unique<const std::vector<Key>>(*other.m_orderedKeys)
                        : nullptr) {}

Value::Object::Object(Names n, ValueMap d, std::vector<Key> keys)
    : names(std::move(n)), dictionary(std::move(d)) {
  // The order is usually the members' own, and then needs no list of its own.
  const auto& entries = dictionary.entries();
  bool same = keys.size() == entries.size();
  for (std::size_t i = 0; same && i < keys.size(); ++i) same = keys[i] == entries[i].first;
  if (!same) m_orderedKeys = std::make_unique<const std::vector<Key>>(std::move(keys));
}

template <class T>
Value Value::make(Kind kind, T&& payload, unsigned char small) {
  using Payload = std::decay_t<T>;
  Value v;
  v.m_raw[0] = static_cast<unsigned char>(kind);
  v.m_raw[1] = small;
  v.setPointer(static_cast<NodeBase*>(new Node<Payload>(std::forward<T>(payload))));
  return v;
}

Value Value::makeText(Kind kind, std::string_view text) {
  Value v;
  v.m_raw[0] = static_cast<unsigned char>(kind);
  if (text.size() <= kInlineText) {
    v.m_raw[1] = static_cast<unsigned char>(text.size());
    if (!text.empty()) std::memcpy(v.m_raw + 2, text.data(), text.size());
  } else {
    v.m_raw[1] = kSharedText;
    v.setPointer(detail::TextRep::make(text));
  }
  return v;
}

std::string_view Value::text() const noexcept {
  if (m_raw[1] != kSharedText) {
    return {reinterpret_cast<const char*>(m_raw + 2), static_cast<std::size_t>(m_raw[1])};
  }
  const auto* rep = static_cast<const detail::TextRep*>(pointer());
  return {rep->data(), rep->size};
}

Value::Number Value::numberValue() const noexcept {
  if (m_raw[1] == 0) {
    std::int64_t i;
    std::memcpy(&i, m_raw + 8, sizeof i);
    return Number::int_(i);
  }
  double d;
  std::memcpy(&d, m_raw + 8, sizeof d);
  return Number::double_(d);
}

std::span<ValueMap::Member> Value::uniqueMembers() noexcept {
  if (!is(Kind::object)) return {};
  auto* node = static_cast<Node<Object>*>(static_cast<NodeBase*>(pointer()));
  if (node->refs.load(std::memory_order_acquire) != 1) return {};
  ValueMap& members = node->payload.dictionary;
  return {members.m_data, members.m_size};
}

void Value::dropIndexes(std::size_t minMembers) noexcept {
  // An explicit stack: samples nest 512 deep. Only nodes this value alone holds are changed, and
  // only below them is looked for more.
  std::vector<Value*> open;
  // Scalars and bare nulls hold no table: a wide object's leaves are not worth a place on the
  // stack.
  const auto mayHoldTables = [](const Value& v) noexcept {
    return v.is(Kind::object) || v.is(Kind::array) ||
           (v.is(Kind::null) && v.nullInnerNode() != nullptr);
  };
  try {
    for (Value* v = this; v;) {
      if (Value* inner = v->uniqueNullInner()) {
        v = inner;
        continue;
      }
      if (Object* object = v->uniqueObject()) {
        if (object->dictionary.size() >= minMembers) object->dictionary.dropIndex();
        for (ValueMap::Member& member : v->uniqueMembers()) {
          if (mayHoldTables(member.second)) open.push_back(&member.second);
        }
      } else {
        for (Value& element : v->uniqueElements()) {
          if (mayHoldTables(element)) open.push_back(&element);
        }
      }
      v = open.empty() ? nullptr : open.back();
      if (v) open.pop_back();
    }
  } catch (const std::bad_alloc&) {
    // No memory for the walk: what it did not reach keeps its tables.
  }
}

Value::Object* Value::uniqueObject() noexcept {
  if (!is(Kind::object)) return nullptr;
  auto* node = static_cast<Node<Object>*>(static_cast<NodeBase*>(pointer()));
  if (node->refs.load(std::memory_order_acquire) != 1) return nullptr;
  return &node->payload;
}

std::span<Value> Value::uniqueElements() noexcept {
  if (!is(Kind::array)) return {};
  auto* node = static_cast<Node<Array>*>(static_cast<NodeBase*>(pointer()));
  if (node->refs.load(std::memory_order_acquire) != 1) return {};
  // The elements were made in the node's own block, not as constants.
  const std::span<const Value> values = node->payload.values;
  return {const_cast<Value*>(values.data()), values.size()};
}

Value::Array* Value::uniqueArray() noexcept {
  if (!is(Kind::array)) return nullptr;
  auto* node = static_cast<Node<Array>*>(static_cast<NodeBase*>(pointer()));
  if (node->refs.load(std::memory_order_acquire) != 1) return nullptr;
  return &node->payload;
}

Value* Value::uniqueNullInner() noexcept {
  if (!is(Kind::null) || m_raw[1] != kBoxedInner) return nullptr;
  auto* node = static_cast<Node<Value>*>(static_cast<NodeBase*>(pointer()));
  if (node->refs.load(std::memory_order_acquire) != 1) return nullptr;
  return &node->payload;
}

bool Value::holdsPointer() const noexcept {
  switch (kind()) {
    case Kind::string:
    case Kind::url:
      return m_raw[1] == kSharedText;
    case Kind::null:
      return m_raw[1] == kBoxedInner;
    case Kind::object:
    case Kind::array:
    case Kind::enum_:
    case Kind::dictionary:
      return true;
    default:
      return false;
  }
}

void Value::retain() const noexcept {
  if (!holdsPointer()) return;
  if (kind() == Kind::string || kind() == Kind::url) {
    detail::TextRep::retain(static_cast<detail::TextRep*>(pointer()));
    return;
  }
  static_cast<NodeBase*>(pointer())->refs.fetch_add(1, std::memory_order_relaxed);
}

void Value::release() noexcept {
  if (!holdsPointer()) return;
  void* p = pointer();
  if (kind() == Kind::string || kind() == Kind::url) {
    detail::TextRep::release(static_cast<detail::TextRep*>(p));
    return;
  }
  auto* base = static_cast<NodeBase*>(p);
  // A count of one is this value's own: no other value can copy the node meanwhile, so a tree
  // nobody shares is let go without a locked decrement per node.
  if (base->refs.load(std::memory_order_acquire) != 1 &&
      base->refs.fetch_sub(1, std::memory_order_acq_rel) != 1) {
    return;
  }
  switch (kind()) {
    case Kind::object: {
      // The members after the node go with the node's own block (see makeObject).
      auto* node = static_cast<Node<Object>*>(base);
      node->~Node<Object>();
      ::operator delete(static_cast<void*>(node));
      break;
    }
    case Kind::array: {
      // The elements after the node go with the node's own block (see makeArray).
      auto* node = static_cast<Node<Array>*>(base);
      for (const Value& element : node->payload.values) element.~Value();
      node->~Node<Array>();
      ::operator delete(static_cast<void*>(node));
      break;
    }
    case Kind::null:
      delete static_cast<Node<Value>*>(base);
      break;
    case Kind::enum_:
      delete static_cast<Node<Enum>*>(base);
      break;
    case Kind::dictionary:
      delete static_cast<Node<Dictionary>*>(base);
      break;
    default:
      break;
  }
}

Value Value::bool_(bool value) {
  Value v;
  v.m_raw[0] = static_cast<unsigned char>(Kind::bool_);
  v.m_raw[1] = value ? 1 : 0;
  return v;
}

Value Value::number(Number value) {
  Value v;
  v.m_raw[0] = static_cast<unsigned char>(Kind::number);
  if (value.isInt()) {
    const std::int64_t i = value.intValue();
    std::memcpy(v.m_raw + 8, &i, sizeof i);
  } else {
    v.m_raw[1] = 1;
    const double d = value.doubleValue();
    std::memcpy(v.m_raw + 8, &d, sizeof d);
  }
  return v;
}

Value Value::string(std::string_view value) { return makeText(Kind::string, value); }
template <class T, class E>
std::pair<void*, E*> Value::allocateNode(std::size_t count) {
  constexpr std::size_t header = (sizeof(Node<T>) + alignof(E) - 1) / alignof(E) * alignof(E);
  void* block = ::operator new(header + count * sizeof(E));
  return {block, reinterpret_cast<E*>(static_cast<unsigned char*>(block) + header)};
}

Value Value::objectMovingDistinct(std::span<ValueMap::Member> members, Names names) {
  Object object(std::move(names), ValueMap());
  auto [block, storage] = allocateNode<Object, ValueMap::Member>(members.size());
  auto* node = new (block) Node<Object>(std::move(object));
  // Owned by the value from here on, so that a throwing index build frees the node.
  Value v;
  v.m_raw[0] = static_cast<unsigned char>(Kind::object);
  v.setPointer(static_cast<NodeBase*>(node));
  node->payload.dictionary.adopt(storage, members);
  return v;
}

Value Value::makeObject(Object&& object) {
  auto [block, storage] = allocateNode<Object, ValueMap::Member>(object.dictionary.size());
  auto* node = new (block) Node<Object>(std::move(object));
  node->payload.dictionary.moveInto(storage);
  Value v;
  v.m_raw[0] = static_cast<unsigned char>(Kind::object);
  v.setPointer(static_cast<NodeBase*>(node));
  return v;
}

Value Value::object(Names names, ValueMap dictionary, std::vector<Key> orderedKeys) {
  return makeObject(Object(std::move(names), std::move(dictionary), std::move(orderedKeys)));
}
Value Value::object(Names names, ValueMap dictionary) {
  return makeObject(Object(std::move(names), std::move(dictionary)));
}
Value Value::makeArray(Names names, std::span<Value> values) {
  NodeNames path(std::move(names));  // before anything is moved: this may throw
  auto [block, elements] = allocateNode<Array, Value>(values.size());
  for (std::size_t i = 0; i < values.size(); ++i) new (elements + i) Value(std::move(values[i]));
  auto* node =
      new (block) Node<Array>(std::move(path), std::span<const Value>(elements, values.size()));
  Value v;
  v.m_raw[0] = static_cast<unsigned char>(Kind::array);
  v.setPointer(static_cast<NodeBase*>(node));
  return v;
}

Value Value::array(Names names, std::vector<Value> values) {
  return makeArray(std::move(names), values);
}

Value Value::arrayMoving(std::span<Value> values) { return makeArray({}, values); }
Value Value::null(std::optional<Value> optionalValue) {
  Value v;
  v.m_raw[0] = static_cast<unsigned char>(Kind::null);
  if (!optionalValue) return v;
  // A scalar is kept in the null's own two words: members absent from some records (most
  // members of wide records) are such nulls, and each would otherwise be a node of its own.
  const Value& inner = *optionalValue;
  bool inPlace = false;
  switch (inner.kind()) {
    case Kind::bool_:
    case Kind::number:
    case Kind::date:
    case Kind::empty:
      inPlace = true;
      break;
    case Kind::string:
    case Kind::url:
      inPlace = inner.m_raw[1] <= kInPlaceInnerText;  // never a shared text
      break;
    default:
      break;
  }
  if (!inPlace) return make(Kind::null, std::move(*optionalValue), kBoxedInner);
  v.m_raw[1] = kInPlaceInner;
  v.m_raw[2] = inner.m_raw[0];
  v.m_raw[3] = inner.m_raw[1];
  if (inner.is(Kind::number)) {
    std::memcpy(v.m_raw + 8, inner.m_raw + 8, 8);
  } else {
    std::memcpy(v.m_raw + 4, inner.m_raw + 2, kInPlaceInnerText);
  }
  return v;
}
Value Value::url(const Url& value) { return makeText(Kind::url, value.text); }
Value Value::date(DateKind kind) {
  Value v;
  v.m_raw[0] = static_cast<unsigned char>(Kind::date);
  v.m_raw[1] = static_cast<unsigned char>(kind);
  return v;
}
Value Value::enum_(Names names, RawType rawType, std::vector<Case> cases) {
  return make(Kind::enum_, Enum{std::move(names), rawType, std::move(cases)});
}
Value Value::dictionary(Names names, Value value) {
  return make(Kind::dictionary,
              Dictionary{std::move(names), std::make_shared<const Value>(std::move(value))});
}
Value Value::empty() { return Value(); }

bool operator==(const Value& a, const Value& b) {
  if (a.kind() != b.kind()) return false;
  switch (a.kind()) {
    case Value::Kind::bool_:
      return a.boolValue() == b.boolValue();
    case Value::Kind::number:
      return a.numberValue() == b.numberValue();
    case Value::Kind::string:
      return textEquals(a.stringValue(), b.stringValue());
    case Value::Kind::object: {
      const auto& x = a.objectValue();
      const auto& y = b.objectValue();
      if (&x == &y) return true;
      if (!namesEqual(x.names, y.names) || !(x.dictionary == y.dictionary)) return false;
      const KeyList kx = x.orderedKeys();
      const KeyList ky = y.orderedKeys();
      if (kx.size() != ky.size()) return false;
      for (std::size_t i = 0; i < kx.size(); ++i) {
        if (!textEquals(kx[i], ky[i])) return false;
      }
      return true;
    }
    case Value::Kind::array: {
      const auto& x = a.arrayValue();
      const auto& y = b.arrayValue();
      if (&x == &y) return true;
      return namesEqual(x.names, y.names) && std::ranges::equal(x.values, y.values);
    }
    case Value::Kind::null: {
      const Value* boxed = a.nullInnerNode();
      if (boxed && boxed == b.nullInnerNode()) return true;
      const std::optional<Value> x = a.nullInner();
      const std::optional<Value> y = b.nullInner();
      if (!x || !y) return !x && !y;
      return *x == *y;
    }
    case Value::Kind::url:
      return a.urlValue() == b.urlValue();
    case Value::Kind::date:
      return a.dateKind() == b.dateKind();
    case Value::Kind::enum_: {
      const auto& x = a.enumValue();
      const auto& y = b.enumValue();
      return namesEqual(x.names, y.names) && x.rawType == y.rawType && x.cases == y.cases;
    }
    case Value::Kind::dictionary: {
      const auto& x = a.dictionaryValue();
      const auto& y = b.dictionaryValue();
      return namesEqual(x.names, y.names) && *x.value == *y.value;
    }
    case Value::Kind::empty:
      return true;
  }
  return false;
}

}  // namespace telvar
