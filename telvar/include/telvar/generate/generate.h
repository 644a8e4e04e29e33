#pragma once

#include <optional>
#include <string>

#include "telvar/model/model.h"
#include "telvar/value/outcome.h"

namespace telvar {

// Whole-file generation: one operation per output type. Each gives the complete source file, or
// nothing when the input does not parse or nothing renders (never the header alone). These may
// throw std::bad_alloc; the driver and the application call `output` or `checkedOutput`.

[[nodiscard]] std::optional<std::string> schemaOutput(const Model& model);
[[nodiscard]] std::optional<std::string> swiftOutput(const Model& model);
[[nodiscard]] std::optional<std::string> kotlinOutput(const Model& model);
[[nodiscard]] std::optional<std::string> dartOutput(const Model& model);
[[nodiscard]] std::optional<std::string> goOutput(const Model& model);
[[nodiscard]] std::optional<std::string> protoOutput(const Model& model);

/// The output of the given type; nothing also when memory runs out (never throws).
[[nodiscard]] std::optional<std::string> output(const Model& model, OutputType type) noexcept;

/// The output of the given type, or nothing; when memory ran out, `failure` says so in one line.
[[nodiscard]] Outcome checkedOutput(const Model& model, OutputType type) noexcept;

}  // namespace telvar
