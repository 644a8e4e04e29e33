#include "telvar/value/value.h"

#include <functional>

#include "telvar/unicode/text.h"

namespace telvar {
namespace {

constexpr std::size_t kIndexThreshold = 8;

std::size_t hashKey(std::string_view key) {
  std::string scratch;
  return std::hash<std::string_view>{}(nfcView(key, scratch));
}

}  // namespace

// ValueMap

std::ptrdiff_t ValueMap::indexOf(std::string_view key) const {
  if (m_slots.empty()) {
    for (std::size_t i = 0; i < m_entries.size(); ++i) {
      if (textEquals(m_entries[i].first, key)) return static_cast<std::ptrdiff_t>(i);
    }
    return -1;
  }
  const std::size_t mask = m_slots.size() - 1;
  for (std::size_t slot = hashKey(key) & mask;; slot = (slot + 1) & mask) {
    std::uint32_t e = m_slots[slot];
    if (e == 0) return -1;
    if (textEquals(m_entries[e - 1].first, key)) return static_cast<std::ptrdiff_t>(e - 1);
  }
}

void ValueMap::indexInsert(std::size_t entry) {
  const std::size_t mask = m_slots.size() - 1;
  std::size_t slot = hashKey(m_entries[entry].first) & mask;
  while (m_slots[slot] != 0) slot = (slot + 1) & mask;
  m_slots[slot] = static_cast<std::uint32_t>(entry + 1);
}

void ValueMap::rebuildIndex() {
  m_slots.clear();
  if (m_entries.size() <= kIndexThreshold) return;
  std::size_t capacity = 16;
  while (capacity < m_entries.size() * 2) capacity *= 2;
  m_slots.assign(capacity, 0);
  for (std::size_t i = 0; i < m_entries.size(); ++i) indexInsert(i);
}

bool ValueMap::insertIfAbsent(std::string key, Value value) {
  if (indexOf(key) >= 0) return false;
  m_entries.emplace_back(std::move(key), std::move(value));
  if (m_entries.size() > kIndexThreshold) {
    if (m_slots.size() < m_entries.size() * 2) {
      rebuildIndex();
    } else {
      indexInsert(m_entries.size() - 1);
    }
  }
  return true;
}

void ValueMap::insertOrAssign(std::string key, Value value) {
  std::ptrdiff_t i = indexOf(key);
  if (i >= 0) {
    m_entries[static_cast<std::size_t>(i)].second = std::move(value);
    return;
  }
  insertIfAbsent(std::move(key), std::move(value));
}

void ValueMap::erase(std::string_view key) {
  std::ptrdiff_t i = indexOf(key);
  if (i < 0) return;
  m_entries.erase(m_entries.begin() + i);
  rebuildIndex();
}

const Value* ValueMap::find(std::string_view key) const {
  std::ptrdiff_t i = indexOf(key);
  return i < 0 ? nullptr : &m_entries[static_cast<std::size_t>(i)].second;
}

bool operator==(const ValueMap& a, const ValueMap& b) {
  if (a.size() != b.size()) return false;
  for (const auto& [key, value] : a.m_entries) {
    const Value* other = b.find(key);
    if (!other || !(value == *other)) return false;
  }
  return true;
}

// Value

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

Value::~Value() = default;

Value Value::bool_(bool value) { return make<0>(value); }
Value Value::number(Number value) { return make<1>(value); }
Value Value::string(std::string value) { return make<2>(std::move(value)); }
Value Value::object(Names names, ValueMap dictionary, std::vector<std::string> orderedKeys) {
  return make<3>(std::make_shared<const Object>(
      Object{std::move(names), std::move(dictionary), std::move(orderedKeys)}));
}
Value Value::array(Names names, std::vector<Value> values) {
  return make<4>(std::make_shared<const Array>(Array{std::move(names), std::move(values)}));
}
Value Value::null(std::optional<Value> optionalValue) {
  if (!optionalValue) return make<5>(std::shared_ptr<const Value>());
  return make<5>(std::make_shared<const Value>(std::move(*optionalValue)));
}
Value Value::url(Url value) { return make<6>(std::move(value)); }
Value Value::date(DateKind kind) { return make<7>(kind); }
Value Value::enum_(Names names, RawType rawType, std::vector<Case> cases) {
  return make<8>(std::make_shared<const Enum>(Enum{std::move(names), rawType, std::move(cases)}));
}
Value Value::dictionary(Names names, Value value) {
  return make<9>(std::make_shared<const Dictionary>(
      Dictionary{std::move(names), std::make_shared<const Value>(std::move(value))}));
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
      return namesEqual(x.orderedKeys, y.orderedKeys);
    }
    case Value::Kind::array: {
      const auto& x = a.arrayValue();
      const auto& y = b.arrayValue();
      if (&x == &y) return true;
      return namesEqual(x.names, y.names) && x.values == y.values;
    }
    case Value::Kind::null: {
      const Value* x = a.nullInner();
      const Value* y = b.nullInner();
      if (!x || !y) return !x && !y;
      return x == y || *x == *y;
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
