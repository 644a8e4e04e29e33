#pragma once

// Parser combinators. A parser is a pure function from the remaining input to nothing (no match)
// or an output with the input that is left. Combinators are small class templates composed at
// compile time, so a grammar written with them costs about what a hand-written parser costs;
// `Parser<O>` is the cheap shared handle that erases a composed type (for shared and recursive
// rules). The unit of input is the extended grapheme cluster, compared by canonical equivalence;
// ASCII takes fast paths (repetitions of one-character rules skip ASCII runs in bulk, and
// `oneOfByFirstByte` tries only the alternatives that can start with the next ASCII character).
//
// Errors: a parse function may throw. Every combinator lets the exception pass unchanged and runs
// nothing further, dropping what it had collected.

#include <algorithm>
#include <array>
#include <bit>
#include <concepts>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "telvar/unicode/text.h"

// The common paths of the small rules are a few instructions and always inline; their rare,
// long paths stay out of line so that the common path inlines well.
#if defined(__GNUC__)
#define TELVAR_PARSE_NOINLINE __attribute__((noinline))
#define TELVAR_PARSE_INLINE __attribute__((always_inline))
#else
#define TELVAR_PARSE_NOINLINE
#define TELVAR_PARSE_INLINE
#endif

namespace telvar::parse {

/// The remaining input: a view into the caller's text, and how many nested containers enclose
/// this point (see `nested`).
struct Input {
  std::string_view text;
  // As wide as a pointer: an input is copied whole at every call, and a narrower field (with its
  // padding) would be written in parts and read back at once, which stalls.
  std::ptrdiff_t depth = 0;

  Input() = default;
  // NOLINTNEXTLINE: a text is an input
  Input(std::string_view t, std::ptrdiff_t d = 0) : text(t), depth(d) {}
  // Copied field by field: a copy as one block would read back at once fields that were just
  // written one by one, which stalls.
  Input(const Input& o) : text(o.text.data(), o.text.size()), depth(o.depth) {}
  Input& operator=(const Input& o) {
    text = std::string_view(o.text.data(), o.text.size());
    depth = o.depth;
    return *this;
  }
  /// The input after its first `n` bytes (`n` at most the size of the text).
  [[nodiscard]] Input advanced(std::size_t n) const {
    return Input(std::string_view(text.data() + n, text.size() - n), depth);
  }
  /// The first `n` bytes of the text (`n` at most its size).
  [[nodiscard]] std::string_view first(std::size_t n) const { return {text.data(), n}; }
  friend bool operator==(const Input& a, const Input& b) {
    return a.text.data() == b.text.data() && a.text.size() == b.text.size() && a.depth == b.depth;
  }
};

template <class O>
struct Match {
  O output;
  Input rest;
};

template <class O>
using Result = std::optional<Match<O>>;

/// For each ASCII byte, whether the one character made of that byte alone matches (a rule that
/// reads one character can expose this so that repetitions skip plain ASCII text in bulk).
using AsciiTable = std::array<bool, 128>;

namespace detail {
inline unsigned byteAt(std::string_view t, std::size_t at) {
  return static_cast<unsigned char>(t[at]);
}

/// The byte of the input's first character when that character is one ASCII byte, else -1.
/// Between two ASCII bytes there is always a character boundary, except inside CR LF; an ASCII
/// byte followed by a non-ASCII one may be joined by a combining mark.
inline int singleByteCharacter(std::string_view t) {
  if (t.size() >= 2) {
    // Every token test starts here: the usual case, two ASCII bytes, is one test.
    const unsigned b = byteAt(t, 0);
    const unsigned next = byteAt(t, 1);
    if ((b | next) >= 0x80 || (b == '\r' && next == '\n')) return -1;
    return static_cast<int>(b);
  }
  if (t.empty() || byteAt(t, 0) >= 0x80) return -1;
  return static_cast<int>(byteAt(t, 0));
}

/// The first position from `pos` on whose byte is `a` or `b`, or (with `nonAscii`) above 0x7F;
/// the end when there is none. Strings are most of a sample's text: the string reader and the
/// scan that cuts large arrays look through them sixteen bytes at a time where SSE2 is there
/// (every x86-64), else eight on little-endian machines (the text corpus: a tenth faster).
inline std::size_t firstOf(std::string_view t, std::size_t pos, unsigned char a, unsigned char b,
                           bool nonAscii) {
  const std::size_t n = t.size();
#if defined(__SSE2__)
  const __m128i as = _mm_set1_epi8(static_cast<char>(a));
  const __m128i bs = _mm_set1_epi8(static_cast<char>(b));
  for (; pos + 16 <= n; pos += 16) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(t.data() + pos));
    auto found = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, as), _mm_cmpeq_epi8(chunk, bs))));
    if (nonAscii) found |= static_cast<unsigned>(_mm_movemask_epi8(chunk));  // the high bits
    if (found != 0) return pos + static_cast<std::size_t>(std::countr_zero(found));
  }
#endif
  if constexpr (std::endian::native == std::endian::little) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHighs = 0x8080808080808080u;
    for (; pos + 8 <= n; pos += 8) {
      std::uint64_t word = 0;
      std::memcpy(&word, t.data() + pos, sizeof word);
      // A byte of zero in either marks a match; the lowest marked byte is always a true one.
      const std::uint64_t xa = word ^ (kOnes * a);
      const std::uint64_t xb = word ^ (kOnes * b);
      std::uint64_t found = (((xa - kOnes) & ~xa) | ((xb - kOnes) & ~xb)) & kHighs;
      if (nonAscii) found |= word & kHighs;
      if (found != 0) return pos + static_cast<std::size_t>(std::countr_zero(found)) / 8;
    }
  }
  for (; pos < n; ++pos) {
    const unsigned c = byteAt(t, pos);
    if (c == a || c == b || (nonAscii && c >= 0x80)) break;
  }
  return pos;
}
}  // namespace detail

/// Anything with an `Output` type and `Result<Output> parse(const Input&) const`.
template <class P>
concept Rule = requires(const P& p, Input i) {
  typename P::Output;
  { p.parse(i) } -> std::same_as<Result<typename P::Output>>;
};

template <Rule P>
using OutputOf = typename P::Output;

namespace detail {
[[noreturn]] inline void programmingError(const char* message) {
  std::fprintf(stderr, "telvar: %s\n", message);
  std::fflush(stderr);
  std::abort();
}
}  // namespace detail

/// The shared, type-erased parser handle. Copying shares the composed parser.
template <class O>
class Parser {
 public:
  using Output = O;

  template <Rule P>
  requires(std::same_as<OutputOf<P>, O> && !std::same_as<std::decay_t<P>, Parser>)
      Parser(P p)  // NOLINT: every rule converts to its handle
      : m_impl(std::make_shared<const Model<P>>(std::move(p))) {}

  /// A parser from a plain function.
  explicit Parser(std::function<Result<O>(Input)> f)
      : m_impl(std::make_shared<const Model<FunctionRule>>(FunctionRule{std::move(f)})) {}

  Result<O> parse(const Input& input) const { return m_impl->parse(input); }
  /// Runs the parser on a whole text, at nesting depth 0.
  Result<O> parse(std::string_view text) const { return m_impl->parse(Input(text)); }

 private:
  struct FunctionRule {
    using Output = O;
    std::function<Result<O>(Input)> f;
    Result<O> parse(const Input& i) const { return f(i); }
  };
  struct Concept {
    virtual ~Concept() = default;
    virtual Result<O> parse(const Input& input) const = 0;
  };
  template <class P>
  struct Model final : Concept {
    explicit Model(P p) : rule(std::move(p)) {}
    Result<O> parse(const Input& input) const override { return rule.parse(input); }
    P rule;
  };
  std::shared_ptr<const Concept> m_impl;
};

// ---------------------------------------------------------------------------------------------
// Sequencing and transforming

template <Rule A, Rule B>
struct Zip {
  using Output = std::pair<OutputOf<A>, OutputOf<B>>;
  A a;
  B b;
  Result<Output> parse(const Input& i) const {
    auto ra = a.parse(i);
    if (!ra) return std::nullopt;
    auto rb = b.parse(ra->rest);
    if (!rb) return std::nullopt;
    return Match<Output>{Output(std::move(ra->output), std::move(rb->output)), rb->rest};
  }
};

/// Sequencing keeping both outputs.
template <Rule A, Rule B>
Zip<A, B> zip(A a, B b) {
  return {std::move(a), std::move(b)};
}

template <Rule A, Rule B>
struct KeepLeft {
  using Output = OutputOf<A>;
  A a;
  B b;
  // Always inline: a token (a rule and the whitespace after it) is a KeepLeft, and a call for
  // every separator and key costs the records and numbers corpora 2 to 3% of their instructions.
  TELVAR_PARSE_INLINE Result<Output> parse(const Input& i) const {
    // One named result, returned on every path, so that the output is never moved.
    Result<Output> ra = a.parse(i);
    if (ra) {
      if (auto rb = b.parse(ra->rest)) {
        ra->rest = rb->rest;
      } else {
        ra.reset();
      }
    }
    return ra;
  }
};

/// Sequencing keeping the left output (zip, then the first element).
template <Rule A, Rule B>
KeepLeft<A, B> keepLeft(A a, B b) {
  return {std::move(a), std::move(b)};
}

template <Rule A, Rule B>
struct KeepRight {
  using Output = OutputOf<B>;
  A a;
  B b;
  Result<Output> parse(const Input& i) const {
    auto ra = a.parse(i);
    if (!ra) return std::nullopt;
    return b.parse(ra->rest);
  }
};

/// Sequencing keeping the right output (zip, then the second element).
template <Rule A, Rule B>
KeepRight<A, B> keepRight(A a, B b) {
  return {std::move(a), std::move(b)};
}

namespace detail {
template <class T>
struct IsOptional : std::false_type {};
template <class T>
struct IsOptional<std::optional<T>> : std::true_type {};
}  // namespace detail

template <Rule P, class F>
struct Map {
  using FResult = std::invoke_result_t<const F&, OutputOf<P>&&>;
  static_assert(detail::IsOptional<FResult>::value, "a map transform returns an optional");
  using Output = typename FResult::value_type;
  P p;
  F f;
  Result<Output> parse(const Input& i) const {
    auto r = p.parse(i);
    if (!r) return std::nullopt;
    auto out = f(std::move(r->output));
    if (!out) return std::nullopt;
    return Match<Output>{std::move(*out), r->rest};
  }
};

/// Transforms the output; a transform that yields nothing turns the match into no match.
template <Rule P, class F>
Map<P, F> map(P p, F f) {
  return {std::move(p), std::move(f)};
}

template <Rule P, class G>
struct FlatMap {
  using Next = std::decay_t<std::invoke_result_t<const G&, OutputOf<P>&&>>;
  static_assert(Rule<Next>, "a flatMap continuation returns a parser");
  using Output = OutputOf<Next>;
  P p;
  G g;
  Result<Output> parse(const Input& i) const {
    auto r = p.parse(i);
    if (!r) return std::nullopt;
    return g(std::move(r->output)).parse(r->rest);
  }
};

/// Chooses the continuation from what was parsed.
template <Rule P, class G>
FlatMap<P, G> flatMap(P p, G g) {
  return {std::move(p), std::move(g)};
}

// ---------------------------------------------------------------------------------------------
// Alternatives and repetition

template <Rule A, Rule B>
requires std::same_as<OutputOf<A>, OutputOf<B>>
struct OrElse {
  using Output = OutputOf<A>;
  A a;
  B b;
  Result<Output> parse(const Input& i) const {
    // One named result, returned on every path, so that the usual output, a's, is never moved.
    Result<Output> r = a.parse(i);
    if (!r) r = b.parse(i);
    return r;
  }
};

/// The first alternative that matches, a before b.
template <Rule A, Rule B>
OrElse<A, B> orElse(A a, B b) {
  return {std::move(a), std::move(b)};
}

template <Rule First, Rule... Rest>
requires(std::same_as<OutputOf<First>, OutputOf<Rest>>&&...) struct OneOf {
  using Output = OutputOf<First>;
  std::tuple<First, Rest...> parsers;
  Result<Output> parse(const Input& i) const { return tryFrom<0>(i); }

 private:
  template <std::size_t N>
  Result<Output> tryFrom(const Input& i) const {
    if constexpr (N + 1 < sizeof...(Rest) + 1) {
      if (auto r = std::get<N>(parsers).parse(i)) return r;
      return tryFrom<N + 1>(i);
    } else {
      return std::get<N>(parsers).parse(i);  // the last alternative's result is the result
    }
  }
};

/// Alternatives in order, fixed at compile time: the first match wins.
template <Rule First, Rule... Rest>
OneOf<First, Rest...> oneOf(First first, Rest... rest) {
  return {std::tuple<First, Rest...>(std::move(first), std::move(rest)...)};
}

template <class O>
struct OneOfList {
  using Output = O;
  std::vector<Parser<O>> parsers;
  Result<Output> parse(const Input& i) const {
    for (const auto& p : parsers) {
      if (auto r = p.parse(i)) return r;
    }
    return std::nullopt;
  }
};

/// Alternatives in list order; an empty list never matches.
template <class O>
OneOfList<O> oneOf(std::vector<Parser<O>> parsers) {
  return {std::move(parsers)};
}

template <Rule P>
struct StartingWith {
  using Output = OutputOf<P>;
  P p;
  AsciiTable first{};
  Result<Output> parse(const Input& i) const { return p.parse(i); }
};

/// p, declaring the single-byte (ASCII) characters that its matches can begin with: p must not
/// match an input whose first character is one ASCII byte outside `firstCharacters`. Input that
/// begins otherwise (non-ASCII, an ASCII byte joined by a combining mark, CR LF) is not limited.
template <Rule P>
StartingWith<P> startingWith(std::string_view firstCharacters, P p) {
  StartingWith<P> s{std::move(p), {}};
  for (char c : firstCharacters) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x80) detail::programmingError("startingWith: a first character is not ASCII");
    s.first[b] = true;
  }
  return s;
}

/// Like `startingWith`, declaring every single-byte character except those of `excluded`.
template <Rule P>
StartingWith<P> startingWithNoneOf(std::string_view excluded, P p) {
  StartingWith<P> s = startingWith(excluded, std::move(p));
  for (bool& b : s.first) b = !b;
  return s;
}

template <Rule... P>
requires(sizeof...(P) > 0 && sizeof...(P) <= 32) struct OneOfByFirstByte {
  using Output = OutputOf<std::tuple_element_t<0, std::tuple<P...>>>;
  std::tuple<StartingWith<P>...> alternatives;
  std::array<std::uint32_t, 128> candidates{};  // per first byte, bit k: alternative k may match
  static constexpr std::uint32_t kAll = ~std::uint32_t{0} >> (32 - sizeof...(P));

  Result<Output> parse(const Input& i) const {
    const int b = detail::singleByteCharacter(i.text);
    return tryFrom<0>(i, b >= 0 ? candidates[b] : kAll);
  }

 private:
  template <std::size_t N>
  Result<Output> tryFrom(const Input& i, std::uint32_t mask) const {
    if (mask & (std::uint32_t{1} << N)) {
      // The last candidate's result is the result (returned without a move).
      if ((mask >> N) == 1) return std::get<N>(alternatives).parse(i);
      if (auto r = std::get<N>(alternatives).parse(i)) return r;
    }
    if constexpr (N + 1 < sizeof...(P)) {
      return tryFrom<N + 1>(i, mask);
    } else {
      return std::nullopt;
    }
  }
};

/// Alternatives in order, like `oneOf`, trying only those whose declared first characters hold
/// the input's first character when that is one ASCII byte (every alternative otherwise). Gives
/// the same results as `oneOf` of the same parsers when the declarations are true.
template <Rule... P>
requires(std::same_as<OutputOf<std::tuple_element_t<0, std::tuple<P...>>>, OutputOf<P>>&&...)
    OneOfByFirstByte<P...> oneOfByFirstByte(StartingWith<P>... alternatives) {
  OneOfByFirstByte<P...> d{{std::move(alternatives)...}, {}};
  std::size_t k = 0;
  auto declare = [&](const auto& alternative) {
    for (std::size_t b = 0; b < 128; ++b) {
      if (alternative.first[b]) d.candidates[b] |= std::uint32_t{1} << k;
    }
    ++k;
  };
  std::apply([&](const auto&... a) { (declare(a), ...); }, d.alternatives);
  return d;
}

template <Rule P>
struct Optional {
  using Output = std::optional<OutputOf<P>>;
  P p;
  Result<Output> parse(const Input& i) const {
    if (auto r = p.parse(i)) return Match<Output>{Output(std::move(r->output)), r->rest};
    return Match<Output>{Output(), i};
  }
};

/// Zero or one; always matches.
template <Rule P>
Optional<P> optional(P p) {
  return {std::move(p)};
}

/// How a repetition gathers its outputs: by default into a vector. A collector has an `Output`,
/// `Output start() const` and `void add(Output&, Element&&) const`; one that gathers into a
/// working state of its own also has a `State` type and `Output finish(State&&) const`.
template <class T>
struct CollectVector {
  using Output = std::vector<T>;
  Output start() const { return {}; }
  void add(Output& out, T&& element) const { out.push_back(std::move(element)); }
};

/// Counts the matches (for repetitions whose outputs are dropped, such as whitespace).
struct CollectCount {
  using Output = std::size_t;
  Output start() const { return 0; }
  template <class T>
  void add(Output& out, T&&) const {
    ++out;
  }
  /// A run of single-byte characters counts one per byte.
  void addRun(Output& out, std::string_view run) const { out += run.size(); }
};

/// Concatenates text outputs. Pieces that follow each other in the input (the usual case: views
/// of consecutive characters) are joined as one view and copied once.
struct CollectText {
  using Output = std::string;
  struct State {
    std::string text;
    std::string_view pending;
    void flush() {
      text.append(pending);
      pending = {};
    }
  };
  State start() const { return {}; }
  void add(State& s, std::string_view piece) const {
    if (s.pending.data() + s.pending.size() == piece.data()) {
      s.pending = std::string_view(s.pending.data(), s.pending.size() + piece.size());
      return;
    }
    s.flush();
    s.pending = piece;
  }
  /// A run of characters is one piece of text.
  void addRun(State& s, std::string_view run) const { add(s, run); }
  Output finish(State&& s) const {
    if (s.text.empty()) return std::string(s.pending);
    s.flush();
    return std::move(s.text);
  }
};

/// Text that is a view into the input when it was read as one run of it, and owned otherwise.
/// The view stays valid as long as the input text does. Small, so that it moves cheaply.
class ViewOrText {
 public:
  ViewOrText() = default;
  explicit ViewOrText(std::string_view view) : m_view(view) {}
  explicit ViewOrText(std::string owned)
      : m_owned(std::make_unique<std::string>(std::move(owned))), m_view(*m_owned) {}
  [[nodiscard]] std::string_view text() const { return m_view; }
  [[nodiscard]] bool isOwned() const { return m_owned != nullptr; }

 private:
  std::unique_ptr<std::string> m_owned;  // the owned text, which m_view then shows
  std::string_view m_view;
};

/// Concatenates text outputs like `CollectText`, but copies nothing when all pieces follow each
/// other in the input: the result is then a view of it.
struct CollectViewOrText {
  using Output = ViewOrText;
  using State = CollectText::State;
  State start() const { return {}; }
  void add(State& s, std::string_view piece) const { CollectText{}.add(s, piece); }
  void addRun(State& s, std::string_view run) const { add(s, run); }
  Output finish(State&& s) const {
    // An empty text means that all that was flushed was empty: the pending run is the whole.
    if (s.text.empty()) return ViewOrText(s.pending);
    s.flush();
    return ViewOrText(std::move(s.text));
  }
};

namespace detail {
template <class C>
struct StateOf {
  using type = typename C::Output;
};
template <class C>
requires requires { typename C::State; }
struct StateOf<C> {
  using type = typename C::State;
};

template <class C, class S>
typename C::Output finish(const C& collect, S&& state) {
  if constexpr (requires { typename C::State; }) {
    return collect.finish(std::forward<S>(state));
  } else {
    return std::forward<S>(state);
  }
}

inline void checkConsumed(const Input& before, const Input& after) {
  // A repetition of a parser that matches without consuming would never end.
  if (after.text.size() >= before.text.size()) {
    programmingError("zeroOrMore: the repeated parser matched without consuming input");
  }
}

/// A rule that reads exactly one character and tells by table which single-byte ones match.
template <class P>
concept ReadsOneCharacterByTable = requires(const P& p) {
  { p.singleByteTable() } -> std::same_as<const AsciiTable&>;
};

/// A collector that can take a run of consecutive single-byte characters as one piece.
template <class C>
concept CollectsRuns = requires(const C& c, typename StateOf<C>::type& s, std::string_view run) {
  c.addRun(s, run);
};

}  // namespace detail

struct CharacterNotIn;

template <Rule P, class C>
struct ZeroOrMore {
  using Output = typename C::Output;
  P p;
  C collect;
  TELVAR_PARSE_INLINE Result<Output> parse(const Input& i) const {
    if constexpr (detail::ReadsOneCharacterByTable<P> && detail::CollectsRuns<C>) {
      // Most repetitions (whitespace between tokens) end at once: decide that without a call.
      if (const int b = detail::singleByteCharacter(i.text); b >= 0 && !p.singleByteTable()[b]) {
        return Match<Output>{detail::finish(collect, collect.start()), i};
      }
      return scan(i);
    } else {
      typename detail::StateOf<C>::type out = collect.start();
      Input rest = i;
      while (auto r = p.parse(rest)) {
        detail::checkConsumed(rest, r->rest);
        collect.add(out, std::move(r->output));
        rest = r->rest;
      }
      return Match<Output>{detail::finish(collect, std::move(out)), rest};
    }
  }

 private:
  // Bulk path for one-character rules: an ASCII byte followed by another ASCII byte (or by the
  // end) is a character of its own, except carriage return before line feed, so runs of such
  // bytes are decided by table and collected as one piece. Every other character (non-ASCII, an
  // ASCII byte that a combining mark may join, CR LF) is read by the rule itself.
  TELVAR_PARSE_NOINLINE Result<Output> scan(const Input& i) const {
    typename detail::StateOf<C>::type out = collect.start();
    const AsciiTable& table = p.singleByteTable();
    const std::string_view t = i.text;
    const std::size_t n = t.size();
    std::size_t pos = 0;
    std::size_t runStart = 0;
    for (;;) {
      bool rejected = false;
      // Eight bytes at a time while they and the byte after them are ASCII: each of them is
      // then a character of its own, unless it is CR (which the careful loop below decides).
      while (pos + 8 < n) {
        std::uint64_t word = 0;
        std::memcpy(&word, t.data() + pos, sizeof word);
        if ((word & 0x8080808080808080u) != 0 || detail::byteAt(t, pos + 8) >= 0x80) break;
        std::size_t k = 0;
        while (k < 8 && table[detail::byteAt(t, pos + k)] && detail::byteAt(t, pos + k) != '\r') {
          ++k;
        }
        pos += k;
        if (k < 8) break;
      }
      while (pos < n) {
        const unsigned b = detail::byteAt(t, pos);
        if (b >= 0x80) break;
        if (pos + 1 < n) {
          const unsigned next = detail::byteAt(t, pos + 1);
          if (next >= 0x80 || (b == '\r' && next == '\n')) break;
        }
        if (!table[b]) {
          rejected = true;
          break;
        }
        ++pos;
      }
      if (rejected || pos == n) break;
      if (pos > runStart) collect.addRun(out, {t.data() + runStart, pos - runStart});
      runStart = pos;
      const Input here = i.advanced(pos);
      auto r = p.parse(here);
      if (!r) break;
      detail::checkConsumed(here, r->rest);
      collect.add(out, std::move(r->output));
      pos = n - r->rest.text.size();
      runStart = pos;
    }
    if (pos > runStart) collect.addRun(out, {t.data() + runStart, pos - runStart});
    return Match<Output>{detail::finish(collect, std::move(out)), i.advanced(pos)};
  }

 public:
  /// The input after the repetitions, for a reader that wants only the text they match.
  Input skipped(const Input& i) const {
    if constexpr (std::same_as<P, CharacterNotIn>) {
      if (p.onlyLoneAscii) return i.advanced(prefixAvoiding(i.text, p.set.ascii));
    }
    return parse(i)->rest;
  }
};

/// Zero or more repetitions, collected by `C` (a vector by default); always matches. The
/// repeated parser must consume input whenever it matches: one that does not stops the program.
template <Rule P, class C = CollectVector<OutputOf<P>>>
ZeroOrMore<P, C> zeroOrMore(P p, C collect = {}) {
  return {std::move(p), std::move(collect)};
}

template <Rule F, Rule P, Rule E, class C>
struct RepeatedUntil {
  using Output = typename C::Output;
  F first;
  P p;
  E end;
  C collect;
  Result<Output> parse(const Input& i) const {
    auto f = first.parse(i);
    if (!f) return std::nullopt;
    // The usual case, `first` alone, needs no gathering when the collector can say so.
    if constexpr (requires { collect.single(std::move(f->output)); }) {
      if (auto e = end.parse(f->rest)) {
        return Match<Output>{collect.single(std::move(f->output)), e->rest};
      }
    }
    return gather(std::move(*f));
  }

 private:
  // Out of line, so that the usual case stays small.
  TELVAR_PARSE_NOINLINE Result<Output> gather(Match<OutputOf<F>>&& f) const {
    typename detail::StateOf<C>::type out = collect.start();
    collect.add(out, std::move(f.output));
    Input rest = f.rest;
    while (auto next = p.parse(rest)) {
      detail::checkConsumed(rest, next->rest);
      collect.add(out, std::move(next->output));
      rest = next->rest;
    }
    auto e = end.parse(rest);
    if (!e) return std::nullopt;
    return Match<Output>{detail::finish(collect, std::move(out)), e->rest};
  }
};

/// `first`, then either `end` or one or more of p followed by `end`: the outputs of `first` and
/// of each p collected by `C` in order, end's output dropped. Where p never matches what `end`
/// matches, this reads as `first`, `zeroOrMore(p)`, `end`. A collector may offer
/// `Output single(O&&) const` for the output type O of `first`: the output of `first` alone,
/// equal to what gathering that one output gives. The usual case, `first` then `end`, then
/// gathers nothing.
template <Rule F, Rule P, Rule E, class C>
RepeatedUntil<F, P, E, C> repeatedUntil(F first, P p, E end, C collect) {
  return {std::move(first), std::move(p), std::move(end), std::move(collect)};
}

template <Rule P, Rule S, class C>
struct ZeroOrMoreSeparated {
  using Output = typename C::Output;
  P p;
  S separator;
  C collect;
  Result<Output> parse(const Input& i) const {
    typename detail::StateOf<C>::type out = collect.start();
    auto first = p.parse(i);
    if (!first) return Match<Output>{detail::finish(collect, std::move(out)), i};
    collect.add(out, std::move(first->output));
    Input rest = first->rest;
    for (;;) {
      auto s = separator.parse(rest);
      if (!s) break;
      auto next = p.parse(s->rest);
      // A separator not followed by an element is left unread.
      if (!next) break;
      collect.add(out, std::move(next->output));
      rest = next->rest;
    }
    return Match<Output>{detail::finish(collect, std::move(out)), rest};
  }
};

/// Zero or more of p with s between them; always matches.
template <Rule P, Rule S, class C = CollectVector<OutputOf<P>>>
ZeroOrMoreSeparated<P, S, C> zeroOrMoreSeparated(P p, S separator, C collect = {}) {
  return {std::move(p), std::move(separator), std::move(collect)};
}

// ---------------------------------------------------------------------------------------------
// Characters and texts. Outputs are views into the input (the matched characters).

namespace detail {
/// Whether the cluster `c` (a whole well-formed character of the input) equals `k`.
inline bool sameCharacter(std::string_view c, std::string_view k) {
  if (c.size() == 1 && k.size() == 1) return c[0] == k[0];
  return textEquals(c, k);
}

/// The ASCII byte that the character `k` is canonically equivalent to, or -1 (the Kelvin sign
/// is "K").
inline int asciiEquivalent(std::string_view k) {
  if (k.size() == 1) return byteAt(k, 0) < 0x80 ? static_cast<int>(byteAt(k, 0)) : -1;
  if (!isValidUtf8(k) || isAscii(k)) return -1;
  std::string scratch;
  std::string_view composed = nfcView(k, scratch);
  if (composed.size() != 1 || byteAt(composed, 0) >= 0x80) return -1;
  return static_cast<int>(byteAt(composed, 0));
}

/// The next character, a whole grapheme cluster, when `accepts` takes its text: the path of the
/// one-character rules for anything but a single byte.
template <class Accepts>
inline TELVAR_PARSE_INLINE Result<std::string_view> clusterIf(const Input& i,
                                                              const Accepts& accepts) {
  if (i.text.empty()) return std::nullopt;
  Cluster c = firstCluster(i.text);
  if (!c.valid) return std::nullopt;
  std::string_view matched = i.first(c.length);
  if (!accepts(matched)) return std::nullopt;
  return Match<std::string_view>{matched, i.advanced(c.length)};
}
}  // namespace detail

struct Character {
  using Output = std::string_view;
  std::string k;
  AsciiTable single{};  // the one-byte character equivalent to k, if any
  TELVAR_PARSE_INLINE Result<Output> parse(const Input& i) const {
    if (const int b = detail::singleByteCharacter(i.text); b >= 0) {
      if (!single[b]) return std::nullopt;
      return Match<Output>{i.first(1), i.advanced(1)};
    }
    return slowParse(i);
  }
  const AsciiTable& singleByteTable() const { return single; }

 private:
  TELVAR_PARSE_NOINLINE Result<Output> slowParse(const Input& i) const {
    return detail::clusterIf(i, [this](std::string_view c) { return detail::sameCharacter(c, k); });
  }
};

/// The next character is `k` (one grapheme cluster).
inline Character character(std::string_view k) {
  Character p{std::string(k), {}};
  if (const int b = detail::asciiEquivalent(k); b >= 0) p.single[b] = true;
  return p;
}

struct CharacterIn {
  using Output = std::string_view;
  AsciiTable ascii{};               // one-byte characters equivalent to a character of the set
  std::vector<std::string> others;  // every character of the set but single ASCII bytes, in order
  bool anyAscii = false;

  /// Whether the character `c` (one whole well-formed cluster) is in the set.
  bool contains(std::string_view c) const {
    if (c.size() == 1 && detail::byteAt(c, 0) < 0x80) return ascii[detail::byteAt(c, 0)];
    for (const auto& k : others) {
      if (detail::sameCharacter(c, k)) return true;
    }
    // A few non-ASCII characters are canonically an ASCII one (the Kelvin sign is "K").
    if (anyAscii && !isAscii(c)) {
      std::string scratch;
      std::string_view composed = nfcView(c, scratch);
      if (composed.size() == 1 && detail::byteAt(composed, 0) < 0x80) {
        return ascii[detail::byteAt(composed, 0)];
      }
    }
    return false;
  }

  TELVAR_PARSE_INLINE Result<Output> parse(const Input& i) const {
    if (const int b = detail::singleByteCharacter(i.text); b >= 0) {
      if (!ascii[b]) return std::nullopt;
      return Match<Output>{i.first(1), i.advanced(1)};
    }
    return slowParse(i);
  }
  const AsciiTable& singleByteTable() const { return ascii; }

 private:
  TELVAR_PARSE_NOINLINE Result<Output> slowParse(const Input& i) const {
    return detail::clusterIf(i, [this](std::string_view c) { return contains(c); });
  }
};

namespace detail {
inline CharacterIn characterSet(std::string_view set, const char* emptyMessage) {
  if (set.empty()) programmingError(emptyMessage);
  CharacterIn p;
  forEachCluster(set, [&](std::string_view k, bool) {
    if (k.size() == 1 && byteAt(k, 0) < 0x80) {
      p.ascii[byteAt(k, 0)] = true;
    } else {
      p.others.emplace_back(k);
      if (const int b = asciiEquivalent(k); b >= 0) p.ascii[b] = true;
    }
  });
  for (bool b : p.ascii) p.anyAscii = p.anyAscii || b;
  return p;
}
}  // namespace detail

/// The next character is one of the characters of `set`, which must not be empty.
inline CharacterIn characterIn(std::string_view set) {
  return detail::characterSet(set, "characterIn: the set of characters is empty");
}

struct CharacterNotIn {
  using Output = std::string_view;
  CharacterIn set;
  AsciiTable outside{};  // one-byte characters outside the set
  // Whether the set is single ASCII characters only, none with a non-ASCII equivalent: then
  // every well-formed character but those bytes standing alone is outside the set.
  bool onlyLoneAscii = false;
  TELVAR_PARSE_INLINE Result<Output> parse(const Input& i) const {
    if (const int b = detail::singleByteCharacter(i.text); b >= 0) {
      if (!outside[b]) return std::nullopt;
      return Match<Output>{i.first(1), i.advanced(1)};
    }
    return slowParse(i);
  }
  const AsciiTable& singleByteTable() const { return outside; }

 private:
  TELVAR_PARSE_NOINLINE Result<Output> slowParse(const Input& i) const {
    return detail::clusterIf(i, [this](std::string_view c) { return !set.contains(c); });
  }
};

/// The next character is a well-formed character that is none of the characters of `set`, which
/// must not be empty.
inline CharacterNotIn characterNotIn(std::string_view set) {
  CharacterNotIn p{detail::characterSet(set, "characterNotIn: the set of characters is empty"), {}};
  for (std::size_t b = 0; b < p.outside.size(); ++b) p.outside[b] = !p.set.ascii[b];
  p.onlyLoneAscii = p.set.others.empty();
  for (char k : kAsciiWithOtherEquivalents) {
    p.onlyLoneAscii = p.onlyLoneAscii && !p.set.ascii[static_cast<unsigned char>(k)];
  }
  return p;
}

template <class F>
struct CharacterWhere {
  using Output = std::string_view;
  F predicate;
  Result<Output> parse(const Input& i) const { return detail::clusterIf(i, predicate); }
};

/// The next character satisfies `predicate` (called with the character's text).
template <class F>
CharacterWhere<F> characterWhere(F predicate) {
  return {std::move(predicate)};
}

struct Literal {
  using Output = std::string_view;
  std::string text;
  bool ascii = false;
  TELVAR_PARSE_INLINE Result<Output> parse(const Input& i) const {
    if (ascii) {
      // Between ASCII characters every position is a boundary (but inside CR LF), so a byte
      // match is a character match when the next input byte cannot join the last character.
      const std::size_t available = std::min(text.size(), i.text.size());
      std::size_t same = 0;
      while (same < available && i.text[same] == text[same]) ++same;
      if (same < text.size()) {
        // A differing ASCII byte starts a different character (the bytes before it are single
        // characters); other text may still be equivalent.
        if (same == i.text.size() || detail::byteAt(i.text, same) < 0x80) return std::nullopt;
        return slowParse(i);
      }
      if (i.text.size() == text.size()) return Match<Output>{i.text, i.advanced(text.size())};
      auto next = static_cast<unsigned char>(i.text[text.size()]);
      if (next < 0x80 && !(text.back() == '\r' && next == '\n')) {
        return Match<Output>{i.first(text.size()), i.advanced(text.size())};
      }
    }
    return slowParse(i);
  }

 private:
  TELVAR_PARSE_NOINLINE Result<Output> slowParse(const Input& i) const {
    std::string_view t = text;
    std::size_t consumed = 0;
    while (!t.empty()) {
      std::string_view rest = i.text.substr(consumed);
      if (rest.empty()) return std::nullopt;
      Cluster c = firstCluster(rest);
      Cluster k = firstCluster(t);
      if (!c.valid || !detail::sameCharacter(rest.substr(0, c.length), t.substr(0, k.length))) {
        return std::nullopt;
      }
      consumed += c.length;
      t.remove_prefix(k.length);
    }
    return Match<Output>{i.text.substr(0, consumed), i.advanced(consumed)};
  }
};

/// The input starts with the characters of `text`.
inline Literal literal(std::string_view text) {
  return {std::string(text), isAscii(text) && !text.empty()};
}

template <Rule P>
struct Matched {
  using Output = std::string_view;
  P p;
  Result<Output> parse(const Input& i) const {
    if constexpr (requires { p.skipped(i); }) {
      const Input rest = p.skipped(i);
      return Match<Output>{i.first(i.text.size() - rest.text.size()), rest};
    } else {
      auto r = p.parse(i);
      if (!r) return std::nullopt;
      return Match<Output>{i.first(i.text.size() - r->rest.text.size()), r->rest};
    }
  }
};

/// The input that p consumed (a view into the input), in place of p's output.
template <Rule P>
Matched<P> matched(P p) {
  return {std::move(p)};
}

// ---------------------------------------------------------------------------------------------
// Delimited text

struct TextUntil {
  using Output = std::string_view;
  AsciiTable stops{};
  // The first two stops; 0x80 in a place no stop fills, harmless as every byte above 0x7F stops
  // the bulk scan anyway.
  unsigned char stopBytes[2] = {0x80, 0x80};
  int stopCount = 0;

  TELVAR_PARSE_INLINE Result<Output> parse(const Input& i) const {
    const std::string_view t = i.text;
    const std::size_t n = t.size();
    std::size_t pos = 0;
    for (;;) {
      pos = plainAsciiFrom(t, pos);
      if (pos >= n) break;
      const unsigned b = detail::byteAt(t, pos);
      if (b < 0x80) {
        // A stop begins a character whatever precedes it; only standing alone does it end
        // the run (with a combining mark after it, it is another character).
        const Cluster c = firstCluster(t.substr(pos));
        if (c.length == 1 || !c.valid) break;
        pos += c.length;
        continue;
      }
      // Well-formed text splits into whole characters; a stop byte never hides inside one of
      // its multi-byte sequences, all of whose bytes are above 0x7F.
      const std::size_t length = wellFormedLength(t, pos);
      if (length == 0) break;
      pos += length;
    }
    if (pos == 0) return std::nullopt;
    return Match<Output>{i.first(pos), i.advanced(pos)};
  }

 private:
  // The length of the well-formed UTF-8 sequence at `pos` (its first byte above 0x7F), or 0.
  // Two- and three-byte sequences (most non-ASCII text) are decided here without a call (the
  // text corpus: 5% of its instructions); the rest as `decodeUtf8` decides.
  static std::size_t wellFormedLength(std::string_view t, std::size_t pos) {
    const unsigned b = detail::byteAt(t, pos);
    const auto continuation = [&](std::size_t at, unsigned low, unsigned high) {
      return at < t.size() && detail::byteAt(t, at) >= low && detail::byteAt(t, at) <= high;
    };
    if (b >= 0xC2 && b <= 0xDF) return continuation(pos + 1, 0x80, 0xBF) ? 2 : 0;
    if (b >= 0xE0 && b <= 0xEF) {
      // No overlong forms (after E0) and no surrogates (after ED).
      const unsigned low = b == 0xE0 ? 0xA0 : 0x80;
      const unsigned high = b == 0xED ? 0x9F : 0xBF;
      return continuation(pos + 1, low, high) && continuation(pos + 2, 0x80, 0xBF) ? 3 : 0;
    }
    int codePoint = 0;
    const std::size_t length = decodeUtf8(t.substr(pos), codePoint);
    return codePoint < 0 ? 0 : length;
  }

  // The first byte from `pos` on that is a stop or above 0x7F, or the end. Most text in strings
  // is plain ASCII, so with two stops or fewer this goes many bytes at a time: the one-thread
  // parse of string-heavy samples spends most of its time here.
  [[nodiscard]] std::size_t plainAsciiFrom(std::string_view t, std::size_t pos) const {
    if (stopCount <= 2) return detail::firstOf(t, pos, stopBytes[0], stopBytes[1], true);
    const std::size_t n = t.size();
    while (pos < n && detail::byteAt(t, pos) < 0x80 && !stops[detail::byteAt(t, pos)]) ++pos;
    return pos;
  }
};

/// A run of well-formed text (at least one character) up to the first of the ASCII characters
/// of `stops` that stands alone, or up to ill-formed text. Each stop character begins a
/// character of its own, whatever precedes it: a mark that would be prepended to it (U+0600,
/// U+06DD) ends the character before it instead, so it can never hide a stop. Followed by a
/// combining mark, a stop character is a different character and part of the run.
inline TextUntil textUntil(std::string_view stops) {
  TextUntil p;
  for (char c : stops) {
    const auto b = static_cast<unsigned char>(c);
    if (b >= 0x80) detail::programmingError("textUntil: not ASCII");
    if (p.stops[b]) continue;
    p.stops[b] = true;
    if (p.stopCount < 2) p.stopBytes[p.stopCount] = static_cast<unsigned char>(b);
    ++p.stopCount;
  }
  return p;
}

// ---------------------------------------------------------------------------------------------
// Recursion and nesting

template <class O, class F>
struct Deferred {
  using Output = O;
  F get;
  Result<Output> parse(const Input& i) const { return get().parse(i); }
};

/// Obtains a shared parser only when run, so that a rule can contain itself.
template <class F>
auto deferred(F get) {
  using P = std::decay_t<std::invoke_result_t<F>>;
  return Deferred<OutputOf<P>, F>{std::move(get)};
}

template <Rule P>
struct Nested {
  using Output = OutputOf<P>;
  P p;
  int maxDepth;
  Result<Output> parse(const Input& i) const {
    Result<Output> r;
    if (i.depth < maxDepth) {
      r = p.parse(Input(i.text, i.depth + 1));
      if (r) r->rest.depth = i.depth;
    }
    return r;
  }
};

/// One more level of nesting around p: no match once `maxDepth` levels enclose the input, so a
/// recursive grammar has a bounded stack.
template <Rule P>
Nested<P> nested(P p, int maxDepth) {
  return {std::move(p), maxDepth};
}

}  // namespace telvar::parse
