#include "telvar/parse/json_grammar.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <vector>

#include "parse/array_pieces.h"
#include "telvar/value/merge.h"

namespace telvar {
namespace {

using namespace parse;

// A piece of a string's text: a run of the input, or one decoded code point.
struct StringPiece {
  std::string_view text;
  char32_t codePoint = 0;
};

struct CollectPieces : CollectViewOrText {
  void add(State& s, StringPiece piece) const {
    if (!piece.text.empty()) {
      CollectViewOrText::add(s, piece.text);
    } else {
      s.flush();
      appendUtf8(s.text, piece.codePoint);
    }
  }
  using CollectViewOrText::add;
  /// A string that is one run of the input is a view of it.
  ViewOrText single(std::string_view run) const { return ViewOrText(run); }
};

// The runs and escapes of a string value, made into the value: text gathered from several is
// copied once, into the value, rather than held on its own first (the strings and records
// corpora: 2 to 3% of their instructions).
struct CollectStringValue : CollectPieces {
  using Output = Value;
  Output finish(State&& s) const {
    if (s.text.empty()) return Value::string(s.pending);
    s.flush();
    return Value::string(s.text);
  }
  Output single(std::string_view run) const { return Value::string(run); }
};

// The same for a key, made straight into the key: no text of its own to let go of afterwards
// (the optional corpus: 3% of its instructions).
struct CollectKey : CollectPieces {
  using Output = Key;
  Output finish(State&& s) const {
    if (s.text.empty()) return Key(s.pending);
    s.flush();
    return Key(s.text);
  }
  Output single(std::string_view run) const { return Key(run); }
};

// Gathers the elements of one container in order: the first few in place, so that the usual
// small container allocates nothing until its node is made, with the elements moved in once. The
// places at hand are raw storage: only the elements gathered are ever made and destroyed.
template <class T>
class Gathered {
 public:
  static constexpr std::size_t kInPlace = 16;

  Gathered() noexcept {}  // NOLINT: the places at hand stay raw
  Gathered(const Gathered&) = delete;
  Gathered& operator=(const Gathered&) = delete;
  ~Gathered() { std::destroy_n(first(), m_count); }

  [[nodiscard]] std::size_t size() const noexcept {
    return m_rest.empty() ? m_count : m_rest.size();
  }
  [[nodiscard]] const T& operator[](std::size_t i) const {
    return m_rest.empty() ? first()[i] : m_rest[i];
  }
  void push(T&& element) {
    if (m_rest.empty()) {
      if (m_count < kInPlace) {
        new (first() + m_count) T(std::move(element));
        ++m_count;
        return;
      }
      // Past the places at hand, all elements move to the heap, so that they stay contiguous.
      m_rest.reserve(kInPlace * 2);
      m_rest.insert(m_rest.end(), std::make_move_iterator(first()),
                    std::make_move_iterator(first() + m_count));
      std::destroy_n(first(), m_count);
      m_count = 0;
    }
    m_rest.push_back(std::move(element));
  }
  /// The elements, to be moved from.
  [[nodiscard]] std::span<T> elements() noexcept {
    return m_rest.empty() ? std::span<T>(first(), m_count) : std::span<T>(m_rest);
  }

 private:
  [[nodiscard]] T* first() noexcept { return std::launder(reinterpret_cast<T*>(m_places)); }
  [[nodiscard]] const T* first() const noexcept {
    return std::launder(reinterpret_cast<const T*>(m_places));
  }

  alignas(T) unsigned char m_places[kInPlace * sizeof(T)];
  std::size_t m_count = 0;
  std::vector<T> m_rest;
};

// An array's elements, made into the array.
struct CollectElements {
  using Output = Value;
  using State = Gathered<Value>;
  State start() const { return {}; }
  void add(State& s, Value&& element) const { s.push(std::move(element)); }
  /// What the worker that read some of the elements does with them: nothing here.
  void prepareOnWorker(std::vector<Value>&) const {}
  void addPiece(State& s, std::vector<Value>& piece) const {
    for (Value& element : piece) s.push(std::move(element));
  }
  Output finish(State&& s) const { return Value::arrayMoving(s.elements()); }
};

// An object's members as they arrive, made into the object: the first of equivalent keys wins,
// and the key order is the order of the members kept. Small objects are checked for repeats by
// scanning; past a few dozen members a hashed map takes over.
struct CollectMembers {
  using Output = Value;
  static constexpr std::size_t kScanned = 32;  // at most the bits of `ascii`
  struct State {
    // Not an aggregate: making one from {} would first zero all of it, the raw places of
    // `members` too (the optional corpus: 2% of its instructions).
    State() noexcept {}  // NOLINT
    Gathered<ValueMap::Member> members;
    std::uint32_t ascii = 0;      // per gathered key, so that two ASCII keys compare by bytes
    std::uint64_t asciiSeen = 0;  // a bit per hash of each gathered ASCII key
    std::optional<ValueMap> large;
  };
  State start() const { return {}; }

  // A cheap hash of a key, one of 64 bits: ASCII keys whose bits differ differ. The byte before
  // the last tells numbered keys apart ("field_12", "field_22"), which otherwise share bits and
  // are compared with every key gathered (the optional corpus: 6% of its instructions).
  static std::uint64_t hashBit(std::string_view key) {
    const auto at = [&](std::size_t k) {
      return static_cast<std::size_t>(parse::detail::byteAt(key, k));
    };
    const std::size_t n = key.size();
    const std::size_t h =
        n == 0 ? 0 : n * 7 + at(0) * 3 + at(n - 1) + (n >= 2 ? at(n - 2) * 11 : 0);
    return std::uint64_t{1} << (h & 63);
  }

  void add(State& s, ValueMap::Member&& member) const {
    const std::string_view key = member.first.view();
    if (s.large) {
      s.large->insertIfAbsent(std::move(member.first), std::move(member.second));
      return;
    }
    const bool ascii = member.first.ascii();
    const std::uint64_t bit = ascii ? hashBit(key) : 0;
    // An ASCII key unlike every ASCII key so far needs comparing only with the others, which
    // may still be canonically equal to it. Fewer than `kScanned` members are gathered here, one
    // bit each.
    const auto gatheredBits =
        static_cast<std::uint32_t>((std::uint64_t{1} << s.members.size()) - 1);
    std::uint32_t compared =
        (ascii && (s.asciiSeen & bit) == 0 ? ~s.ascii : ~std::uint32_t{0}) & gatheredBits;
    for (; compared != 0; compared &= compared - 1) {
      const auto i = static_cast<std::size_t>(std::countr_zero(compared));
      const Key& gathered = s.members[i].first;
      const bool bothAscii = ascii && ((s.ascii >> i) & 1) != 0;
      if (bothAscii ? gathered == key : textEquals(gathered, key)) return;
    }
    s.members.push(std::move(member));
    if (ascii) {
      s.ascii |= std::uint32_t{1} << (s.members.size() - 1);
      s.asciiSeen |= bit;
    }
    if (s.members.size() == kScanned) {
      auto gathered = s.members.elements();
      s.large.emplace(std::vector<ValueMap::Member>(std::make_move_iterator(gathered.begin()),
                                                    std::make_move_iterator(gathered.end())));
    }
  }
  Output finish(State&& s) const {
    if (s.large) return Value::object({}, std::move(*s.large));
    return Value::objectMovingDistinct(s.members.elements());
  }
};

template <class T>
auto constant(T value) {
  return [value](auto&&) { return std::optional<T>(value); };
}

auto whitespace() {
  // Space, U+0000, tab, line feed, carriage return, and carriage return + line feed.
  static constexpr char kWhitespace[] = {' ', '\0', '\t', '\n', '\r', '\r', '\n'};
  return zeroOrMore(characterIn(std::string_view(kWhitespace, sizeof kWhitespace)), CollectCount{});
}

template <Rule P>
auto token(P p) {
  return keepLeft(std::move(p), whitespace());
}

auto nullRule() { return map(literal("null"), constant(Value::null())); }

auto boolRule() {
  return orElse(map(literal("true"), constant(Value::bool_(true))),
                map(literal("false"), constant(Value::bool_(false))));
}

Value numberValue(std::string_view text) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
  bool integral = true;
  for (char c : text) integral = integral && c != '.' && c != 'e' && c != 'E';
  if (integral) {
    std::int64_t i = 0;
    auto [ptr, ec] = std::from_chars(first, last, i);
    if (ec == std::errc() && ptr == last) return Value::number(Value::Number::int_(i));
  }
  double d = 0;
  auto [ptr, ec] = std::from_chars(first, last, d);
  if (ec == std::errc::result_out_of_range) {
    // Beyond the range of a double: infinity when the magnitude is too large, zero when it is
    // too small, with the text's sign. The decimal exponent of the first significant digit
    // tells which.
    const bool negative = text[0] == '-';
    std::size_t mantissaEnd = text.find_first_of("eE");
    if (mantissaEnd == std::string_view::npos) mantissaEnd = text.size();
    long exponent = 0;
    if (mantissaEnd < text.size()) {
      std::string_view e = text.substr(mantissaEnd + 1);
      bool negativeExponent = !e.empty() && e[0] == '-';
      if (!e.empty() && (e[0] == '-' || e[0] == '+')) e.remove_prefix(1);
      for (char c : e) exponent = std::min(exponent * 10 + (c - '0'), 100000L);
      if (negativeExponent) exponent = -exponent;
    }
    std::string_view mantissa(text.data() + (negative ? 1 : 0), mantissaEnd - (negative ? 1 : 0));
    std::size_t point = mantissa.find('.');
    if (point == std::string_view::npos) point = mantissa.size();
    std::size_t firstDigit = mantissa.find_first_not_of("0.");
    long position = firstDigit == std::string_view::npos
                        ? 0
                        : (firstDigit < point ? static_cast<long>(point - firstDigit)
                                              : -static_cast<long>(firstDigit - point - 1));
    const bool tooLarge = firstDigit != std::string_view::npos && exponent + position > 0;
    d = tooLarge ? std::numeric_limits<double>::infinity() : 0.0;
    if (negative) d = -d;
  }
  return Value::number(Value::Number::double_(d));
}

// A number's text as one scan reads it: "-"? ("0" | [1-9] [0-9]*) ("." [0-9]+)? ([eE] [+-]?
// [0-9]+)?, longest match, each character a lone ASCII byte (none of them has another equivalent).
// The digits are gathered on the way, so that the usual number is converted without reading it
// again.
struct NumberText {
  std::string_view text;
  std::uint64_t digits = 0;     // the significant digits, while they fit (`exact`)
  std::int64_t exponent10 = 0;  // the number is `digits` times ten to this
  bool exact = true;            // `digits` and `exponent10` hold the number
  bool integral = true;         // no fraction and no exponent
  bool negative = false;
};

struct NumberScan {
  using Output = NumberText;

  Result<Output> parse(const Input& i) const {
    // Read first as if every byte stood alone. Between two ASCII bytes that is so, and every
    // byte read is ASCII: only the last may be joined by a mark, which the byte after it tells.
    // The careful reading, a test per byte, is then needed only rarely (it cost the numbers
    // corpus a tenth of its instructions).
    NumberText n;
    std::size_t pos = scan<false>(i.text, n);
    if (pos == 0) return std::nullopt;
    if (pos < i.text.size() && parse::detail::byteAt(i.text, pos) >= 0x80) {
      n = NumberText{};
      pos = scan<true>(i.text, n);
      if (pos == 0) return std::nullopt;
    }
    n.text = i.first(pos);
    return Match<Output>{n, i.advanced(pos)};
  }

 private:
  // The length of the number at the start of `t` (0 for none), its digits gathered into `n`;
  // `Careful`: each character must be one byte standing alone.
  template <bool Careful>
  static TELVAR_PARSE_INLINE std::size_t scan(std::string_view t, NumberText& n) {
    std::size_t pos = 0;
    if (is<Careful>(t, pos, '-', '-')) {
      n.negative = true;
      ++pos;
    }
    if (is<Careful>(t, pos, '0', '0')) {
      ++pos;
    } else if (is<Careful>(t, pos, '1', '9')) {
      pos = digitsFrom<Careful>(t, pos, n);
    } else {
      return 0;
    }
    if (is<Careful>(t, pos, '.', '.') && is<Careful>(t, pos + 1, '0', '9')) {
      n.integral = false;
      const std::size_t fractionStart = pos + 1;
      pos = digitsFrom<Careful>(t, fractionStart, n);
      n.exponent10 -= static_cast<std::int64_t>(pos - fractionStart);
    }
    if (is<Careful>(t, pos, 'e', 'e') || is<Careful>(t, pos, 'E', 'E')) {
      std::size_t at = pos + 1;
      const bool negativeExponent = is<Careful>(t, at, '-', '-');
      if (negativeExponent || is<Careful>(t, at, '+', '+')) ++at;
      if (is<Careful>(t, at, '0', '9')) {
        n.integral = false;
        std::int64_t exponent = 0;
        for (; is<Careful>(t, at, '0', '9'); ++at) {
          exponent = std::min<std::int64_t>(exponent * 10 + (t[at] - '0'), 100000);
        }
        // A capped exponent no longer says where the point is: a long fraction could bring it
        // back into the short way's range with the wrong value.
        if (exponent == 100000) n.exact = false;
        n.exponent10 += negativeExponent ? -exponent : exponent;
        pos = at;
      }
    }
    return pos;
  }

  // Whether the byte at `at` is from `low` to `high`, and, when `Careful`, stands alone: an
  // ASCII byte followed by a non-ASCII one may be joined by a combining mark into another
  // character.
  template <bool Careful>
  static TELVAR_PARSE_INLINE bool is(std::string_view t, std::size_t at, char low, char high) {
    return at < t.size() && t[at] >= low && t[at] <= high && (!Careful || aloneAt(t, at));
  }
  static TELVAR_PARSE_INLINE bool aloneAt(std::string_view t, std::size_t at) {
    return at + 1 == t.size() || parse::detail::byteAt(t, at + 1) < 0x80 || aloneSlow(t, at);
  }
  static TELVAR_PARSE_NOINLINE bool aloneSlow(std::string_view t, std::size_t at) {
    const Cluster c = firstCluster(t.substr(at));
    return c.valid && c.length == 1;
  }

  // Past the digits from `at` on, adding them to `n`. Inside a run every digit is followed by an
  // ASCII byte; only the last can be joined by a mark, and is then read again without it.
  template <bool Careful>
  static std::size_t digitsFrom(std::string_view t, std::size_t at, NumberText& n) {
    // Gathered in locals: `n` could alias the text's bytes, and would be stored at every digit.
    std::uint64_t digits = n.digits;
    bool exact = n.exact;
    std::size_t end = at;
    for (; end < t.size(); ++end) {
      const auto digit = static_cast<unsigned>(static_cast<unsigned char>(t[end]) - '0');
      if (digit > 9) break;
      exact = exact && digits < kDigitsBelow;
      if (exact) digits = digits * 10 + digit;
    }
    if (Careful && end > at && !aloneAt(t, end - 1)) {
      return digitsFrom<Careful>(t.substr(0, end - 1), at, n);
    }
    n.digits = digits;
    n.exact = exact;
    return end;
  }
  static constexpr std::uint64_t kDigitsBelow = 100000000000000000;  // 10^17: no overflow
};

// The value of a number's text when its conversion is exact by simple arithmetic: an integer of
// up to 18 digits, or up to 2^53 times a power of ten that a double holds exactly, where one
// rounded multiplication or division gives the correctly rounded double, as from_chars does.
// With the one scan, this takes a third off the numbers corpus's instructions.
Value numberValue(const NumberText& n) {
  if (n.exact) {
    if (n.integral) {
      const auto i = static_cast<std::int64_t>(n.digits);
      return Value::number(Value::Number::int_(n.negative ? -i : i));
    }
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                         1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                         1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (n.digits <= (std::uint64_t{1} << 53) && n.exponent10 >= -22 && n.exponent10 <= 22) {
      const auto m = static_cast<double>(n.digits);
      double d = n.exponent10 < 0 ? m / kPowers[-n.exponent10] : m * kPowers[n.exponent10];
      return Value::number(Value::Number::double_(n.negative ? -d : d));
    }
  }
  return numberValue(n.text);
}

auto numberRule() {
  return map(NumberScan{},
             [](const NumberText& n) { return std::optional<Value>(numberValue(n)); });
}

// A string, its runs and escapes gathered by `C`.
template <class C>
auto stringRule(C collect) {
  // Runs of plain characters (any but the quotation mark and the backslash) are taken whole.
  // Those two always begin a character of their own, as in every JSON reader: a mark before
  // one that would be prepended to it (U+0600, U+06DD) must not turn it into plain text.
  auto plain = map(textUntil("\"\\"), [](std::string_view run) {
    return std::optional<StringPiece>(StringPiece{run});
  });
  auto escaped = [](const char* k, const char* yields) {
    return startingWith(k, map(character(k), [yields](std::string_view) {
                          return std::optional<StringPiece>(StringPiece{yields});
                        }));
  };
  auto hex = characterIn("0123456789ABCDEFabcdef");
  auto unicode =
      map(keepRight(character("u"), zip(zip(zip(hex, hex), hex), hex)), [](auto&& digits) {
        const std::string_view d[4] = {digits.first.first.first, digits.first.first.second,
                                       digits.first.second, digits.second};
        char32_t n = 0;
        for (std::string_view c : d) {
          char h = c[0];
          n = n * 16 + static_cast<char32_t>(h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10);
        }
        // Surrogates are not combined into pairs: each reads as one underscore.
        if (n >= 0xD800 && n <= 0xDFFF) return std::optional<StringPiece>(StringPiece{"_"});
        return std::optional<StringPiece>(StringPiece{{}, n});
      });
  // An escape is decided by the character after the backslash, rather than by trying each in
  // turn (the text corpus: 5% of its instructions).
  auto escape = keepRight(
      character("\\"), oneOfByFirstByte(escaped("\"", "\""), escaped("\\", "\\"), escaped("/", "/"),
                                        escaped("n", "\n"), escaped("r", "\r"), escaped("t", "\t"),
                                        startingWith("u", unicode)));
  auto stringCharacter =
      oneOfByFirstByte(startingWithNoneOf("\"\\", plain), startingWith("\\", escape));
  // Most strings begin with a run of plain characters, which is what their first
  // `stringCharacter` reads too; most are that one run, which then needs no gathering of pieces.
  // Whatever follows the run (escapes, more runs) is read on from where it stopped. The closing
  // quotation mark is never a `stringCharacter`, so looking for it first changes nothing.
  auto quote = character("\"");
  auto characters = orElse(repeatedUntil(textUntil("\"\\"), stringCharacter, quote, collect),
                           keepLeft(zeroOrMore(stringCharacter, collect), quote));
  return keepRight(quote, characters);
}

auto stringValueRule() { return stringRule(CollectStringValue{}); }

const Parser<Value>& elementParser();

auto comma() { return token(character(",")); }

template <Rule V>
Parser<Value> objectRule(V value) {
  auto member =
      zip(token(keepLeft(token(stringRule(CollectKey{})), character(":"))), std::move(value));
  auto members = zeroOrMoreSeparated(member, comma(), CollectMembers{});
  auto object = map(keepRight(token(character("{")), keepLeft(members, character("}"))),
                    [](Value object) { return std::optional<Value>(std::move(object)); });
  return Parser<Value>(nested(object, kMaxJsonDepth));
}

template <Rule E>
Parser<Value> arrayRule(E elements) {
  auto array = map(
      keepRight(
          token(character("[")),
          keepLeft(keepLeft(keepLeft(std::move(elements), optional(character(","))), whitespace()),
                   character("]"))),
      [](Value array) { return std::optional<Value>(std::move(array)); });
  return Parser<Value>(nested(array, kMaxJsonDepth));
}

const Parser<std::string_view>& commaParser() {
  static const Parser<std::string_view> instance(comma());
  return instance;
}

// ---- Large arrays, read in pieces at once (parse/array_pieces.h) ---------------------------

// The elements of `text`, separated by commas, when they take up all of it.
std::optional<std::vector<Value>> elementsFilling(std::string_view text, std::ptrdiff_t depth) {
  std::vector<Value> values;
  auto element = elementParser().parse(Input(text, depth));
  while (element) {
    values.push_back(std::move(element->output));
    if (element->rest.text.empty()) return values;
    const auto separator = commaParser().parse(element->rest);
    if (!separator) break;
    element = elementParser().parse(separator->rest);
  }
  return std::nullopt;
}

// ---- Folds made where the elements were read -------------------------------------------------
//
// Merging a large array's elements one by one on the calling thread kept the workers waiting for
// it. Each worker folds the elements it read into one value, and the calling thread merges that
// one value: Swift from the 50 MB corpora takes a third less time (optional-50 0.23 s rather than
// 0.35 s, nested-50 0.15 s rather than 0.24 s, records-50 0.16 s rather than 0.23 s).
//
// `A + fold(e1 ... ek)` is what `A + e1 + ... + ek` gives wherever the kinds in each place agree:
// objects join their keys in order of first appearance, arrays fold their elements in order,
// nulls wrap, and each rule for scalars (a bool's "and", a number's last double else first
// number, a text's first that is not a web address else last) is associative. It is not where
// kinds meet that do not merge (they give `empty`, which the next value takes the place of), where
// a value meets a null holding a value (the null's value is merged first), and where an `empty`
// member of A meets elements that lack it and then give it as null. So the fold stands for its
// elements only when checked: the elements against the fold where they were read (`kindsKept`),
// the fold against A on the calling thread (`mergesAsItsElements`).

using Kind = Value::Kind;

// The value a null holds, else the value itself (a plain null too); `held` keeps a scalar that
// the null holds in place.
const Value& throughNull(const Value& v, std::optional<Value>& held) {
  if (!v.is(Kind::null)) return v;
  if (const Value* inner = v.nullInnerNode()) return *inner;
  held = v.nullInner();
  return held ? *held : v;
}

// Whether every value within `element` has the kind of the value in its place in `fold`, the left
// fold of elements among them `element`. Where two of them disagree, their merge gave `empty`,
// and what followed took its place: the fold is then not what the elements give after a value.
bool kindsKept(const Value& element, const Value& fold) {
  if (element.is(Kind::null)) return true;  // a parsed null holds nothing
  std::optional<Value> held;
  const Value& merged = throughNull(fold, held);
  if (merged.kind() != element.kind()) return false;
  if (element.is(Kind::object)) {
    // Records mostly give their keys in one order: the member at the same place is tried first,
    // by its bytes, before the look-up that hashes the key.
    const ValueMap& members = merged.objectValue().dictionary;
    const std::span<const ValueMap::Member> folded = members.entries();
    const std::span<const ValueMap::Member> own = element.objectValue().dictionary.entries();
    for (std::size_t i = 0; i < own.size(); ++i) {
      const Value* member = i < folded.size() && folded[i].first == own[i].first
                                ? &folded[i].second
                                : members.find(own[i].first);
      if (!member || !kindsKept(own[i].second, *member)) return false;
    }
  } else if (element.is(Kind::array)) {
    // A list that met no other lies in the fold as it was read (merged lists are one element).
    const std::span<const Value> values = merged.arrayValue().values;
    if (values.size() != 1) return true;
    for (const Value& value : element.arrayValue().values) {
      if (!kindsKept(value, values[0])) return false;
    }
  }
  return true;
}

// Whether merging `fold`, the left fold of elements whose kinds all agree (`kindsKept`), into
// `merged` gives what merging the elements into it one by one gives (see above).
bool mergesAsItsElements(const Value& merged, const Value& fold) {
  // An `empty` takes the other side whole; an `empty` in the fold is a list of no elements.
  if (merged.is(Kind::empty) || fold.is(Kind::empty)) return true;
  if (fold.is(Kind::null)) {
    if (!fold.hasNullInner()) return true;     // makes `merged` nullable, as its elements do
    if (!merged.is(Kind::null)) return false;  // its value would be merged before `merged`
  } else if (merged.is(Kind::null) && !merged.hasNullInner()) {
    return true;  // a plain null takes the fold as nullable, as it takes the elements
  }
  std::optional<Value> heldMine;
  std::optional<Value> heldTheirs;
  const Value& mine = throughNull(merged, heldMine);
  const Value& theirs = throughNull(fold, heldTheirs);
  if (mine.is(Kind::empty) || mine.is(Kind::null)) return true;
  if (mine.kind() != theirs.kind()) return false;
  switch (mine.kind()) {
    case Kind::bool_:
    case Kind::number:
    case Kind::string:
      return true;
    case Kind::object: {
      const Value::Object& own = mine.objectValue();
      const Value::Object& other = theirs.objectValue();
      if (!own.keysInMemberOrder() || !other.keysInMemberOrder()) return false;
      for (const auto& [key, value] : other.dictionary.entries()) {
        // A member only the fold has becomes nullable either way.
        const Value* member = own.dictionary.find(key);
        if (!member) continue;
        // An `empty` member that elements lack becomes a null holding `empty`, one that they
        // give as null becomes that null: the fold's plain null may stand for either.
        if (member->is(Kind::empty) && value.is(Kind::null) && !value.hasNullInner()) return false;
        if (!mergesAsItsElements(*member, value)) return false;
      }
      return true;
    }
    case Kind::array: {
      const std::span<const Value> own = mine.arrayValue().values;
      const std::span<const Value> other = theirs.arrayValue().values;
      // A fold's list of other than one element is one element's own, merged as it was read.
      if (other.size() != 1 || own.empty()) return true;
      // A list of several in `merged` is not folded yet: its fold is not at hand to check.
      return own.size() == 1 && mergesAsItsElements(own[0], other[0]);
    }
    default:
      return false;  // kinds that only refining gives
  }
}

// An array's elements merged as they arrive: the array comes out as its one merged element, or
// empty. The elements of a piece are left to their worker to let go.
struct MergeElements {
  using Output = Value;
  struct State {
    Value merged;
    bool any = false;
  };
  // Fewer elements are not folded: wide records come one or two to a worker at a time and share
  // few keys, so that their fold would cost the worker without sparing the calling thread.
  static constexpr std::size_t kFoldFrom = 4;

  State start() const { return {}; }
  void add(State& s, Value&& element) const {
    s.merged = s.any ? mergedInto(std::move(s.merged), element) : std::move(element);
    s.any = true;
  }
  // Where `elements` were read (on a worker, unless the calling thread came to them first): their
  // fold goes after them, or `empty` where it cannot stand for them.
  void prepareOnWorker(std::vector<Value>& elements) const {
    Value fold;
    if (elements.size() >= kFoldFrom) {
      fold = elements.front();
      for (std::size_t i = 1; i < elements.size(); ++i) {
        fold = mergedInto(std::move(fold), elements[i]);
      }
      for (const Value& element : elements) {
        if (!kindsKept(element, fold)) {
          fold = Value::empty();
          break;
        }
      }
    }
    elements.push_back(std::move(fold));
  }
  // Pieces come after the first element: their fold is merged where it gives the same as their
  // elements, else the elements are merged from where they lie.
  void addPiece(State& s, std::vector<Value>& piece) const {
    const Value& fold = piece.back();
    if (!fold.is(Kind::empty) && mergesAsItsElements(s.merged, fold)) {
      s.merged = mergedInto(std::move(s.merged), fold);
      return;
    }
    for (std::size_t i = 0; i + 1 < piece.size(); ++i) {
      s.merged = mergedInto(std::move(s.merged), piece[i]);
    }
  }
  Output finish(State&& s) const {
    return Value::arrayMoving(s.any ? std::span<Value>(&s.merged, 1) : std::span<Value>());
  }
};

// `zeroOrMoreSeparated(element, comma, collect)`, except that a large array is parsed in pieces
// at once.
template <class C>
struct ElementsInPieces {
  using Output = Value;
  C collect;

  Result<Output> parse(const Input& i) const {
    auto state = collect.start();
    auto first = elementParser().parse(i);
    if (!first) return Match<Output>{collect.finish(std::move(state)), i};
    collect.add(state, std::move(first->output));
    Input rest = first->rest;
    bool large = false;
    for (;;) {
      // Elements read in order that take up this much text make the array large: the rest is
      // read in pieces. Deciding by what was read keeps the cost of small arrays as it was.
      if (!large && i.text.size() - rest.text.size() >= telvar::detail::kInPiecesFrom) {
        large = true;
        const std::ptrdiff_t depth = rest.depth;
        rest = rest.advanced(telvar::detail::readInPieces(
            rest.text,
            [this, depth](std::string_view piece) {
              std::optional<std::vector<Value>> elements = elementsFilling(piece, depth);
              if (elements) collect.prepareOnWorker(*elements);
              return elements;
            },
            [&](std::vector<Value>& piece) { collect.addPiece(state, piece); }));
      }
      const auto separator = commaParser().parse(rest);
      if (!separator) break;
      auto next = elementParser().parse(separator->rest);
      if (!next) break;
      collect.add(state, std::move(next->output));
      rest = next->rest;
    }
    return Match<Output>{collect.finish(std::move(state)), rest};
  }
};

// A value with the whitespace after it (its alternatives read none after them): each
// alternative is decided by its first character. Inside a container the whitespace before a
// value is read by the token before it ("[", ",", ":"), so it is not looked for again (the
// numbers corpus: 2% of its instructions). The scalars are composed in and the containers are
// reached through their handles, so that a scalar costs no call of its own (the records corpus:
// 5% of its instructions). The recursion runs through the container handles alone, whose frames
// stay small (the scalars' rare, long paths are out of line), so nesting 512 deep stays far
// from the stack limit.
template <Rule O, Rule A>
auto valueRule(O object, A array) {
  return token(oneOfByFirstByte(
      startingWith("n", nullRule()), startingWith("tf", boolRule()),
      startingWith("-0123456789", numberRule()), startingWith("\"", stringValueRule()),
      startingWith("{", std::move(object)), startingWith("[", std::move(array))));
}

// The shared parsers of one way of reading arrays, each built once: `Arrays::elements()` reads
// an array's elements.
template <class Arrays>
struct Grammar {
  static const Parser<Value>& object() {
    static const Parser<Value> instance = objectRule(value());
    return instance;
  }
  static const Parser<Value>& array() {
    static const Parser<Value> instance = arrayRule(Arrays::elements());
    return instance;
  }
  static auto value() {
    return valueRule(deferred([]() -> const Parser<Value>& { return object(); }),
                     deferred([]() -> const Parser<Value>& { return array(); }));
  }
  /// A value with the whitespace around it: a whole document, or an element after a cut.
  static const Parser<Value>& valueParser() {
    static const Parser<Value> instance(keepRight(whitespace(), value()));
    return instance;
  }
};

// Values inside an array are read in order on the calling thread, whatever their size: only
// arrays inside no other array are shared out to worker threads, so workers never start more.
struct InOrder {
  static auto elements() {
    return zeroOrMoreSeparated(Grammar<InOrder>::value(), comma(), CollectElements{});
  }
};

// A large array inside no other array is read by worker threads at once.
struct OnWorkers {
  static auto elements() { return ElementsInPieces<CollectElements>{}; }
};

struct MergedOnWorkers {
  static auto elements() { return ElementsInPieces<MergeElements>{}; }
};

const Parser<Value>& elementParser() { return Grammar<InOrder>::valueParser(); }

}  // namespace

const Parser<Value>& jsonValueParser() { return Grammar<OnWorkers>::valueParser(); }

const Parser<Value>& jsonMergingValueParser() { return Grammar<MergedOnWorkers>::valueParser(); }

}  // namespace telvar
