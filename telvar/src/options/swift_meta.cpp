#include "telvar/options/swift_meta.h"

#include <array>
#include <cstddef>

namespace telvar {

SwiftMeta::SwiftMeta(std::optional<std::string> modelPrefix,
                     std::optional<StructureStyle> structureStyle,
                     std::optional<AccessLevel> modelAccessLevel,
                     std::optional<ModelType> modelType, std::optional<ProtocolType> protocolType,
                     std::optional<AccessLevel> propertyAccessLevel,
                     std::optional<PropertyDeclareType> propertyDeclareType,
                     std::optional<PropertySortMethod> propertySortMethod,
                     std::optional<bool> useSorbelMacros, std::optional<bool> needsInitializer,
                     std::optional<Initializer> initializer,
                     std::optional<std::vector<TypeNameMap>> typeNameMaps,
                     std::optional<std::vector<IdentifiableType>> identifiableTypes,
                     std::optional<std::vector<PropertyNameMap>> propertyNameMaps,
                     std::optional<std::vector<PropertyEnumMap>> propertyEnumMaps,
                     std::optional<PropertyNamingStyle> propertyNamingStyle,
                     std::optional<std::vector<Acronym>> acronyms)
    : _modelPrefix(std::move(modelPrefix)),
      _structureStyle(structureStyle),
      _modelAccessLevel(modelAccessLevel),
      _modelType(modelType),
      _protocolType(protocolType),
      _propertyAccessLevel(propertyAccessLevel),
      _propertyDeclareType(propertyDeclareType),
      _propertySortMethod(propertySortMethod),
      _useSorbelMacros(useSorbelMacros),
      _needsInitializer(needsInitializer),
      _initializer(std::move(initializer)),
      _typeNameMaps(std::move(typeNameMaps)),
      _identifiableTypes(std::move(identifiableTypes)),
      _propertyNameMaps(std::move(propertyNameMaps)),
      _propertyEnumMaps(std::move(propertyEnumMaps)),
      _propertyNamingStyle(propertyNamingStyle),
      _acronyms(std::move(acronyms)) {}

namespace {

// The text of each case of an enumeration, in case order; `fallback` for a value outside them.
template <class E, std::size_t N>
std::string_view caseText(const std::array<std::string_view, N>& texts, E value,
                          std::string_view fallback) noexcept {
  const auto index = static_cast<std::size_t>(value);
  return index < N ? texts[index] : fallback;
}

}  // namespace

std::string_view description(SwiftMeta::AccessLevel level) noexcept {
  static constexpr std::array<std::string_view, 4> kKeywords{"", "public ", "internal ",
                                                             "private "};
  return caseText(kKeywords, level, "");
}

std::string_view description(SwiftMeta::ModelType type) noexcept {
  return type == SwiftMeta::ModelType::class_ ? "class" : "struct";
}

std::string_view description(SwiftMeta::ProtocolType type) noexcept {
  static constexpr std::array<std::string_view, 4> kProtocols{"SorbelModel", "Codable", "Decodable",
                                                              "Encodable"};
  return caseText(kProtocols, type, "Codable");
}

std::string_view description(SwiftMeta::PropertyDeclareType type) noexcept {
  return type == SwiftMeta::PropertyDeclareType::var ? "var" : "let";
}

std::optional<std::string> keyForPath(const std::vector<SwiftMeta::IdentifiableType>& types,
                                      const std::vector<std::string>& keys) {
  const SwiftMeta::IdentifiableType* match = recordForPath(types, keys);
  if (!match) return std::nullopt;
  return match->key();
}

}  // namespace telvar
