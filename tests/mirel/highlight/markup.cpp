#include "markup.h"

#include <sstream>
#include <stdexcept>

#include <unicode/unistr.h>

#include "mirel/highlight/dart_syntax_highlighter.h"
#include "mirel/highlight/go_syntax_highlighter.h"
#include "mirel/highlight/kotlin_syntax_highlighter.h"
#include "mirel/highlight/proto_syntax_highlighter.h"
#include "mirel/highlight/schema_syntax_highlighter.h"
#include "mirel/highlight/swift_syntax_highlighter.h"

namespace mirel {

namespace testing {
void printColour(const ColourPair& colour, std::ostream* out);
}

void PrintTo(const ColourPair& colour, std::ostream* out) { testing::printColour(colour, out); }

void PrintTo(const TextRange& range, std::ostream* out) {
  *out << "{" << range.location << ", " << range.length << "}";
}

}  // namespace mirel

namespace mirel::testing {

namespace {

const ColourPair keyColour{{66, 130, 137}, {121, 193, 179}};
const ColourPair caseColour{{64, 128, 175}, {95, 153, 177}};
const ColourPair memberColour{{81, 127, 135}, {138, 192, 180}};
const ColourPair macroColour{{78, 138, 145}, {119, 193, 179}};
const ColourPair braceWordColour{{59, 128, 135}, {117, 193, 179}};
const ColourPair methodColour{{55, 122, 172}, {105, 174, 210}};
const ColourPair callColour{{123, 83, 179}, {171, 131, 229}};
const ColourPair valueTypeColour{{236, 79, 58}, {245, 83, 61}};
const ColourPair numberColour{{233, 116, 49}, {215, 201, 134}};

std::string pairText(const ColourPair& c) {
  std::ostringstream out;
  out << int(c.light.red) << ',' << int(c.light.green) << ',' << int(c.light.blue) << '/'
      << int(c.dark.red) << ',' << int(c.dark.green) << ',' << int(c.dark.blue);
  return out.str();
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (true) {
    std::size_t end = text.find('\n', start);
    lines.emplace_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return lines;
    start = end + 1;
  }
}

}  // namespace

void printColour(const ColourPair& colour, std::ostream* out) { *out << pairText(colour); }

std::vector<NamedColour> coloursOf(std::string_view language) {
  std::vector<NamedColour> colours{{"keyword", palette::keyword},
                                   {"string", palette::string},
                                   {"type", palette::type},
                                   {"propertyType", palette::propertyType}};
  if (language == "schema") colours.push_back({"key", keyColour});
  if (language == "swift") {
    colours.push_back({"case", caseColour});
    colours.push_back({"member", memberColour});
    colours.push_back({"macro", macroColour});
    colours.push_back({"braceWord", braceWordColour});
  }
  if (language == "dart") {
    colours.push_back({"method", methodColour});
    colours.push_back({"call", callColour});
  }
  if (language == "proto") {
    colours.push_back({"valueType", valueTypeColour});
    colours.push_back({"number", numberColour});
  }
  return colours;
}

std::string markup(const AttributedText& text, const std::vector<NamedColour>& names) {
  std::string out;
  for (const ColourRun& run : text.runs) {
    std::u16string_view fragment = std::u16string_view(text.text).substr(
        static_cast<std::size_t>(run.range.location), static_cast<std::size_t>(run.range.length));
    if (run.colour == palette::base) {
      out += utf8(fragment);
      continue;
    }
    std::string name = "?" + pairText(run.colour);
    for (const NamedColour& n : names) {
      if (n.colour == run.colour) name = n.name;
    }
    // Each line of a run is marked on its own line.
    bool first = true;
    for (const std::string& line : splitLines(utf8(fragment))) {
      if (!first) out += '\n';
      first = false;
      if (!line.empty()) out += "«" + name + ":" + line + "»";
    }
  }
  return out;
}

std::string highlighted(std::string_view language, std::string_view code) {
  const std::u16string text = utf16(code);
  const Font font = Font::monospacedSystem(15);
  AttributedText result;
  if (language == "schema") {
    result = SchemaSyntaxHighlighter::highlight(text, font);
  } else if (language == "swift") {
    result = SwiftSyntaxHighlighter::highlight(text, font);
  } else if (language == "kotlin") {
    result = KotlinSyntaxHighlighter::highlight(text, font);
  } else if (language == "dart") {
    result = DartSyntaxHighlighter::highlight(text, font);
  } else if (language == "go") {
    result = GoSyntaxHighlighter::highlight(text, font);
  } else if (language == "proto") {
    result = ProtoSyntaxHighlighter::highlight(text, font);
  } else {
    throw std::invalid_argument("no highlighter for " + std::string(language));
  }
  return markup(result, coloursOf(language));
}

std::u16string utf16(std::string_view utf8Text) {
  icu::UnicodeString s = icu::UnicodeString::fromUTF8(
      icu::StringPiece(utf8Text.data(), static_cast<std::int32_t>(utf8Text.size())));
  return std::u16string(s.getBuffer(), static_cast<std::size_t>(s.length()));
}

std::string utf8(std::u16string_view utf16Text) {
  std::string out;
  icu::UnicodeString(false, utf16Text.data(), static_cast<std::int32_t>(utf16Text.size()))
      .toUTF8String(out);
  return out;
}

std::string lineDiff(std::string_view expected, std::string_view actual) {
  if (expected == actual) return {};
  const std::vector<std::string> a = splitLines(expected);
  const std::vector<std::string> b = splitLines(actual);
  // Longest common subsequence of lines; the files are small.
  std::vector<std::vector<std::size_t>> lcs(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = a.size(); i-- > 0;) {
    for (std::size_t j = b.size(); j-- > 0;) {
      lcs[i][j] = a[i] == b[j] ? lcs[i + 1][j + 1] + 1 : std::max(lcs[i + 1][j], lcs[i][j + 1]);
    }
  }
  std::string out;
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() || j < b.size()) {
    if (i < a.size() && j < b.size() && a[i] == b[j]) {
      out += "  " + a[i++] + "\n";
      ++j;
    } else if (i < a.size() && (j == b.size() || lcs[i + 1][j] >= lcs[i][j + 1])) {
      out += "- " + a[i++] + "\n";
    } else {
      out += "+ " + b[j++] + "\n";
    }
  }
  return out;
}

}  // namespace mirel::testing
