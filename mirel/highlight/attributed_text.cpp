#include "mirel/highlight/attributed_text.h"

#include <algorithm>

namespace mirel {

ColourPair AttributedText::colourAt(std::int32_t index) const {
  auto run =
      std::upper_bound(runs.begin(), runs.end(), index,
                       [](std::int32_t i, const ColourRun& r) { return i < r.range.location; });
  return run == runs.begin() ? palette::base : std::prev(run)->colour;
}

}  // namespace mirel
