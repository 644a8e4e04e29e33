#pragma once

// The storage convention of every settings record, written once.
//
// A settings record keeps each setting in a `settings::Setting` member named with a leading
// underscore (`_modelName`): an optional that is either unset or holds an explicit value.
// The record's accessor without the underscore (`modelName()`) returns the stored value or a
// default made anew at each read; its setter always stores, also a value equal to the default.
// `TELVAR_SETTING` declares such a member together with its accessors in one line.
//
// Each record lists its stored members once, in order, in a static `fields()` table of
// `settings::Field`s: JSON key and member pointer, where a setting's key is "_" and its name.
// Coding and equality run over that table:
// - writing puts one member per set setting under its key (an unset setting is never written);
//   a plain member (a record's "id", "path", ...) is always written;
// - reading takes a missing or null setting as unset and ignores unknown members; a plain member
//   is required; a wrong JSON type, an unknown enumeration text or a malformed identifier fails
//   the whole read with a `DecodingError` naming the coding path;
// - equality compares the table's members in order: unset equals only unset, texts compare by
//   canonical equivalence, lists element by element.
//
// Example (a record with one text setting whose default is "main"; the macro declares `_name`,
// `name()`, `setName(...)` and `editName(...)`):
//   struct Example {
//     static std::string defaultName() { return "main"; }
//     TELVAR_SETTING(std::string, name, Name, &defaultName);
//     static constexpr auto fields() { return settings::fieldTable<Example>(&Example::_name); }
//     friend bool operator==(const Example& a, const Example& b) { return settings::equal(a, b); }
//   };
//   toJson(Example{}).dump() == "{}";  fromJson<Example>(json) reads it back.

#include <array>
#include <concepts>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include <nlohmann/json.hpp>

#include "telvar/coding/decoding_error.h"
#include "telvar/options/uuid.h"
#include "telvar/unicode/text.h"
#include "telvar/value/indentation.h"

namespace telvar {

/// The case names of an enumeration whose cases are numbered 0, 1, ... in declaration order.
/// Specialise with `static constexpr std::array<std::string_view, N> names`.
template <class E>
struct EnumCases;

/// An enumeration with case names: stored and coded as its case name.
template <class E>
concept NamedEnum = std::is_enum_v<E> && requires {
  EnumCases<E>::names;
};

/// The stored text of a case: its case name ("subtypeFirst").
template <NamedEnum E>
[[nodiscard]] constexpr std::string_view rawValue(E value) noexcept {
  return EnumCases<E>::names[static_cast<std::size_t>(value)];
}

/// The case whose case name is exactly `text` (case-sensitive), or nothing.
template <NamedEnum E>
[[nodiscard]] constexpr std::optional<E> enumFromRawValue(std::string_view text) noexcept {
  const auto& names = EnumCases<E>::names;
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (names[i] == text) return static_cast<E>(i);
  }
  return std::nullopt;
}

namespace settings {

/// Default makers for `Setting`: the value-initialised value ("", false, an empty list, a record
/// with every setting unset) and a constant.
template <class T>
[[nodiscard]] T valueInitialized() {
  return T{};
}
template <auto V>
[[nodiscard]] decltype(V) constant() {
  return V;
}

/// The JSON key of a setting, fixed in its type: `Key{"_modelName"}`.
template <std::size_t N>
struct Key {
  // Implicit so that a string literal names a key where a Key is expected.
  constexpr Key(const char (&text)[N]) {  // NOLINT
    for (std::size_t i = 0; i < N; ++i) chars[i] = text[i];
  }
  [[nodiscard]] constexpr std::string_view view() const { return {chars, N - 1}; }

  char chars[N]{};
};

/// One stored setting under its JSON key `K`: unset, or an explicit value. `MakeDefault` (a
/// function returning T) gives the value an unset setting reads as; it runs at every read, so a
/// default holding fresh identifiers differs between reads.
template <class T, Key K, auto MakeDefault = &valueInitialized<T>>
class Setting : public std::optional<T> {
 public:
  using Value = T;
  using std::optional<T>::optional;

  Setting() = default;
  // Implicit on purpose: constructors of records take each setting as a std::optional.
  Setting(std::optional<T> value) : std::optional<T>(std::move(value)) {}  // NOLINT

  /// Stores an explicit value, also one equal to the default.
  template <class U = T>
  requires std::constructible_from<T, U> &&(!std::same_as<std::remove_cvref_t<U>, Setting>)&&(
      !std::same_as<std::remove_cvref_t<U>,
                    std::optional<T>>)&&(!std::same_as<std::remove_cvref_t<U>, std::nullopt_t>)
      Setting&
      operator=(U&& value) {
    this->emplace(std::forward<U>(value));
    return *this;
  }
  /// Stores `value` as it is: set or unset.
  Setting& operator=(std::optional<T> value) {
    static_cast<std::optional<T>&>(*this) = std::move(value);
    return *this;
  }
  /// Unsets the setting.
  Setting& operator=(std::nullopt_t) noexcept {
    this->reset();
    return *this;
  }

  /// The member's key in the record's JSON object.
  [[nodiscard]] static constexpr std::string_view key() { return K.view(); }

  /// The value an unset setting reads as, made anew.
  [[nodiscard]] static T makeDefault() { return MakeDefault(); }

  /// The stored value, or the default when unset.
  [[nodiscard]] T read() const { return this->has_value() ? **this : makeDefault(); }

  /// A change in place: starts from the stored value, or the default when unset, applies
  /// `change` (a function taking T&) and stores the whole result, so the setting is set after.
  template <class F>
  void edit(F&& change) {
    T value = read();
    std::forward<F>(change)(value);
    this->emplace(std::move(value));
  }
};

/// Declares one setting of a settings record: the stored member `_name`, a
/// `settings::Setting` under the JSON key "_name" whose default comes from the optional fourth
/// argument (the value-initialised `Type` when left out), and its accessors
///   Type name() const                  the stored value, or the default made anew when unset;
///   void setName(Type value)           stores `value`, also one equal to the default;
///   void editName(F&& change)          `Setting::edit`: changes the value in place and stores it.
/// The member still takes its place in the record's `fields()` table, which fixes the order in
/// which members are read and compared. Used inside the record's body, followed by a semicolon.
// A macro because C++ cannot make the accessor names and the key from the member name otherwise.
#define TELVAR_SETTING(Type, name, Name, ...)                                                      \
  ::telvar::settings::Setting<Type, ::telvar::settings::Key{"_" #name} __VA_OPT__(, ) __VA_ARGS__> \
      _##name;                                                                                     \
  [[nodiscard]] Type name() const { return _##name.read(); }                                       \
  void set##Name(Type value) { _##name = std::move(value); }                                       \
  template <class F>                                                                               \
  void edit##Name(F&& change) {                                                                    \
    _##name.edit(std::forward<F>(change));                                                         \
  }                                                                                                \
  static_assert(true, "swallows the semicolon after the macro")

template <class M>
concept IsSetting = requires {
  typename M::Value;
}
&&std::derived_from<M, std::optional<typename M::Value>>&& requires {
  M::makeDefault();
  M::key();
};

/// One entry of a record's field table: the JSON key and the stored member.
template <class R, class M>
struct Field {
  std::string_view key;
  M R::*member;
};
template <class R, class M>
Field(std::string_view, M R::*) -> Field<R, M>;

namespace detail {

template <class R, class B, class M>
requires std::derived_from<R, B>
[[nodiscard]] constexpr Field<R, M> asFieldOf(Field<B, M> field) noexcept {
  return {field.key, field.member};
}
template <class R, class B, class M>
requires std::derived_from<R, B> && IsSetting<M>
[[nodiscard]] constexpr Field<R, M> asFieldOf(M B::*member) noexcept { return {M::key(), member}; }
template <class R, class Entry>
[[nodiscard]] constexpr auto asFieldsOf(Entry entry) noexcept {
  return std::tuple{asFieldOf<R>(entry)};
}
template <class R, class... Fields>
[[nodiscard]] constexpr auto asFieldsOf(std::tuple<Fields...> table) noexcept {
  return std::apply([](auto... field) { return std::tuple{asFieldOf<R>(field)...}; }, table);
}

}  // namespace detail

/// The field table of record `R`, in the order given: each entry is a `Field` (a plain member
/// under an explicit key), a pointer to a `Setting` member, which brings its own key, or a base
/// class's whole table. Members that `R` inherits count as its own.
///   settings::fieldTable<Model>(settings::Field{"id", &Model::m_id}, &Model::_modelName)
template <class R, class... Entries>
[[nodiscard]] constexpr auto fieldTable(Entries... entries) {
  return std::tuple_cat(detail::asFieldsOf<R>(entries)...);
}

/// A record coded and compared through its field table.
template <class R>
concept Record = requires {
  R::fields();
};

/// Lets the decoder build records whose default constructor is private (records whose `id` is
/// fixed at construction): such a record befriends `Access`.
struct Access {
  template <class R>
  [[nodiscard]] static R make() {
    return R();
  }
};

/// How one value type is written, read and compared. Specialised below for truth values, texts,
/// integers, identifiers, enumerations, lists, indentation and records; a type outside the
/// engine's options may add its own specialisation.
template <class T>
struct Coder;

template <>
struct Coder<bool> {
  [[nodiscard]] static nlohmann::json encode(bool value) { return value; }
  [[nodiscard]] static bool decode(const nlohmann::json& json) { return coding::readBool(json); }
  [[nodiscard]] static bool same(bool a, bool b) noexcept { return a == b; }
};

template <>
struct Coder<std::string> {
  [[nodiscard]] static nlohmann::json encode(const std::string& value) { return value; }
  [[nodiscard]] static std::string decode(const nlohmann::json& json) {
    return coding::readString(json);
  }
  [[nodiscard]] static bool same(const std::string& a, const std::string& b) {
    return textEquals(a, b);
  }
};

template <>
struct Coder<Uuid> {
  [[nodiscard]] static nlohmann::json encode(const Uuid& value) { return value.text(); }
  [[nodiscard]] static Uuid decode(const nlohmann::json& json);
  [[nodiscard]] static bool same(const Uuid& a, const Uuid& b) noexcept { return a == b; }
};

template <>
struct Coder<Indentation> {
  [[nodiscard]] static nlohmann::json encode(const Indentation& value) { return toJson(value); }
  [[nodiscard]] static Indentation decode(const nlohmann::json& json) {
    return indentationFromJson(json);
  }
  [[nodiscard]] static bool same(const Indentation& a, const Indentation& b) {
    return a.level == b.level && textEquals(a.unit, b.unit);
  }
};

/// Fails with dataCorrupted: `text` names no case of the enumeration.
[[noreturn]] void throwUnknownCase(const std::string& text);

template <NamedEnum E>
struct Coder<E> {
  [[nodiscard]] static nlohmann::json encode(E value) { return std::string(rawValue(value)); }
  [[nodiscard]] static E decode(const nlohmann::json& json) {
    std::string text = coding::readString(json);
    std::optional<E> value = enumFromRawValue<E>(text);
    if (!value) throwUnknownCase(text);
    return *value;
  }
  [[nodiscard]] static bool same(E a, E b) noexcept { return a == b; }
};

/// Fails with typeMismatch unless `json` is an array.
void expectArray(const nlohmann::json& json);

template <class T>
struct Coder<std::vector<T>> {
  [[nodiscard]] static nlohmann::json encode(const std::vector<T>& values) {
    nlohmann::json out = nlohmann::json::array();
    for (const T& value : values) out.push_back(Coder<T>::encode(value));
    return out;
  }
  [[nodiscard]] static std::vector<T> decode(const nlohmann::json& json) {
    expectArray(json);
    std::vector<T> values;
    values.reserve(json.size());
    for (std::size_t i = 0; i < json.size(); ++i) {
      values.push_back(coding::atKey(std::to_string(i), [&] { return Coder<T>::decode(json[i]); }));
    }
    return values;
  }
  [[nodiscard]] static bool same(const std::vector<T>& a, const std::vector<T>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
      if (!Coder<T>::same(a[i], b[i])) return false;
    }
    return true;
  }
};

namespace detail {

template <class R, class M>
void encodeField(nlohmann::json& out, const R& record, const Field<R, M>& field) {
  const M& member = record.*(field.member);
  if constexpr (IsSetting<M>) {
    if (member.has_value()) {
      out[std::string(field.key)] = Coder<typename M::Value>::encode(*member);
    }
  } else {
    out[std::string(field.key)] = Coder<M>::encode(member);
  }
}

template <class R, class M>
void decodeField(const nlohmann::json& json, R& record, const Field<R, M>& field) {
  M& member = record.*(field.member);
  if constexpr (IsSetting<M>) {
    using V = typename M::Value;
    member = coding::optionalMember(json, field.key,
                                    [](const nlohmann::json& v) { return Coder<V>::decode(v); });
  } else {
    member = coding::requiredMember(json, field.key,
                                    [](const nlohmann::json& v) { return Coder<M>::decode(v); });
  }
}

template <class R, class M>
[[nodiscard]] bool sameField(const R& a, const R& b, const Field<R, M>& field) {
  const M& x = a.*(field.member);
  const M& y = b.*(field.member);
  if constexpr (IsSetting<M>) {
    if (x.has_value() != y.has_value()) return false;
    return !x.has_value() || Coder<typename M::Value>::same(*x, *y);
  } else {
    return Coder<M>::same(x, y);
  }
}

}  // namespace detail

/// The JSON object of a record: set settings and plain members under their keys.
template <Record R>
[[nodiscard]] nlohmann::json encode(const R& record) {
  nlohmann::json out = nlohmann::json::object();
  std::apply([&](const auto&... field) { (detail::encodeField(out, record, field), ...); },
             R::fields());
  return out;
}

/// Reads a record from a JSON object, members in table order; the first failure ends the read
/// and nothing of the record is kept.
template <Record R>
[[nodiscard]] R decode(const nlohmann::json& json) {
  coding::expectObject(json);
  R record = Access::make<R>();
  std::apply([&](const auto&... field) { (detail::decodeField(json, record, field), ...); },
             R::fields());
  return record;
}

/// Field-by-field equality in table order, stopping at the first difference.
template <Record R>
[[nodiscard]] bool equal(const R& a, const R& b) {
  return std::apply([&](const auto&... field) { return (detail::sameField(a, b, field) && ...); },
                    R::fields());
}

template <Record R>
struct Coder<R> {
  [[nodiscard]] static nlohmann::json encode(const R& value) { return settings::encode(value); }
  [[nodiscard]] static R decode(const nlohmann::json& json) { return settings::decode<R>(json); }
  [[nodiscard]] static bool same(const R& a, const R& b) { return settings::equal(a, b); }
};

}  // namespace settings

/// The JSON form of any settings or list record (see the convention above).
template <settings::Record R>
[[nodiscard]] nlohmann::json toJson(const R& record) {
  return settings::encode(record);
}

/// Reads a settings or list record from its JSON form; throws `DecodingError` on failure.
/// Example: `fromJson<SwiftMeta>(nlohmann::json::parse(R"({"_modelType":"class"})"))`.
template <settings::Record R>
[[nodiscard]] R fromJson(const nlohmann::json& json) {
  return settings::decode<R>(json);
}

}  // namespace telvar
