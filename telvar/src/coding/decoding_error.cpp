#include "telvar/coding/decoding_error.h"

#include <cmath>
#include <limits>

namespace telvar {
namespace {

std::string describe(DecodingError::Kind kind, const std::vector<std::string>& path,
                     const std::string& detail) {
  std::string text(toString(kind));
  if (!path.empty()) {
    text += " at \"";
    for (std::size_t i = 0; i < path.size(); ++i) {
      if (i) text += '.';
      text += path[i];
    }
    text += '"';
  }
  if (!detail.empty()) {
    text += ": ";
    text += detail;
  }
  return text;
}

}  // namespace

DecodingError::DecodingError(Kind kind, std::vector<std::string> codingPath, std::string detail)
    : std::runtime_error(describe(kind, codingPath, detail)),
      m_kind(kind),
      m_codingPath(std::move(codingPath)),
      m_detail(std::move(detail)) {}

DecodingError DecodingError::nestedIn(std::string key) const {
  std::vector<std::string> path;
  path.reserve(m_codingPath.size() + 1);
  path.push_back(std::move(key));
  path.insert(path.end(), m_codingPath.begin(), m_codingPath.end());
  return DecodingError(m_kind, std::move(path), m_detail);
}

std::string_view toString(DecodingError::Kind kind) noexcept {
  switch (kind) {
    case DecodingError::Kind::keyNotFound:
      return "key not found";
    case DecodingError::Kind::valueNotFound:
      return "value not found";
    case DecodingError::Kind::typeMismatch:
      return "type mismatch";
    case DecodingError::Kind::dataCorrupted:
      return "data corrupted";
  }
  return "data corrupted";
}

namespace coding {

using nlohmann::json;

std::string jsonTypeName(const json& value) {
  switch (value.type()) {
    case json::value_t::null:
      return "null";
    case json::value_t::object:
      return "object";
    case json::value_t::array:
      return "array";
    case json::value_t::string:
      return "string";
    case json::value_t::boolean:
      return "bool";
    case json::value_t::number_integer:
    case json::value_t::number_unsigned:
    case json::value_t::number_float:
      return "number";
    default:
      return "other";
  }
}

namespace {
[[noreturn]] void mismatch(std::string_view expected, const json& value) {
  throw DecodingError(DecodingError::Kind::typeMismatch, {},
                      "expected " + std::string(expected) + ", found " + jsonTypeName(value));
}
}  // namespace

void expectObject(const json& object) {
  if (!object.is_object()) mismatch("object", object);
}

const json& required(const json& object, std::string_view key) {
  expectObject(object);
  auto it = object.find(key);
  if (it == object.end()) {
    throw DecodingError(DecodingError::Kind::keyNotFound, {std::string(key)}, "");
  }
  if (it->is_null()) {
    throw DecodingError(DecodingError::Kind::valueNotFound, {std::string(key)}, "value is null");
  }
  return *it;
}

const json* optional(const json& object, std::string_view key) {
  expectObject(object);
  auto it = object.find(key);
  if (it == object.end() || it->is_null()) return nullptr;
  return &*it;
}

std::string readString(const json& value) {
  if (!value.is_string()) mismatch("string", value);
  return value.get<std::string>();
}

bool readBool(const json& value) {
  if (!value.is_boolean()) mismatch("bool", value);
  return value.get<bool>();
}

std::int64_t readInt64(const json& value) {
  // Unsigned first: is_number_integer() is also true for unsigned numbers, which above 2^63 - 1
  // would wrap to negative levels.
  if (value.is_number_unsigned()) {
    auto u = value.get<std::uint64_t>();
    if (u <= static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
      return static_cast<std::int64_t>(u);
    }
    throw DecodingError(DecodingError::Kind::dataCorrupted, {},
                        "number does not fit a 64-bit integer");
  }
  if (value.is_number_integer()) return value.get<std::int64_t>();
  if (value.is_number_float()) {
    // A whole number written with a fraction or exponent still reads as an integer.
    double d = value.get<double>();
    if (std::isfinite(d) && d == std::trunc(d) && d >= -9.2233720368547758e18 &&
        d < 9.2233720368547758e18) {
      return static_cast<std::int64_t>(d);
    }
    throw DecodingError(DecodingError::Kind::dataCorrupted, {}, "number is not a 64-bit integer");
  }
  mismatch("integer", value);
}

double readDouble(const json& value) {
  if (!value.is_number()) mismatch("number", value);
  return value.get<double>();
}

}  // namespace coding
}  // namespace telvar
