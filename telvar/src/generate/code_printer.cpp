#include "telvar/generate/code_printer.h"

#include <algorithm>

#include "telvar/parse/parser.h"
#include "telvar/threads/chunks.h"

namespace telvar::generate {

void appendIndentation(std::string& out, std::string_view unit, std::int64_t level) {
  if (level <= 0 || unit.empty()) return;
  // Most lines stand one to four levels in.
  if (level <= 4) {
    for (std::int64_t i = 0; i < level; ++i) out.append(unit);
    return;
  }
  // Deep nesting: the indentation doubles itself, so a line 500 levels in costs a few copies
  // rather than 500.
  const std::size_t start = out.size();
  const std::size_t total = unit.size() * static_cast<std::size_t>(level);
  out.reserve(start + total);
  out.append(unit);
  while (out.size() - start < total) {
    const std::size_t have = out.size() - start;
    out.append(out, start, std::min(have, total - have));
  }
}

void CodePrinter::setLevel(std::int64_t level) {
  m_level = level;
  const std::size_t units = level > 0 ? static_cast<std::size_t>(level) : 0;
  m_lineLength = 1 + m_unit.size() * units;
  if (m_lineLength > m_lineStart.size()) {
    const auto built = static_cast<std::int64_t>((m_lineStart.size() - 1) /
                                                 std::max<std::size_t>(m_unit.size(), 1));
    appendIndentation(m_lineStart, m_unit, level - built);
  }
}

void CodePrinter::drain() {
  (*m_drain)(m_out);
  m_out.clear();  // the room stays for what comes next
  ++m_drains;
}

void CodePrinter::members(std::size_t count,
                          const std::function<void(CodePrinter&, std::size_t)>& write) {
  const std::size_t chunks = chunksFor(count, kMembersAChunk);
  if (chunks == 1) {
    for (std::size_t i = 0; i < count; ++i) {
      settle();
      write(*this, i);
    }
    return;
  }
  // The first chunk starts as this printer stands and leaves it as its own printer ends; the
  // others start as after a member, and where nothing has started this printer yet when one is
  // taken, the line break its first line began with goes.
  const bool startedBefore = m_started;
  bool firstEnded = startedBefore;  // the first chunk's, read once it is taken
  bool first = true;
  writeInOrder(
      count, kMembersAChunk, chunks,
      [&](std::size_t begin, std::size_t end, std::string& text) {
        CodePrinter printer(text, m_unit, m_level);
        printer.m_started = begin > 0 || startedBefore;
        for (std::size_t i = begin; i < end; ++i) write(printer, i);
        if (begin == 0) firstEnded = printer.m_started;
      },
      [&](std::string_view text) {
        if (std::exchange(first, false)) {
          m_started = firstEnded;
        } else if (!m_started && !text.empty()) {
          if (text.front() == '\n') text.remove_prefix(1);
          m_started = true;
        }
        takeWritten(text);
      });
}

void CodePrinter::takeWritten(std::string_view text) {
  if (text.empty()) return;
  // Taking a chunk is a point where all before it is final (the members' loop settles there):
  // a chunk of a megabyte goes to the drain as it is, not copied first.
  if (m_drain && m_holds == 0 && m_out.size() + text.size() >= kDrainAt) {
    if (!m_out.empty()) drain();
    (*m_drain)(text);
    ++m_drains;
    return;
  }
  m_out.append(text);
}

void CodePrinter::markBeforeDrain() {
  parse::detail::programmingError(
      "CodePrinter: a mark was used after the text it marks was drained");
}

}  // namespace telvar::generate
