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

  settings::Setting<std::string> _modelPrefix;                          // default ""
  settings::Setting<std::string, &defaultPackageName> _packageName;     // default "mirel"
  settings::Setting<StructureStyle> _structureStyle;                    // default `nested`
  settings::Setting<PropertyDeclareType> _propertyDeclareType;          // default `val`
  settings::Setting<PropertySortMethod> _propertySortMethod;            // default `default_`
  settings::Setting<std::vector<TypeNameMap>> _typeNameMaps;            // default empty
  settings::Setting<std::vector<PropertyNameMap>> _propertyNameMaps;    // default empty
  settings::Setting<std::vector<Acronym>, &defaultAcronyms> _acronyms;  // "ID", "URL"

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

  [[nodiscard]] std::string modelPrefix() const { return _modelPrefix.read(); }
  void setModelPrefix(std::string value) { _modelPrefix = std::move(value); }
  [[nodiscard]] std::string packageName() const { return _packageName.read(); }
  void setPackageName(std::string value) { _packageName = std::move(value); }
  [[nodiscard]] StructureStyle structureStyle() const { return _structureStyle.read(); }
  void setStructureStyle(StructureStyle value) { _structureStyle = value; }
  [[nodiscard]] PropertyDeclareType propertyDeclareType() const {
    return _propertyDeclareType.read();
  }
  void setPropertyDeclareType(PropertyDeclareType value) { _propertyDeclareType = value; }
  [[nodiscard]] PropertySortMethod propertySortMethod() const { return _propertySortMethod.read(); }
  void setPropertySortMethod(PropertySortMethod value) { _propertySortMethod = value; }
  [[nodiscard]] std::vector<TypeNameMap> typeNameMaps() const { return _typeNameMaps.read(); }
  void setTypeNameMaps(std::vector<TypeNameMap> value) { _typeNameMaps = std::move(value); }
  template <class F>
  void editTypeNameMaps(F&& change) {
    _typeNameMaps.edit(std::forward<F>(change));
  }
  [[nodiscard]] std::vector<PropertyNameMap> propertyNameMaps() const {
    return _propertyNameMaps.read();
  }
  void setPropertyNameMaps(std::vector<PropertyNameMap> value) {
    _propertyNameMaps = std::move(value);
  }
  template <class F>
  void editPropertyNameMaps(F&& change) {
    _propertyNameMaps.edit(std::forward<F>(change));
  }
  /// Unset reads as two new acronyms, "ID" then "URL", with identifiers fresh at every read.
  [[nodiscard]] std::vector<Acronym> acronyms() const { return _acronyms.read(); }
  void setAcronyms(std::vector<Acronym> value) { _acronyms = std::move(value); }
  template <class F>
  void editAcronyms(F&& change) {
    _acronyms.edit(std::forward<F>(change));
  }

  static constexpr auto fields() {
    return std::tuple{settings::Field{"_modelPrefix", &KotlinMeta::_modelPrefix},
                      settings::Field{"_packageName", &KotlinMeta::_packageName},
                      settings::Field{"_structureStyle", &KotlinMeta::_structureStyle},
                      settings::Field{"_propertyDeclareType", &KotlinMeta::_propertyDeclareType},
                      settings::Field{"_propertySortMethod", &KotlinMeta::_propertySortMethod},
                      settings::Field{"_typeNameMaps", &KotlinMeta::_typeNameMaps},
                      settings::Field{"_propertyNameMaps", &KotlinMeta::_propertyNameMaps},
                      settings::Field{"_acronyms", &KotlinMeta::_acronyms}};
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
