#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "mirel/options/form_blocks.h"
#include "mirel/options/kotlin_options_view.h"
#include "mirel/options/swift_options_view.h"
#include "support/model_holder.h"

using nlohmann::json;
using telvar::OutputType;
namespace t = mirel::testing;

class OptionsFormTest : public QObject {
  Q_OBJECT

 private slots:
  void aModelWithoutSettingsShowsSwiftAndTheNameUnknown() {
    t::FormUnderTest ui(t::emptyModel());
    QComboBox* types = ui.form.outputTypePicker()->comboBox();
    QVERIFY(types);
    QStringList labels;
    for (int i = 0; i < types->count(); ++i) labels << types->itemText(i);
    QCOMPARE(labels, QStringList({"JSON Schema", "Swift", "Kotlin", "Dart", "Go", "Proto"}));
    QCOMPARE(types->currentText(), "Swift");
    QVERIFY(qobject_cast<mirel::SwiftOptionsView*>(ui.form.currentScreen()));
    QCOMPARE(ui.form.modelNameField()->text(), "Unknown");
    QCOMPARE(ui.form.modelNameField()->placeholderText(), "Model Name");
    QCOMPARE(t::selectedLabel(ui.form.indentWidthPicker()), "2 Spaces");
  }

  void theModelNameIsHiddenForJSONSchemaAndClearedToTheEmptyText() {
    t::FormUnderTest ui(t::emptyModel());
    QLineEdit* name = ui.form.modelNameField();
    name->selectAll();
    QTest::keyClick(name, Qt::Key_Backspace);
    JSON_COMPARE(ui.json()["_modelName"], "");
    QCOMPARE(name->text(), QString());
    QTest::keyClicks(name, "User");

    t::clickSegment(ui.form.outputTypePicker(), "JSON Schema");
    JSON_COMPARE(ui.json()["_outputType"], "schema");
    QVERIFY(!t::shown(&ui.form, ui.form.modelNameSection()));
    t::clickSegment(ui.form.outputTypePicker(), "Go");
    QVERIFY(t::shown(&ui.form, ui.form.modelNameSection()));
    QCOMPARE(name->text(), "User");
  }

  void fourSpacesKeepsTheIndentationLevel() {
    t::FormUnderTest ui(t::modelFrom(json::parse(R"({"_indentation":{"level":3,"unit":"  "}})")));
    t::clickSegment(ui.form.indentWidthPicker(), "4 Spaces");
    JSON_COMPARE(ui.json()["_indentation"], json::parse(R"({"level":3,"unit":"    "})"));
    QCOMPARE(t::selectedLabel(ui.form.indentWidthPicker()), "4 Spaces");
  }

  void switchingTheOutputTypeBackAndForthKeepsEveryTypesOptions() {
    t::FormUnderTest ui(t::emptyModel());
    QTest::keyClicks(t::textField(&ui.form, "Model Prefix"), "NS");
    t::clickSegment(ui.form.outputTypePicker(), "Kotlin");
    QVERIFY(qobject_cast<mirel::KotlinOptionsView*>(ui.form.currentScreen()));
    QCOMPARE(t::textField(&ui.form, "Model Prefix")->text(), QString());
    QTest::keyClicks(t::textField(&ui.form, "Package Name"), ".app");

    t::clickSegment(ui.form.outputTypePicker(), "Swift");
    QCOMPARE(t::textField(&ui.form, "Model Prefix")->text(), "NS");
    QVERIFY(!t::textField(&ui.form, "Package Name"));
    t::clickSegment(ui.form.outputTypePicker(), "Kotlin");
    QCOMPARE(t::textField(&ui.form, "Package Name")->text(), "mirel.app");
    JSON_COMPARE(ui.json()["_swiftOptions"]["_swiftMeta"]["_modelPrefix"], "NS");
    JSON_COMPARE(ui.json()["_kotlinOptions"]["_kotlinMeta"]["_packageName"], "mirel.app");
  }

  void aModelChangedElsewhereIsShownWithoutMovingTheCaret() {
    t::FormUnderTest ui(t::emptyModel());
    QLineEdit* name = ui.form.modelNameField();
    name->setFocus();
    name->setCursorPosition(3);
    QTest::keyClicks(name, "xy");
    QCOMPARE(name->text(), "Unkxynown");
    QCOMPARE(name->cursorPosition(), 5);
    QCOMPARE(QApplication::focusWidget(), name);

    // As an undo would: the whole model replaced from outside.
    telvar::Model other = ui.holder.model();
    other.setModelName("Order");
    other.setOutputType(OutputType::dart);
    ui.holder.setModel(other);
    QCOMPARE(name->text(), "Order");
    QCOMPARE(ui.form.outputTypePicker()->comboBox()->currentText(), "Dart");
    QVERIFY(t::toggle(&ui.form, "Needs `toJSON`"));
  }
};

QTEST_MAIN(OptionsFormTest)
#include "options_form_test.moc"
