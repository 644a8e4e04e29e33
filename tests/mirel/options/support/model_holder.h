#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <nlohmann/json.hpp>

#include "mirel/options/binding.h"
#include "mirel/options/options_form.h"
#include "telvar/model/model.h"

class QCheckBox;
class QLineEdit;
class QWidget;

namespace mirel {

class ChoicePicker;
class ListEditorFrame;

namespace testing {

/// Stands in for the document while the form is tested alone: holds one model, stores what the
/// form writes and says so, as the document does.
class ModelHolder : public QObject {
  Q_OBJECT
 public:
  explicit ModelHolder(telvar::Model model) : m_model(std::move(model)) {}
  [[nodiscard]] const telvar::Model& model() const { return m_model; }
  void setModel(telvar::Model model);
  /// The binding the editor window gives the form: reads and writes this holder's model.
  [[nodiscard]] Binding<telvar::Model> binding();
  /// The model's document JSON.
  [[nodiscard]] nlohmann::json json() const;
  [[nodiscard]] int writes() const { return m_writes; }

 signals:
  void modelChanged();

 private:
  telvar::Model m_model;
  int m_writes = 0;
};

/// A form over a holder's model, shown at the width of the options column and re-read on every
/// change, as the editor window does.
class FormUnderTest {
 public:
  explicit FormUnderTest(telvar::Model model);
  ModelHolder holder;
  OptionsForm form;
  /// The JSON of the shown output type's options record, e.g. json()["_swiftOptions"].
  [[nodiscard]] nlohmann::json json() const { return holder.json(); }
};

/// A new document's model: fresh id, empty input, every setting unset.
[[nodiscard]] telvar::Model emptyModel(std::optional<telvar::OutputType> type = std::nullopt);
/// A model read from document JSON written in a test ("id" and "input" added).
[[nodiscard]] telvar::Model modelFrom(const nlohmann::json& settings);

// Finding the real controls as a user sees them (only those shown).
[[nodiscard]] ListEditorFrame* listEditor(QWidget* root, const QString& title);
[[nodiscard]] QCheckBox* toggle(QWidget* root, const QString& title);
[[nodiscard]] ChoicePicker* picker(QWidget* root, const QString& label);
[[nodiscard]] QLineEdit* textField(QWidget* root, const QString& placeholder);
/// The shown text fields of a list editor's rows, in order.
[[nodiscard]] QList<QLineEdit*> rowFields(ListEditorFrame* editor, const QString& placeholder);
/// The texts of those fields.
[[nodiscard]] QStringList rowTexts(ListEditorFrame* editor, const QString& placeholder);
/// Clicks the remove button of row `row` of a list editor (its own rows, not nested ones).
void clickRemove(ListEditorFrame* editor, int row);
/// Clicks the add button of a list editor.
void clickAdd(ListEditorFrame* editor);
/// Clicks the segment `label` of a segmented picker.
void clickSegment(ChoicePicker* picker, const QString& label);
/// The label of the selected choice, or the empty text when none is.
[[nodiscard]] QString selectedLabel(ChoicePicker* picker);
/// True when `widget` is shown inside `root`.
[[nodiscard]] bool shown(QWidget* root, QWidget* widget);

}  // namespace testing
}  // namespace mirel

/// Compares two JSON values by their text (QCOMPARE cannot take nlohmann's values directly).
#define JSON_COMPARE(actual, expected)                            \
  QCOMPARE(QString::fromStdString(nlohmann::json(actual).dump()), \
           QString::fromStdString(nlohmann::json(expected).dump()))
