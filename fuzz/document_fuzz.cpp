// Document decoding: any bytes give a model or a DecodingError; a model that reads writes a
// document that reads back equal.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "telvar/model/model.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  try {
    telvar::Model model = telvar::modelFromDocumentText(text);
    telvar::Model again = telvar::modelFromDocumentText(telvar::documentText(model));
    if (!(again == model)) std::abort();
  } catch (const telvar::DecodingError&) {
  }
  return 0;
}
