#include "mirel/options/dart_options_view.h"

namespace mirel {

using telvar::DartMeta;
using telvar::DartOptions;
using telvar::ValueMeta;

DartOptionsView::DartOptionsView(Binding<DartOptions> options, QWidget* parent)
    : OptionsScreen(parent), m_options(std::move(options)) {
  auto valueMeta =
      m_options.project<ValueMeta>(&DartOptions::valueMeta, &DartOptions::setValueMeta);
  auto meta = m_options.project<DartMeta>(&DartOptions::dartMeta, &DartOptions::setDartMeta);

  addTextField(addBox(kDefaultSpacing), QStringLiteral("Model Prefix"),
               meta.project<std::string>(&DartMeta::modelPrefix, &DartMeta::setModelPrefix),
               TextFieldKind::big);
  addToggle(addBox(kDefaultSpacing), QStringLiteral("All Properties Final"),
            meta.project<bool>(&DartMeta::allPropertiesFinal, &DartMeta::setAllPropertiesFinal));
  addList(addBox(kDefaultSpacing),
          typeNameMapsEditor(meta.project<std::vector<telvar::TypeNameMap>>(
              &DartMeta::typeNameMaps, &DartMeta::setTypeNameMaps)));
  addList(addBox(kDefaultSpacing),
          ignoredPropertiesEditor(valueMeta.project<std::vector<telvar::IgnoredProperty>>(
              &ValueMeta::ignoredProperties, &ValueMeta::setIgnoredProperties)));
  addOptionalPropertiesPair(valueMeta);

  Box* naming = addBox(kBlockSpacing);
  addList(naming,
          propertyNameMapsEditor(meta.project<std::vector<telvar::PropertyNameMap>>(
                                     &DartMeta::propertyNameMaps, &DartMeta::setPropertyNameMaps),
                                 TextFieldKind::small));
  addList(naming, acronymsEditor(meta.project<std::vector<telvar::Acronym>>(
                      &DartMeta::acronyms, &DartMeta::setAcronyms)));

  Box* members = addBox(kBlockSpacing);
  addToggle(members, QStringLiteral("Needs `copyWith`"),
            meta.project<bool>(&DartMeta::needsCopyWith, &DartMeta::setNeedsCopyWith));
  addToggle(members, QStringLiteral("Needs `fromJSON`"),
            meta.project<bool>(&DartMeta::needsFromJSON, &DartMeta::setNeedsFromJSON));
  addToggle(members, QStringLiteral("Needs `toJSON`"),
            meta.project<bool>(&DartMeta::needsToJSON, &DartMeta::setNeedsToJSON));

  addPicker(addBox(kDefaultSpacing), QStringLiteral("Property Sorted By"),
            meta.project<telvar::PropertySortMethod>(&DartMeta::propertySortMethod,
                                                     &DartMeta::setPropertySortMethod),
            sortMethodChoices());
  reload();
}

}  // namespace mirel
