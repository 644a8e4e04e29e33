#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace telvar {

/// A 128-bit identifier in the standard 8-4-4-4-12 hexadecimal text form. Rows of edited lists
/// and documents carry one. The default value is the nil identifier (all zero).
class Uuid {
 public:
  Uuid() = default;
  explicit Uuid(const std::array<std::uint8_t, 16>& bytes) : m_bytes(bytes) {}

  /// A new random (version 4) identifier.
  [[nodiscard]] static Uuid random();

  /// The identifier written as `text`: exactly 36 characters, hexadecimal digits of either case
  /// in groups of 8, 4, 4, 4 and 12 joined by "-". Nothing for any other text.
  [[nodiscard]] static std::optional<Uuid> fromText(std::string_view text);

  /// The 36-character text form with upper-case digits, e.g.
  /// "E621E1F8-C36C-495A-93FC-0C247A3E6E5F".
  [[nodiscard]] std::string text() const;

  [[nodiscard]] const std::array<std::uint8_t, 16>& bytes() const noexcept { return m_bytes; }

  friend bool operator==(const Uuid&, const Uuid&) = default;
  friend auto operator<=>(const Uuid&, const Uuid&) = default;

 private:
  std::array<std::uint8_t, 16> m_bytes{};
};

}  // namespace telvar
