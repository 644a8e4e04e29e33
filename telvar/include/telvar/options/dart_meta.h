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

  settings::Setting<std::string> _modelPrefix;  // default ""
  settings::Setting<StructureStyle, &settings::constant<StructureStyle::subtypeLast>>
      _structureStyle;
  settings::Setting<PropertySortMethod> _propertySortMethod;            // default `default_`
  settings::Setting<bool> _allPropertiesFinal;                          // default false
  settings::Setting<std::vector<TypeNameMap>> _typeNameMaps;            // default empty
  settings::Setting<std::vector<PropertyNameMap>> _propertyNameMaps;    // default empty
  settings::Setting<std::vector<Acronym>, &defaultAcronyms> _acronyms;  // "ID", "URL"
  settings::Setting<bool> _needsCopyWith;                               // default false
  settings::Setting<bool, &settings::constant<true>> _needsFromJSON;
  settings::Setting<bool, &settings::constant<true>> _needsToJSON;

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

  [[nodiscard]] std::string modelPrefix() const { return _modelPrefix.read(); }
  void setModelPrefix(std::string value) { _modelPrefix = std::move(value); }
  [[nodiscard]] StructureStyle structureStyle() const { return _structureStyle.read(); }
  void setStructureStyle(StructureStyle value) { _structureStyle = value; }
  [[nodiscard]] PropertySortMethod propertySortMethod() const { return _propertySortMethod.read(); }
  void setPropertySortMethod(PropertySortMethod value) { _propertySortMethod = value; }
  [[nodiscard]] bool allPropertiesFinal() const { return _allPropertiesFinal.read(); }
  void setAllPropertiesFinal(bool value) { _allPropertiesFinal = value; }
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
  [[nodiscard]] bool needsCopyWith() const { return _needsCopyWith.read(); }
  void setNeedsCopyWith(bool value) { _needsCopyWith = value; }
  [[nodiscard]] bool needsFromJSON() const { return _needsFromJSON.read(); }
  void setNeedsFromJSON(bool value) { _needsFromJSON = value; }
  [[nodiscard]] bool needsToJSON() const { return _needsToJSON.read(); }
  void setNeedsToJSON(bool value) { _needsToJSON = value; }

  static constexpr auto fields() {
    return std::tuple{settings::Field{"_modelPrefix", &DartMeta::_modelPrefix},
                      settings::Field{"_structureStyle", &DartMeta::_structureStyle},
                      settings::Field{"_propertySortMethod", &DartMeta::_propertySortMethod},
                      settings::Field{"_allPropertiesFinal", &DartMeta::_allPropertiesFinal},
                      settings::Field{"_typeNameMaps", &DartMeta::_typeNameMaps},
                      settings::Field{"_propertyNameMaps", &DartMeta::_propertyNameMaps},
                      settings::Field{"_acronyms", &DartMeta::_acronyms},
                      settings::Field{"_needsCopyWith", &DartMeta::_needsCopyWith},
                      settings::Field{"_needsFromJSON", &DartMeta::_needsFromJSON},
                      settings::Field{"_needsToJSON", &DartMeta::_needsToJSON}};
  }
  friend bool operator==(const DartMeta& a, const DartMeta& b) { return settings::equal(a, b); }
};

template <>
struct EnumCases<DartMeta::StructureStyle> {
  static constexpr std::array<std::string_view, 2> names{"subtypeFirst", "subtypeLast"};
};

}  // namespace telvar
