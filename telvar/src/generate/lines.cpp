#include "telvar/generate/lines.h"

namespace telvar::generate {

std::string prefix(const Indentation& indentation, std::int64_t level) {
  std::string out;
  appendPrefix(out, indentation, level);
  return out;
}

void appendPrefix(std::string& out, const Indentation& indentation, std::int64_t level) {
  appendPrefix(out, indentation.effectiveUnit(), level);
}

void appendPrefix(std::string& out, std::string_view unit, std::int64_t level) {
  if (level <= 0 || unit.empty()) return;
  out.reserve(out.size() + unit.size() * static_cast<std::size_t>(level));
  for (std::int64_t i = 0; i < level; ++i) out += unit;
}

bool Lines::contains(std::string_view text) const {
  for (const auto& line : m_lines) {
    if (line == text) return true;
  }
  return false;
}

std::string Lines::joined() const { return generate::joined(m_lines, "\n"); }

std::string joined(const std::vector<std::string>& texts, std::string_view separator) {
  std::size_t size = 0;
  for (const auto& t : texts) size += t.size() + separator.size();
  std::string out;
  out.reserve(size);
  for (std::size_t i = 0; i < texts.size(); ++i) {
    if (i) out += separator;
    out += texts[i];
  }
  return out;
}

}  // namespace telvar::generate
