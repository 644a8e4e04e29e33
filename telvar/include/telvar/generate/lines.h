#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "telvar/value/indentation.h"

namespace telvar::generate {

/// The indentation prefix of a level: the unit repeated `level` times (none for a level below 1).
/// Every generator indents with it. Only the document's own level is clamped (by the caller,
/// through `Indentation::effectiveLevel`); nesting below it is never cut, so the 105th nested
/// object stands one step further in than the 104th.
[[nodiscard]] std::string prefix(const Indentation& indentation, std::int64_t level);

/// Appends `prefix(indentation, level)` to `out` without building the prefix first.
void appendPrefix(std::string& out, const Indentation& indentation, std::int64_t level);
/// Appends `unit` repeated `level` times (none for a level below 1) to `out`.
void appendPrefix(std::string& out, std::string_view unit, std::int64_t level);

/// A declaration being written: a list of lines joined with "\n", without a final line feed.
/// An empty line carries no prefix.
class Lines {
 public:
  /// Adds one line (which may itself hold line feeds: a nested declaration).
  void add(std::string line) { m_lines.push_back(std::move(line)); }
  void addBlank() { m_lines.emplace_back(); }
  /// Whether a line equal to `text` is already there (nested declarations are written once).
  [[nodiscard]] bool contains(std::string_view text) const;
  [[nodiscard]] bool empty() const noexcept { return m_lines.empty(); }
  [[nodiscard]] std::size_t size() const noexcept { return m_lines.size(); }
  [[nodiscard]] std::string joined() const;

 private:
  std::vector<std::string> m_lines;
};

/// Joins texts with `separator`.
[[nodiscard]] std::string joined(const std::vector<std::string>& texts, std::string_view separator);

}  // namespace telvar::generate
