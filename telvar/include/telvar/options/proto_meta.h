#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "telvar/options/enum_map.h"
#include "telvar/options/settings.h"
#include "telvar/options/shared_records.h"

namespace telvar {

/// The options of the Protocol Buffers output besides the value options. A settings record (see
/// options/settings.h). The enum maps are stored, compared and coded; the proto output does not
/// read them.
struct ProtoMeta {
  /// Where the messages of nested objects are written.
  enum class StructureStyle { nested, subtypeFirst, subtypeLast };

  struct PropertyEnumMapTag;
  /// An enum map row; `PropertyEnumMap::Case` is one of its cases.
  using PropertyEnumMap = BasicPropertyEnumMap<PropertyEnumMapTag>;

  [[nodiscard]] static std::string defaultPackageName() { return "mirel"; }

  settings::Setting<std::string, &defaultPackageName> _packageName;   // default "mirel"
  settings::Setting<StructureStyle> _structureStyle;                  // default `nested`
  settings::Setting<std::vector<TypeNameMap>> _typeNameMaps;          // default empty
  settings::Setting<std::vector<PropertyEnumMap>> _propertyEnumMaps;  // default empty

  /// Takes the four settings in field order; each may be left unset.
  ProtoMeta(std::optional<std::string> packageName = std::nullopt,
            std::optional<StructureStyle> structureStyle = std::nullopt,
            std::optional<std::vector<TypeNameMap>> typeNameMaps = std::nullopt,
            std::optional<std::vector<PropertyEnumMap>> propertyEnumMaps = std::nullopt)
      : _packageName(std::move(packageName)),
        _structureStyle(structureStyle),
        _typeNameMaps(std::move(typeNameMaps)),
        _propertyEnumMaps(std::move(propertyEnumMaps)) {}

  [[nodiscard]] std::string packageName() const { return _packageName.read(); }
  void setPackageName(std::string value) { _packageName = std::move(value); }
  [[nodiscard]] StructureStyle structureStyle() const { return _structureStyle.read(); }
  void setStructureStyle(StructureStyle value) { _structureStyle = value; }
  [[nodiscard]] std::vector<TypeNameMap> typeNameMaps() const { return _typeNameMaps.read(); }
  void setTypeNameMaps(std::vector<TypeNameMap> value) { _typeNameMaps = std::move(value); }
  template <class F>
  void editTypeNameMaps(F&& change) {
    _typeNameMaps.edit(std::forward<F>(change));
  }
  [[nodiscard]] std::vector<PropertyEnumMap> propertyEnumMaps() const {
    return _propertyEnumMaps.read();
  }
  void setPropertyEnumMaps(std::vector<PropertyEnumMap> value) {
    _propertyEnumMaps = std::move(value);
  }
  template <class F>
  void editPropertyEnumMaps(F&& change) {
    _propertyEnumMaps.edit(std::forward<F>(change));
  }

  static constexpr auto fields() {
    return std::tuple{settings::Field{"_packageName", &ProtoMeta::_packageName},
                      settings::Field{"_structureStyle", &ProtoMeta::_structureStyle},
                      settings::Field{"_typeNameMaps", &ProtoMeta::_typeNameMaps},
                      settings::Field{"_propertyEnumMaps", &ProtoMeta::_propertyEnumMaps}};
  }
  friend bool operator==(const ProtoMeta& a, const ProtoMeta& b) { return settings::equal(a, b); }
};

template <>
struct EnumCases<ProtoMeta::StructureStyle> {
  static constexpr std::array<std::string_view, 3> names{"nested", "subtypeFirst", "subtypeLast"};
};

}  // namespace telvar
