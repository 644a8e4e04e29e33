// Parses arbitrary bytes with the JSON grammar and checks what "Format" promises: formatting is
// idempotent, and a text it changes parses to the value the original parses to.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "telvar/parse/json_grammar.h"
#include "telvar/value/printer.h"

namespace {

[[noreturn]] void violation(const char* what, std::string_view input, std::string_view output) {
  std::fprintf(stderr, "grammar_fuzz: %s\ninput (%zu bytes): %.*s\noutput: %.*s\n", what,
               input.size(), static_cast<int>(input.size()), input.data(),
               static_cast<int>(output.size()), output.data());
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // The first byte picks the indentation, so that units and levels vary too.
  telvar::Indentation indentation;
  std::string_view text(reinterpret_cast<const char*>(data), size);
  if (!text.empty()) {
    static const char* const kUnits[] = {"  ", "\t", "", " ", "\r\n", "    "};
    const auto selector = static_cast<unsigned char>(text[0]);
    indentation.unit = kUnits[selector % 6];
    indentation.level = static_cast<std::int64_t>(selector / 6) - 20;
    text.remove_prefix(1);
  }

  const auto original = telvar::Formatter::parse(text);
  const std::string formatted = telvar::Formatter::format(text, indentation);
  if (!original && formatted != text)
    violation("changed a text that does not parse", text, formatted);
  if (formatted == text) return 0;

  const auto reparsed = telvar::Formatter::parse(formatted);
  if (!reparsed) violation("formatted text does not parse", text, formatted);
  if (!reparsed->second.empty()) violation("formatted text has a rest", text, formatted);
  if (!(reparsed->first == original->first))
    violation("formatted text reads back differently", text, formatted);
  if (telvar::Formatter::format(formatted, indentation) != formatted) {
    violation("formatting is not idempotent", text, formatted);
  }
  return 0;
}
