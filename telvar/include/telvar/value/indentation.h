#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>

namespace telvar {

/// The document's indentation: the level printing starts at, and the text of one step. Every
/// generator and "Format" use it.
struct Indentation {
  std::int64_t level = 0;
  std::string unit = "  ";

  /// Level 0 with a two-space unit.
  [[nodiscard]] static Indentation default_() { return {}; }

  /// The level as used for printing: clamped to 0...100, so that a level read from a file can
  /// neither be negative nor exhaust memory. The stored level is kept as it was read.
  [[nodiscard]] std::int64_t effectiveLevel() const noexcept {
    return level < 0 ? 0 : (level > kMaxLevel ? kMaxLevel : level);
  }

  /// `unit` repeated `n` times (n clamped like the level).
  [[nodiscard]] std::string pad(std::int64_t n) const;

  static constexpr std::int64_t kMaxLevel = 100;

  friend bool operator==(const Indentation&, const Indentation&) = default;
};

/// {"level": number, "unit": string}; both always written.
[[nodiscard]] nlohmann::json toJson(const Indentation& indentation);
/// Both keys are required; a missing key or a wrong type throws `DecodingError`.
[[nodiscard]] Indentation indentationFromJson(const nlohmann::json& json);

}  // namespace telvar
