#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace telvar {

class Value;

/// A key path: the JSON keys from the root down to a node, the model name first.
using Names = std::vector<std::string>;

/// An immutable map from text to `Value`, keyed by canonical equivalence: two keys that differ
/// only in Unicode normalisation are one key. Iteration follows insertion order, which is never
/// used for output (objects print by their `orderedKeys`). Look-ups are hashed for large maps.
class ValueMap {
 public:
  ValueMap() = default;

  /// Inserts `value` under `key`, or replaces the value already stored under an equivalent key
  /// (which keeps its original position and spelling).
  void insertOrAssign(std::string key, Value value);
  /// Inserts only when no equivalent key is stored; returns whether it inserted.
  bool insertIfAbsent(std::string key, Value value);
  /// Removes the member under `key`, if any.
  void erase(std::string_view key);

  [[nodiscard]] const Value* find(std::string_view key) const;
  [[nodiscard]] bool contains(std::string_view key) const { return find(key) != nullptr; }
  [[nodiscard]] std::size_t size() const noexcept;
  [[nodiscard]] bool empty() const noexcept;
  void reserve(std::size_t n);

  /// The members in insertion order, as (key, value) pairs.
  [[nodiscard]] const std::vector<std::pair<std::string, Value>>& entries() const noexcept {
    return m_entries;
  }

  /// Same key set, and equal values under each key; insertion order plays no part.
  friend bool operator==(const ValueMap& a, const ValueMap& b);

 private:
  [[nodiscard]] std::ptrdiff_t indexOf(std::string_view key) const;
  void rebuildIndex();
  void indexInsert(std::size_t entry);

  std::vector<std::pair<std::string, Value>> m_entries;
  // Open-addressing table of entry positions plus one (0 marks an empty slot), built once the map
  // grows past a few members. Keys are hashed in their canonical composition.
  std::vector<std::uint32_t> m_slots;
};

/// A parsed and refined JSON sample. Eleven cases; children live in shared immutable nodes, so a
/// copy is cheap and shares its subtrees, and no operation changes a value in place.
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

  struct Object {
    Names names;
    ValueMap dictionary;
    std::vector<std::string> orderedKeys;
  };
  struct Array {
    Names names;
    std::vector<Value> values;
  };
  struct Enum {
    Names names;
    RawType rawType;
    std::vector<Case> cases;
  };
  struct Dictionary {
    Names names;
    std::shared_ptr<const Value> value;  // never null
  };

  // One constructor per case, payload fields in order.
  static Value bool_(bool value);
  static Value number(Number value);
  static Value string(std::string value);
  static Value object(Names names, ValueMap dictionary, std::vector<std::string> orderedKeys);
  static Value array(Names names, std::vector<Value> values);
  static Value null(std::optional<Value> optionalValue = std::nullopt);
  static Value url(Url value);
  static Value date(DateKind kind);
  static Value enum_(Names names, RawType rawType, std::vector<Case> cases);
  static Value dictionary(Names names, Value value);
  static Value empty();

  /// `empty`.
  Value() = default;

  [[nodiscard]] Kind kind() const noexcept { return static_cast<Kind>(m_storage.index()); }
  [[nodiscard]] bool is(Kind k) const noexcept { return kind() == k; }

  // Payload accessors; each requires the matching case.
  [[nodiscard]] bool boolValue() const { return std::get<0>(m_storage); }
  [[nodiscard]] const Number& numberValue() const { return std::get<1>(m_storage); }
  [[nodiscard]] const std::string& stringValue() const { return std::get<2>(m_storage); }
  [[nodiscard]] const Object& objectValue() const { return *std::get<3>(m_storage); }
  [[nodiscard]] const Array& arrayValue() const { return *std::get<4>(m_storage); }
  /// The inner value of a `null`, or nullptr for a plain JSON null.
  [[nodiscard]] const Value* nullInner() const { return std::get<5>(m_storage).get(); }
  [[nodiscard]] const Url& urlValue() const { return std::get<6>(m_storage); }
  [[nodiscard]] DateKind dateKind() const { return std::get<7>(m_storage); }
  [[nodiscard]] const Enum& enumValue() const { return *std::get<8>(m_storage); }
  [[nodiscard]] const Dictionary& dictionaryValue() const { return *std::get<9>(m_storage); }

  /// Structural equality; texts compare by canonical equivalence.
  friend bool operator==(const Value& a, const Value& b);

  ~Value();
  Value(const Value&) = default;
  Value(Value&&) noexcept = default;
  Value& operator=(const Value&) = default;
  Value& operator=(Value&&) noexcept = default;

 private:
  struct EmptyTag {};
  using Storage =
      std::variant<bool, Number, std::string, std::shared_ptr<const Object>,
                   std::shared_ptr<const Array>, std::shared_ptr<const Value>, Url, DateKind,
                   std::shared_ptr<const Enum>, std::shared_ptr<const Dictionary>, EmptyTag>;

  template <std::size_t I, class T>
  static Value make(T&& payload) {
    Value v;
    v.m_storage.template emplace<I>(std::forward<T>(payload));
    return v;
  }

  Storage m_storage{EmptyTag{}};
};

// Defined here, where `Value` is complete: some compilers instantiate the vector's members at once.
inline std::size_t ValueMap::size() const noexcept { return m_entries.size(); }
inline bool ValueMap::empty() const noexcept { return m_entries.empty(); }
inline void ValueMap::reserve(std::size_t n) { m_entries.reserve(n); }

[[nodiscard]] bool namesEqual(const Names& a, const Names& b);

}  // namespace telvar
