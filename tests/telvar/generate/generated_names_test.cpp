// Random samples with hostile keys, key names repeated at different paths, nulls and nested
// lists, generated with a fixed seed. In every output type and structure style the members of a
// type must have distinct names, and so must the types of one scope; Go files must build and read
// their samples back, and protoc must accept proto files.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "telvar/generate/generate.h"
#include "telvar/model/model.h"

namespace fs = std::filesystem;

namespace telvar {
namespace {

// Keys that collide after name conversion, are reserved somewhere, or need escaping.
const std::vector<std::string> kKeys{
    "item",        "items",        "data",    "Data", "user_id",
    "userId",      "UserID",       "a-b",     "a b",  "",
    "_",           "__",           "-",       "$ref", "1st",
    "type",        "class",        "default", "id",   "\xE5\x90\x8D",
    "caf\xC3\xA9", "cafe\xCC\x81", "x\"y",    "b\\s", "l\nf",
    "List",        "String",       "Value",   "URL",  "Date",
    "CodingKeys",  "list",         "meta",    "self", "init",
    "a`b",         "toJSON",       "hashCode"};

// Random objects whose shapes vary with the path: every value at one path (the keys from the root,
// "[]" for a list's elements) has one kind, so that the merge of a list's elements keeps every
// member, as samples from one source do. Which keys an object has, how long lists are and where
// nulls stand are random.
class Samples {
 public:
  explicit Samples(unsigned seed) : m_random(seed) {}

  std::string object(int depth, const std::string& path = "") {
    const int members = pick(6) + 1;
    std::set<std::string> used;
    std::string out = "{";
    for (int i = 0; i < members; ++i) {
      const std::string& key = kKeys[static_cast<std::size_t>(pick(kKeys.size()))];
      if (!used.insert(key).second) continue;
      if (out.size() > 1) out += ',';
      out += quoted(key) + ":" + value(depth, path + "." + key);
    }
    return out + "}";
  }

 private:
  int pick(std::size_t n) {
    return std::uniform_int_distribution<int>(0, static_cast<int>(n) - 1)(m_random);
  }

  // The same choice for the same path, in every run.
  static std::size_t fixed(const std::string& path, std::size_t n) {
    std::size_t h = 14695981039346656037u;
    for (unsigned char c : path) h = (h ^ c) * 1099511628211u;
    return h % n;
  }

  static std::string quoted(const std::string& key) {
    std::string out = "\"";
    for (char c : key) {
      if (c == '"' || c == '\\') out += '\\';
      if (c == '\n') {
        out += "\\n";
        continue;
      }
      out += c;
    }
    return out + "\"";
  }

  std::string scalar(const std::string& path) {
    if (pick(5) == 0) return "null";
    switch (fixed(path + "#", 4)) {
      case 0:
        return std::to_string(pick(100));
      case 1:
        return pick(2) ? "2.5" : "7";  // ints widen to doubles
      case 2:
        return "\"t\"";
      default:
        return pick(2) ? "true" : "false";
    }
  }

  std::string list(int depth, const std::string& path) {
    const std::string element = path + "[]";
    const std::size_t kind = depth > 0 ? fixed(element, 3) : 2;
    const int count = pick(3) + 1;
    std::string out = "[";
    for (int i = 0; i < count; ++i) {
      if (i) out += ',';
      if (pick(4) == 0) {
        out += "null";
      } else if (kind == 0) {
        out += object(depth - 1, element);
      } else if (kind == 1) {
        out += list(depth - 1, element);
      } else {
        out += scalar(element);
      }
    }
    return out + "]";
  }

  std::string value(int depth, const std::string& path) {
    const std::size_t kind = depth > 0 ? fixed(path, 4) : 0;
    if (kind == 1) return object(depth - 1, path);
    if (kind == 2) return list(depth - 1, path);
    return scalar(path);
  }

  std::mt19937 m_random;
};

struct Target {
  OutputType type;
  std::string language;
  std::string options;
};

const std::vector<Target>& targets() {
  static const std::vector<Target> all{
      {OutputType::swift, "swift",
       R"("_swiftOptions":{"_swiftMeta":{"_structureStyle":"nested"}})"},
      {OutputType::swift, "swift",
       R"("_swiftOptions":{"_swiftMeta":{"_structureStyle":"subtypeFirst"}})"},
      {OutputType::kotlin, "kotlin",
       R"("_kotlinOptions":{"_kotlinMeta":{"_structureStyle":"nested"}})"},
      {OutputType::kotlin, "kotlin",
       R"("_kotlinOptions":{"_kotlinMeta":{"_structureStyle":"subtypeLast"}})"},
      {OutputType::dart, "dart", R"("_dartOptions":{})"},
      {OutputType::go, "go", R"("_goOptions":{"_goMeta":{"_structureStyle":"inline"}})"},
      {OutputType::go, "go", R"("_goOptions":{"_goMeta":{"_structureStyle":"subtypeFirst"}})"},
      {OutputType::proto, "proto",
       R"("_protoOptions":{"_protoMeta":{"_structureStyle":"nested"}})"},
      {OutputType::proto, "proto",
       R"("_protoOptions":{"_protoMeta":{"_structureStyle":"subtypeFirst"}})"},
  };
  return all;
}

std::optional<std::string> generated(const Target& target, const std::string& input) {
  Model model = modelFromDocumentText(
      R"({"id": "6F1C2A3B-4D5E-4F60-8172-93A4B5C6D7E8", "input": "", )" + target.options + "}");
  model.setInput(input);
  return output(model, target.type);
}

// The declarations of a generated file, read by indentation: a declaration opens a scope that
// holds the lines indented deeper than it. Reports every member name repeated in one type and
// every type name repeated in one scope.
class Declarations {
 public:
  explicit Declarations(const std::string& language) {
    if (language == "swift") {
      m_type = R"(^(\s*)(?:private |public |internal )?(?:struct|class|enum) (`?[^ :{`]+`?))";
      m_member = R"(^\s*(?:private |public |internal )?(?:let|var) (`?[^ :`]+`?):)";
    } else if (language == "kotlin") {
      m_type = R"(^(\s*)(?:data )?class (`[^`]+`|[^ (]+))";
      m_member = R"(^\s*(?:val|var) (`[^`]+`|[^ :]+):)";
    } else if (language == "dart") {
      m_type = R"(^(\s*)class ([^ ]+) \{)";
      m_member = R"(^\s+(?:final )?[^ (]+ ([^ (]+);$)";
    } else if (language == "go") {
      m_type = R"(^(\s*)type ([^ ]+) )";
      m_member = R"(^\s+([^ ]+) .*(?:struct \{|[`"]json))";
      m_anonymous = std::regex(R"(struct \{$)");
    } else {
      m_type = R"(^(\s*)message ([^ ]+) \{)";
      m_member = R"(^\s+(?:repeated |optional )?[^ ]+ ([^ ]+) = \d+)";
    }
  }

  std::vector<std::string> problems(const std::string& text) const {
    struct Scope {
      std::size_t indent;
      std::set<std::string> members;
      std::set<std::string> types;
    };
    std::vector<Scope> stack{{0, {}, {}}};  // the file's own scope is never left
    std::vector<std::string> found;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
      const std::size_t indent = line.find_first_not_of(' ');
      if (indent == std::string::npos) continue;
      const char first = line[indent];
      if (first == '}' || first == ')') continue;  // closers and the lines that follow them
      while (stack.size() > 1 && stack.back().indent >= indent) stack.pop_back();
      std::smatch match;
      if (std::regex_search(line, match, m_type)) {
        const std::string name = match[2];
        if (!stack.back().types.insert(name).second) found.push_back("type " + name);
        stack.push_back({indent, {}, {}});
        continue;
      }
      if (stack.size() > 1 && std::regex_search(line, match, m_member)) {
        const std::string name = match[1];
        if (!stack.back().members.insert(name).second) found.push_back("member " + name);
        // A Go field of an anonymous struct type opens that struct's scope.
        if (m_anonymous && std::regex_search(line, *m_anonymous)) {
          stack.push_back({indent, {}, {}});
        }
      }
    }
    return found;
  }

 private:
  std::regex m_type;
  std::regex m_member;
  std::optional<std::regex> m_anonymous;
};

// Writes `text` and its sample as one case of the golden layout.
void writeCase(const fs::path& dir, const std::string& input, const std::string& text) {
  fs::create_directories(dir);
  std::ofstream(dir / "input.json", std::ios::binary) << input;
  std::ofstream(dir / "expected.txt", std::ios::binary) << text << "\n";
}

TEST(GeneratedNames, AreDistinctAndGoAndProtoFilesBuild) {
  Samples samples(20261209);
  const fs::path work = fs::path(TELVAR_TEST_WORK_DIR) / "generated-names";
  fs::remove_all(work / "go");
  fs::remove_all(work / "proto");
  std::map<std::string, Declarations> readers;
  for (const Target& target : targets()) readers.try_emplace(target.language, target.language);

  int written = 0;
  for (int n = 0; n < 100; ++n) {
    const std::string input = samples.object(3);
    for (std::size_t t = 0; t < targets().size(); ++t) {
      const Target& target = targets()[t];
      const std::optional<std::string> text = generated(target, input);
      ASSERT_TRUE(text) << input;
      const std::vector<std::string> problems = readers.at(target.language).problems(*text);
      EXPECT_TRUE(problems.empty()) << "repeated " << problems.front() << " in " << target.options
                                    << " for " << input << ":\n"
                                    << *text;
      if (target.type == OutputType::go || target.type == OutputType::proto) {
        writeCase(work / target.language / (std::to_string(n) + "-" + std::to_string(t)), input,
                  *text);
        ++written;
      }
    }
  }
  ASSERT_GT(written, 0);
  const std::string scripts = TELVAR_SCRIPTS_DIR;
  const std::string go = scripts + "/check-go-compiles '" + (work / "go").string() + "' '" +
                         (work / "go-work").string() + "'";
  EXPECT_EQ(std::system(go.c_str()), 0)
      << "Go files that do not build or read back, under " << (work / "go");
  const std::string proto = scripts + "/check-proto-compiles '" + (work / "proto").string() +
                            "' '" + (work / "proto-work").string() + "'";
  EXPECT_EQ(std::system(proto.c_str()), 0)
      << "proto files protoc rejects, under " << (work / "proto");
}

}  // namespace
}  // namespace telvar
