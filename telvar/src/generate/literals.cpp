#include "telvar/generate/literals.h"

#include <algorithm>
#include <array>

namespace telvar::generate {
namespace {

using Escape = std::pair<char, std::string_view>;

constexpr std::array kJsonEscapes{Escape{'"', "\\\""}, Escape{'\\', "\\\\"}, Escape{'\b', "\\b"},
                                  Escape{'\f', "\\f"}, Escape{'\n', "\\n"},  Escape{'\r', "\\r"},
                                  Escape{'\t', "\\t"}};
constexpr std::array kSwiftEscapes{Escape{'"', "\\\""}, Escape{'\\', "\\\\"}, Escape{'\0', "\\0"},
                                   Escape{'\t', "\\t"}, Escape{'\n', "\\n"},  Escape{'\r', "\\r"}};
constexpr std::array kKotlinEscapes{Escape{'"', "\\\""}, Escape{'\\', "\\\\"}, Escape{'$', "\\$"},
                                    Escape{'\n', "\\n"}, Escape{'\r', "\\r"},  Escape{'\t', "\\t"},
                                    Escape{'\b', "\\b"}};
constexpr std::array kDartEscapes{Escape{'"', "\\\""}, Escape{'\\', "\\\\"}, Escape{'$', "\\$"},
                                  Escape{'\n', "\\n"}, Escape{'\r', "\\r"},  Escape{'\t', "\\t"}};
// Go and Protocol Buffers name the same characters.
constexpr std::array kPlainEscapes{Escape{'"', "\\\""}, Escape{'\\', "\\\\"}, Escape{'\n', "\\n"},
                                   Escape{'\r', "\\r"}, Escape{'\t', "\\t"}};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

void appendControl(std::string& out, unsigned char byte, ControlForm form) {
  static constexpr char kLower[] = "0123456789abcdef";
  static constexpr char kUpper[] = "0123456789ABCDEF";
  switch (form) {
    case ControlForm::unicodeLower:
    case ControlForm::unicodeUpper: {
      const char* digits = form == ControlForm::unicodeLower ? kLower : kUpper;
      out += "\\u00";
      out += digits[byte >> 4];
      out += digits[byte & 0xF];
      return;
    }
    case ControlForm::unicodeBraces:
      out += "\\u{";
      if (byte >> 4) out += kUpper[byte >> 4];
      out += kUpper[byte & 0xF];
      out += '}';
      return;
    case ControlForm::hexUpper:
    case ControlForm::hexLower: {
      const char* digits = form == ControlForm::hexLower ? kLower : kUpper;
      out += "\\x";
      out += digits[byte >> 4];
      out += digits[byte & 0xF];
      return;
    }
    case ControlForm::octal:
      out += '\\';
      out += static_cast<char>('0' + ((byte >> 6) & 7));
      out += static_cast<char>('0' + ((byte >> 3) & 7));
      out += static_cast<char>('0' + (byte & 7));
      return;
  }
}

// Whether a byte may need more than copying in some language: a JSON key is mostly plain
// text, which is copied in runs instead of byte by byte against the rules. A table, because
// every byte of every key is looked up (wide-100: 250 instructions a key by comparisons, 150).
constexpr auto kMayNeedEscape = [] {
  std::array<bool, 256> table{};
  for (std::size_t byte = 0; byte < table.size(); ++byte) {
    table[byte] = byte < 0x20 || byte == '"' || byte == '\\' || byte == '$' || byte == 0x7F ||
                  byte == 0xEF;  // the first byte of a byte order mark
  }
  return table;
}();

bool mayNeedEscape(unsigned char byte) { return kMayNeedEscape[byte]; }

}  // namespace

const LiteralRules kJsonLiteral{kJsonEscapes, ControlForm::unicodeLower, false};
const LiteralRules kSwiftLiteral{kSwiftEscapes, ControlForm::unicodeBraces, true};
const LiteralRules kKotlinLiteral{kKotlinEscapes, ControlForm::unicodeUpper, false};
const LiteralRules kDartLiteral{kDartEscapes, ControlForm::hexUpper, true};
const LiteralRules kGoLiteral{kPlainEscapes, ControlForm::hexLower, true, true};
const LiteralRules kProtoLiteral{kPlainEscapes, ControlForm::octal, true};

void appendEscaped(std::string& out, std::string_view text, const LiteralRules& rules) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    std::size_t plain = i;
    while (plain < text.size() && !mayNeedEscape(static_cast<unsigned char>(text[plain]))) {
      ++plain;
    }
    out.append(text, i, plain - i);
    i = plain;
    if (i == text.size()) break;
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    bool named = false;
    for (const auto& [character, escape] : rules.escapes) {
      if (character == c) {
        out += escape;
        named = true;
        break;
      }
    }
    if (named) continue;
    if (byte < 0x20 || (byte == 0x7F && rules.deleteIsControl)) {
      appendControl(out, byte, rules.controlForm);
    } else if (rules.escapesByteOrderMark && text.substr(i, 3) == kByteOrderMark) {
      out += "\\uFEFF";
      i += 2;
    } else {
      out += c;
    }
  }
}

bool isPlainLiteral(std::string_view text) {
  return std::none_of(text.begin(), text.end(),
                      [](char c) { return mayNeedEscape(static_cast<unsigned char>(c)); });
}

std::string escaped(std::string_view text, const LiteralRules& rules) {
  // Most keys need no escape: copied whole (wide-100 in Dart: 190 instructions a key escaped,
  // 125 copied).
  if (isPlainLiteral(text)) return std::string(text);
  std::string out;
  out.reserve(text.size());
  appendEscaped(out, text, rules);
  return out;
}

std::string quoted(std::string_view text, const LiteralRules& rules) {
  std::string out;
  out.reserve(text.size() + 2);
  out += '"';
  appendEscaped(out, text, rules);
  out += '"';
  return out;
}

}  // namespace telvar::generate
