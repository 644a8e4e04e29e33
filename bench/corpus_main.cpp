// Writes a corpus file:
//   telvar_corpus records|nested|text|optional|strings|numbers|deep|wide|wide-records SIZE FILE
// (SIZE in bytes for records, nested, text, optional, strings and numbers; depth for deep; keys
// for wide; records of 2,000 keys each for wide-records).
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "corpus.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr,
                 "usage: telvar_corpus "
                 "records|nested|text|optional|strings|numbers|deep|wide|wide-records SIZE FILE\n");
    return 2;
  }
  const std::string kind = argv[1];
  const long size = std::strtol(argv[2], nullptr, 10);
  std::string text;
  if (kind == "records") {
    text = telvar::bench::recordCorpus(static_cast<std::size_t>(size));
  } else if (kind == "nested") {
    text = telvar::bench::nestedCorpus(static_cast<std::size_t>(size));
  } else if (kind == "text") {
    text = telvar::bench::textCorpus(static_cast<std::size_t>(size));
  } else if (kind == "optional") {
    text = telvar::bench::optionalCorpus(static_cast<std::size_t>(size));
  } else if (kind == "strings") {
    text = telvar::bench::stringCorpus(static_cast<std::size_t>(size));
  } else if (kind == "numbers") {
    text = telvar::bench::numberCorpus(static_cast<std::size_t>(size));
  } else if (kind == "deep") {
    text = telvar::bench::deepCorpus(static_cast<int>(size));
  } else if (kind == "wide") {
    text = telvar::bench::wideCorpus(static_cast<int>(size));
  } else if (kind == "wide-records") {
    text = telvar::bench::wideRecordsCorpus(static_cast<int>(size), 2000);
  } else {
    std::fprintf(stderr, "telvar_corpus: unknown kind %s\n", kind.c_str());
    return 2;
  }
  std::ofstream(argv[3], std::ios::binary) << text;
  return 0;
}
