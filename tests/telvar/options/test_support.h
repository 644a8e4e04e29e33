#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "telvar/coding/decoding_error.h"
#include "telvar/options/uuid.h"

namespace telvar::testing {

/// Fixed identifiers, so that written JSON can be compared with an exact text.
inline Uuid uuid(int n) {
  std::string text = "00000000-0000-4000-8000-" + std::string(12 - std::to_string(n).size(), '0') +
                     std::to_string(n);
  return *Uuid::fromText(text);
}
/// The text of `uuid(n)`.
inline std::string uuidText(int n) { return uuid(n).text(); }

/// Matches a DecodingError of the given kind at the given coding path.
inline auto decodingError(DecodingError::Kind kind, std::vector<std::string> path) {
  using ::testing::AllOf;
  using ::testing::ElementsAreArray;
  using ::testing::Property;
  return ::testing::Throws<DecodingError>(
      AllOf(Property(&DecodingError::kind, kind),
            Property(&DecodingError::codingPath, ElementsAreArray(path))));
}

inline nlohmann::json json(std::string_view text) { return nlohmann::json::parse(text); }

}  // namespace telvar::testing
