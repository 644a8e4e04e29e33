// telvar-gen: the engine from the command line.
//   telvar-gen DOCUMENT [--type TYPE] [--input FILE]   prints the document's generated source
//   telvar-gen DOCUMENT --format [--input FILE]        prints "Format" of the document's input
//                                                      with the document's indentation
//   telvar-gen --format --input FILE                   prints "Format" of FILE with the default
//                                                      indentation
// DOCUMENT is a document file (the JSON form of a model); --input takes the sample text from
// FILE instead of the document's "input"; --type (schema, swift, kotlin, dart, go, proto)
// overrides the document's output type.
// Exit 0 with the text on standard output; 1 with nothing on standard output when the engine
// gives nothing; 2 with a one-line message on standard error when a file cannot be read, the
// document does not decode or the command line is wrong.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "common/allocator_settings.h"
#include "telvar/generate/generate.h"
#include "telvar/model/model.h"
#include "telvar/value/printer.h"

namespace {

constexpr const char* kUsage =
    "usage: telvar-gen DOCUMENT [--format] [--input FILE] "
    "[--type schema|swift|kotlin|dart|go|proto]\n"
    "       telvar-gen --format --input FILE\n";

int usage() {
  std::cerr << kUsage;
  return 2;
}

int fail(const std::string& message) {
  std::cerr << "telvar-gen: " << message << "\n";
  return 2;
}

std::optional<std::string> readFile(const std::string& path) {
  // A directory opens as a stream on some systems but reads as nothing.
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return std::nullopt;
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  // Read straight into one string of the file's size: a stream buffer would hold the sample
  // twice at the moment of copying it out.
  std::string text;
  const auto size = std::filesystem::file_size(path, error);
  if (!error) text.reserve(static_cast<std::size_t>(size));
  char chunk[1 << 16];
  while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
    text.append(chunk, static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) return std::nullopt;
  return text;
}

void print(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fputc('\n', stdout);
}

}  // namespace

int main(int argc, char** argv) {
  telvar::tools::restartWithAllocatorSettings(argv);
  std::vector<std::string> args(argv + 1, argv + argc);
  bool format = false;
  std::string documentPath;
  std::string inputPath;
  std::optional<telvar::OutputType> type;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--format") {
      format = true;
    } else if (args[i] == "--input" && i + 1 < args.size()) {
      inputPath = args[++i];
    } else if (args[i] == "--type" && i + 1 < args.size()) {
      type = telvar::enumFromRawValue<telvar::OutputType>(args[++i]);
      if (!type) return fail("unknown output type \"" + args[i] + "\"");
    } else if (!args[i].starts_with("--") && documentPath.empty()) {
      documentPath = args[i];
    } else {
      return usage();
    }
  }

  std::optional<std::string> input;
  if (!inputPath.empty()) {
    input = readFile(inputPath);
    if (!input) return fail("cannot read " + inputPath);
  }

  if (documentPath.empty()) {
    // The sample alone: only "Format" with the default indentation needs no document.
    if (!format || !input) return usage();
    print(telvar::Formatter::format(*input, telvar::Indentation::default_()));
    return 0;
  }

  std::optional<std::string> documentText = readFile(documentPath);
  if (!documentText) return fail("cannot read " + documentPath);
  std::optional<telvar::Model> model;
  try {
    model = telvar::modelFromDocumentText(*documentText);
  } catch (const telvar::DecodingError& e) {
    return fail(documentPath + ": " + e.what());
  }
  if (input) model->setInput(std::move(*input));
  if (type) model->setOutputType(*type);

  if (format) {
    print(telvar::Formatter::format(model->input(), model->indentation()));
    return 0;
  }
  auto generated = telvar::output(*model, model->outputType());
  if (!generated) return 1;
  print(*generated);
  return 0;
}
