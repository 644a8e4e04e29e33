#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include <nlohmann/json.hpp>

namespace telvar {

/// Why reading a stored record from JSON failed, and where. The cases follow the usual decoder
/// failures: a required key is missing, a required value is null, a value has the wrong JSON
/// type, or the data is otherwise unusable (an unknown enumeration text, a malformed UUID).
class DecodingError : public std::runtime_error {
 public:
  enum class Kind { keyNotFound, valueNotFound, typeMismatch, dataCorrupted };

  DecodingError(Kind kind, std::vector<std::string> codingPath, std::string detail);

  [[nodiscard]] Kind kind() const noexcept { return m_kind; }
  /// The keys (and array indices) from the top of the document to the failing value.
  [[nodiscard]] const std::vector<std::string>& codingPath() const noexcept { return m_codingPath; }
  [[nodiscard]] const std::string& detail() const noexcept { return m_detail; }

  /// The same error one level further out: `key` is put in front of the coding path.
  [[nodiscard]] DecodingError nestedIn(std::string key) const;

 private:
  Kind m_kind;
  std::vector<std::string> m_codingPath;
  std::string m_detail;
};

[[nodiscard]] std::string_view toString(DecodingError::Kind kind) noexcept;

namespace coding {

/// The JSON type name used in error messages ("string", "number", ...).
[[nodiscard]] std::string jsonTypeName(const nlohmann::json& value);

/// Member `key` of `object`, which must be present and not null.
[[nodiscard]] const nlohmann::json& required(const nlohmann::json& object, std::string_view key);

/// Member `key` of `object`, or nullptr when it is missing or null.
[[nodiscard]] const nlohmann::json* optional(const nlohmann::json& object, std::string_view key);

/// Fails with typeMismatch unless `object` is a JSON object.
void expectObject(const nlohmann::json& object);

/// Typed reads of one value; each fails with typeMismatch on the wrong JSON type.
[[nodiscard]] std::string readString(const nlohmann::json& value);
[[nodiscard]] bool readBool(const nlohmann::json& value);
[[nodiscard]] std::int64_t readInt64(const nlohmann::json& value);
[[nodiscard]] double readDouble(const nlohmann::json& value);

/// Runs `read` on a member value and puts `key` in front of the coding path of any failure.
template <class F>
auto atKey(std::string_view key, F&& read) -> decltype(read()) {
  try {
    return read();
  } catch (const DecodingError& e) {
    throw e.nestedIn(std::string(key));
  }
}

/// Reads the required member `key` of `object` with `read` (a function of the member's JSON).
template <class F>
auto requiredMember(const nlohmann::json& object, std::string_view key, F&& read) {
  const nlohmann::json& value = required(object, key);
  return atKey(key, [&] { return read(value); });
}

/// Reads member `key` with `read` when it is present and not null; nothing otherwise.
template <class F>
auto optionalMember(const nlohmann::json& object, std::string_view key, F&& read)
    -> std::optional<decltype(read(object))> {
  const nlohmann::json* value = optional(object, key);
  if (!value) return std::nullopt;
  return atKey(key, [&] { return read(*value); });
}

}  // namespace coding
}  // namespace telvar
