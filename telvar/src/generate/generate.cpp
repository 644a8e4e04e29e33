#include "telvar/generate/generate.h"

#include <utility>

#include "telvar/threads/chunks.h"

namespace telvar {

namespace {

std::optional<std::string> unguardedOutput(const Model& model, SampleText sample, OutputType type,
                                           const TextDrain& drain) {
  switch (type) {
    case OutputType::schema:
      return schemaOutput(model, std::move(sample), drain);
    case OutputType::swift:
      return swiftOutput(model, std::move(sample), drain);
    case OutputType::kotlin:
      return kotlinOutput(model, std::move(sample), drain);
    case OutputType::dart:
      return dartOutput(model, std::move(sample), drain);
    case OutputType::go:
      return goOutput(model, std::move(sample), drain);
    case OutputType::proto:
      return protoOutput(model, std::move(sample), drain);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::string> output(const Model& model, OutputType type) noexcept {
  return checkedOutput(model, type).text;
}

Outcome checkedOutput(const Model& model, OutputType type) noexcept {
  return checkedOutput(model, {model.input(), nullptr}, type);
}

Outcome checkedOutput(const Model& model, SampleText sample, OutputType type,
                      const TextDrain& drain) noexcept {
  return guarded([&] {
    // A wide sample splits its work many times over: one set of helper threads serves the run.
    const SharedHelpers helpers;
    return unguardedOutput(model, std::move(sample), type, drain);
  });
}

}  // namespace telvar
