#pragma once

#include <string>
#include <vector>

#include "telvar/unicode/text.h"
#include "telvar/value/key_path.h"

namespace telvar {

/// The record that a key path selects from a list of path-keyed records (anything with a
/// `path()` text), or nullptr.
///
/// `keys` are the JSON keys from the root, the model name first. The candidates are the path's
/// trailing parts joined with ".", longest first (the whole path, then without the model name,
/// ..., the last key alone); for each candidate the records are scanned in list order and the
/// first whose path is canonically equal to it wins. So a longer trailing part beats a shorter
/// one wherever it stands in the list, and only trailing parts (never a middle part) match. An
/// empty key path finds nothing.
///
/// Example: keys {"Unknown", "user", "name"} with paths {"name", "user.name"} selects "user.name".
template <class R>
[[nodiscard]] const R* recordForPath(const std::vector<R>& records, KeyPath keys) {
  if (keys.empty() || records.empty()) return nullptr;
  std::string candidate;
  for (std::size_t start = 0; start < keys.size(); ++start) {
    candidate.clear();
    for (std::size_t i = start; i < keys.size(); ++i) {
      if (i != start) candidate += '.';
      candidate += keys[i];
    }
    for (const R& record : records) {
      if (textEquals(record.path(), candidate)) return &record;
    }
  }
  return nullptr;
}

}  // namespace telvar
