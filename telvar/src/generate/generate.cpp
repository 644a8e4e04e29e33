#include "telvar/generate/generate.h"

namespace telvar {

namespace {

std::optional<std::string> unguardedOutput(const Model& model, OutputType type) {
  switch (type) {
    case OutputType::schema:
      return schemaOutput(model);
    case OutputType::swift:
      return swiftOutput(model);
    case OutputType::kotlin:
      return kotlinOutput(model);
    case OutputType::dart:
      return dartOutput(model);
    case OutputType::go:
      return goOutput(model);
    case OutputType::proto:
      return protoOutput(model);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> output(const Model& model, OutputType type) noexcept {
  return checkedOutput(model, type).text;
}

Outcome checkedOutput(const Model& model, OutputType type) noexcept {
  return guarded([&] { return unguardedOutput(model, type); });
}

}  // namespace telvar
