#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "telvar/model/model.h"
#include "telvar/value/outcome.h"

namespace telvar {

// Whole-file generation: one operation per output type. Each gives the complete source file, or
// nothing when the input does not parse or nothing renders (never the header alone). These may
// throw std::bad_alloc; the driver and the application call `output` or `checkedOutput`.
//
// The sample is the model's input, or a text given in its place that the caller holds elsewhere
// (the command line maps a sample file rather than copying it into the model).

[[nodiscard]] std::optional<std::string> schemaOutput(const Model& model, std::string_view sample);
[[nodiscard]] std::optional<std::string> swiftOutput(const Model& model, std::string_view sample);
[[nodiscard]] std::optional<std::string> kotlinOutput(const Model& model, std::string_view sample);
[[nodiscard]] std::optional<std::string> dartOutput(const Model& model, std::string_view sample);
[[nodiscard]] std::optional<std::string> goOutput(const Model& model, std::string_view sample);
[[nodiscard]] std::optional<std::string> protoOutput(const Model& model, std::string_view sample);

[[nodiscard]] inline std::optional<std::string> schemaOutput(const Model& model) {
  return schemaOutput(model, model.input());
}
[[nodiscard]] inline std::optional<std::string> swiftOutput(const Model& model) {
  return swiftOutput(model, model.input());
}
[[nodiscard]] inline std::optional<std::string> kotlinOutput(const Model& model) {
  return kotlinOutput(model, model.input());
}
[[nodiscard]] inline std::optional<std::string> dartOutput(const Model& model) {
  return dartOutput(model, model.input());
}
[[nodiscard]] inline std::optional<std::string> goOutput(const Model& model) {
  return goOutput(model, model.input());
}
[[nodiscard]] inline std::optional<std::string> protoOutput(const Model& model) {
  return protoOutput(model, model.input());
}

/// The output of the given type; nothing also when memory runs out (never throws).
[[nodiscard]] std::optional<std::string> output(const Model& model, OutputType type) noexcept;

/// The output of the given type, or nothing; when memory ran out, `failure` says so in one line.
[[nodiscard]] Outcome checkedOutput(const Model& model, OutputType type) noexcept;
/// `checkedOutput` of `sample` in place of the model's input.
[[nodiscard]] Outcome checkedOutput(const Model& model, std::string_view sample,
                                    OutputType type) noexcept;

}  // namespace telvar
