#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

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

  /// The unit as used for printing: as stored up to `kMaxUnitBytes`, and cut to that length
  /// (at the start of a character) beyond it, so that a unit read from a file can neither
  /// multiply the output without bound nor exhaust memory. The stored unit is kept as it was
  /// read. Every generator and "Format" indent with this, never with `unit` itself.
  [[nodiscard]] std::string_view effectiveUnit() const noexcept;

  /// The effective unit repeated `n` times (n clamped like the level).
  [[nodiscard]] std::string pad(std::int64_t n) const;

  static constexpr std::int64_t kMaxLevel = 100;
  /// Far beyond any real indentation (eight spaces, two tabs), small enough that the deepest
  /// printed line (level 100 plus 512 nested containers) stays under 20 KB.
  static constexpr std::size_t kMaxUnitBytes = 32;

  friend bool operator==(const Indentation&, const Indentation&) = default;
};

/// {"level": number, "unit": string}; both always written.
[[nodiscard]] nlohmann::json toJson(const Indentation& indentation);
/// Both keys are required; a missing key or a wrong type throws `DecodingError`.
[[nodiscard]] Indentation indentationFromJson(const nlohmann::json& json);

}  // namespace telvar
