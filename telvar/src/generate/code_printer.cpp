#include "telvar/generate/code_printer.h"

namespace telvar::generate {

void appendIndentation(std::string& out, std::string_view unit, std::int64_t level) {
  if (level <= 0 || unit.empty()) return;
  out.reserve(out.size() + unit.size() * static_cast<std::size_t>(level));
  for (std::int64_t i = 0; i < level; ++i) out += unit;
}

}  // namespace telvar::generate
