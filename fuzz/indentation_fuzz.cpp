// Hostile indentation from a document file: long units, units of any text, huge and negative
// levels. Whatever they are, every output type and "Format" come out as they do with the unit
// cut to its bound and the level clamped to 0...100: nothing grows beyond that.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "telvar/generate/generate.h"
#include "telvar/model/model.h"
#include "telvar/value/printer.h"

namespace {

[[noreturn]] void violation(const char* what, const telvar::Indentation& indentation,
                            std::string_view sample) {
  std::fprintf(stderr, "indentation_fuzz: %s\nlevel %lld, unit of %zu bytes\nsample: %.*s\n", what,
               static_cast<long long>(indentation.level), indentation.unit.size(),
               static_cast<int>(sample.size()), sample.data());
  std::abort();
}

// A unit of `length` bytes made of one repeated piece: whitespace, letters, multi-byte text
// (which the bound may cut in the middle of a character), marks that join their neighbours.
std::string unitOf(std::uint8_t kind, std::size_t length) {
  static const char* const kPieces[] = {" ",      "\t", "x",  "\r\n",       "\u00e9", "\u0301",
                                        "\u0600", "\"", "\\", "\U0001F44D", "\n"};
  const std::string_view piece = kind % 12 == 11 ? std::string_view("\0", 1) : kPieces[kind % 12];
  std::string unit;
  unit.reserve(length + piece.size());
  while (unit.size() < length) unit += piece;
  return unit;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 5) return 0;
  // Five bytes pick the indentation and the output; the rest is the sample.
  static const std::int64_t kLevels[] = {
      std::numeric_limits<std::int64_t>::min(), -1, 0, 1, 7, 100, 101, 1'000'000'000'000,
      std::numeric_limits<std::int64_t>::max()};
  const std::size_t length = std::size_t{data[1]} << 8 | data[2];  // up to 65,535 bytes
  telvar::Indentation hostile{kLevels[data[3] % 9], unitOf(data[0] & 0x7F, length)};
  const std::string sample(reinterpret_cast<const char*>(data + 5), size - 5);

  telvar::Indentation tame{hostile.effectiveLevel(), std::string(hostile.effectiveUnit())};
  if (tame.unit.size() > telvar::Indentation::kMaxUnitBytes)
    violation("unit not cut", hostile, sample);

  const unsigned pick = data[4] % 7;
  if (pick == 6) {
    const telvar::Outcome a = telvar::Formatter::checkedFormat(sample, hostile);
    const telvar::Outcome b = telvar::Formatter::checkedFormat(sample, tame);
    if (a.text != b.text) violation("Format uses more of the unit than its bound", hostile, sample);
    return 0;
  }
  const auto type = static_cast<telvar::OutputType>(pick);
  const auto generated = [&](const telvar::Indentation& indentation) {
    telvar::Model model(telvar::Uuid::random(), sample, indentation, std::nullopt, std::nullopt,
                        std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                        std::nullopt);
    return telvar::checkedOutput(model, type);
  };
  const telvar::Outcome a = generated(hostile);
  if (!a.failure.empty()) violation("ran out of memory", hostile, sample);
  if (a.text != generated(tame).text) {
    violation("a generator uses more of the unit or level than their bounds", hostile, sample);
  }
  return 0;
}
