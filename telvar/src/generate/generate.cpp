#include "telvar/generate/generate.h"

namespace telvar {

namespace {

std::optional<std::string> unguardedOutput(const Model& model, std::string_view sample,
                                           OutputType type) {
  switch (type) {
    case OutputType::schema:
      return schemaOutput(model, sample);
    case OutputType::swift:
      return swiftOutput(model, sample);
    case OutputType::kotlin:
      return kotlinOutput(model, sample);
    case OutputType::dart:
      return dartOutput(model, sample);
    case OutputType::go:
      return goOutput(model, sample);
    case OutputType::proto:
      return protoOutput(model, sample);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> output(const Model& model, OutputType type) noexcept {
  return checkedOutput(model, type).text;
}

Outcome checkedOutput(const Model& model, OutputType type) noexcept {
  return checkedOutput(model, model.input(), type);
}

Outcome checkedOutput(const Model& model, std::string_view sample, OutputType type) noexcept {
  return guarded([&] { return unguardedOutput(model, sample, type); });
}

}  // namespace telvar
