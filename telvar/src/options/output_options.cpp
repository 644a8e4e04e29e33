#include "telvar/options/output_options.h"

namespace telvar {

SwiftMeta SwiftOptions::defaultSwiftMeta() {
  SwiftMeta meta;
  meta._needsInitializer = false;
  return meta;
}

}  // namespace telvar
