#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "telvar/value/indentation.h"
#include "telvar/value/outcome.h"
#include "telvar/value/value.h"

namespace telvar {

/// The indented JSON text of `value`, starting at `indentation`'s level (clamped to 0...100).
/// Cases that parsing never produces print as one placeholder character: url "@", date "$",
/// enum "%", dictionary "~"; `empty` prints as null.
[[nodiscard]] std::string jsonText(const Value& value, const Indentation& indentation);

/// A double as text: the shortest digits that read back to the same double, plain with at least
/// one fraction digit when 1e-4 <= |d| < 2^53 (and for zero), else in exponent form ("1e-05").
[[nodiscard]] std::string doubleText(double d);

/// The "Format" action and the parse step the generators share.
struct Formatter {
  /// The printed JSON of the value `text` starts with, or `text` unchanged when it does not
  /// parse. Text after the first value is dropped. Never corrupts: when printing could not give
  /// back a text that parses to the same value (an escaped surrogate read as "_", a number too
  /// large for a double, an indentation unit that is not whitespace), `text` comes back
  /// unchanged. May throw std::bad_alloc; the driver and the application call `checkedFormat`.
  [[nodiscard]] static std::string format(std::string_view text, const Indentation& indentation);

  /// `format`, or nothing when memory runs out, with the reason in `failure` (never throws).
  [[nodiscard]] static Outcome checkedFormat(std::string_view text,
                                             const Indentation& indentation) noexcept;

  /// The parsed value and the unread rest of the text, or nothing when `text` does not start
  /// with a JSON value.
  [[nodiscard]] static std::optional<std::pair<Value, std::string>> parse(std::string_view text);
};

}  // namespace telvar
