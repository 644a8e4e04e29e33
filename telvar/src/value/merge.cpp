#include "telvar/value/merge.h"

#include <algorithm>
#include <cstdint>
#include <span>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "telvar/unicode/text.h"
#include "telvar/value/url.h"

namespace telvar {
namespace {

using Kind = Value::Kind;

Value nullable(const Value& v) { return v.is(Kind::null) ? v : Value::null(v); }

// A set of keys under canonical equivalence. Objects in samples are small: those are scanned
// without allocating; larger sets switch to hashing the canonical forms.
class KeySet {
 public:
  /// Adds `key`; false when an equivalent key is there already.
  bool insert(std::string_view key) {
    if (contains(key)) return false;
    if (m_hashed.empty() && m_small.size() < kSmall) {
      m_small.push_back(key);
    } else {
      if (m_hashed.empty()) {
        for (std::string_view k : m_small) m_hashed.insert(nfc(k));
      }
      m_hashed.insert(nfc(key));
    }
    return true;
  }

  [[nodiscard]] bool contains(std::string_view key) const {
    if (!m_hashed.empty()) return m_hashed.count(nfc(key)) > 0;
    for (std::string_view k : m_small) {
      if (textEquals(k, key)) return true;
    }
    return false;
  }

 private:
  static constexpr std::size_t kSmall = 16;
  std::vector<std::string_view> m_small;
  std::unordered_set<std::string> m_hashed;
};

// Records of one array usually have the same keys in the same order: then members pair up by
// position, and the result has A's keys and order.
bool pairByPosition(const Value::Object& a, const Value::Object& b) {
  const auto ea = a.dictionary.entries();
  const auto eb = b.dictionary.entries();
  const KeyList ka = a.orderedKeys();
  if (!(ka == b.orderedKeys()) || ea.size() != eb.size() || ka.size() != ea.size()) return false;
  for (std::size_t i = 0; i < ea.size(); ++i) {
    if (!(ea[i].first == eb[i].first) || !(ka[i] == ea[i].first)) return false;
  }
  return true;
}

Value mergedObjects(const Value::Object& a, const Value::Object& b) {
  const auto& ea = a.dictionary.entries();
  const auto& eb = b.dictionary.entries();
  const KeyList ka = a.orderedKeys();
  const KeyList kb = b.orderedKeys();
  if (pairByPosition(a, b)) {
    std::vector<ValueMap::Member> members;
    members.reserve(ea.size());
    for (std::size_t i = 0; i < ea.size(); ++i) {
      members.emplace_back(ea[i].first, mergedWith(ea[i].second, eb[i].second));
    }
    return Value::objectMovingDistinct(members, a.names);
  }

  ValueMap members = a.dictionary;
  KeySet mergedKeys;  // keys merged from A's side
  for (const auto& key : ka) {
    const Value* ma = a.dictionary.find(key);
    if (!ma) continue;
    const Value* mb = b.dictionary.find(key);
    members.insertOrAssign(key, mb ? mergedWith(*ma, *mb) : nullable(*ma));
    if (mb) mergedKeys.insert(key);
  }
  for (const auto& key : kb) {
    const Value* mb = b.dictionary.find(key);
    if (!mb) continue;
    const Value* ma = a.dictionary.find(key);
    // A member on both sides was merged above already, with the same result.
    if (ma && mergedKeys.contains(key)) continue;
    members.insertOrAssign(key, ma ? mergedWith(*ma, *mb) : nullable(*mb));
  }
  // Key order: A's keys, then B's keys not yet in the list (each added once).
  std::vector<Key> keys = ka.toVector();
  if (!(kb == ka)) {
    KeySet seen;
    for (const auto& k : ka) seen.insert(k);
    for (const auto& k : kb) {
      if (seen.insert(k)) keys.push_back(k);
    }
  }
  return Value::object(a.names, std::move(members), std::move(keys));
}

// `mergedWith` where either side is a null. Out of line: the inner values it holds would
// otherwise widen the frame of every level of a deep merge (511 nested arrays).
[[gnu::noinline]] Value mergedWithNull(const Value& a, const Value& b) {
  if (b.is(Kind::null)) {
    const std::optional<Value> inner = b.nullInner();
    if (a.is(Kind::null)) {
      const std::optional<Value> ai = a.nullInner();
      if (!ai && !inner) return Value::null();
      if (!inner) return Value::null(*ai);
      if (!ai) return Value::null(*inner);
      return Value::null(mergedWith(*ai, *inner));
    }
    if (!inner) return Value::null(a);
    return Value::null(mergedWith(*inner, a));
  }
  const std::optional<Value> ai = a.nullInner();
  return ai ? Value::null(mergedWith(*ai, b)) : Value::null(b);
}

// The fold step of `mergedInto` for records with keys of their own, on A's own object. Out of
// line for the same reason as `mergedWithNull`.
[[gnu::noinline]] void mergeWideInto(Value::Object& mine, const Value::Object& b) {
  ValueMap& members = mine.dictionary;
  const std::size_t before = members.size();
  std::vector<std::size_t> inB;  // A's positions that B has, in B's order
  // B's members that A lacks, with their keys' hashes when A hashes: each key of a wide
  // record is hashed once, for the look-up and the append.
  struct Added {
    const ValueMap::Member* member;
    std::uint32_t hash;
  };
  std::vector<Added> added;
  const bool hashed = members.hashed();
  const std::span<const ValueMap::Member> entries = b.dictionary.entries();
  // A's table outgrows the caches: each key's slot is fetched a few keys before it is looked up
  // (wide-1000: the look-ups were a sixth of the calling thread's time). `ahead` holds the hashes
  // of the keys from the current one on.
  constexpr std::size_t kAhead = 16;
  std::uint32_t ahead[kAhead] = {};
  const auto fetch = [&](std::size_t i) {
    ahead[i % kAhead] = ValueMap::hashOf(entries[i].first);
    members.prefetch(ahead[i % kAhead]);
  };
  if (hashed) {
    for (std::size_t i = 0; i < std::min(kAhead, entries.size()); ++i) fetch(i);
  }
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ValueMap::Member& theirs = entries[i];
    std::uint32_t hash = 0;
    if (hashed) {
      hash = ahead[i % kAhead];
      if (i + kAhead < entries.size()) fetch(i + kAhead);
    }
    const std::ptrdiff_t at =
        hashed ? members.position(theirs.first, hash) : members.position(theirs.first);
    if (at < 0) {
      added.push_back({&theirs, hash});
      continue;
    }
    inB.push_back(static_cast<std::size_t>(at));
    Value& value = members.valueAt(static_cast<std::size_t>(at));
    value = mergedInto(std::move(value), theirs.second);
  }
  // Members before the nullable prefix are nullable already; of the rest, those B lacks
  // become nullable.
  std::sort(inB.begin(), inB.end());
  auto next = std::lower_bound(inB.begin(), inB.end(), mine.nullablePrefix);
  for (std::size_t i = mine.nullablePrefix; i < before; ++i) {
    if (next != inB.end() && *next == i) {
      ++next;
      continue;
    }
    Value& value = members.valueAt(i);
    if (!value.is(Kind::null)) value = Value::null(std::move(value));
  }
  while (mine.nullablePrefix < before && members.valueAt(mine.nullablePrefix).is(Kind::null)) {
    ++mine.nullablePrefix;
  }
  for (std::size_t k = 0; k < added.size(); ++k) {
    const Added& theirs = added[k];
    // The slots fetched for the look-ups have left the caches by now (a record's keys apart):
    // the append's probe waited on each again.
    if (hashed && k + kAhead < added.size()) members.prefetch(added[k + kAhead].hash);
    if (hashed) {
      members.appendAbsent(theirs.member->first, nullable(theirs.member->second), theirs.hash);
    } else {
      members.appendAbsent(theirs.member->first, nullable(theirs.member->second));
    }
  }
}

}  // namespace

Value mergedWith(const Value& a, const Value& b) {
  if (a.is(Kind::empty)) return b;
  if (b.is(Kind::null)) return mergedWithNull(a, b);
  if (b.is(Kind::empty)) return a;
  if (a.is(Kind::null)) return mergedWithNull(a, b);
  switch (a.kind()) {
    case Kind::bool_:
      if (b.is(Kind::bool_)) return Value::bool_(a.boolValue() && b.boolValue());
      break;
    case Kind::number:
      if (b.is(Kind::number)) {
        // The kind widens to double; the value is B's double, else A's number.
        return b.numberValue().isDouble() ? b : a;
      }
      break;
    case Kind::string:
      if (b.is(Kind::string)) return isUrlWithHost(a.stringValue()) ? b : a;
      if (b.is(Kind::url)) return a;
      break;
    case Kind::url:
      if (b.is(Kind::string)) return b;
      if (b.is(Kind::url)) return a;
      break;
    case Kind::object:
      if (b.is(Kind::object)) return mergedObjects(a.objectValue(), b.objectValue());
      break;
    case Kind::array:
      if (b.is(Kind::array)) {
        std::vector<Value> all(a.arrayValue().values.begin(), a.arrayValue().values.end());
        const auto& more = b.arrayValue().values;
        all.insert(all.end(), more.begin(), more.end());
        return Value::array(a.arrayValue().names, {mergedElements(all)});
      }
      break;
    case Kind::date:
      if (b.is(Kind::date)) return a;
      break;
    default:
      break;
  }
  return Value::empty();
}

// When `a` alone owns its object or array node, the node is changed in place instead of rebuilt,
// which spares a fold over many records an allocation per record and level.
Value mergedInto(Value&& a, const Value& b) {
  // A member absent from some records is a null around its value: merging into that value in
  // place spares rebuilding the null and its object for every further record (records of many
  // optional members). The cases are `mergedWith`'s for a null A.
  if (Value* inner = a.uniqueNullInner()) {
    if (b.is(Kind::empty)) return std::move(a);
    if (b.is(Kind::null)) {
      if (const std::optional<Value> theirs = b.nullInner()) {
        *inner = mergedInto(std::move(*inner), *theirs);
      }
      return std::move(a);
    }
    *inner = mergedInto(std::move(*inner), b);
    return std::move(a);
  }
  if (a.is(Kind::object) && b.is(Kind::object) &&
      pairByPosition(a.objectValue(), b.objectValue())) {
    const std::span<ValueMap::Member> members = a.uniqueMembers();
    if (!members.empty()) {
      const auto theirs = b.objectValue().dictionary.entries();
      for (std::size_t i = 0; i < members.size(); ++i) {
        members[i].second = mergedInto(std::move(members[i].second), theirs[i].second);
      }
      return std::move(a);
    }
  }
  // Records with keys of their own (wide records): B's members are found in A by hashing, A's
  // members that B lacks become nullable, and B's new keys are appended in B's order - the
  // result `mergedObjects` gives, without copying A's members on every record.
  if (a.is(Kind::object) && b.is(Kind::object) && a.objectValue().keysInMemberOrder() &&
      b.objectValue().keysInMemberOrder()) {
    if (Value::Object* mine = a.uniqueObject()) {
      mergeWideInto(*mine, b.objectValue());
      return std::move(a);
    }
  }
  if (a.is(Kind::array) && b.is(Kind::array) && a.arrayValue().values.size() == 1) {
    const std::span<Value> elements = a.uniqueElements();
    if (!elements.empty()) {
      // The same fold as `mergedElements` over A's one element and then B's elements.
      Value accumulator = std::move(elements[0]);
      for (const Value& element : b.arrayValue().values) {
        accumulator = mergedInto(std::move(accumulator), element);
      }
      elements[0] = std::move(accumulator);
      return std::move(a);
    }
  }
  return mergedWith(a, b);
}

Value mergedElements(std::span<const Value> values) {
  if (values.empty()) return Value::empty();
  Value accumulator = values.front();
  for (std::size_t i = 1; i < values.size(); ++i) {
    accumulator = mergedInto(std::move(accumulator), values[i]);
  }
  return accumulator;
}

}  // namespace telvar
