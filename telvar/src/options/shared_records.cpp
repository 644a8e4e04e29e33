#include "telvar/options/shared_records.h"

namespace telvar {

std::vector<Acronym> defaultAcronyms() {
  return {Acronym(Uuid::random(), "ID"), Acronym(Uuid::random(), "URL")};
}

}  // namespace telvar
