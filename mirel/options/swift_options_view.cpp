#include "mirel/options/swift_options_view.h"

namespace mirel {

using telvar::SwiftMeta;
using telvar::SwiftOptions;
using telvar::ValueMeta;

namespace {

std::vector<std::pair<QString, SwiftMeta::AccessLevel>> accessLevelChoices() {
  return {{QStringLiteral("Default"), SwiftMeta::AccessLevel::default_},
          {QStringLiteral("Public"), SwiftMeta::AccessLevel::public_},
          {QStringLiteral("Internal"), SwiftMeta::AccessLevel::internal},
          {QStringLiteral("Private"), SwiftMeta::AccessLevel::private_}};
}

}  // namespace

SwiftOptionsView::SwiftOptionsView(Binding<SwiftOptions> options, QWidget* parent)
    : OptionsScreen(parent), m_options(std::move(options)) {
  auto valueMeta =
      m_options.project<ValueMeta>(&SwiftOptions::valueMeta, &SwiftOptions::setValueMeta);
  // An unset Swift meta reads with the initializer flag stored as off, so the first edit of any
  // field here stores that flag too.
  auto meta = m_options.project<SwiftMeta>(&SwiftOptions::swiftMeta, &SwiftOptions::setSwiftMeta);

  Box* model = addBox(kBlockSpacing);
  addTextField(model, QStringLiteral("Model Prefix"),
               meta.project<std::string>(&SwiftMeta::modelPrefix, &SwiftMeta::setModelPrefix),
               TextFieldKind::big);
  addPicker(model, QStringLiteral("Structure Style"),
            meta.project<SwiftMeta::StructureStyle>(&SwiftMeta::structureStyle,
                                                    &SwiftMeta::setStructureStyle),
            {{QStringLiteral("Nested"), SwiftMeta::StructureStyle::nested},
             {QStringLiteral("Extended"), SwiftMeta::StructureStyle::nestedInExtension},
             {QStringLiteral("Flat"), SwiftMeta::StructureStyle::subtypeLast}});
  addPicker(model, QStringLiteral("Model Access Level"),
            meta.project<SwiftMeta::AccessLevel>(&SwiftMeta::modelAccessLevel,
                                                 &SwiftMeta::setModelAccessLevel),
            accessLevelChoices());
  addPicker(model, QStringLiteral("Model Type"),
            meta.project<SwiftMeta::ModelType>(&SwiftMeta::modelType, &SwiftMeta::setModelType),
            {{QStringLiteral("Class"), SwiftMeta::ModelType::class_},
             {QStringLiteral("Struct"), SwiftMeta::ModelType::struct_}});
  addPicker(
      model, QStringLiteral("Protocol Type"),
      meta.project<SwiftMeta::ProtocolType>(&SwiftMeta::protocolType, &SwiftMeta::setProtocolType),
      {{QStringLiteral("SorbelModel"), SwiftMeta::ProtocolType::sorbelModel},
       {QStringLiteral("Codable"), SwiftMeta::ProtocolType::codable},
       {QStringLiteral("Decodable"), SwiftMeta::ProtocolType::decodable},
       {QStringLiteral("Encodable"), SwiftMeta::ProtocolType::encodable}},
      PickerStyle::menu);
  addPicker(model, QStringLiteral("Property Access Level"),
            meta.project<SwiftMeta::AccessLevel>(&SwiftMeta::propertyAccessLevel,
                                                 &SwiftMeta::setPropertyAccessLevel),
            accessLevelChoices());
  addPicker(model, QStringLiteral("Property Declare Type"),
            meta.project<SwiftMeta::PropertyDeclareType>(&SwiftMeta::propertyDeclareType,
                                                         &SwiftMeta::setPropertyDeclareType),
            {{QStringLiteral("Immutable"), SwiftMeta::PropertyDeclareType::let},
             {QStringLiteral("Mutable"), SwiftMeta::PropertyDeclareType::var}});

  Box* macros = addBox(kDefaultSpacing);
  addToggle(macros, QStringLiteral("Use Sorbel Macros"),
            meta.project<bool>(&SwiftMeta::useSorbelMacros, &SwiftMeta::setUseSorbelMacros));

  Box* initializerBox = addBox(kDefaultSpacing);
  addToggle(initializerBox, QStringLiteral("Memberwise Initializer"),
            meta.project<bool>(&SwiftMeta::needsInitializer, &SwiftMeta::setNeedsInitializer));
  auto initializer =
      meta.project<SwiftMeta::Initializer>(&SwiftMeta::initializer, &SwiftMeta::setInitializer);
  auto* initializerSettings = new QWidget;
  QVBoxLayout* settingsStack = makeStack(initializerSettings, kDefaultSpacing);
  settingsStack->setContentsMargins(kNestedInset, 0, 0, 0);
  initializerBox->add(initializerSettings);
  auto* accessBlock = new PickerBlock(
      QStringLiteral("Access Level"),
      makePicker(QStringLiteral("Access Level"),
                 initializer.project<SwiftMeta::AccessLevel>(
                     &SwiftMeta::Initializer::accessLevel, &SwiftMeta::Initializer::setAccessLevel),
                 accessLevelChoices(), PickerCustomModifier::style));
  auto* styleBlock = new PickerBlock(
      QStringLiteral("Style"),
      makePicker(
          QStringLiteral("Style"),
          initializer.project<SwiftMeta::Initializer::Style>(&SwiftMeta::Initializer::style,
                                                             &SwiftMeta::Initializer::setStyle),
          std::vector<std::pair<QString, SwiftMeta::Initializer::Style>>{
              {QStringLiteral("Single Line"), SwiftMeta::Initializer::Style::singleLine},
              {QStringLiteral("Multiple Lines"), SwiftMeta::Initializer::Style::multipleLines}},
          PickerCustomModifier::style));
  settingsStack->addWidget(track(accessBlock));
  settingsStack->addWidget(track(styleBlock));

  Box* typeNames = addBox(kDefaultSpacing);
  addList(typeNames, typeNameMapsEditor(meta.project<std::vector<telvar::TypeNameMap>>(
                         &SwiftMeta::typeNameMaps, &SwiftMeta::setTypeNameMaps)));
  addList(addBox(kDefaultSpacing),
          identifiableTypesEditor(meta.project<std::vector<SwiftMeta::IdentifiableType>>(
              &SwiftMeta::identifiableTypes, &SwiftMeta::setIdentifiableTypes)));
  addList(addBox(kDefaultSpacing),
          ignoredPropertiesEditor(valueMeta.project<std::vector<telvar::IgnoredProperty>>(
              &ValueMeta::ignoredProperties, &ValueMeta::setIgnoredProperties)));
  addList(addBox(kDefaultSpacing),
          dictionaryObjectsEditor(valueMeta.project<std::vector<telvar::DictionaryObject>>(
              &ValueMeta::dictionaryObjects, &ValueMeta::setDictionaryObjects)));
  addOptionalPropertiesPair(valueMeta);
  addList(addBox(kDefaultSpacing),
          propertyEnumMapsEditor(meta.project<std::vector<SwiftMeta::PropertyEnumMap>>(
              &SwiftMeta::propertyEnumMaps, &SwiftMeta::setPropertyEnumMaps)));

  Box* naming = addBox(kBlockSpacing);
  addPicker(naming, QStringLiteral("Property Naming Style"),
            meta.project<SwiftMeta::PropertyNamingStyle>(&SwiftMeta::propertyNamingStyle,
                                                         &SwiftMeta::setPropertyNamingStyle),
            {{QStringLiteral("Default"), SwiftMeta::PropertyNamingStyle::default_},
             {QStringLiteral("Raw"), SwiftMeta::PropertyNamingStyle::raw},
             {QStringLiteral("Snake to Camel"), SwiftMeta::PropertyNamingStyle::snakeToCamel}});
  auto* nameMaps = addList(
      naming,
      propertyNameMapsEditor(meta.project<std::vector<telvar::PropertyNameMap>>(
                                 &SwiftMeta::propertyNameMaps, &SwiftMeta::setPropertyNameMaps),
                             TextFieldKind::small));
  auto* acronyms = addList(naming, acronymsEditor(meta.project<std::vector<telvar::Acronym>>(
                                       &SwiftMeta::acronyms, &SwiftMeta::setAcronyms)));

  addDetectionToggles(valueMeta);
  addPicker(addBox(kDefaultSpacing), QStringLiteral("Property Sorted By"),
            meta.project<telvar::PropertySortMethod>(&SwiftMeta::propertySortMethod,
                                                     &SwiftMeta::setPropertySortMethod),
            sortMethodChoices());

  // Hidden controls keep their stored values and still reach the generator.
  onReload([meta, macros, typeNames, initializerSettings, nameMaps, acronyms] {
    const SwiftMeta current = meta.get();
    const bool sorbel = current.protocolType() == SwiftMeta::ProtocolType::sorbelModel;
    macros->setVisible(sorbel);
    typeNames->setVisible(!sorbel);
    initializerSettings->setVisible(current.needsInitializer());
    const auto naming = current.propertyNamingStyle();
    nameMaps->setVisible(naming != SwiftMeta::PropertyNamingStyle::snakeToCamel);
    acronyms->setVisible(naming == SwiftMeta::PropertyNamingStyle::default_);
  });
  reload();
}

}  // namespace mirel
