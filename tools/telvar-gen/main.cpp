// telvar-gen: the engine from the command line.
//   telvar-gen --format --input FILE     prints "Format" of FILE with the default indentation
// Exit 0 with the text on standard output; 1 when the engine gives nothing; 2 when a file cannot
// be read (with a one-line message on standard error).
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "telvar/value/printer.h"

namespace {

int usage() {
  std::cerr << "usage: telvar-gen --format --input FILE\n";
  return 2;
}

bool readFile(const std::string& path, std::string& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::ostringstream buffer;
  buffer << in.rdbuf();
  out = buffer.str();
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  bool format = false;
  std::string inputPath;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--format") {
      format = true;
    } else if (args[i] == "--input" && i + 1 < args.size()) {
      inputPath = args[++i];
    } else {
      return usage();
    }
  }
  if (!format || inputPath.empty()) return usage();
  std::string input;
  if (!readFile(inputPath, input)) {
    std::cerr << "telvar-gen: cannot read " << inputPath << "\n";
    return 2;
  }
  std::string out = telvar::Formatter::format(input, telvar::Indentation::default_());
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fputc('\n', stdout);
  return 0;
}
