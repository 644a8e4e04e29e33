#pragma once

#include <optional>
#include <string>

#include "telvar/model/model.h"

namespace telvar {

// Whole-file generation: one operation per output type. Each gives the complete source file, or
// nothing when the input does not parse or nothing renders (never the header alone).

[[nodiscard]] std::optional<std::string> schemaOutput(const Model& model);
[[nodiscard]] std::optional<std::string> swiftOutput(const Model& model);
[[nodiscard]] std::optional<std::string> kotlinOutput(const Model& model);
[[nodiscard]] std::optional<std::string> dartOutput(const Model& model);
[[nodiscard]] std::optional<std::string> goOutput(const Model& model);
[[nodiscard]] std::optional<std::string> protoOutput(const Model& model);

/// The output of the given type.
[[nodiscard]] std::optional<std::string> output(const Model& model, OutputType type);

}  // namespace telvar
