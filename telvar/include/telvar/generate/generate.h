#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "telvar/generate/text_drain.h"
#include "telvar/model/model.h"
#include "telvar/value/outcome.h"

namespace telvar {

// Whole-file generation: one operation per output type. Each gives the complete source file, or
// nothing when the input does not parse or nothing renders (never the header alone). These may
// throw std::bad_alloc; the driver and the application call `output` or `checkedOutput`.
//
// The sample is the model's input, or a text given in its place. A `drain`, when set, may take
// the file's text from its beginning as it is written; what is given back is then the rest of
// it, and never nothing once the drain took any.

/// A sample given in place of the model's input: its text, and what keeps that text alive.
/// Generation lets go of `keeper` once the text is parsed, so that a large sample file is not
/// held while the code is written (1,000 wide records: 46 MB less at the peak).
struct SampleText {
  std::string_view text;
  std::shared_ptr<const void> keeper;
};

using generate::TextDrain;

[[nodiscard]] std::optional<std::string> schemaOutput(const Model& model, SampleText sample,
                                                      const TextDrain& drain);
[[nodiscard]] std::optional<std::string> swiftOutput(const Model& model, SampleText sample,
                                                     const TextDrain& drain);
[[nodiscard]] std::optional<std::string> kotlinOutput(const Model& model, SampleText sample,
                                                      const TextDrain& drain);
[[nodiscard]] std::optional<std::string> dartOutput(const Model& model, SampleText sample,
                                                    const TextDrain& drain);
[[nodiscard]] std::optional<std::string> goOutput(const Model& model, SampleText sample,
                                                  const TextDrain& drain);
[[nodiscard]] std::optional<std::string> protoOutput(const Model& model, SampleText sample,
                                                     const TextDrain& drain);

[[nodiscard]] inline std::optional<std::string> schemaOutput(const Model& model) {
  return schemaOutput(model, {model.input(), nullptr}, {});
}
[[nodiscard]] inline std::optional<std::string> swiftOutput(const Model& model) {
  return swiftOutput(model, {model.input(), nullptr}, {});
}
[[nodiscard]] inline std::optional<std::string> kotlinOutput(const Model& model) {
  return kotlinOutput(model, {model.input(), nullptr}, {});
}
[[nodiscard]] inline std::optional<std::string> dartOutput(const Model& model) {
  return dartOutput(model, {model.input(), nullptr}, {});
}
[[nodiscard]] inline std::optional<std::string> goOutput(const Model& model) {
  return goOutput(model, {model.input(), nullptr}, {});
}
[[nodiscard]] inline std::optional<std::string> protoOutput(const Model& model) {
  return protoOutput(model, {model.input(), nullptr}, {});
}

/// The output of the given type; nothing also when memory runs out (never throws).
[[nodiscard]] std::optional<std::string> output(const Model& model, OutputType type) noexcept;

/// The output of the given type, or nothing; when memory ran out, `failure` says so in one line.
[[nodiscard]] Outcome checkedOutput(const Model& model, OutputType type) noexcept;
/// `checkedOutput` of `sample` in place of the model's input, with the file's text taken by
/// `drain` as it is written (when set): the outcome's text is then the rest of the file.
[[nodiscard]] Outcome checkedOutput(const Model& model, SampleText sample, OutputType type,
                                    const TextDrain& drain = {}) noexcept;

}  // namespace telvar
