#include "telvar/options/swift_meta.h"

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

std::string_view description(SwiftMeta::AccessLevel level) noexcept {
  switch (level) {
    case SwiftMeta::AccessLevel::default_:
      return "";
    case SwiftMeta::AccessLevel::public_:
      return "public ";
    case SwiftMeta::AccessLevel::internal:
      return "internal ";
    case SwiftMeta::AccessLevel::private_:
      return "private ";
  }
  return "";
}

std::string_view description(SwiftMeta::ModelType type) noexcept {
  return type == SwiftMeta::ModelType::class_ ? "class" : "struct";
}

std::string_view description(SwiftMeta::ProtocolType type) noexcept {
  switch (type) {
    case SwiftMeta::ProtocolType::sorbelModel:
      return "SorbelModel";
    case SwiftMeta::ProtocolType::codable:
      return "Codable";
    case SwiftMeta::ProtocolType::decodable:
      return "Decodable";
    case SwiftMeta::ProtocolType::encodable:
      return "Encodable";
  }
  return "Codable";
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
