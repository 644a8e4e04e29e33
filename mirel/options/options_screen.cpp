#include "mirel/options/options_screen.h"

namespace mirel {

using telvar::ValueMeta;

OptionsScreen::OptionsScreen(QWidget* parent) : QWidget(parent) {
  m_body = makeStack(this, kBlockSpacing);
  m_body->setAlignment(Qt::AlignTop);
}

void OptionsScreen::reload() {
  for (const auto& reloadControl : m_reloads) reloadControl();
  for (const auto& rule : m_rules) rule();
}

Box* OptionsScreen::addBox(int spacing) {
  auto* box = new Box(spacing, this);
  m_body->addWidget(box);
  return box;
}

TextFieldBlock* OptionsScreen::addTextField(Box* box, const QString& title,
                                            Binding<std::string> binding, TextFieldKind kind) {
  auto* block = new TextFieldBlock(title, std::move(binding), kind);
  box->add(block);
  return track(block);
}

ToggleBlock* OptionsScreen::addToggle(Box* box, const QString& title, Binding<bool> binding) {
  auto* block = new ToggleBlock(title, std::move(binding));
  box->add(block);
  return track(block);
}

void OptionsScreen::addOptionalPropertiesPair(const Binding<ValueMeta>& valueMeta) {
  Box* box = addBox(kBlockSpacing);
  addToggle(box, QStringLiteral("All Properties Optional"),
            valueMeta.project<bool>(&ValueMeta::allPropertiesOptional,
                                    &ValueMeta::setAllPropertiesOptional));
  auto* editor = addList(
      box, optionalPropertiesEditor(valueMeta.project<std::vector<ValueMeta::OptionalProperty>>(
               &ValueMeta::optionalProperties, &ValueMeta::setOptionalProperties)));
  // Hidden, not removed: the entries stay stored while every property is optional.
  onReload([valueMeta, editor] { editor->setVisible(!valueMeta.get().allPropertiesOptional()); });
}

void OptionsScreen::addDetectionToggles(const Binding<ValueMeta>& valueMeta) {
  Box* box = addBox(kBlockSpacing);
  addToggle(box, QStringLiteral("Detects URL"),
            valueMeta.project<bool>(&ValueMeta::needsDetectURL, &ValueMeta::setNeedsDetectURL));
  addToggle(box, QStringLiteral("Detects ISO 8601 Date"),
            valueMeta.project<bool>(&ValueMeta::needsDetectISO8601Date,
                                    &ValueMeta::setNeedsDetectISO8601Date));
  addToggle(box, QStringLiteral("Detects Time Interval Date"),
            valueMeta.project<bool>(&ValueMeta::needsDetectTimeIntervalDate,
                                    &ValueMeta::setNeedsDetectTimeIntervalDate));
}

std::vector<std::pair<QString, telvar::PropertySortMethod>> sortMethodChoices() {
  return {{QStringLiteral("Default"), telvar::PropertySortMethod::default_},
          {QStringLiteral("Alphabet"), telvar::PropertySortMethod::alphabet}};
}

}  // namespace mirel
