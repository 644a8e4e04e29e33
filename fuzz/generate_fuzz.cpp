// Whole-file generation: any sample gives a file or nothing for every output type, and a file is
// never the header alone.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "telvar/generate/generate.h"
#include "telvar/model/model.h"

namespace {

// Detection on, so the URL, date and enum paths are reached too.
telvar::ValueMeta detectingEverything() {
  telvar::ValueMeta meta;
  meta.setNeedsDetectURL(true);
  meta.setNeedsDetectISO8601Date(true);
  meta.setNeedsDetectTimeIntervalDate(true);
  return meta;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the structure of the options; the rest is the sample.
  const bool detect = data[0] & 1;
  const std::string sample(reinterpret_cast<const char*>(data + 1), size - 1);
  telvar::Model model(telvar::Uuid::random(), sample, std::nullopt, std::nullopt, std::nullopt,
                      std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                      std::nullopt);
  if (detect) {
    telvar::SwiftOptions swift;
    swift._valueMeta = detectingEverything();
    model.setSwiftOptions(swift);
  }
  for (auto type :
       {telvar::OutputType::schema, telvar::OutputType::swift, telvar::OutputType::kotlin,
        telvar::OutputType::dart, telvar::OutputType::go, telvar::OutputType::proto}) {
    auto file = telvar::output(model, type);
    if (file && file->empty()) std::abort();
  }
  return 0;
}
