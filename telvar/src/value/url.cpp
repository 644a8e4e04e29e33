#include "telvar/value/url.h"

#include <string>

#include <uriparser/Uri.h>

namespace telvar {
namespace {

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// An absolute URL begins with a scheme (a letter, then letters, digits, "+", "-" or ".") and its
// colon. Most texts do not, and need no full parse.
bool startsWithScheme(std::string_view text) {
  if (text.empty() || !isAsciiLetter(text[0])) return false;
  for (std::size_t i = 1; i < text.size(); ++i) {
    const char c = text[i];
    if (c == ':') return true;
    if (!isAsciiLetter(c) && !(c >= '0' && c <= '9') && c != '+' && c != '-' && c != '.') {
      return false;
    }
  }
  return false;
}

}  // namespace

bool isUrlWithHost(std::string_view text) {
  if (!startsWithScheme(text)) return false;
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
