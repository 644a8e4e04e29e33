#pragma once

#include <optional>
#include <tuple>

#include "telvar/options/settings.h"
#include "telvar/options/shared_records.h"

namespace telvar {

/// The options of the JSON Schema output besides the value options: the order of each object's
/// properties. A settings record (see options/settings.h).
struct SchemaMeta {
  settings::Setting<PropertySortMethod> _propertySortMethod;  // default `default_`

  explicit SchemaMeta(std::optional<PropertySortMethod> propertySortMethod = std::nullopt)
      : _propertySortMethod(propertySortMethod) {}

  [[nodiscard]] PropertySortMethod propertySortMethod() const { return _propertySortMethod.read(); }
  void setPropertySortMethod(PropertySortMethod value) { _propertySortMethod = value; }

  static constexpr auto fields() {
    return std::tuple{settings::Field{"_propertySortMethod", &SchemaMeta::_propertySortMethod}};
  }
  friend bool operator==(const SchemaMeta& a, const SchemaMeta& b) { return settings::equal(a, b); }
};

}  // namespace telvar
