#pragma once

#include <optional>
#include <tuple>

#include "telvar/options/settings.h"
#include "telvar/options/shared_records.h"

namespace telvar {

/// The options of the JSON Schema output besides the value options: the order of each object's
/// properties. A settings record (see options/settings.h).
struct SchemaMeta {
  TELVAR_SETTING(PropertySortMethod, propertySortMethod, PropertySortMethod);  // `default_`

  explicit SchemaMeta(std::optional<PropertySortMethod> propertySortMethod = std::nullopt)
      : _propertySortMethod(propertySortMethod) {}

  static constexpr auto fields() {
    return settings::fieldTable<SchemaMeta>(&SchemaMeta::_propertySortMethod);
  }
  friend bool operator==(const SchemaMeta& a, const SchemaMeta& b) { return settings::equal(a, b); }
};

}  // namespace telvar
