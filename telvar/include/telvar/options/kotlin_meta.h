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

/// The options of the Kotlin output besides the value options. A settings record (see
/// options/settings.h).
struct KotlinMeta {
  /// Where the classes of nested objects are written.
  enum class StructureStyle { nested, subtypeFirst, subtypeLast };
  /// The keyword of every property declaration; its case name is also its text.
  enum class PropertyDeclareType { val, var };

  [[nodiscard]] static std::string defaultPackageName() { return "mirel"; }

  TELVAR_SETTING(std::string, modelPrefix, ModelPrefix);                             // ""
  TELVAR_SETTING(std::string, packageName, PackageName, &defaultPackageName);        // "mirel"
  TELVAR_SETTING(StructureStyle, structureStyle, StructureStyle);                    // `nested`
  TELVAR_SETTING(PropertyDeclareType, propertyDeclareType, PropertyDeclareType);     // `val`
  TELVAR_SETTING(PropertySortMethod, propertySortMethod, PropertySortMethod);        // `default_`
  TELVAR_SETTING(std::vector<TypeNameMap>, typeNameMaps, TypeNameMaps);              // empty
  TELVAR_SETTING(std::vector<PropertyNameMap>, propertyNameMaps, PropertyNameMaps);  // empty
  /// Unset reads as two new acronyms, "ID" then "URL", with identifiers fresh at every read.
  TELVAR_SETTING(std::vector<Acronym>, acronyms, Acronyms, &defaultAcronyms);

  /// Takes every setting, each may be left unset: the package name first, then the model
  /// prefix, then the others in field order.
  KotlinMeta(std::optional<std::string> packageName = std::nullopt,
             std::optional<std::string> modelPrefix = std::nullopt,
             std::optional<StructureStyle> structureStyle = std::nullopt,
             std::optional<PropertyDeclareType> propertyDeclareType = std::nullopt,
             std::optional<PropertySortMethod> propertySortMethod = std::nullopt,
             std::optional<std::vector<TypeNameMap>> typeNameMaps = std::nullopt,
             std::optional<std::vector<PropertyNameMap>> propertyNameMaps = std::nullopt,
             std::optional<std::vector<Acronym>> acronyms = std::nullopt)
      : _modelPrefix(std::move(modelPrefix)),
        _packageName(std::move(packageName)),
        _structureStyle(structureStyle),
        _propertyDeclareType(propertyDeclareType),
        _propertySortMethod(propertySortMethod),
        _typeNameMaps(std::move(typeNameMaps)),
        _propertyNameMaps(std::move(propertyNameMaps)),
        _acronyms(std::move(acronyms)) {}

  static constexpr auto fields() {
    return settings::fieldTable<KotlinMeta>(
        &KotlinMeta::_modelPrefix, &KotlinMeta::_packageName, &KotlinMeta::_structureStyle,
        &KotlinMeta::_propertyDeclareType, &KotlinMeta::_propertySortMethod,
        &KotlinMeta::_typeNameMaps, &KotlinMeta::_propertyNameMaps, &KotlinMeta::_acronyms);
  }
  friend bool operator==(const KotlinMeta& a, const KotlinMeta& b) { return settings::equal(a, b); }
};

template <>
struct EnumCases<KotlinMeta::StructureStyle> {
  static constexpr std::array<std::string_view, 3> names{"nested", "subtypeFirst", "subtypeLast"};
};
template <>
struct EnumCases<KotlinMeta::PropertyDeclareType> {
  static constexpr std::array<std::string_view, 2> names{"val", "var"};
};

}  // namespace telvar
