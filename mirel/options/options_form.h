#pragma once

#include <array>

#include <QWidget>

#include "mirel/options/binding.h"
#include "telvar/model/model.h"

class QLineEdit;

namespace mirel {

class ChoicePicker;
class OptionsScreen;

/// The document-wide settings and the options of the chosen output type: a box with "Indent
/// Width", "Output Type" and (except for JSON Schema) "Model Name", above the option screen of
/// the model's output type (Swift while unset). Every control writes through `model`; the form
/// holds no copy of it and shows the latest model after `reload()`.
///
/// The screen of each output type is made the first time it is shown and kept, so switching the
/// output type back and forth shows each type's options as the model holds them.
class OptionsForm : public QWidget {
  Q_OBJECT
 public:
  explicit OptionsForm(Binding<telvar::Model> model, QWidget* parent = nullptr);
  /// Re-reads every control from the binding (called on every change of the model).
  void reload();

  [[nodiscard]] ChoicePicker* indentWidthPicker() const { return m_indentWidth; }
  [[nodiscard]] ChoicePicker* outputTypePicker() const { return m_outputType; }
  [[nodiscard]] QLineEdit* modelNameField() const;
  /// The section of "Model Name" (title and field).
  [[nodiscard]] QWidget* modelNameSection() const { return m_modelNameSection; }
  /// The option screen shown now.
  [[nodiscard]] OptionsScreen* currentScreen() const;

 private:
  OptionsScreen* screenFor(telvar::OutputType type);

  Binding<telvar::Model> m_model;
  ChoicePicker* m_indentWidth;
  ChoicePicker* m_outputType;
  QWidget* m_modelNameSection;
  class TextFieldBlock* m_modelName;
  std::array<OptionsScreen*, 6> m_screens{};
  QLayout* m_layout;
};

}  // namespace mirel
