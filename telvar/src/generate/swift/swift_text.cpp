#include "telvar/generate/swift/swift_text.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "telvar/generate/identifiers.h"
#include "telvar/generate/literals.h"
#include "telvar/unicode/text.h"

namespace telvar::generate::swift {
namespace {

struct Range {
  char32_t first;
  char32_t last;
};

// The identifier heads of Swift's grammar beyond ASCII, in ascending order.
constexpr std::array<Range, 49> kHeadRanges{{
    {0x00A8, 0x00A8},   {0x00AA, 0x00AA},   {0x00AD, 0x00AD},   {0x00AF, 0x00AF},
    {0x00B2, 0x00B5},   {0x00B7, 0x00BA},   {0x00BC, 0x00BE},   {0x00C0, 0x00D6},
    {0x00D8, 0x00F6},   {0x00F8, 0x00FF},   {0x0100, 0x02FF},   {0x0370, 0x167F},
    {0x1681, 0x180D},   {0x180F, 0x1DBF},   {0x1E00, 0x1FFF},   {0x200B, 0x200D},
    {0x202A, 0x202E},   {0x203F, 0x2040},   {0x2054, 0x2054},   {0x2060, 0x206F},
    {0x2070, 0x20CF},   {0x2100, 0x218F},   {0x2460, 0x24FF},   {0x2776, 0x2793},
    {0x2C00, 0x2DFF},   {0x2E80, 0x2FFF},   {0x3004, 0x3007},   {0x3021, 0x302F},
    {0x3031, 0x303F},   {0x3040, 0xD7FF},   {0xF900, 0xFD3D},   {0xFD40, 0xFDCF},
    {0xFDF0, 0xFE1F},   {0xFE30, 0xFE44},   {0xFE47, 0xFFFD},   {0x10000, 0x1FFFD},
    {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD}, {0x40000, 0x4FFFD}, {0x50000, 0x5FFFD},
    {0x60000, 0x6FFFD}, {0x70000, 0x7FFFD}, {0x80000, 0x8FFFD}, {0x90000, 0x9FFFD},
    {0xA0000, 0xAFFFD}, {0xB0000, 0xBFFFD}, {0xC0000, 0xCFFFD}, {0xD0000, 0xDFFFD},
    {0xE0000, 0xEFFFD},
}};

// Combining marks that may continue an identifier but not begin one.
constexpr std::array<Range, 4> kContinuationOnlyRanges{{
    {0x0300, 0x036F},
    {0x1DC0, 0x1DFF},
    {0x20D0, 0x20FF},
    {0xFE20, 0xFE2F},
}};

constexpr bool inRanges(char32_t c, const auto& ranges) {
  return std::any_of(ranges.begin(), ranges.end(),
                     [c](const Range& r) { return c >= r.first && c <= r.last; });
}

constexpr bool isAsciiLetter(char32_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

constexpr bool isHead(char32_t c) {
  if (c < 0x80) return isAsciiLetter(c) || c == '_';
  return inRanges(c, kHeadRanges);
}

// "$" is left out: the compiler takes it inside a name, but Swift's grammar has it begin only
// the names the compiler makes ("$0", projected values), and other tools reject it.
constexpr bool isContinuation(char32_t c) {
  if (c < 0x80) return isAsciiLetter(c) || c == '_' || (c >= '0' && c <= '9');
  return inRanges(c, kHeadRanges) || inRanges(c, kContinuationOnlyRanges);
}

// Calls `f(scalar, bytes)` for each scalar; an ill-formed sequence comes as -1.
template <class F>
void forEachScalar(std::string_view text, F&& f) {
  while (!text.empty()) {
    int scalar = -1;
    std::size_t length = decodeUtf8(text, scalar);
    if (length == 0) length = 1;
    f(scalar, text.substr(0, length));
    text.remove_prefix(length);
  }
}

// What each byte may be in a name, so that an ASCII name is judged a byte at a time by one
// lookup; a byte past ASCII sends the rest of the name to the decoder.
enum ByteRole : unsigned char { kContinues = 1, kStarts = 2, kDecoded = 4 };
constexpr std::array<unsigned char, 256> kByteRoles = [] {
  std::array<unsigned char, 256> roles{};
  for (char32_t c = 0; c < 256; ++c) {
    roles[c] = c >= 0x80 ? static_cast<unsigned char>(kDecoded)
                         : static_cast<unsigned char>((isContinuation(c) ? kContinues : 0) |
                                                      (isHead(c) ? kStarts : 0));
  }
  return roles;
}();

bool isWildcard(std::string_view name) { return name == "_"; }

// Characters Swift forbids become "_"; a digit or combining mark first gets "_" before it; the
// wildcard "_" (and the empty text) name nothing, so they become "__".
const IdentifierRules kSwiftRules{
    isHead, isContinuation, ForeignCharacter::underscore, 'u', "_", "__", isWildcard, "_", ""};

}  // namespace

bool isSwiftIdentifier(std::string_view name) {
  if (name.empty() || name == "_") return false;
  // Most names are ASCII: their bytes are tested as they are, and only the rest is decoded.
  const auto roleOf = [&](std::size_t i) {
    return kByteRoles[static_cast<unsigned char>(name[i])];
  };
  std::size_t i = 0;
  if (roleOf(0) != kDecoded) {
    if ((roleOf(0) & kStarts) == 0) return false;
    for (i = 1; i < name.size(); ++i) {
      const unsigned char role = roleOf(i);
      if ((role & kContinues) == 0) {
        if (role == kDecoded) break;
        return false;
      }
    }
  }
  bool first = i == 0;
  bool valid = true;
  forEachScalar(name.substr(i), [&](int scalar, std::string_view) {
    if (!valid) return;
    const bool ok = scalar >= 0 && (first ? isHead(static_cast<char32_t>(scalar))
                                          : isContinuation(static_cast<char32_t>(scalar)));
    valid = ok;
    first = false;
  });
  return valid;
}

std::string swiftIdentifier(std::string name) {
  if (isSwiftIdentifier(name)) return name;
  return repairedIdentifier(name, kSwiftRules);
}

bool isSwiftDotKeyword(std::string_view name) {
  return name == "init" || name == "self" || name == "Type" || name == "Protocol";
}

bool isSwiftMemberName(std::string_view name) {
  return isSwiftIdentifier(name) && !isSwiftDotKeyword(name);
}

std::string swiftMemberName(std::string name) {
  if (isSwiftDotKeyword(name)) return "`" + name + "`";
  return name;
}

std::string swiftStringLiteral(std::string_view text) { return quoted(text, kSwiftLiteral); }

}  // namespace telvar::generate::swift
