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

  TELVAR_SETTING(std::string, packageName, PackageName, &defaultPackageName);        // "mirel"
  TELVAR_SETTING(StructureStyle, structureStyle, StructureStyle);                    // `nested`
  TELVAR_SETTING(std::vector<TypeNameMap>, typeNameMaps, TypeNameMaps);              // empty
  TELVAR_SETTING(std::vector<PropertyEnumMap>, propertyEnumMaps, PropertyEnumMaps);  // empty

  /// Takes the four settings in field order; each may be left unset.
  ProtoMeta(std::optional<std::string> packageName = std::nullopt,
            std::optional<StructureStyle> structureStyle = std::nullopt,
            std::optional<std::vector<TypeNameMap>> typeNameMaps = std::nullopt,
            std::optional<std::vector<PropertyEnumMap>> propertyEnumMaps = std::nullopt)
      : _packageName(std::move(packageName)),
        _structureStyle(structureStyle),
        _typeNameMaps(std::move(typeNameMaps)),
        _propertyEnumMaps(std::move(propertyEnumMaps)) {}

  static constexpr auto fields() {
    return settings::fieldTable<ProtoMeta>(&ProtoMeta::_packageName, &ProtoMeta::_structureStyle,
                                           &ProtoMeta::_typeNameMaps,
                                           &ProtoMeta::_propertyEnumMaps);
  }
  friend bool operator==(const ProtoMeta& a, const ProtoMeta& b) { return settings::equal(a, b); }
};

template <>
struct EnumCases<ProtoMeta::StructureStyle> {
  static constexpr std::array<std::string_view, 3> names{"nested", "subtypeFirst", "subtypeLast"};
};

}  // namespace telvar
