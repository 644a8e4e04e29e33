#include "telvar/options/output_options.h"

namespace telvar {

SwiftMeta defaultSwiftMeta() {
  SwiftMeta meta;
  meta._needsInitializer = false;
  return meta;
}

}  // namespace telvar
