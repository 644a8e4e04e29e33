#include "telvar/value/indentation.h"

#include "telvar/coding/decoding_error.h"

namespace telvar {

std::string_view Indentation::effectiveUnit() const noexcept {
  if (unit.size() <= kMaxUnitBytes) return unit;
  // Back to the first byte of a character, so that a cut unit is still well-formed text.
  std::size_t length = kMaxUnitBytes;
  while (length > 0 && (static_cast<unsigned char>(unit[length]) & 0xC0) == 0x80) --length;
  return std::string_view(unit).substr(0, length);
}

std::string Indentation::pad(std::int64_t n) const {
  n = n < 0 ? 0 : (n > kMaxLevel + 1 ? kMaxLevel + 1 : n);
  const std::string_view u = effectiveUnit();
  std::string out;
  out.reserve(u.size() * static_cast<std::size_t>(n));
  for (std::int64_t i = 0; i < n; ++i) out += u;
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
