#include "telvar/generate/generate.h"

namespace telvar {

// Not written yet: this output type generates nothing so far.
std::optional<std::string> goOutput(const Model&) { return std::nullopt; }

}  // namespace telvar
