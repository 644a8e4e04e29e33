#pragma once

#include <cstdint>

namespace mirel {

/// One opaque colour, each component on a 0 to 255 scale.
struct Rgb {
  std::uint8_t red = 0;
  std::uint8_t green = 0;
  std::uint8_t blue = 0;

  friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

/// A colour that follows the interface style: `light` for a light (or unspecified) appearance,
/// `dark` for a dark one. Highlighted text carries pairs, not resolved colours, so a change of
/// appearance recolours shown text without highlighting it again.
struct ColourPair {
  Rgb light;
  Rgb dark;

  friend constexpr bool operator==(const ColourPair&, const ColourPair&) = default;
};

/// The interface style a colour is resolved for.
enum class Appearance { unspecified, light, dark };

/// Resolves a pair: the dark colour for `Appearance::dark`, the light one for every other style.
[[nodiscard]] constexpr Rgb dynamicColorProvider(Appearance appearance, const ColourPair& pair) {
  return appearance == Appearance::dark ? pair.dark : pair.light;
}

/// The colours that several highlighters share.
namespace palette {

/// All text that no rule colours.
inline constexpr ColourPair base{{39, 38, 39}, {223, 223, 224}};
/// Keywords of the output language.
inline constexpr ColourPair keyword{{161, 68, 160}, {239, 129, 177}};
/// Quoted texts.
inline constexpr ColourPair string{{195, 66, 47}, {239, 136, 118}};
/// Names of declared types.
inline constexpr ColourPair type{{42, 97, 137}, {138, 220, 252}};
/// Types of properties and fields, annotations, protocol and conversion names.
inline constexpr ColourPair propertyType{{70, 35, 169}, {213, 187, 251}};

}  // namespace palette

}  // namespace mirel
