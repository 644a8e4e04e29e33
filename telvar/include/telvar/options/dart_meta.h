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

/// The options of the Dart output besides the value options. A settings record (see
/// options/settings.h).
struct DartMeta {
  /// The order of the classes in the file; Dart classes are never nested.
  enum class StructureStyle { subtypeFirst, subtypeLast };

  TELVAR_SETTING(std::string, modelPrefix, ModelPrefix);  // ""
  TELVAR_SETTING(StructureStyle, structureStyle, StructureStyle,
                 &settings::constant<StructureStyle::subtypeLast>);
  TELVAR_SETTING(PropertySortMethod, propertySortMethod, PropertySortMethod);        // `default_`
  TELVAR_SETTING(bool, allPropertiesFinal, AllPropertiesFinal);                      // false
  TELVAR_SETTING(std::vector<TypeNameMap>, typeNameMaps, TypeNameMaps);              // empty
  TELVAR_SETTING(std::vector<PropertyNameMap>, propertyNameMaps, PropertyNameMaps);  // empty
  /// Unset reads as two new acronyms, "ID" then "URL", with identifiers fresh at every read.
  TELVAR_SETTING(std::vector<Acronym>, acronyms, Acronyms, &defaultAcronyms);
  TELVAR_SETTING(bool, needsCopyWith, NeedsCopyWith);  // false
  TELVAR_SETTING(bool, needsFromJSON, NeedsFromJSON, &settings::constant<true>);
  TELVAR_SETTING(bool, needsToJSON, NeedsToJSON, &settings::constant<true>);

  /// Takes the ten settings in field order; each may be left unset.
  DartMeta(std::optional<std::string> modelPrefix = std::nullopt,
           std::optional<StructureStyle> structureStyle = std::nullopt,
           std::optional<PropertySortMethod> propertySortMethod = std::nullopt,
           std::optional<bool> allPropertiesFinal = std::nullopt,
           std::optional<std::vector<TypeNameMap>> typeNameMaps = std::nullopt,
           std::optional<std::vector<PropertyNameMap>> propertyNameMaps = std::nullopt,
           std::optional<std::vector<Acronym>> acronyms = std::nullopt,
           std::optional<bool> needsCopyWith = std::nullopt,
           std::optional<bool> needsFromJSON = std::nullopt,
           std::optional<bool> needsToJSON = std::nullopt)
      : _modelPrefix(std::move(modelPrefix)),
        _structureStyle(structureStyle),
        _propertySortMethod(propertySortMethod),
        _allPropertiesFinal(allPropertiesFinal),
        _typeNameMaps(std::move(typeNameMaps)),
        _propertyNameMaps(std::move(propertyNameMaps)),
        _acronyms(std::move(acronyms)),
        _needsCopyWith(needsCopyWith),
        _needsFromJSON(needsFromJSON),
        _needsToJSON(needsToJSON) {}

  static constexpr auto fields() {
    return settings::fieldTable<DartMeta>(
        &DartMeta::_modelPrefix, &DartMeta::_structureStyle, &DartMeta::_propertySortMethod,
        &DartMeta::_allPropertiesFinal, &DartMeta::_typeNameMaps, &DartMeta::_propertyNameMaps,
        &DartMeta::_acronyms, &DartMeta::_needsCopyWith, &DartMeta::_needsFromJSON,
        &DartMeta::_needsToJSON);
  }
  friend bool operator==(const DartMeta& a, const DartMeta& b) { return settings::equal(a, b); }
};

template <>
struct EnumCases<DartMeta::StructureStyle> {
  static constexpr std::array<std::string_view, 2> names{"subtypeFirst", "subtypeLast"};
};

}  // namespace telvar
