#pragma once

#include <optional>
#include <string_view>

#include "telvar/value/value.h"

namespace telvar {

/// The URL test shared by URL detection and merging: `text` is a URL when all of it parses as an
/// absolute URI (with a scheme) whose host is not empty.
[[nodiscard]] std::optional<Value::Url> urlWithHost(std::string_view text);
/// Whether `urlWithHost` would give a URL, without making it.
[[nodiscard]] bool isUrlWithHost(std::string_view text);

}  // namespace telvar
