#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "telvar/options/settings.h"
#include "telvar/options/shared_records.h"

namespace telvar {

/// The options of the Go output besides the value options. A settings record (see
/// options/settings.h).
struct GoMeta {
  /// Where the types of nested objects are written.
  enum class StructureStyle { inline_, subtypeFirst, subtypeLast };

  [[nodiscard]] static std::string defaultPackageName() { return "main"; }

  TELVAR_SETTING(std::string, packageName, PackageName, &defaultPackageName);        // "main"
  TELVAR_SETTING(std::string, modelPrefix, ModelPrefix);                             // ""
  TELVAR_SETTING(StructureStyle, structureStyle, StructureStyle);                    // `inline_`
  TELVAR_SETTING(PropertySortMethod, propertySortMethod, PropertySortMethod);        // `default_`
  TELVAR_SETTING(std::vector<TypeNameMap>, typeNameMaps, TypeNameMaps);              // empty
  TELVAR_SETTING(std::vector<PropertyNameMap>, propertyNameMaps, PropertyNameMaps);  // empty
  /// Unset reads as two new acronyms, "ID" then "URL", with identifiers fresh at every read.
  TELVAR_SETTING(std::vector<Acronym>, acronyms, Acronyms, &defaultAcronyms);

  /// Takes the seven settings in field order; each may be left unset.
  GoMeta(std::optional<std::string> packageName = std::nullopt,
         std::optional<std::string> modelPrefix = std::nullopt,
         std::optional<StructureStyle> structureStyle = std::nullopt,
         std::optional<PropertySortMethod> propertySortMethod = std::nullopt,
         std::optional<std::vector<TypeNameMap>> typeNameMaps = std::nullopt,
         std::optional<std::vector<PropertyNameMap>> propertyNameMaps = std::nullopt,
         std::optional<std::vector<Acronym>> acronyms = std::nullopt)
      : _packageName(std::move(packageName)),
        _modelPrefix(std::move(modelPrefix)),
        _structureStyle(structureStyle),
        _propertySortMethod(propertySortMethod),
        _typeNameMaps(std::move(typeNameMaps)),
        _propertyNameMaps(std::move(propertyNameMaps)),
        _acronyms(std::move(acronyms)) {}

  static constexpr auto fields() {
    return settings::fieldTable<GoMeta>(&GoMeta::_packageName, &GoMeta::_modelPrefix,
                                        &GoMeta::_structureStyle, &GoMeta::_propertySortMethod,
                                        &GoMeta::_typeNameMaps, &GoMeta::_propertyNameMaps,
                                        &GoMeta::_acronyms);
  }
  friend bool operator==(const GoMeta& a, const GoMeta& b) { return settings::equal(a, b); }
};

template <>
struct EnumCases<GoMeta::StructureStyle> {
  static constexpr std::array<std::string_view, 3> names{"inline", "subtypeFirst", "subtypeLast"};
};

}  // namespace telvar
