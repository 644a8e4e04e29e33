#include "telvar/unicode/text.h"

#include <cstring>

#include <unicode/bytestream.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace telvar {
namespace {

const icu::Normalizer2& nfcNormalizer() {
  // ICU keeps the instance for the life of the process; its set-up is thread-safe.
  static const icu::Normalizer2* const instance = [] {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* n = icu::Normalizer2::getNFCInstance(status);
    return U_SUCCESS(status) ? n : nullptr;
  }();
  return *instance;
}

bool isNfc(std::string_view text) {
  if (isAscii(text)) return true;
  UErrorCode status = U_ZERO_ERROR;
  bool normalized = nfcNormalizer().isNormalizedUTF8(
      icu::StringPiece(text.data(), static_cast<int32_t>(text.size())), status);
  return U_SUCCESS(status) && normalized;
}

}  // namespace

bool isAscii(std::string_view text) noexcept {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  // Eight bytes at a time: the common case is long ASCII keys and values.
  while (end - p >= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    if (word & 0x8080808080808080ULL) return false;
    p += 8;
  }
  for (; p < end; ++p) {
    if (*p & 0x80) return false;
  }
  return true;
}

std::size_t decodeUtf8(std::string_view text, int& codePoint) noexcept {
  if (text.empty()) {
    codePoint = -1;
    return 0;
  }
  const auto* s = reinterpret_cast<const uint8_t*>(text.data());
  int32_t i = 0;
  const auto length = static_cast<int32_t>(std::min<std::size_t>(text.size(), 4));
  UChar32 c;
  U8_NEXT(s, i, length, c);
  codePoint = c;
  return static_cast<std::size_t>(i);
}

bool isValidUtf8(std::string_view text) noexcept {
  while (!text.empty()) {
    auto c = static_cast<unsigned char>(text.front());
    if (c < 0x80) {
      text.remove_prefix(1);
      continue;
    }
    int cp;
    std::size_t n = decodeUtf8(text, cp);
    if (cp < 0) return false;
    text.remove_prefix(n);
  }
  return true;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string nfc(std::string_view text) {
  std::string scratch;
  std::string_view v = nfcView(text, scratch);
  if (v.data() == text.data()) return std::string(text);
  return scratch;
}

std::string_view nfcView(std::string_view text, std::string& scratch) {
  if (isNfc(text) || !isValidUtf8(text)) return text;
  scratch.clear();
  icu::StringByteSink<std::string> sink(&scratch);
  UErrorCode status = U_ZERO_ERROR;
  nfcNormalizer().normalizeUTF8(0, icu::StringPiece(text.data(), static_cast<int32_t>(text.size())),
                                sink, nullptr, status);
  if (U_FAILURE(status)) return text;
  return scratch;
}

bool textEquals(std::string_view a, std::string_view b) {
  if (a == b) return true;
  if (isAscii(a) && isAscii(b)) return false;
  std::string sa, sb;
  return nfcView(a, sa) == nfcView(b, sb);
}

int textCompare(std::string_view a, std::string_view b) {
  std::string sa, sb;
  if (!(isAscii(a) && isAscii(b))) {
    a = nfcView(a, sa);
    b = nfcView(b, sb);
  }
  // UTF-8 byte order is code point order.
  int r = a.compare(b);
  return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

namespace {

// The grapheme-cluster boundary rules of UAX #29, on ICU's character properties.
struct ClusterState {
  int previous = U_GCB_OTHER;
  bool emojiRun = false;       // ExtPict Extend* so far
  bool zwjAfterEmoji = false;  // ... followed by ZWJ
  int regionalCount = 0;       // regional indicators in a row ending at `previous`
};

bool joins(const ClusterState& s, int current, UChar32 c) {
  const int p = s.previous;
  if (p == U_GCB_CR && current == U_GCB_LF) return true;                       // GB3
  if (p == U_GCB_CONTROL || p == U_GCB_CR || p == U_GCB_LF) return false;      // GB4
  if (current == U_GCB_CONTROL || current == U_GCB_CR || current == U_GCB_LF)  // GB5
    return false;
  if (p == U_GCB_L &&
      (current == U_GCB_L || current == U_GCB_V || current == U_GCB_LV || current == U_GCB_LVT))
    return true;  // GB6
  if ((p == U_GCB_LV || p == U_GCB_V) && (current == U_GCB_V || current == U_GCB_T))
    return true;                                                            // GB7
  if ((p == U_GCB_LVT || p == U_GCB_T) && current == U_GCB_T) return true;  // GB8
  if (current == U_GCB_EXTEND || current == U_GCB_ZWJ) return true;         // GB9
  if (current == U_GCB_SPACING_MARK) return true;                           // GB9a
  if (p == U_GCB_PREPEND) return true;                                      // GB9b
  if (p == U_GCB_ZWJ && s.zwjAfterEmoji && u_hasBinaryProperty(c, UCHAR_EXTENDED_PICTOGRAPHIC))
    return true;  // GB11
  if (p == U_GCB_REGIONAL_INDICATOR && current == U_GCB_REGIONAL_INDICATOR)
    return s.regionalCount % 2 == 1;  // GB12, GB13
  return false;                       // GB999
}

void advance(ClusterState& s, int current, UChar32 c) {
  const bool pict = u_hasBinaryProperty(c, UCHAR_EXTENDED_PICTOGRAPHIC);
  s.zwjAfterEmoji = current == U_GCB_ZWJ && s.emojiRun;
  if (pict) {
    s.emojiRun = true;
  } else if (current != U_GCB_EXTEND) {
    s.emojiRun = false;
  }
  s.regionalCount = current == U_GCB_REGIONAL_INDICATOR ? s.regionalCount + 1 : 0;
  s.previous = current;
}

// Whether a character joins the one before it whatever that is, unless that is a control:
// grapheme break property Extend, ZWJ or SpacingMark.
bool extendsCluster(int codePoint) {
  const int gcb = u_getIntPropertyValue(codePoint, UCHAR_GRAPHEME_CLUSTER_BREAK);
  return gcb == U_GCB_EXTEND || gcb == U_GCB_ZWJ || gcb == U_GCB_SPACING_MARK;
}

bool isAsciiControl(unsigned byte) { return byte < 0x20 || byte == 0x7F; }

}  // namespace

Cluster detail::firstClusterSlow(std::string_view text) noexcept {
  if (text.empty()) return {0, true};
  if (const auto b0 = static_cast<unsigned char>(text[0]);
      b0 < 0x80 && text.size() > 1 && !isAsciiControl(b0)) {
    // Any other ASCII character is joined only by an extending character after it, which is
    // the one property worth looking up.
    int next;
    decodeUtf8(text.substr(1), next);
    if (next < 0x80 || !extendsCluster(next)) return {1, true};
  }
  int cp;
  std::size_t i = decodeUtf8(text, cp);
  if (cp < 0) return {i, false};
  ClusterState state;
  advance(state, u_getIntPropertyValue(cp, UCHAR_GRAPHEME_CLUSTER_BREAK), cp);
  while (i < text.size()) {
    int next;
    std::size_t n = decodeUtf8(text.substr(i), next);
    if (next < 0) break;
    int gcb = u_getIntPropertyValue(next, UCHAR_GRAPHEME_CLUSTER_BREAK);
    if (!joins(state, gcb, next)) break;
    advance(state, gcb, next);
    i += n;
  }
  return {i, true};
}

bool lastJoinsNext(std::string_view text) noexcept {
  // Back to the lead byte of the last character: at most three continuation bytes.
  std::size_t start = text.size();
  while (start > 0 && text.size() - start < 4) {
    --start;
    if ((static_cast<unsigned char>(text[start]) & 0xC0) != 0x80) break;
  }
  int cp;
  if (start == text.size() || decodeUtf8(text.substr(start), cp) != text.size() - start || cp < 0) {
    return false;
  }
  return u_getIntPropertyValue(cp, UCHAR_GRAPHEME_CLUSTER_BREAK) == U_GCB_PREPEND;
}

std::size_t prefixAvoiding(std::string_view text, const std::array<bool, 128>& stops) noexcept {
  // Every rule that could join an ASCII character to a neighbour looks at that neighbour alone:
  // CR before LF, a Prepend character before it, an Extend, ZWJ or SpacingMark character after
  // it (controls join nothing). So clusters need finding only next to a stop character.
  const auto byte = [&](std::size_t at) { return static_cast<unsigned char>(text[at]); };
  const std::size_t n = text.size();
  std::size_t pos = 0;
  while (pos < n) {
    const unsigned b = byte(pos);
    if (b >= 0x80) {
      int cp;
      const std::size_t length = decodeUtf8(text.substr(pos), cp);
      if (cp < 0) return pos;  // an ill-formed sequence is a cluster of its own, not well-formed
      pos += length;
      continue;
    }
    if (stops[b]) {
      const bool control = isAsciiControl(b);
      bool startsCluster = true;
      if (pos > 0) {
        const unsigned before = byte(pos - 1);
        startsCluster = before < 0x80 ? !(before == '\r' && b == '\n')
                                      : control || !lastJoinsNext(text.substr(0, pos));
      }
      bool alone = true;
      if (startsCluster && pos + 1 < n) {
        const unsigned after = byte(pos + 1);
        if (after < 0x80) {
          alone = !(b == '\r' && after == '\n');
        } else if (!control) {
          int next;
          decodeUtf8(text.substr(pos + 1), next);
          alone = next < 0 || !extendsCluster(next);
        }
      }
      if (startsCluster && alone) return pos;
    }
    ++pos;
  }
  return n;
}

bool isUnicodeLetter(int codePoint) noexcept {
  switch (u_charType(codePoint)) {
    case U_UPPERCASE_LETTER:
    case U_LOWERCASE_LETTER:
    case U_TITLECASE_LETTER:
    case U_MODIFIER_LETTER:
    case U_OTHER_LETTER:
      return true;
    default:
      return false;
  }
}

}  // namespace telvar
