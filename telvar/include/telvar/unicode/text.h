#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace telvar {

// All engine text is UTF-8. Two texts are equal when they are canonically equivalent (NFC), so a
// precomposed "é" equals "e" followed by U+0301. ASCII and already-NFC text take fast paths.

/// True when every byte is below 0x80.
[[nodiscard]] bool isAscii(std::string_view text) noexcept;

/// True when `text` is well-formed UTF-8 (no surrogates, no overlong forms).
[[nodiscard]] bool isValidUtf8(std::string_view text) noexcept;

/// The canonical composition (NFC) of `text`. Ill-formed UTF-8 is returned unchanged.
[[nodiscard]] std::string nfc(std::string_view text);

/// `text` itself when it is already in NFC, else its NFC form stored in `scratch`.
[[nodiscard]] std::string_view nfcView(std::string_view text, std::string& scratch);

/// Canonical equivalence of two texts.
[[nodiscard]] bool textEquals(std::string_view a, std::string_view b);

/// Orders texts by the Unicode scalar values of their canonical composition (for ASCII: plain
/// byte order, upper case before lower case). Returns <0, 0 or >0.
[[nodiscard]] int textCompare(std::string_view a, std::string_view b);

/// The first extended grapheme cluster of a text: its length in bytes, and whether it is
/// well-formed. An ill-formed UTF-8 sequence forms a cluster of its own that is not valid.
struct Cluster {
  std::size_t length = 0;
  bool valid = true;
};

namespace detail {
[[nodiscard]] Cluster firstClusterSlow(std::string_view text) noexcept;
}

/// The first extended grapheme cluster of `text` (length 0 for empty text). Carriage return plus
/// line feed is one cluster; so is a character with its combining marks.
[[nodiscard]] inline Cluster firstCluster(std::string_view text) noexcept {
  // Between two ASCII characters there is always a boundary, except inside CR LF.
  if (text.size() >= 2) {
    const auto b0 = static_cast<unsigned char>(text[0]);
    const auto b1 = static_cast<unsigned char>(text[1]);
    if ((b0 | b1) < 0x80) return {(b0 == '\r' && b1 == '\n') ? 2u : 1u, true};
  } else if (text.size() == 1 && static_cast<unsigned char>(text[0]) < 0x80) {
    return {1, true};
  }
  return detail::firstClusterSlow(text);
}

/// Whether the last character of `text` joins whatever character follows it into one grapheme
/// cluster (a prepended mark, such as U+0600); false for ill-formed or empty text.
[[nodiscard]] bool lastJoinsNext(std::string_view text) noexcept;

/// The ASCII characters that a non-ASCII character is canonically equivalent to (the Kelvin sign
/// is "K", the Greek question mark ";", the Greek varia "`").
inline constexpr std::string_view kAsciiWithOtherEquivalents = "K;`";

/// The length of the longest prefix of `text` made of whole well-formed grapheme clusters, none
/// of which is on its own one of the ASCII characters marked in `stops`: where stepping through
/// the clusters would stop, found without taking apart the clusters between stop characters. A
/// marked character stops the prefix only where it stands alone, not joined to a neighbour.
[[nodiscard]] std::size_t prefixAvoiding(std::string_view text,
                                         const std::array<bool, 128>& stops) noexcept;

/// Splits `text` into its grapheme clusters (ill-formed sequences are their own clusters).
template <class F>
void forEachCluster(std::string_view text, F&& f) {
  while (!text.empty()) {
    Cluster c = firstCluster(text);
    f(text.substr(0, c.length), c.valid);
    text.remove_prefix(c.length);
  }
}

/// Decodes one code point at the start of `text`; returns its length (0 for empty text) and sets
/// `codePoint` to a negative value when the sequence is ill-formed.
std::size_t decodeUtf8(std::string_view text, int& codePoint) noexcept;

/// Whether a code point is a letter of any case or kind (Unicode categories Lu, Ll, Lt, Lm, Lo):
/// what languages that allow Unicode identifiers accept as a letter.
[[nodiscard]] bool isUnicodeLetter(int codePoint) noexcept;

/// Appends the UTF-8 form of a scalar value.
void appendUtf8(std::string& out, char32_t codePoint);

}  // namespace telvar
