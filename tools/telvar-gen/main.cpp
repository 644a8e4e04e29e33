// telvar-gen: the engine from the command line.
//   telvar-gen DOCUMENT [--type TYPE] [--input FILE]   prints the document's generated source
//   telvar-gen DOCUMENT --format [--input FILE]        prints "Format" of the document's input
//                                                      with the document's indentation
//   telvar-gen --format --input FILE                   prints "Format" of FILE with the default
//                                                      indentation
//   telvar-gen --help                                  prints the usage
// DOCUMENT is a document file (the JSON form of a model); --input takes the sample text from
// FILE instead of the document's "input"; --type (schema, swift, kotlin, dart, go, proto)
// overrides the document's output type.
// Exit 0 with the text on standard output; 1 with nothing on standard output when the engine
// gives nothing; 2 with a one-line message on standard error when a file cannot be read, the
// document does not decode, the command line is wrong, memory runs out or the output cannot be
// written (a large file goes out as it is generated, so part of it may stand before the
// message).
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <variant>
#include <vector>

#include "common/allocator_settings.h"
#include "telvar/generate/generate.h"
#include "telvar/model/model.h"
#include "telvar/value/printer.h"
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* kUsage =
    "usage: telvar-gen DOCUMENT [--format] [--input FILE] "
    "[--type schema|swift|kotlin|dart|go|proto]\n"
    "       telvar-gen --format --input FILE\n"
    "       telvar-gen --help\n";

// A message keeps to one line whatever a path, a value or a key holds: control characters are
// written as escapes.
std::string oneLine(std::string_view text) {
  std::string out;
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    if (c == '\n') {
      out += "\\n";
    } else if (c == '\r') {
      out += "\\r";
    } else if (c == '\t') {
      out += "\\t";
    } else if (b < 0x20 || b == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", b);
      out += escape;
    } else {
      out += c;
    }
  }
  return out;
}

// A path or an option value inside a message: quoted, with quotation marks and backslashes
// escaped so that the quotes show where it ends.
std::string inQuotes(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

int fail(std::string_view message) {
  std::fprintf(stderr, "telvar-gen: %s\n", oneLine(message).c_str());
  return 2;
}

int usageError(std::string_view message) {
  return fail(std::string(message) + " (see telvar-gen --help)");
}

// The system's reason for an error number, in the lower case of the rest of the message.
std::string reason(int error) {
  std::string text = std::generic_category().message(error);
  if (!text.empty() && text[0] >= 'A' && text[0] <= 'Z') text[0] = static_cast<char>(text[0] + 32);
  return text;
}

// Reads the rest of an open file into `text`; 0, or the error number.
int readAll(int fd, const struct stat& info, std::string& text) {
  // Read straight into one string of the file's size: a stream buffer would hold the text
  // twice at the moment of copying it out.
  if (S_ISREG(info.st_mode)) text.reserve(static_cast<std::size_t>(info.st_size));
  char chunk[1 << 16];
  for (;;) {
    const ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n > 0) {
      text.append(chunk, static_cast<std::size_t>(n));
    } else if (n == 0) {
      return 0;
    } else if (errno != EINTR) {
      return errno;
    }
  }
}

// A file's text, read whole or (when `mapped` and it is a regular file with text) mapped; or
// why it cannot be read ("no such file or directory", "permission denied", "is a directory").
//
// A sample file is mapped rather than read: its pages are in the page cache already, and a copy
// takes as much fresh memory again, which is what costs most on this kind of machine (a 50 MB
// sample: about 0.1 s of page faults for the copy, a third of that to map it). Anything else (a
// pipe, an empty file, a system that will not map it) is read. A file cut short by another
// program while it is mapped ends the run with a bus error, as in any program that maps its
// input.
class FileText {
 public:
  FileText() = default;
  FileText(const FileText&) = delete;
  FileText& operator=(const FileText&) = delete;
  FileText(FileText&& other) noexcept
      : m_mapped(std::exchange(other.m_mapped, nullptr)),
        m_size(std::exchange(other.m_size, 0)),
        m_read(std::move(other.m_read)) {}
  FileText& operator=(FileText&&) = delete;
  ~FileText() {
    if (m_mapped) ::munmap(m_mapped, m_size);
  }

  [[nodiscard]] std::string_view text() const noexcept {
    return m_mapped ? std::string_view(static_cast<const char*>(m_mapped), m_size)
                    : std::string_view(m_read);
  }

  static std::variant<FileText, std::string> open(const std::string& path, bool mapped) {
    using Result = std::variant<FileText, std::string>;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return Result(std::in_place_index<1>, reason(errno));
    struct stat info {};
    FileText file;
    int error = 0;
    if (::fstat(fd, &info) != 0) {
      error = errno;
    } else if (S_ISDIR(info.st_mode)) {
      error = EISDIR;
    } else {
      if (mapped && S_ISREG(info.st_mode) && info.st_size > 0) {
        const auto size = static_cast<std::size_t>(info.st_size);
        void* at = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
        if (at != MAP_FAILED) {
          file.m_mapped = at;
          file.m_size = size;
        }
      }
      if (!file.m_mapped) error = readAll(fd, info, file.m_read);
    }
    ::close(fd);
    if (error != 0) return Result(std::in_place_index<1>, reason(error));
    return Result(std::in_place_index<0>, std::move(file));
  }

 private:
  void* m_mapped = nullptr;
  std::size_t m_size = 0;
  std::string m_read;
};

// Writes the text and a line feed; 0, or 2 with the reason when standard output did not take
// all of it (a full disk, a closed stream) now or in `failedBefore`, the error number of an
// earlier write of the same output: a result that was never written is no success.
int print(const std::string& text, int failedBefore = 0) {
  if (failedBefore != 0) return fail("cannot write output: " + reason(failedBefore));
  errno = 0;
  bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
                 std::fputc('\n', stdout) != EOF;
  written = std::fflush(stdout) == 0 && written && !std::ferror(stdout);
  if (written) return 0;
  return fail("cannot write output: " + reason(errno != 0 ? errno : EIO));
}

int printOutcome(const telvar::Outcome& outcome, int failedBefore = 0) {
  if (!outcome.failure.empty()) return fail(outcome.failure);
  if (!outcome.text) return 1;
  return print(*outcome.text, failedBefore);
}

int run(const std::vector<std::string>& args) {
  bool format = false;
  std::string documentPath;
  std::optional<std::string> inputPath;
  std::optional<telvar::OutputType> type;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      std::fputs(kUsage, stdout);
      return std::fflush(stdout) == 0 && !std::ferror(stdout)
                 ? 0
                 : fail("cannot write output: " + reason(errno != 0 ? errno : EIO));
    } else if (arg == "--format") {
      format = true;
    } else if (arg == "--input" || arg == "--type") {
      if (i + 1 >= args.size()) return usageError(arg + " needs a value");
      const std::string& value = args[++i];
      if (arg == "--input") {
        inputPath = value;
      } else {
        type = telvar::enumFromRawValue<telvar::OutputType>(value);
        if (!type) return usageError("unknown output type " + inQuotes(value));
      }
    } else if (arg.starts_with("-") && arg != "-") {
      return usageError("unknown option " + inQuotes(arg));
    } else if (documentPath.empty()) {
      documentPath = arg;
    } else {
      return usageError("more than one document: " + inQuotes(arg));
    }
  }

  // Shared, so that generation can let go of it once it is parsed.
  std::shared_ptr<const FileText> input;
  if (inputPath) {
    auto read = FileText::open(*inputPath, true);
    if (read.index() == 1)
      return fail("cannot read " + inQuotes(*inputPath) + ": " + std::get<1>(read));
    input = std::make_shared<const FileText>(std::move(std::get<0>(read)));
  }

  if (documentPath.empty()) {
    // The sample alone: only "Format" with the default indentation needs no document.
    if (!format || !input) return usageError("no document given");
    return printOutcome(
        telvar::Formatter::checkedFormat(input->text(), telvar::Indentation::default_()));
  }

  std::optional<telvar::Model> model;
  {
    const auto document = FileText::open(documentPath, true);
    if (document.index() == 1) {
      return fail("cannot read " + inQuotes(documentPath) + ": " + std::get<1>(document));
    }
    try {
      model = telvar::modelFromDocumentText(std::get<0>(document).text());
    } catch (const telvar::DecodingError& e) {
      return fail(inQuotes(documentPath) + ": " + e.what());
    }
  }  // the document's text goes once it is decoded
  if (type) model->setOutputType(*type);
  // A sample file takes the place of the document's input, without being copied into the model.
  if (input) model->setInput(std::string());
  const std::string_view sample = input ? input->text() : std::string_view(model->input());

  if (format) return printOutcome(telvar::Formatter::checkedFormat(sample, model->indentation()));
  // The file goes out as it is written rather than held whole. After a write fails nothing more
  // is written, and its reason is the one given at the end.
  int failedWrite = 0;
  const telvar::TextDrain drain = [&failedWrite](std::string_view text) {
    if (failedWrite != 0) return;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) {
      failedWrite = errno != 0 ? errno : EIO;
    }
  };
  const telvar::Outcome outcome = telvar::checkedOutput(
      *model, telvar::SampleText{sample, std::move(input)}, model->outputType(), drain);
  return printOutcome(outcome, failedWrite);
}

}  // namespace

int main(int argc, char** argv) {
  telvar::tools::applyAllocatorSettings();
  try {
    return run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::bad_alloc&) {
    // What the engine's entry points do not cover: reading the files, the command line.
    return fail("out of memory");
  }
}
