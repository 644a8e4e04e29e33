#include "telvar/value/printer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

#include <unicode/uchar.h>

#include "telvar/parse/json_grammar.h"
#include "telvar/unicode/text.h"

namespace telvar {
namespace {

// Grapheme-cluster properties that make a character join the one before it. (A mark prepended
// to what follows it never joins a quotation mark or a backslash: in a string those always
// begin a character of their own.)
bool joinsPrevious(int codePoint) {
  int gcb = u_getIntPropertyValue(codePoint, UCHAR_GRAPHEME_CLUSTER_BREAK);
  return gcb == U_GCB_EXTEND || gcb == U_GCB_ZWJ || gcb == U_GCB_SPACING_MARK;
}

const char* escapeOf(char c) {
  switch (c) {
    case '\\':
      return "\\\\";
    case '"':
      return "\\\"";
    case '\n':
      return "\\n";
    case '\r':
      return "\\r";
    case '\t':
      return "\\t";
    default:
      return nullptr;
  }
}

class Printer {
 public:
  explicit Printer(const Indentation& indentation) : m_unit(indentation.effectiveUnit()) {}

  void value(const Value& v, std::int64_t level) {
    switch (v.kind()) {
      case Value::Kind::bool_:
        m_out += v.boolValue() ? "true" : "false";
        break;
      case Value::Kind::number: {
        const auto& n = v.numberValue();
        if (n.isInt()) {
          char buffer[24];
          auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, n.intValue());
          m_out.append(buffer, end);
        } else {
          if (!std::isfinite(n.doubleValue())) m_faithful = false;
          m_out += doubleText(n.doubleValue());
        }
        break;
      }
      case Value::Kind::string:
        string(v.stringValue());
        break;
      case Value::Kind::object: {
        const auto& o = v.objectValue();
        m_out += "{\n";
        bool first = true;
        const auto member = [&](const Key& key, const Value* found) {
          if (!first) m_out += ",\n";
          first = false;
          pad(level + 1);
          string(key);
          m_out += ": ";
          value(found ? *found : Value::null(), level + 1);
        };
        if (o.keysInMemberOrder()) {
          for (const auto& [key, found] : o.dictionary.entries()) member(key, &found);
        } else {
          for (const auto& key : o.orderedKeys()) member(key, o.dictionary.find(key));
        }
        m_out += '\n';
        pad(level);
        m_out += '}';
        break;
      }
      case Value::Kind::array: {
        m_out += "[\n";
        bool first = true;
        for (const auto& element : v.arrayValue().values) {
          if (!first) m_out += ",\n";
          first = false;
          pad(level + 1);
          value(element, level + 1);
        }
        m_out += '\n';
        pad(level);
        m_out += ']';
        break;
      }
      case Value::Kind::null:
        if (const std::optional<Value> inner = v.nullInner()) {
          value(*inner, level);
        } else {
          m_out += "null";
        }
        break;
      case Value::Kind::empty:
        m_out += "null";
        break;
      case Value::Kind::url:
        m_out += '@';
        break;
      case Value::Kind::date:
        m_out += '$';
        break;
      case Value::Kind::enum_:
        m_out += '%';
        break;
      case Value::Kind::dictionary:
        m_out += '~';
        break;
    }
  }

  std::string take() { return std::move(m_out); }
  void reserve(std::size_t bytes) { m_out.reserve(bytes); }
  [[nodiscard]] bool faithful() const { return m_faithful; }

 private:
  void pad(std::int64_t n) {
    for (std::int64_t i = 0; i < n; ++i) m_out += m_unit;
  }

  // Escapes backslash, quote, line feed, carriage return and tab. A character that would join
  // the opening quote or an escape before it into one grapheme cluster is written as \uXXXX so
  // that the text reads back the same.
  void string(std::string_view text) {
    m_out += '"';
    const bool ascii = isAscii(text);
    if (ascii || (!needsEscape(text) && !joinsOpeningQuote(text))) {
      // Runs without escapes are appended whole.
      std::size_t start = 0;
      for (std::size_t i = 0; i < text.size(); ++i) {
        if (const char* e = escapeOf(text[i])) {
          m_out.append(text.data() + start, i - start);
          m_out += e;
          start = i + 1;
        }
      }
      m_out.append(text.data() + start, text.size() - start);
      m_out += '"';
      return;
    }
    struct Char {
      int codePoint;
      std::string_view raw;
      bool escaped;
    };
    std::vector<Char> chars;
    while (!text.empty()) {
      int cp;
      std::size_t n = decodeUtf8(text, cp);
      bool escaped = cp >= 0 && cp < 0x80 && escapeOf(static_cast<char>(cp)) != nullptr;
      chars.push_back({cp, text.substr(0, n), escaped});
      text.remove_prefix(n);
    }
    // Escaping one character can force its neighbour to be escaped too; repeat until stable.
    for (bool changed = true; changed;) {
      changed = false;
      for (std::size_t i = 0; i < chars.size(); ++i) {
        Char& c = chars[i];
        if (c.escaped || c.codePoint < 0x80) continue;
        bool delimiterBefore = i == 0 || chars[i - 1].escaped;
        if (delimiterBefore && joinsPrevious(c.codePoint)) {
          c.escaped = true;
          changed = true;
        }
      }
    }
    for (const Char& c : chars) {
      if (!c.escaped) {
        m_out += c.raw;
      } else if (c.codePoint < 0x80) {
        m_out += escapeOf(static_cast<char>(c.codePoint));
      } else if (c.codePoint > 0xFFFF) {
        // The grammar reads escaped surrogates as "_": such a character cannot be kept.
        m_faithful = false;
        m_out += c.raw;
      } else {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c.codePoint));
        m_out += buffer;
      }
    }
    m_out += '"';
  }

  static bool needsEscape(std::string_view text) {
    for (char c : text) {
      if (escapeOf(c) != nullptr) return true;
    }
    return false;
  }

  // Whether, with nothing escaped inside, the first character would join the opening quote.
  static bool joinsOpeningQuote(std::string_view text) {
    if (text.empty()) return false;
    int first;
    decodeUtf8(text, first);
    return first >= 0x80 && joinsPrevious(first);
  }

  std::string_view m_unit;
  std::string m_out;
  bool m_faithful = true;
};

bool isWhitespaceUnit(std::string_view unit) {
  for (char c : unit) {
    if (c != ' ' && c != '\t' && c != '\n' && c != '\r' && c != '\0') return false;
  }
  return true;
}

// Whether the text holds an escape of a surrogate, which the grammar reads as "_".
bool hasEscapedSurrogate(std::string_view text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '\\') continue;
    if (text[i + 1] == 'u' && i + 3 < text.size()) {
      char a = text[i + 2];
      char b = static_cast<char>(text[i + 3] | 0x20);
      if ((a == 'd' || a == 'D') && b >= '8' && b <= 'f' && (b <= '9' || b >= 'a')) return true;
    }
    ++i;  // skip the escaped character, so "\\\\u" is not read as an escape
  }
  return false;
}

}  // namespace

std::string doubleText(double d) {
  if (std::isnan(d)) return "nan";
  if (std::isinf(d)) return d < 0 ? "-inf" : "inf";
  if (d == 0) return std::signbit(d) ? "-0.0" : "0.0";
  // Shortest round-trip digits in scientific form, then laid out plain or with an exponent.
  char buffer[64];
  auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, d, std::chars_format::scientific);
  std::string_view sci(buffer, static_cast<std::size_t>(end - buffer));
  const bool negative = sci[0] == '-';
  if (negative) sci.remove_prefix(1);
  std::size_t e = sci.find('e');
  std::string digits;
  for (char c : sci.substr(0, e)) {
    if (c != '.') digits += c;
  }
  int exponent = 0;
  std::from_chars(sci.data() + e + 1 + (sci[e + 1] == '+' ? 1 : 0), sci.data() + sci.size(),
                  exponent);
  std::string out = negative ? "-" : "";
  const double magnitude = std::fabs(d);
  if (magnitude >= 1e-4 && magnitude < 9007199254740992.0) {
    if (exponent >= 0) {
      auto intDigits = static_cast<std::size_t>(exponent) + 1;
      if (digits.size() <= intDigits) {
        out += digits;
        out.append(intDigits - digits.size(), '0');
        out += ".0";
      } else {
        out += digits.substr(0, intDigits);
        out += '.';
        out += digits.substr(intDigits);
      }
    } else {
      out += "0.";
      out.append(static_cast<std::size_t>(-exponent - 1), '0');
      out += digits;
    }
    return out;
  }
  out += digits.substr(0, 1);
  if (digits.size() > 1) {
    out += '.';
    out += digits.substr(1);
  }
  char exp[16];
  std::snprintf(exp, sizeof exp, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  out += exp;
  return out;
}

std::string jsonText(const Value& value, const Indentation& indentation) {
  Printer printer(indentation);
  printer.value(value, indentation.effectiveLevel());
  return printer.take();
}

std::string Formatter::format(std::string_view text, const Indentation& indentation) {
  auto parsed = jsonValueParser().parse(text);
  if (!parsed) return std::string(text);
  std::string_view consumed = text.substr(0, text.size() - parsed->rest.text.size());
  if (!isWhitespaceUnit(indentation.effectiveUnit()) || hasEscapedSurrogate(consumed)) {
    return std::string(text);
  }
  Printer printer(indentation);
  // Printed with indentation the text grows; room set aside at once saves copying it over and
  // over while it does (room never written costs no memory).
  printer.reserve(text.size() + std::min(text.size(), std::size_t{64} << 20));
  printer.value(parsed->output, indentation.effectiveLevel());
  if (!printer.faithful()) return std::string(text);
  return printer.take();
}

Outcome Formatter::checkedFormat(std::string_view text, const Indentation& indentation) noexcept {
  return guarded([&] { return format(text, indentation); });
}

std::optional<std::pair<Value, std::string>> Formatter::parse(std::string_view text) {
  auto parsed = jsonValueParser().parse(text);
  if (!parsed) return std::nullopt;
  return std::make_pair(std::move(parsed->output), std::string(parsed->rest.text));
}

}  // namespace telvar
