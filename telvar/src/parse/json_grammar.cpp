#include "telvar/parse/json_grammar.h"

#include <array>
#include <charconv>
#include <cmath>
#include <iterator>
#include <limits>
#include <span>

namespace telvar {
namespace {

using namespace parse;

// A piece of a string's text: a run of the input, or one decoded code point.
struct StringPiece {
  std::string_view text;
  char32_t codePoint = 0;
};

struct CollectPieces : CollectText {
  void add(State& s, StringPiece piece) const {
    if (!piece.text.empty()) {
      CollectText::add(s, piece.text);
    } else {
      s.flush();
      appendUtf8(s.text, piece.codePoint);
    }
  }
};

// Gathers the elements of one container in order: the first few in place, so that the usual
// small container allocates nothing until its node is made, with the elements moved in once.
template <class T>
class Gathered {
 public:
  static constexpr std::size_t kInPlace = 16;

  [[nodiscard]] std::size_t size() const noexcept {
    return m_rest.empty() ? m_count : m_rest.size();
  }
  [[nodiscard]] const T& operator[](std::size_t i) const {
    return m_rest.empty() ? m_first[i] : m_rest[i];
  }
  void push(T&& element) {
    if (m_rest.empty()) {
      if (m_count < kInPlace) {
        m_first[m_count++] = std::move(element);
        return;
      }
      // Past the places at hand, all elements move to the heap, so that they stay contiguous.
      m_rest.reserve(kInPlace * 2);
      for (std::size_t i = 0; i < m_count; ++i) m_rest.push_back(std::move(m_first[i]));
    }
    m_rest.push_back(std::move(element));
  }
  /// The elements, to be moved from.
  [[nodiscard]] std::span<T> elements() noexcept {
    return m_rest.empty() ? std::span<T>(m_first.data(), m_count) : std::span<T>(m_rest);
  }

 private:
  std::array<T, kInPlace> m_first{};
  std::size_t m_count = 0;
  std::vector<T> m_rest;
};

// An array's elements, made into the array.
struct CollectElements {
  using Output = Value;
  using State = Gathered<Value>;
  State start() const { return {}; }
  void add(State& s, Value&& element) const { s.push(std::move(element)); }
  Output finish(State&& s) const { return Value::arrayMoving(s.elements()); }
};

// An object's members as they arrive, made into the object: the first of equivalent keys wins,
// and the key order is the order of the members kept. Small objects are checked for repeats by
// scanning; past a few dozen members a hashed map takes over.
struct CollectMembers {
  using Output = Value;
  static constexpr std::size_t kScanned = 32;  // at most the bits of `ascii`
  struct State {
    Gathered<ValueMap::Member> members;
    std::uint32_t ascii = 0;  // per gathered key, so that two ASCII keys compare by bytes
    std::optional<ValueMap> large;
  };
  State start() const { return {}; }
  void add(State& s, std::pair<std::string, Value>&& member) const {
    if (s.large) {
      s.large->insertIfAbsent(Key(member.first), std::move(member.second));
      return;
    }
    const bool ascii = isAscii(member.first);
    for (std::size_t i = 0; i < s.members.size(); ++i) {
      const Key& key = s.members[i].first;
      const bool bothAscii = ascii && ((s.ascii >> i) & 1) != 0;
      if (bothAscii ? key == member.first : textEquals(key, member.first)) return;
    }
    s.members.push({Key(member.first), std::move(member.second)});
    if (ascii) s.ascii |= std::uint32_t{1} << (s.members.size() - 1);
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
  return zeroOrMore(characterIn(std::string_view(kWhitespace, sizeof kWhitespace)),
                    CollectCount{});
}

template <Rule P>
auto token(P p) {
  return keepLeft(std::move(p), whitespace());
}

auto nullRule() { return token(map(literal("null"), constant(Value::null()))); }

auto boolRule() {
  return token(orElse(map(literal("true"), constant(Value::bool_(true))),
                      map(literal("false"), constant(Value::bool_(false)))));
}

Value numberValue(const std::string& text, bool integral) {
  const char* first = text.data();
  const char* last = text.data() + text.size();
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
    std::size_t mantissaEnd = text.find('e');
    if (mantissaEnd == std::string::npos) mantissaEnd = text.size();
    long exponent = 0;
    if (mantissaEnd < text.size()) {
      std::string_view e(text.data() + mantissaEnd + 1, text.size() - mantissaEnd - 1);
      bool negativeExponent = !e.empty() && e[0] == '-';
      if (!e.empty() && (e[0] == '-' || e[0] == '+')) e.remove_prefix(1);
      for (char c : e) exponent = std::min(exponent * 10 + (c - '0'), 100000L);
      if (negativeExponent) exponent = -exponent;
    }
    std::string_view mantissa(text.data() + (negative ? 1 : 0),
                              mantissaEnd - (negative ? 1 : 0));
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

auto numberRule() {
  auto digit = characterIn("0123456789");
  auto digits = zeroOrMore(digit, CollectText{});
  auto digitsPlus = map(digits, [](std::string s) {
    return s.empty() ? std::nullopt : std::optional<std::string>(std::move(s));
  });
  auto integerPart =
      orElse(map(character("0"), [](std::string_view) { return std::optional<std::string>("0"); }),
             map(zip(characterIn("123456789"), digits), [](auto&& p) {
               std::string s(p.first);
               s += p.second;
               return std::optional<std::string>(std::move(s));
             }));
  auto fraction = optional(keepRight(character("."), digitsPlus));
  auto exponent = optional(
      zip(keepRight(characterIn("eE"), optional(characterIn("+-"))), digitsPlus));
  auto number = map(zip(zip(zip(optional(character("-")), integerPart), fraction), exponent),
                    [](auto&& parts) {
                      auto& [signAndInteger, fractionPart] = parts.first;
                      auto& [sign, integer] = signAndInteger;
                      auto& exponentPart = parts.second;
                      std::string text;
                      if (sign) text += '-';
                      text += integer;
                      if (fractionPart) {
                        text += '.';
                        text += *fractionPart;
                      }
                      if (exponentPart) {
                        text += 'e';
                        if (exponentPart->first) text += *exponentPart->first;
                        text += exponentPart->second;
                      }
                      return std::optional<Value>(
                          numberValue(text, !fractionPart && !exponentPart));
                    });
  return token(number);
}

auto stringRule() {
  auto plain = map(characterWhere([](std::string_view c) {
                     return !parse::detail::sameCharacter(c, "\"") && !parse::detail::sameCharacter(c, "\\");
                   }),
                   [](std::string_view c) { return std::optional<StringPiece>(StringPiece{c}); });
  auto escape = [](const char* sequence, const char* yields) {
    return map(literal(sequence),
               [yields](std::string_view) { return std::optional<StringPiece>(StringPiece{yields}); });
  };
  auto escapes = oneOf(escape("\\\"", "\""), escape("\\\\", "\\"), escape("\\/", "/"),
                       escape("\\n", "\n"), escape("\\r", "\r"), escape("\\t", "\t"));
  auto hex = characterIn("0123456789ABCDEFabcdef");
  auto unicode =
      map(keepRight(literal("\\u"), zip(zip(zip(hex, hex), hex), hex)), [](auto&& digits) {
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
  auto stringCharacter = oneOf(plain, escapes, unicode);
  return keepLeft(keepRight(character("\""), zeroOrMore(stringCharacter, CollectPieces{})),
                  character("\""));
}

// The shared parsers of the grammar. Each is built once and reached through its handle, which
// also keeps the frames of the recursive rules small: only the container rules lie on the
// recursion path, so nesting 512 deep stays far from the stack limit.
const Parser<Value>& jsonNullParser() {
  static const Parser<Value> instance(nullRule());
  return instance;
}

const Parser<Value>& jsonBoolParser() {
  static const Parser<Value> instance(boolRule());
  return instance;
}

const Parser<Value>& jsonNumberParser() {
  static const Parser<Value> instance(numberRule());
  return instance;
}

const Parser<std::string>& jsonStringParser() {
  static const Parser<std::string> instance(stringRule());
  return instance;
}

const Parser<Value>& jsonStringValueParser() {
  static const Parser<Value> instance(map(jsonStringParser(), [](std::string s) {
    return std::optional<Value>(Value::string(std::move(s)));
  }));
  return instance;
}

auto valueReference() {
  return deferred([]() -> const Parser<Value>& { return jsonValueParser(); });
}

auto comma() { return token(character(",")); }

const Parser<Value>& jsonObjectParser() {
  static const Parser<Value> instance = [] {
    auto member = zip(token(keepLeft(token(jsonStringParser()), character(":"))), valueReference());
    auto members = zeroOrMoreSeparated(member, comma(), CollectMembers{});
    auto object = map(keepRight(token(character("{")), keepLeft(members, character("}"))),
                      [](Value object) { return std::optional<Value>(std::move(object)); });
    return Parser<Value>(token(nested(object, kMaxJsonDepth)));
  }();
  return instance;
}

const Parser<Value>& jsonArrayParser() {
  static const Parser<Value> instance = [] {
    auto elements = zeroOrMoreSeparated(valueReference(), comma(), CollectElements{});
    auto array = map(
        keepRight(token(character("[")),
                  keepLeft(keepLeft(keepLeft(elements, optional(character(","))), whitespace()),
                           character("]"))),
        [](Value array) { return std::optional<Value>(std::move(array)); });
    return Parser<Value>(token(nested(array, kMaxJsonDepth)));
  }();
  return instance;
}

}  // namespace

const Parser<Value>& jsonValueParser() {
  static const Parser<Value> instance(token(keepRight(
      whitespace(), oneOf(jsonNullParser(), jsonBoolParser(), jsonNumberParser(),
                          jsonStringValueParser(), jsonObjectParser(), jsonArrayParser()))));
  return instance;
}

}  // namespace telvar
