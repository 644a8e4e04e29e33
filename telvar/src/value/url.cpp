#include "telvar/value/url.h"

#include <string>

#include <uriparser/Uri.h>

namespace telvar {

std::optional<Value::Url> urlWithHost(std::string_view text) {
  if (text.empty()) return std::nullopt;
  UriUriA uri;
  const char* errorPos = nullptr;
  if (uriParseSingleUriExA(&uri, text.data(), text.data() + text.size(), &errorPos) !=
      URI_SUCCESS) {
    return std::nullopt;
  }
  const bool absolute = uri.scheme.first != nullptr && uri.scheme.afterLast != uri.scheme.first;
  const bool hasHost =
      uri.hostText.first != nullptr && uri.hostText.afterLast != uri.hostText.first;
  uriFreeUriMembersA(&uri);
  if (!absolute || !hasHost) return std::nullopt;
  return Value::Url{std::string(text)};
}

}  // namespace telvar
