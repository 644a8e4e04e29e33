#include "telvar/value/url.h"

#include <string>

#include <uriparser/Uri.h>

namespace telvar {

bool isUrlWithHost(std::string_view text) {
  // An absolute URL begins with a scheme and its colon; most texts have no colon at all.
  if (text.empty() || text.find(':') == std::string_view::npos) return false;
  UriUriA uri;
  const char* errorPos = nullptr;
  if (uriParseSingleUriExA(&uri, text.data(), text.data() + text.size(), &errorPos) !=
      URI_SUCCESS) {
    return false;
  }
  const bool absolute = uri.scheme.first != nullptr && uri.scheme.afterLast != uri.scheme.first;
  const bool hasHost =
      uri.hostText.first != nullptr && uri.hostText.afterLast != uri.hostText.first;
  uriFreeUriMembersA(&uri);
  return absolute && hasHost;
}

std::optional<Value::Url> urlWithHost(std::string_view text) {
  if (!isUrlWithHost(text)) return std::nullopt;
  return Value::Url{std::string(text)};
}

}  // namespace telvar
