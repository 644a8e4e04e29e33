#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "telvar/options/enum_map.h"
#include "telvar/options/path_lookup.h"
#include "telvar/options/settings.h"
#include "telvar/options/shared_records.h"
#include "telvar/options/uuid.h"

namespace telvar {

/// Every option of the Swift output: naming, layout of nested types, access levels, declaration
/// kinds, protocols, macros, initializers, identifiable types and per-path maps. A settings
/// record (see options/settings.h): every option is unset until written, and reads as its
/// default while unset.
struct SwiftMeta {
  /// Where nested declarations are placed.
  enum class StructureStyle { nested, nestedInExtension, subtypeFirst, subtypeLast };
  /// The access keyword of a declaration; `default_` writes none.
  enum class AccessLevel { default_, public_, internal, private_ };
  /// "struct" or "class".
  enum class ModelType { struct_, class_ };
  /// The protocol the models conform to.
  enum class ProtocolType { sorbelModel, codable, decodable, encodable };
  /// "let" or "var" in property lines.
  enum class PropertyDeclareType { let, var };
  /// Which property-name rule applies.
  enum class PropertyNamingStyle { default_, raw, snakeToCamel };

  /// Access level and layout of the memberwise initializer; a settings record of its own.
  struct Initializer {
    enum class Style { singleLine, multipleLines };

    TELVAR_SETTING(AccessLevel, accessLevel, AccessLevel);  // `default_`
    TELVAR_SETTING(Style, style, Style);                    // `singleLine`

    Initializer(std::optional<AccessLevel> accessLevel = std::nullopt,
                std::optional<Style> style = std::nullopt)
        : _accessLevel(accessLevel), _style(style) {}

    static constexpr auto fields() {
      return settings::fieldTable<Initializer>(&Initializer::_accessLevel, &Initializer::_style);
    }
    friend bool operator==(const Initializer& a, const Initializer& b) {
      return settings::equal(a, b);
    }
  };

  /// An object at a key path that conforms to "Identifiable"; `key` is the JSON key of the member
  /// that identifies it. JSON: {"id", "path", "key"}, all required.
  struct IdentifiableTypeTag;
  class IdentifiableType : public BasicPathRecord<IdentifiableTypeTag> {
   public:
    IdentifiableType(Uuid id, std::string path, std::string key)
        : BasicPathRecord(id, std::move(path)), m_key(std::move(key)) {}

    [[nodiscard]] const std::string& key() const noexcept { return m_key; }
    void setKey(std::string key) { m_key = std::move(key); }

    static constexpr auto fields() {
      return settings::fieldTable<IdentifiableType>(
          BasicPathRecord::fields(), settings::Field{"key", &IdentifiableType::m_key});
    }
    friend bool operator==(const IdentifiableType& a, const IdentifiableType& b) {
      return settings::equal(a, b);
    }

   private:
    friend struct settings::Access;
    IdentifiableType() = default;

    std::string m_key;
  };

  struct PropertyEnumMapTag;
  /// A member at a key path that becomes an enumeration; `PropertyEnumMap::Case` is one case.
  using PropertyEnumMap = BasicPropertyEnumMap<PropertyEnumMapTag>;

  TELVAR_SETTING(std::string, modelPrefix, ModelPrefix);  // ""
  TELVAR_SETTING(StructureStyle, structureStyle, StructureStyle,
                 &settings::constant<StructureStyle::nested>);
  TELVAR_SETTING(AccessLevel, modelAccessLevel, ModelAccessLevel);  // `default_`
  TELVAR_SETTING(ModelType, modelType, ModelType);                  // `struct_`
  TELVAR_SETTING(ProtocolType, protocolType, ProtocolType,
                 &settings::constant<ProtocolType::codable>);
  TELVAR_SETTING(AccessLevel, propertyAccessLevel, PropertyAccessLevel);          // `default_`
  TELVAR_SETTING(PropertyDeclareType, propertyDeclareType, PropertyDeclareType);  // `let`
  TELVAR_SETTING(PropertySortMethod, propertySortMethod, PropertySortMethod);     // `default_`
  TELVAR_SETTING(bool, useSorbelMacros, UseSorbelMacros);                         // false
  TELVAR_SETTING(bool, needsInitializer, NeedsInitializer);                       // false
  /// Unset reads as an `Initializer` whose own fields are unset.
  TELVAR_SETTING(Initializer, initializer, Initializer);
  TELVAR_SETTING(std::vector<TypeNameMap>, typeNameMaps, TypeNameMaps);  // empty
  TELVAR_SETTING(std::vector<IdentifiableType>, identifiableTypes, IdentifiableTypes);
  TELVAR_SETTING(std::vector<PropertyNameMap>, propertyNameMaps, PropertyNameMaps);
  TELVAR_SETTING(std::vector<PropertyEnumMap>, propertyEnumMaps, PropertyEnumMaps);
  TELVAR_SETTING(PropertyNamingStyle, propertyNamingStyle, PropertyNamingStyle);  // `default_`
  /// Unset reads as two new acronyms, "ID" then "URL", with identifiers fresh at every read.
  TELVAR_SETTING(std::vector<Acronym>, acronyms, Acronyms, &defaultAcronyms);

  /// Takes the seventeen stored fields in order; each may be left unset.
  SwiftMeta(std::optional<std::string> modelPrefix = std::nullopt,
            std::optional<StructureStyle> structureStyle = std::nullopt,
            std::optional<AccessLevel> modelAccessLevel = std::nullopt,
            std::optional<ModelType> modelType = std::nullopt,
            std::optional<ProtocolType> protocolType = std::nullopt,
            std::optional<AccessLevel> propertyAccessLevel = std::nullopt,
            std::optional<PropertyDeclareType> propertyDeclareType = std::nullopt,
            std::optional<PropertySortMethod> propertySortMethod = std::nullopt,
            std::optional<bool> useSorbelMacros = std::nullopt,
            std::optional<bool> needsInitializer = std::nullopt,
            std::optional<Initializer> initializer = std::nullopt,
            std::optional<std::vector<TypeNameMap>> typeNameMaps = std::nullopt,
            std::optional<std::vector<IdentifiableType>> identifiableTypes = std::nullopt,
            std::optional<std::vector<PropertyNameMap>> propertyNameMaps = std::nullopt,
            std::optional<std::vector<PropertyEnumMap>> propertyEnumMaps = std::nullopt,
            std::optional<PropertyNamingStyle> propertyNamingStyle = std::nullopt,
            std::optional<std::vector<Acronym>> acronyms = std::nullopt);

  static constexpr auto fields() {
    return settings::fieldTable<SwiftMeta>(
        &SwiftMeta::_modelPrefix, &SwiftMeta::_structureStyle, &SwiftMeta::_modelAccessLevel,
        &SwiftMeta::_modelType, &SwiftMeta::_protocolType, &SwiftMeta::_propertyAccessLevel,
        &SwiftMeta::_propertyDeclareType, &SwiftMeta::_propertySortMethod,
        &SwiftMeta::_useSorbelMacros, &SwiftMeta::_needsInitializer, &SwiftMeta::_initializer,
        &SwiftMeta::_typeNameMaps, &SwiftMeta::_identifiableTypes, &SwiftMeta::_propertyNameMaps,
        &SwiftMeta::_propertyEnumMaps, &SwiftMeta::_propertyNamingStyle, &SwiftMeta::_acronyms);
  }
  friend bool operator==(const SwiftMeta& a, const SwiftMeta& b) { return settings::equal(a, b); }
};

template <>
struct EnumCases<SwiftMeta::StructureStyle> {
  static constexpr std::array<std::string_view, 4> names{"nested", "nestedInExtension",
                                                         "subtypeFirst", "subtypeLast"};
};
template <>
struct EnumCases<SwiftMeta::AccessLevel> {
  static constexpr std::array<std::string_view, 4> names{"default", "public", "internal",
                                                         "private"};
};
template <>
struct EnumCases<SwiftMeta::ModelType> {
  static constexpr std::array<std::string_view, 2> names{"struct", "class"};
};
template <>
struct EnumCases<SwiftMeta::ProtocolType> {
  static constexpr std::array<std::string_view, 4> names{"sorbelModel", "codable", "decodable",
                                                         "encodable"};
};
template <>
struct EnumCases<SwiftMeta::PropertyDeclareType> {
  static constexpr std::array<std::string_view, 2> names{"let", "var"};
};
template <>
struct EnumCases<SwiftMeta::PropertyNamingStyle> {
  static constexpr std::array<std::string_view, 3> names{"default", "raw", "snakeToCamel"};
};
template <>
struct EnumCases<SwiftMeta::Initializer::Style> {
  static constexpr std::array<std::string_view, 2> names{"singleLine", "multipleLines"};
};

/// The keyword text with a trailing blank ("public "); the empty text for `default_`.
[[nodiscard]] std::string_view description(SwiftMeta::AccessLevel level) noexcept;
/// "struct" or "class".
[[nodiscard]] std::string_view description(SwiftMeta::ModelType type) noexcept;
/// "SorbelModel", "Codable", "Decodable" or "Encodable".
[[nodiscard]] std::string_view description(SwiftMeta::ProtocolType type) noexcept;
/// "let" or "var".
[[nodiscard]] std::string_view description(SwiftMeta::PropertyDeclareType type) noexcept;

/// The `key` of the identifiable type that the key path selects (see `recordForPath`), or
/// nothing.
[[nodiscard]] std::optional<std::string> keyForPath(
    const std::vector<SwiftMeta::IdentifiableType>& types, const std::vector<std::string>& keys);

}  // namespace telvar
