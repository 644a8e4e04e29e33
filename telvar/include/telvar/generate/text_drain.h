#pragma once

#include <functional>
#include <string_view>

namespace telvar::generate {

/// Takes the text of a file, in order, as it is written: a caller that writes the file out as it
/// comes need not hold it whole. It must not throw, except `std::bad_alloc`, which generation
/// reports as memory running out.
using TextDrain = std::function<void(std::string_view)>;

}  // namespace telvar::generate
