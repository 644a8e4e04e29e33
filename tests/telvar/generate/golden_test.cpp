// Runs every golden case under tests/golden/<lang>/<NN-slug>/: the sample (input.json, byte
// exact) and the document's settings (document.json, without "id" and "input") must generate
// exactly expected.txt, or nothing when the case holds expected.none.
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <gtest/gtest.h>

#include "telvar/generate/generate.h"
#include "telvar/model/model.h"
#include "telvar/threads/chunks.h"

namespace fs = std::filesystem;

namespace {

struct GoldenCase {
  std::string language;
  fs::path dir;
};

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

std::vector<GoldenCase> goldenCases() {
  std::vector<GoldenCase> cases;
  const fs::path root(TELVAR_GOLDEN_DIR);
  if (!fs::exists(root)) return cases;
  for (const auto& language : fs::directory_iterator(root)) {
    if (!language.is_directory()) continue;
    for (const auto& dir : fs::directory_iterator(language.path())) {
      if (dir.is_directory()) cases.push_back({language.path().filename().string(), dir.path()});
    }
  }
  std::sort(cases.begin(), cases.end(),
            [](const GoldenCase& a, const GoldenCase& b) { return a.dir < b.dir; });
  return cases;
}

std::string unifiedDiff(const std::string& expected, const std::string& actual) {
  const fs::path dir = fs::temp_directory_path();
  const fs::path a = dir / ("golden-expected-" + std::to_string(::getpid()));
  const fs::path b = dir / ("golden-actual-" + std::to_string(::getpid()));
  std::ofstream(a, std::ios::binary) << expected;
  std::ofstream(b, std::ios::binary) << actual;
  std::string command = "diff -u '" + a.string() + "' '" + b.string() + "'";
  std::string out;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
    ::pclose(pipe);
  }
  fs::remove(a);
  fs::remove(b);
  return out;
}

// The model of a case's settings (document.json, without "id" and "input") with `input`.
telvar::Model caseModel(const GoldenCase& c, const std::string& input) {
  auto document = nlohmann::json::parse(readFile(c.dir / "document.json"));
  document["id"] = "6F1C2A3B-4D5E-4F60-8172-93A4B5C6D7E8";
  document["input"] = input;
  return telvar::modelFromDocumentText(document.dump());
}

class Golden : public testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, GeneratesTheExpectedFile) {
  const GoldenCase& c = GetParam();
  const telvar::Model model = caseModel(c, readFile(c.dir / "input.json"));
  auto type = telvar::enumFromRawValue<telvar::OutputType>(c.language);
  ASSERT_TRUE(type.has_value()) << "unknown language folder " << c.language;
  const std::optional<std::string> actual = telvar::output(model, *type);

  if (fs::exists(c.dir / "expected.none")) {
    EXPECT_FALSE(actual.has_value()) << "expected nothing, got:\n" << *actual;
    return;
  }
  std::string expected = readFile(c.dir / "expected.txt");
  // Expected files end with a line feed; generated text never does.
  if (!expected.empty() && expected.back() == '\n') expected.pop_back();
  ASSERT_TRUE(actual.has_value()) << "expected a file, got nothing";
  EXPECT_TRUE(expected == *actual) << unifiedDiff(expected, *actual);
}

// A sample wide enough that its members are refined and written on several threads (run under
// ThreadSanitizer too): a value of every kind (dates of both kinds among them), keys that read as
// names and keys that do not, and nested objects only at the ends, so that a run of plain members
// longer than a thread's share resumes after one.
std::string wideSample() {
  static const char* const kValues[] = {"1",
                                        "\"text\"",
                                        "\"https://example.com/a\"",
                                        "\"2024-01-02T03:04:05Z\"",
                                        "null",
                                        "2.5",
                                        "[1, 2]",
                                        "true",
                                        "1700000000",
                                        "\"1700000000.5\"",
                                        "[[null, \"x\"]]"};
  constexpr int kMembers = 20000;
  std::string sample = "{";
  for (int i = 0; i < kMembers; ++i) {
    if (i > 0) sample += ", ";
    sample +=
        i % 3 == 0 ? "\"m" + std::to_string(i) + "\": " : "\"member_" + std::to_string(i) + "\": ";
    if (i == 1 || i == kMembers - 1) {
      sample += "{\"inner\": 1}";
    } else if (i == kMembers - 3) {
      sample += "[{\"a\": 1}]";
    } else {
      sample += kValues[i % std::size(kValues)];
    }
  }
  return sample + "}";
}

class WideGolden : public testing::TestWithParam<GoldenCase> {};

TEST_P(WideGolden, AWideSampleIsWrittenAsInOnePassWithTheCasesSettings) {
  const GoldenCase& c = GetParam();
  if (telvar::chunksFor(20000, telvar::kMembersAChunk) == 1) {
    GTEST_SKIP() << "one processor: no chunks to test";
  }
  static const std::string sample = wideSample();
  const telvar::Model model = caseModel(c, sample);
  auto type = telvar::enumFromRawValue<telvar::OutputType>(c.language);
  ASSERT_TRUE(type.has_value());
  const std::optional<std::string> chunked = telvar::output(model, *type);
  ASSERT_TRUE(chunked.has_value()) << c.dir;
  const telvar::ChunkLimit onePass(1);
  const std::optional<std::string> whole = telvar::output(model, *type);
  EXPECT_TRUE(chunked == whole) << c.dir << "\n" << unifiedDiff(whole.value_or(""), *chunked);
}

std::string caseName(const testing::TestParamInfo<GoldenCase>& info) {
  std::string name = info.param.language + "_" + info.param.dir.filename().string();
  for (char& ch : name) {
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  }
  return name;
}

// A missing or misplaced folder must not pass as zero cases.
TEST(GoldenCases, EveryOutputTypeHasCases) {
  const std::vector<GoldenCase> cases = goldenCases();
  for (const char* language : {"schema", "swift", "kotlin", "dart", "go", "proto"}) {
    EXPECT_TRUE(std::any_of(cases.begin(), cases.end(),
                            [&](const GoldenCase& c) { return c.language == language; }))
        << "no golden cases for " << language << " under " << TELVAR_GOLDEN_DIR;
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, Golden, testing::ValuesIn(goldenCases()), caseName);
INSTANTIATE_TEST_SUITE_P(Cases, WideGolden, testing::ValuesIn(goldenCases()), caseName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(Golden);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(WideGolden);

}  // namespace
