#include "mirel/options/kotlin_options_view.h"

namespace mirel {

using telvar::KotlinMeta;
using telvar::KotlinOptions;
using telvar::ValueMeta;

KotlinOptionsView::KotlinOptionsView(Binding<KotlinOptions> options, QWidget* parent)
    : OptionsScreen(parent), m_options(std::move(options)) {
  auto valueMeta =
      m_options.project<ValueMeta>(&KotlinOptions::valueMeta, &KotlinOptions::setValueMeta);
  auto meta =
      m_options.project<KotlinMeta>(&KotlinOptions::kotlinMeta, &KotlinOptions::setKotlinMeta);

  Box* names = addBox(kBlockSpacing);
  addTextField(names, QStringLiteral("Package Name"),
               meta.project<std::string>(&KotlinMeta::packageName, &KotlinMeta::setPackageName),
               TextFieldKind::small);
  addTextField(names, QStringLiteral("Model Prefix"),
               meta.project<std::string>(&KotlinMeta::modelPrefix, &KotlinMeta::setModelPrefix),
               TextFieldKind::big);
  addPicker(names, QStringLiteral("Structure Style"),
            meta.project<KotlinMeta::StructureStyle>(&KotlinMeta::structureStyle,
                                                     &KotlinMeta::setStructureStyle),
            {{QStringLiteral("Nested"), KotlinMeta::StructureStyle::nested},
             {QStringLiteral("Flat"), KotlinMeta::StructureStyle::subtypeLast}});
  addPicker(names, QStringLiteral("Property Declare Type"),
            meta.project<KotlinMeta::PropertyDeclareType>(&KotlinMeta::propertyDeclareType,
                                                          &KotlinMeta::setPropertyDeclareType),
            {{QStringLiteral("Immutable"), KotlinMeta::PropertyDeclareType::val},
             {QStringLiteral("Mutable"), KotlinMeta::PropertyDeclareType::var}});

  addList(addBox(kDefaultSpacing),
          typeNameMapsEditor(meta.project<std::vector<telvar::TypeNameMap>>(
              &KotlinMeta::typeNameMaps, &KotlinMeta::setTypeNameMaps)));
  addList(addBox(kDefaultSpacing),
          ignoredPropertiesEditor(valueMeta.project<std::vector<telvar::IgnoredProperty>>(
              &ValueMeta::ignoredProperties, &ValueMeta::setIgnoredProperties)));
  addOptionalPropertiesPair(valueMeta);

  Box* naming = addBox(kBlockSpacing);
  addList(naming, propertyNameMapsEditor(
                      meta.project<std::vector<telvar::PropertyNameMap>>(
                          &KotlinMeta::propertyNameMaps, &KotlinMeta::setPropertyNameMaps),
                      TextFieldKind::small));
  addList(naming, acronymsEditor(meta.project<std::vector<telvar::Acronym>>(
                      &KotlinMeta::acronyms, &KotlinMeta::setAcronyms)));

  addPicker(addBox(kDefaultSpacing), QStringLiteral("Property Sorted By"),
            meta.project<telvar::PropertySortMethod>(&KotlinMeta::propertySortMethod,
                                                     &KotlinMeta::setPropertySortMethod),
            sortMethodChoices());
  reload();
}

}  // namespace mirel
