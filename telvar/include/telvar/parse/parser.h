#pragma once

// Parser combinators. A parser is a pure function from the remaining input to nothing (no match)
// or an output with the input that is left. Combinators are small class templates composed at
// compile time, so a grammar written with them costs about what a hand-written parser costs;
// `Parser<O>` is the cheap shared handle that erases a composed type (for shared and recursive
// rules). The unit of input is the extended grapheme cluster, compared by canonical equivalence.
//
// Errors: a parse function may throw. Every combinator lets the exception pass unchanged and runs
// nothing further, dropping what it had collected.

#include <array>
#include <bitset>
#include <concepts>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "telvar/unicode/text.h"

namespace telvar::parse {

/// The remaining input: a view into the caller's text, and how many nested containers enclose
/// this point (see `nested`).
struct Input {
  std::string_view text;
  int depth = 0;

  Input() = default;
  Input(std::string_view t, int d = 0) : text(t), depth(d) {}  // NOLINT: a text is an input
  [[nodiscard]] Input advanced(std::size_t n) const { return Input(text.substr(n), depth); }
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

/// Anything with an `Output` type and `Result<Output> parse(Input) const`.
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

  Result<O> parse(Input input) const { return m_impl->parse(input); }
  /// Runs the parser on a whole text, at nesting depth 0.
  Result<O> parse(std::string_view text) const { return m_impl->parse(Input(text)); }

 private:
  struct FunctionRule {
    using Output = O;
    std::function<Result<O>(Input)> f;
    Result<O> parse(Input i) const { return f(i); }
  };
  struct Concept {
    virtual ~Concept() = default;
    virtual Result<O> parse(Input input) const = 0;
  };
  template <class P>
  struct Model final : Concept {
    explicit Model(P p) : rule(std::move(p)) {}
    Result<O> parse(Input input) const override { return rule.parse(input); }
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
  Result<Output> parse(Input i) const {
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
  Result<Output> parse(Input i) const {
    auto ra = a.parse(i);
    if (!ra) return std::nullopt;
    auto rb = b.parse(ra->rest);
    if (!rb) return std::nullopt;
    return Match<Output>{std::move(ra->output), rb->rest};
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
  Result<Output> parse(Input i) const {
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
  Result<Output> parse(Input i) const {
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
  Result<Output> parse(Input i) const {
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
  Result<Output> parse(Input i) const {
    if (auto r = a.parse(i)) return r;
    return b.parse(i);
  }
};

/// The first alternative that matches, a before b.
template <Rule A, Rule B>
OrElse<A, B> orElse(A a, B b) {
  return {std::move(a), std::move(b)};
}

template <Rule First, Rule... Rest>
  requires(std::same_as<OutputOf<First>, OutputOf<Rest>> && ...)
struct OneOf {
  using Output = OutputOf<First>;
  std::tuple<First, Rest...> parsers;
  Result<Output> parse(Input i) const { return tryFrom<0>(i); }

 private:
  template <std::size_t N>
  Result<Output> tryFrom(Input i) const {
    if (auto r = std::get<N>(parsers).parse(i)) return r;
    if constexpr (N + 1 < sizeof...(Rest) + 1) {
      return tryFrom<N + 1>(i);
    } else {
      return std::nullopt;
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
  Result<Output> parse(Input i) const {
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
struct Optional {
  using Output = std::optional<OutputOf<P>>;
  P p;
  Result<Output> parse(Input i) const {
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
  Output finish(State&& s) const {
    if (s.text.empty()) return std::string(s.pending);
    s.flush();
    return std::move(s.text);
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
}  // namespace detail

template <Rule P, class C>
struct ZeroOrMore {
  using Output = typename C::Output;
  P p;
  C collect;
  Result<Output> parse(Input i) const {
    typename detail::StateOf<C>::type out = collect.start();
    Input rest = i;
    while (auto r = p.parse(rest)) {
      detail::checkConsumed(rest, r->rest);
      collect.add(out, std::move(r->output));
      rest = r->rest;
    }
    return Match<Output>{detail::finish(collect, std::move(out)), rest};
  }
};

/// Zero or more repetitions, collected by `C` (a vector by default); always matches. The
/// repeated parser must consume input whenever it matches: one that does not stops the program.
template <Rule P, class C = CollectVector<OutputOf<P>>>
ZeroOrMore<P, C> zeroOrMore(P p, C collect = {}) {
  return {std::move(p), std::move(collect)};
}

template <Rule P, Rule S, class C>
struct ZeroOrMoreSeparated {
  using Output = typename C::Output;
  P p;
  S separator;
  C collect;
  Result<Output> parse(Input i) const {
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
}  // namespace detail

struct Character {
  using Output = std::string_view;
  std::string k;
  Result<Output> parse(Input i) const {
    if (i.text.empty()) return std::nullopt;
    Cluster c = firstCluster(i.text);
    if (!c.valid) return std::nullopt;
    std::string_view matched = i.text.substr(0, c.length);
    if (!detail::sameCharacter(matched, k)) return std::nullopt;
    return Match<Output>{matched, i.advanced(c.length)};
  }
};

/// The next character is `k` (one grapheme cluster).
inline Character character(std::string_view k) { return {std::string(k)}; }

struct CharacterIn {
  using Output = std::string_view;
  std::bitset<128> ascii;                // single-byte characters of the set
  std::vector<std::string> others;       // every other character, in the set's order
  Result<Output> parse(Input i) const {
    if (i.text.empty()) return std::nullopt;
    Cluster c = firstCluster(i.text);
    if (!c.valid) return std::nullopt;
    std::string_view matched = i.text.substr(0, c.length);
    if (c.length == 1 && static_cast<unsigned char>(matched[0]) < 0x80) {
      if (ascii.test(static_cast<unsigned char>(matched[0]))) {
        return Match<Output>{matched, i.advanced(1)};
      }
    }
    for (const auto& k : others) {
      if (detail::sameCharacter(matched, k)) return Match<Output>{matched, i.advanced(c.length)};
    }
    // A few non-ASCII characters are canonically an ASCII one (the Kelvin sign is "K").
    if (ascii.any() && !isAscii(matched)) {
      std::string scratch;
      std::string_view composed = nfcView(matched, scratch);
      if (composed.size() == 1 && ascii.test(static_cast<unsigned char>(composed[0]))) {
        return Match<Output>{matched, i.advanced(c.length)};
      }
    }
    return std::nullopt;
  }
};

/// The next character is one of the characters of `set`, which must not be empty.
inline CharacterIn characterIn(std::string_view set) {
  if (set.empty()) detail::programmingError("characterIn: the set of characters is empty");
  CharacterIn p;
  forEachCluster(set, [&](std::string_view k, bool) {
    if (k.size() == 1 && static_cast<unsigned char>(k[0]) < 0x80) {
      p.ascii.set(static_cast<unsigned char>(k[0]));
    } else {
      p.others.emplace_back(k);
    }
  });
  return p;
}

template <class F>
struct CharacterWhere {
  using Output = std::string_view;
  F predicate;
  Result<Output> parse(Input i) const {
    if (i.text.empty()) return std::nullopt;
    Cluster c = firstCluster(i.text);
    if (!c.valid) return std::nullopt;
    std::string_view matched = i.text.substr(0, c.length);
    if (!predicate(matched)) return std::nullopt;
    return Match<Output>{matched, i.advanced(c.length)};
  }
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
  Result<Output> parse(Input i) const {
    if (ascii) {
      // Between ASCII characters every position is a boundary (but inside CR LF), so a byte
      // match is a character match when the next input byte cannot join the last character.
      std::string_view head = i.text.substr(0, text.size());
      if (head != text) {
        // Differing ASCII is a different character; other text may still be equivalent.
        if (isAscii(head)) return std::nullopt;
        return slowParse(i);
      }
      if (i.text.size() == text.size()) return Match<Output>{i.text, i.advanced(text.size())};
      auto next = static_cast<unsigned char>(i.text[text.size()]);
      if (next < 0x80 && !(text.back() == '\r' && next == '\n')) {
        return Match<Output>{i.text.substr(0, text.size()), i.advanced(text.size())};
      }
    }
    return slowParse(i);
  }

 private:
  Result<Output> slowParse(Input i) const {
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

// ---------------------------------------------------------------------------------------------
// Recursion and nesting

template <class O, class F>
struct Deferred {
  using Output = O;
  F get;
  Result<Output> parse(Input i) const { return get().parse(i); }
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
  Result<Output> parse(Input i) const {
    if (i.depth >= maxDepth) return std::nullopt;
    auto r = p.parse(Input(i.text, i.depth + 1));
    if (!r) return std::nullopt;
    r->rest.depth = i.depth;
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
