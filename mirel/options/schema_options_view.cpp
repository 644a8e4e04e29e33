#include "mirel/options/schema_options_view.h"

namespace mirel {

using telvar::SchemaMeta;
using telvar::SchemaOptions;
using telvar::ValueMeta;

SchemaOptionsView::SchemaOptionsView(Binding<SchemaOptions> options, QWidget* parent)
    : OptionsScreen(parent), m_options(std::move(options)) {
  auto valueMeta =
      m_options.project<ValueMeta>(&SchemaOptions::valueMeta, &SchemaOptions::setValueMeta);
  auto schemaMeta =
      m_options.project<SchemaMeta>(&SchemaOptions::schemaMeta, &SchemaOptions::setSchemaMeta);

  addList(addBox(kDefaultSpacing),
          ignoredPropertiesEditor(valueMeta.project<std::vector<telvar::IgnoredProperty>>(
              &ValueMeta::ignoredProperties, &ValueMeta::setIgnoredProperties)));
  addOptionalPropertiesPair(valueMeta);
  addDetectionToggles(valueMeta);
  addPicker(addBox(kDefaultSpacing), QStringLiteral("Property Sorted By"),
            schemaMeta.project<telvar::PropertySortMethod>(&SchemaMeta::propertySortMethod,
                                                           &SchemaMeta::setPropertySortMethod),
            sortMethodChoices());
  reload();
}

}  // namespace mirel
