#include "mirel/options/go_options_view.h"

namespace mirel {

using telvar::GoMeta;
using telvar::GoOptions;
using telvar::ValueMeta;

GoOptionsView::GoOptionsView(Binding<GoOptions> options, QWidget* parent)
    : OptionsScreen(parent), m_options(std::move(options)) {
  auto valueMeta = m_options.project<ValueMeta>(&GoOptions::valueMeta, &GoOptions::setValueMeta);
  auto meta = m_options.project<GoMeta>(&GoOptions::goMeta, &GoOptions::setGoMeta);

  Box* names = addBox(kBlockSpacing);
  addTextField(names, QStringLiteral("Package Name"),
               meta.project<std::string>(&GoMeta::packageName, &GoMeta::setPackageName),
               TextFieldKind::small);
  addTextField(names, QStringLiteral("Model Prefix"),
               meta.project<std::string>(&GoMeta::modelPrefix, &GoMeta::setModelPrefix),
               TextFieldKind::big);
  addPicker(
      names, QStringLiteral("Structure Style"),
      meta.project<GoMeta::StructureStyle>(&GoMeta::structureStyle, &GoMeta::setStructureStyle),
      {{QStringLiteral("Inline"), GoMeta::StructureStyle::inline_},
       {QStringLiteral("Flat"), GoMeta::StructureStyle::subtypeLast}});

  addList(addBox(kDefaultSpacing),
          typeNameMapsEditor(meta.project<std::vector<telvar::TypeNameMap>>(
              &GoMeta::typeNameMaps, &GoMeta::setTypeNameMaps)));
  addList(addBox(kDefaultSpacing),
          ignoredPropertiesEditor(valueMeta.project<std::vector<telvar::IgnoredProperty>>(
              &ValueMeta::ignoredProperties, &ValueMeta::setIgnoredProperties)));
  addOptionalPropertiesPair(valueMeta);

  Box* naming = addBox(kBlockSpacing);
  // On this screen a property-name map's name takes the look of a type name.
  addList(naming,
          propertyNameMapsEditor(meta.project<std::vector<telvar::PropertyNameMap>>(
                                     &GoMeta::propertyNameMaps, &GoMeta::setPropertyNameMaps),
                                 TextFieldKind::big));
  addList(naming, acronymsEditor(meta.project<std::vector<telvar::Acronym>>(&GoMeta::acronyms,
                                                                            &GoMeta::setAcronyms)));

  addPicker(addBox(kDefaultSpacing), QStringLiteral("Property Sorted By"),
            meta.project<telvar::PropertySortMethod>(&GoMeta::propertySortMethod,
                                                     &GoMeta::setPropertySortMethod),
            sortMethodChoices());
  reload();
}

}  // namespace mirel
