#include "model_holder.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "mirel/options/form_blocks.h"
#include "mirel/options/list_editors.h"

namespace mirel::testing {

void ModelHolder::setModel(telvar::Model model) {
  ++m_writes;
  if (model == m_model) return;
  m_model = std::move(model);
  emit modelChanged();
}

Binding<telvar::Model> ModelHolder::binding() {
  return Binding<telvar::Model>([this] { return m_model; },
                                [this](telvar::Model model) { setModel(std::move(model)); });
}

nlohmann::json ModelHolder::json() const {
  return nlohmann::json::parse(telvar::documentText(m_model));
}

FormUnderTest::FormUnderTest(telvar::Model model)
    : holder(std::move(model)), form(holder.binding()) {
  QObject::connect(&holder, &ModelHolder::modelChanged, &form, &OptionsForm::reload);
  form.resize(375, 900);
  form.show();
  form.activateWindow();
  if (!QTest::qWaitForWindowExposed(&form)) qWarning("the form was not exposed");
}

telvar::Model emptyModel(std::optional<telvar::OutputType> type) {
  return telvar::Model(telvar::Uuid::random(), "{}", std::nullopt, std::nullopt, type, std::nullopt,
                       std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt);
}

telvar::Model modelFrom(const nlohmann::json& settings) {
  nlohmann::json document = settings;
  document["id"] = telvar::Uuid::random().text();
  document["input"] = "{}";
  return telvar::modelFromDocumentText(document.dump());
}

bool shown(QWidget* root, QWidget* widget) { return widget && widget->isVisibleTo(root); }

ListEditorFrame* listEditor(QWidget* root, const QString& title) {
  for (auto* editor : root->findChildren<ListEditorFrame*>()) {
    if (editor->title() == title && shown(root, editor)) return editor;
  }
  return nullptr;
}

QCheckBox* toggle(QWidget* root, const QString& title) {
  for (auto* box : root->findChildren<QCheckBox*>()) {
    if (box->accessibleName() == title && shown(root, box)) return box;
  }
  return nullptr;
}

ChoicePicker* picker(QWidget* root, const QString& label) {
  for (auto* choice : root->findChildren<ChoicePicker*>()) {
    if (choice->accessibleName() == label && shown(root, choice)) return choice;
  }
  return nullptr;
}

QLineEdit* textField(QWidget* root, const QString& placeholder) {
  for (auto* field : root->findChildren<QLineEdit*>()) {
    if (field->placeholderText() == placeholder && shown(root, field)) return field;
  }
  return nullptr;
}

QList<QLineEdit*> rowFields(ListEditorFrame* editor, const QString& placeholder) {
  QList<QLineEdit*> fields;
  // Children in layout order: sort by position on screen.
  for (auto* field : editor->findChildren<QLineEdit*>()) {
    if (field->placeholderText() == placeholder && shown(editor, field)) fields << field;
  }
  std::sort(fields.begin(), fields.end(), [editor](QLineEdit* a, QLineEdit* b) {
    return a->mapTo(editor, QPoint()).y() < b->mapTo(editor, QPoint()).y();
  });
  return fields;
}

QStringList rowTexts(ListEditorFrame* editor, const QString& placeholder) {
  QStringList texts;
  for (QLineEdit* field : rowFields(editor, placeholder)) texts << field->text();
  return texts;
}

void clickRemove(ListEditorFrame* editor, int row) {
  QVERIFY(editor);
  QList<QAbstractButton*> buttons = editor->removeButtons();
  QVERIFY(row < buttons.size());
  QTest::mouseClick(buttons[row], Qt::LeftButton);
}

void clickAdd(ListEditorFrame* editor) {
  QVERIFY(editor);
  QTest::mouseClick(editor->addButton(), Qt::LeftButton);
}

void clickSegment(ChoicePicker* picker, const QString& label) {
  QVERIFY(picker);
  if (picker->comboBox()) {
    int index = picker->comboBox()->findText(label);
    QVERIFY(index >= 0);
    picker->comboBox()->setCurrentIndex(index);
    emit picker->comboBox()->activated(index);
    return;
  }
  for (QAbstractButton* segment : picker->segments()) {
    if (segment->text() == label) {
      QTest::mouseClick(segment, Qt::LeftButton);
      return;
    }
  }
  QFAIL(qPrintable(QStringLiteral("no segment ") + label));
}

QString selectedLabel(ChoicePicker* picker) {
  std::optional<int> index = picker->selectedIndex();
  if (!index) return QString();
  if (picker->comboBox()) return picker->comboBox()->itemText(*index);
  return picker->segments()[static_cast<std::size_t>(*index)]->text();
}

}  // namespace mirel::testing
