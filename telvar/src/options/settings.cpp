#include "telvar/options/settings.h"

namespace telvar::settings {
namespace {

// A text from the document as it appears in a one-line message: quoted, control characters
// escaped, long texts cut.
std::string shownText(const std::string& text) {
  constexpr std::size_t kLimit = 64;
  std::string cut = text.size() > kLimit ? text.substr(0, kLimit) : text;
  std::string out =
      nlohmann::json(cut).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  if (text.size() > kLimit) out += "...";
  return out;
}

}  // namespace

Uuid Coder<Uuid>::decode(const nlohmann::json& json) {
  std::string text = coding::readString(json);
  std::optional<Uuid> uuid = Uuid::fromText(text);
  if (!uuid) {
    throw DecodingError(DecodingError::Kind::dataCorrupted, {},
                        "invalid UUID text " + shownText(text));
  }
  return *uuid;
}

void throwUnknownCase(const std::string& text) {
  throw DecodingError(DecodingError::Kind::dataCorrupted, {},
                      shownText(text) + " is not one of the case names");
}

void expectArray(const nlohmann::json& json) {
  if (!json.is_array()) {
    throw DecodingError(DecodingError::Kind::typeMismatch, {},
                        "expected array, found " + coding::jsonTypeName(json));
  }
}

}  // namespace telvar::settings
