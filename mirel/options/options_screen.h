#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <QString>
#include <QVBoxLayout>
#include <QWidget>

#include "mirel/options/binding.h"
#include "mirel/options/form_blocks.h"
#include "mirel/options/list_editors.h"
#include "telvar/options/value_meta.h"

namespace mirel {

/// The common ground of the six option screens: a column of boxes with spacing 16, built once,
/// whose every control and visibility rule is re-read by `reload()`. A screen holds only the
/// binding to its output type's options record; each control binds to a projection of it.
class OptionsScreen : public QWidget {
  Q_OBJECT
 public:
  /// Re-reads every control and decides again which boxes and blocks are shown.
  void reload();

 protected:
  explicit OptionsScreen(QWidget* parent = nullptr);

  /// A new box at the end of the column; its section stack has `spacing`.
  Box* addBox(int spacing);
  /// Registers `control` to be re-read on every reload and returns it.
  template <class W>
  W* track(W* control) {
    m_reloads.push_back([control] { control->reload(); });
    return control;
  }
  /// Registers a rule run on every reload after the controls (visibility rules).
  void onReload(std::function<void()> rule) { m_rules.push_back(std::move(rule)); }

  TextFieldBlock* addTextField(Box* box, const QString& title, Binding<std::string> binding,
                               TextFieldKind kind);
  ToggleBlock* addToggle(Box* box, const QString& title, Binding<bool> binding);
  template <class E>
  PickerBlock* addPicker(Box* box, const QString& title, Binding<E> binding,
                         std::vector<std::pair<QString, E>> choices,
                         PickerStyle style = PickerCustomModifier::style) {
    auto* block =
        new PickerBlock(title, makePicker(title, std::move(binding), std::move(choices), style));
    box->add(block);
    return track(block);
  }
  /// Adds a list editor to `box` and registers it.
  template <class Editor>
  Editor* addList(Box* box, Editor* editor) {
    box->add(editor);
    return track(editor);
  }
  /// The box of "All Properties Optional" and, while it is off, the "Optional Properties" list.
  void addOptionalPropertiesPair(const Binding<telvar::ValueMeta>& valueMeta);
  /// The three detection toggles of the value options, in one box with spacing 16.
  void addDetectionToggles(const Binding<telvar::ValueMeta>& valueMeta);

 private:
  QVBoxLayout* m_body;
  std::vector<std::function<void()>> m_reloads;
  std::vector<std::function<void()>> m_rules;
};

/// Labels and cases of the property order picker, shared by five screens.
[[nodiscard]] std::vector<std::pair<QString, telvar::PropertySortMethod>> sortMethodChoices();

}  // namespace mirel
