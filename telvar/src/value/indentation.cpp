#include "telvar/value/indentation.h"

#include "telvar/coding/decoding_error.h"

namespace telvar {

std::string Indentation::pad(std::int64_t n) const {
  n = n < 0 ? 0 : (n > kMaxLevel + 1 ? kMaxLevel + 1 : n);
  std::string out;
  out.reserve(unit.size() * static_cast<std::size_t>(n));
  for (std::int64_t i = 0; i < n; ++i) out += unit;
  return out;
}

nlohmann::json toJson(const Indentation& indentation) {
  return {{"level", indentation.level}, {"unit", indentation.unit}};
}

Indentation indentationFromJson(const nlohmann::json& json) {
  Indentation result;
  result.level = coding::requiredMember(json, "level", coding::readInt64);
  result.unit = coding::requiredMember(json, "unit", coding::readString);
  return result;
}

}  // namespace telvar
