#pragma once

// Every generator writes its text through a `CodePrinter`: lines at the current indentation,
// an indentation scope that ends with the block that opened it, and joins. The document's
// indentation unit and level are applied here once, so no generator counts spaces, and a
// declaration is written straight into the text it ends up in instead of being built from
// pieces and copied.

#include <algorithm>
#include <charconv>
#include <concepts>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#include "telvar/generate/text_drain.h"
#include "telvar/value/indentation.h"

namespace telvar::generate {

/// Appends the indentation of `level` (`unit` repeated `level` times; none below 1) to `out`.
/// Only the document's own level is clamped (by the caller, through
/// `Indentation::effectiveLevel`); nesting below it is never cut, so the 105th nested object
/// stands one step further in than the 104th.
void appendIndentation(std::string& out, std::string_view unit, std::int64_t level);

/// Writes code into a text it is given, after what the text already holds. Lines are separated
/// by line feeds, with none after the last, the way a declaration is handed on; an empty line
/// carries no indentation.
///
///     std::string out;
///     CodePrinter p(out, indentation, level);
///     p.line("struct ", name, " {");
///     {
///       auto body = p.indented();
///       for (const auto& field : fields) p.line(field.name, ": ", field.type);
///     }
///     p.line("}");
class CodePrinter {
 public:
  /// Writes into `out` with the document's indentation unit, starting at `level`.
  CodePrinter(std::string& out, const Indentation& indentation, std::int64_t level)
      : CodePrinter(out, indentation.effectiveUnit(), level) {}
  /// Writes into `out` indenting by `unit`, starting at `level`.
  CodePrinter(std::string& out, std::string_view unit, std::int64_t level)
      : m_out(out), m_unit(unit) {
    setLevel(level);
  }

  CodePrinter(const CodePrinter&) = delete;
  CodePrinter& operator=(const CodePrinter&) = delete;

  /// Starts a line at the current level and writes `parts` on it: texts, characters and
  /// integers, in order.
  template <typename... Parts>
  CodePrinter& line(const Parts&... parts) {
    const std::size_t skip = m_started ? 0 : 1;
    m_started = true;
    write(std::string_view(m_lineStart.data() + skip, m_lineLength - skip), parts...);
    return *this;
  }

  /// Writes `parts` at the end of the current line.
  template <typename... Parts>
  CodePrinter& add(const Parts&... parts) {
    m_started = true;
    write(parts...);
    return *this;
  }

  /// An empty line.
  CodePrinter& blank() {
    newLine();
    return *this;
  }

  /// Writes `text`, which may hold several lines already indented (a declaration rendered
  /// apart), as the next line.
  CodePrinter& block(std::string_view text) {
    newLine();
    m_out += text;
    return *this;
  }

  /// Indents every line written while it lives by `steps` more levels.
  class [[nodiscard]] Indent {
   public:
    Indent(const Indent&) = delete;
    Indent& operator=(const Indent&) = delete;
    ~Indent() { m_printer.setLevel(m_printer.m_level - m_steps); }

   private:
    friend class CodePrinter;
    Indent(CodePrinter& printer, std::int64_t steps) : m_printer(printer), m_steps(steps) {
      m_printer.setLevel(m_printer.m_level + steps);
    }
    CodePrinter& m_printer;
    std::int64_t m_steps;
  };
  [[nodiscard]] Indent indented(std::int64_t steps = 1) { return Indent(*this, steps); }

  /// Calls `write(item)` for each of `items`, writing `separator` between two of them.
  template <typename Range, typename Write>
  CodePrinter& join(const Range& items, std::string_view separator, Write&& write) {
    bool first = true;
    for (const auto& item : items) {
      if (!first) add(separator);
      first = false;
      write(item);
    }
    return *this;
  }

  /// Whether what is written goes to a drain as it settles, so that room for a whole declaration
  /// is never wanted: a writer may spare measuring it.
  [[nodiscard]] bool drains() const noexcept { return m_drain && m_holds == 0; }

  /// Makes room at once for `lines` more lines, `steps` levels in from the current one, with
  /// `text` characters on them in all. A wide declaration's text grown by doubling is copied at
  /// every step and held twice at the last (wide-object-1000 in Swift: 384 MB held for a text
  /// of 144 MB); room reserved beyond what is written is never touched and costs no memory.
  /// The text grows at least twofold, so that many small declarations reserving in turn (nested
  /// types written into their holder's text) stay linear.
  void reserve(std::size_t lines, std::size_t text, std::int64_t steps = 0) {
    const auto level = static_cast<std::size_t>(std::max<std::int64_t>(m_level + steps, 0));
    std::size_t needed = m_out.size() + text + lines * (1 + m_unit.size() * level);
    // Text that can be drained goes at each settle; held text grows as without a drain.
    if (m_drain && m_holds == 0) needed = std::min(needed, kDrainAt + (kDrainAt >> 2));
    if (needed > m_out.capacity()) m_out.reserve(std::max(needed, 2 * m_out.capacity()));
  }

  /// Hands the text to `drain` at each `settle` once there is enough of it, and lets it go: the
  /// text written into must then be the file's, from its beginning. Only a printer that writes a
  /// whole file is given a drain.
  void drainInto(const TextDrain* drain) noexcept { m_drain = drain && *drain ? drain : nullptr; }
  /// A point where all that is written is final, unless something holds it (`hold`). Writers
  /// call it between the members of a declaration: a declaration of two million members (1,000
  /// wide records) is then never held whole, and that memory, touched afresh, was a third of
  /// the time.
  void settle() {
    if (m_drain && m_holds == 0 && m_out.size() >= kDrainAt) drain();
  }
  /// Writes the lines of `count` members in order: `write(printer, i)` for each `i`, settling
  /// before each, as a loop over them would. A wide type's members are written on several
  /// threads, a round of consecutive chunks at a time, each chunk into a printer of its own at
  /// this one's level, and the chunks' texts are taken in order (wide-1000 in Dart: a fifth of
  /// the run, 2,000,000 members in six sections). `write` must then read only what the calls
  /// share, and begin each member on a line of its own or after what the member before it wrote.
  void members(std::size_t count, const std::function<void(CodePrinter&, std::size_t)>& write);

  /// Keeps the text from the drain while it lives: a writer that reads back or takes back what
  /// it wrote (a repeated nested declaration) holds it from its first mark to its last use.
  class [[nodiscard]] Hold {
   public:
    Hold() noexcept = default;  // holds nothing
    explicit Hold(CodePrinter& printer) noexcept : m_printer(&printer) { ++m_printer->m_holds; }
    Hold(Hold&& other) noexcept : m_printer(std::exchange(other.m_printer, nullptr)) {}
    Hold& operator=(Hold&& other) noexcept {
      if (this != &other) {
        if (m_printer) --m_printer->m_holds;
        m_printer = std::exchange(other.m_printer, nullptr);
      }
      return *this;
    }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
    ~Hold() {
      if (m_printer) --m_printer->m_holds;
    }
    [[nodiscard]] bool holds() const noexcept { return m_printer != nullptr; }

   private:
    CodePrinter* m_printer = nullptr;
  };
  [[nodiscard]] Hold hold() noexcept { return Hold(*this); }

  /// A place in the text: what follows it can be taken back.
  struct Mark {
    std::size_t size;
    bool started;
    std::size_t drains;
  };
  [[nodiscard]] Mark mark() const noexcept { return {m_out.size(), m_started, m_drains}; }
  /// The text written since `mark`.
  [[nodiscard]] std::string_view since(Mark mark) const {
    checkNotDrained(mark);
    return std::string_view(m_out).substr(mark.size);
  }
  /// Takes back everything written since `mark` (a declaration that repeats an earlier one).
  void takeBack(Mark mark) {
    checkNotDrained(mark);
    m_out.resize(mark.size);
    m_started = mark.started;
  }

  [[nodiscard]] std::int64_t level() const noexcept { return m_level; }
  /// Whether nothing was written yet.
  [[nodiscard]] bool empty() const noexcept { return !m_started; }

 private:
  // A line starts with a line break when a line came before, and the indentation: one text made
  // when the level changes, instead of a character and a loop of units (wide-100 in Swift:
  // 33 M instructions over its 400,000 lines).
  //
  // Three texts and characters or more are measured first and the text grows once for all of
  // them, then each is copied in: a member's line is a handful of short parts, and appending
  // them one by one checked and grew the text for each (wide-object-100 in Dart: 40
  // instructions a part, 15). Growing fills the new room first, which costs more than it saves
  // for one or two parts.
  template <typename Part>
  static constexpr bool kIsText =
      std::is_convertible_v<const Part&, std::string_view> || std::is_same_v<Part, char>;
  static std::string_view textOf(std::string_view text) { return text; }
  static std::string_view textOf(const char& c) { return std::string_view(&c, 1); }
  template <typename... Parts>
  void write(const Parts&... parts) {
    if constexpr (sizeof...(Parts) >= 3 && (kIsText<Parts> && ...)) {
      const std::string_view texts[] = {textOf(parts)...};
      std::size_t size = 0;
      for (std::string_view text : texts) size += text.size();
      const std::size_t at = m_out.size();
      m_out.resize(at + size);
      char* out = m_out.data() + at;
      for (std::string_view text : texts) {
        std::char_traits<char>::copy(out, text.data(), text.size());
        out += text.size();
      }
    } else {
      (append(parts), ...);
    }
  }
  void newLine() {
    if (m_started) m_out += '\n';
    m_started = true;
  }
  void setLevel(std::int64_t level);
  void drain();
  // Appends a chunk of members' text written by a printer at this one's level.
  void takeWritten(std::string_view text);
  // A mark from before a drain points into text that is gone: a writer that settles while it
  // still needs its marks would write a wrong file, so it stops the program instead.
  void checkNotDrained(const Mark& mark) const {
    if (mark.drains != m_drains) markBeforeDrain();
  }
  [[noreturn]] static void markBeforeDrain();
  void append(std::string_view text) { m_out.append(text.data(), text.size()); }
  void append(char c) { m_out += c; }
  template <std::integral Integer>
  requires(!std::same_as<Integer, char> &&
           !std::same_as<Integer, bool>) void append(Integer value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    m_out.append(digits, end);
  }

  std::string& m_out;
  std::string_view m_unit;
  std::int64_t m_level = 0;
  // A line feed and `m_unit` repeated for the deepest level so far; its first `m_lineLength`
  // characters start a line at `m_level`, so that a change of level costs nothing once met.
  std::string m_lineStart = "\n";
  std::size_t m_lineLength = 1;
  bool m_started = false;
  // Large enough that each drain is one worthwhile write, small enough to stay in the caches.
  static constexpr std::size_t kDrainAt = std::size_t{1} << 20;
  const TextDrain* m_drain = nullptr;
  std::size_t m_holds = 0;
  std::size_t m_drains = 0;
};

}  // namespace telvar::generate
