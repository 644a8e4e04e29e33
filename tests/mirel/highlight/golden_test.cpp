// Golden files: each sample of generated code beside its expected markup (markup.h), compared
// whole. Expected files are written from the highlighters' rules and reviewed line by line.

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <gtest/gtest.h>

#include "markup.h"

namespace mirel::testing {
namespace {

namespace fs = std::filesystem;

struct GoldenCase {
  std::string language;
  fs::path sample;
};

void PrintTo(const GoldenCase& golden, std::ostream* out) { *out << golden.sample; }

std::vector<GoldenCase> goldenCases() {
  std::vector<GoldenCase> cases;
  for (const char* language : {"schema", "swift", "kotlin", "dart", "go", "proto"}) {
    const fs::path dir = fs::path(MIREL_HIGHLIGHT_GOLDEN_DIR) / language;
    if (!fs::is_directory(dir)) continue;
    std::vector<fs::path> samples;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
      if (entry.path().extension() != ".expected") samples.push_back(entry.path());
    }
    std::sort(samples.begin(), samples.end());
    for (const fs::path& sample : samples) cases.push_back({language, sample});
  }
  return cases;
}

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

class Golden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(Golden, MatchesTheExpectedMarkup) {
  const GoldenCase& golden = GetParam();
  fs::path expectedPath = golden.sample;
  expectedPath.replace_extension(".expected");
  ASSERT_TRUE(fs::exists(expectedPath)) << expectedPath;
  const std::string actual = highlighted(golden.language, readFile(golden.sample));
  const std::string expected = readFile(expectedPath);
  EXPECT_TRUE(actual == expected) << golden.sample << " differs from " << expectedPath << ":\n"
                                  << lineDiff(expected, actual);
}

TEST(GoldenFiles, ExistForEveryOutputType) {
  std::set<std::string> languages;
  for (const GoldenCase& golden : goldenCases()) languages.insert(golden.language);
  EXPECT_EQ(languages.size(), 6u);
}

INSTANTIATE_TEST_SUITE_P(Highlighters, Golden, ::testing::ValuesIn(goldenCases()),
                         [](const ::testing::TestParamInfo<GoldenCase>& info) {
                           std::string name =
                               info.param.language + "_" + info.param.sample.stem().string();
                           std::replace_if(
                               name.begin(), name.end(),
                               [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); },
                               '_');
                           return name;
                         });

}  // namespace
}  // namespace mirel::testing
