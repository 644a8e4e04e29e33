#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "telvar/unicode/text.h"

namespace telvar::refine_detail {

/// Path-keyed records made ready for many look-ups during one rewrite. Selects the same record
/// as `recordForPath`, but without joining the trailing parts of the key path into texts: each
/// record's path (in canonical composition) is matched against the keys from the last one back,
/// which costs one pass over the record's path whatever the depth.
///
/// This holds because "." is a starter that nothing composes with, so the canonical composition
/// of keys joined with "." is the join of their compositions: callers give the keys already in
/// canonical composition (see `nfc`).
class PathMatcher {
 public:
  template <class R>
  explicit PathMatcher(const std::vector<R>& records) {
    m_paths.reserve(records.size());
    for (const R& record : records) m_paths.push_back(nfc(record.path()));
  }

  [[nodiscard]] bool empty() const noexcept { return m_paths.empty(); }

  /// The position of the selected record, or -1: the record that matches the longest trailing
  /// part of `keys` (each in canonical composition), the first in list order among equals.
  [[nodiscard]] std::ptrdiff_t select(const std::vector<std::string>& keys) const {
    if (keys.empty()) return -1;
    std::ptrdiff_t best = -1;
    std::size_t bestStart = keys.size();
    for (std::size_t r = 0; r < m_paths.size(); ++r) {
      const std::size_t start = matchStart(m_paths[r], keys);
      if (start < bestStart) {
        bestStart = start;
        best = static_cast<std::ptrdiff_t>(r);
        if (start == 0) break;  // nothing is longer than the whole path
      }
    }
    return best;
  }

  [[nodiscard]] bool contains(const std::vector<std::string>& keys) const {
    return select(keys) >= 0;
  }

 private:
  // The first key of the trailing part that `path` spells, keys joined with "."; keys.size()
  // when it spells none.
  static std::size_t matchStart(std::string_view path, const std::vector<std::string>& keys) {
    std::size_t end = path.size();
    for (std::size_t i = keys.size(); i-- > 0;) {
      const std::string& key = keys[i];
      if (key.size() > end || path.compare(end - key.size(), key.size(), key) != 0) break;
      end -= key.size();
      if (end == 0) return i;
      if (path[end - 1] != '.') break;
      --end;
    }
    return keys.size();
  }

  std::vector<std::string> m_paths;
};

}  // namespace telvar::refine_detail
