#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include "mirel/options/form_blocks.h"
#include "mirel/options/list_editors.h"
#include "support/model_holder.h"

using nlohmann::json;
using telvar::OutputType;
namespace t = mirel::testing;

namespace {

bool capitalises(QLineEdit* field) { return !(field->inputMethodHints() & Qt::ImhNoAutoUppercase); }

}  // namespace

class LanguageScreensTest : public QObject {
  Q_OBJECT

 private slots:
  void unsetKotlinOptionsShowTheDefaultsAndEachEditStoresOnlyItsField() {
    t::FormUnderTest ui(t::emptyModel(OutputType::kotlin));
    QCOMPARE(t::textField(&ui.form, "Package Name")->text(), "mirel");
    QCOMPARE(t::textField(&ui.form, "Model Prefix")->text(), QString());
    QCOMPARE(t::selectedLabel(t::picker(&ui.form, "Structure Style")), "Nested");
    QCOMPARE(t::selectedLabel(t::picker(&ui.form, "Property Declare Type")), "Immutable");
    QCOMPARE(t::selectedLabel(t::picker(&ui.form, "Property Sorted By")), "Default");
    QVERIFY(!t::toggle(&ui.form, "All Properties Optional")->isChecked());
    QVERIFY(t::listEditor(&ui.form, "Optional Properties"));
    QCOMPARE(t::rowTexts(t::listEditor(&ui.form, "Acronyms"), "Name"), QStringList({"ID", "URL"}));
    QVERIFY(!t::toggle(&ui.form, "Detects URL"));

    // Clearing the package name stores the empty text; the placeholder shows again.
    QLineEdit* package = t::textField(&ui.form, "Package Name");
    package->selectAll();
    QTest::keyClick(package, Qt::Key_Delete);
    JSON_COMPARE(ui.json()["_kotlinOptions"],
                 json::parse(R"({"_kotlinMeta":{"_packageName":""}})"));
    QCOMPARE(package->text(), QString());

    t::clickSegment(t::picker(&ui.form, "Property Declare Type"), "Mutable");
    JSON_COMPARE(ui.json()["_kotlinOptions"]["_kotlinMeta"],
                 json::parse(R"({"_packageName":"","_propertyDeclareType":"var"})"));
  }

  void dartSwitchesStoreExplicitFlagsAndKeepFieldsWithoutControls() {
    t::FormUnderTest ui(t::modelFrom(json::parse(R"({"_outputType":"dart","_dartOptions":{
        "_valueMeta":{"_needsDetectURL":true,"_dictionaryObjects":[
          {"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","path":"a"}]}}})")));
    QVERIFY(!t::toggle(&ui.form, "Needs `copyWith`")->isChecked());
    QVERIFY(t::toggle(&ui.form, "Needs `fromJSON`")->isChecked());
    QVERIFY(t::toggle(&ui.form, "Needs `toJSON`")->isChecked());
    QVERIFY(!t::toggle(&ui.form, "All Properties Final")->isChecked());

    QTest::mouseClick(t::toggle(&ui.form, "Needs `copyWith`"), Qt::LeftButton);
    JSON_COMPARE(ui.json()["_dartOptions"]["_dartMeta"], json::parse(R"({"_needsCopyWith":true})"));
    QVERIFY(t::toggle(&ui.form, "Needs `fromJSON`")->isChecked());

    QTest::mouseClick(t::toggle(&ui.form, "Needs `fromJSON`"), Qt::LeftButton);
    JSON_COMPARE(ui.json()["_dartOptions"]["_dartMeta"]["_needsFromJSON"], false);
    QTest::mouseClick(t::toggle(&ui.form, "Needs `fromJSON`"), Qt::LeftButton);
    JSON_COMPARE(ui.json()["_dartOptions"]["_dartMeta"]["_needsFromJSON"], true);

    t::clickAdd(t::listEditor(&ui.form, "Ignored Properties"));
    const json value = ui.json()["_dartOptions"]["_valueMeta"];
    JSON_COMPARE(value["_needsDetectURL"], true);
    JSON_COMPARE(value["_dictionaryObjects"][0]["path"], "a");

    // A property-name map's name keeps a typed first letter; a type-name map's may not.
    t::clickAdd(t::listEditor(&ui.form, "Property Name Maps"));
    t::clickAdd(t::listEditor(&ui.form, "Type Name Maps"));
    QVERIFY(!capitalises(t::rowFields(t::listEditor(&ui.form, "Property Name Maps"), "Name")[0]));
    QVERIFY(capitalises(t::rowFields(t::listEditor(&ui.form, "Type Name Maps"), "Name")[0]));
    QVERIFY(!capitalises(t::rowFields(t::listEditor(&ui.form, "Type Name Maps"), "Path")[0]));
    QVERIFY(t::rowFields(t::listEditor(&ui.form, "Type Name Maps"), "Name")[0]->inputMethodHints() &
            Qt::ImhNoPredictiveText);
  }

  void goShowsItsDefaultsAndAStoredStyleWithoutChoiceSelectsNone() {
    t::FormUnderTest ui(t::emptyModel(OutputType::go));
    QCOMPARE(t::textField(&ui.form, "Package Name")->text(), "main");
    QCOMPARE(t::selectedLabel(t::picker(&ui.form, "Structure Style")), "Inline");
    t::clickAdd(t::listEditor(&ui.form, "Property Name Maps"));
    QVERIFY(capitalises(t::rowFields(t::listEditor(&ui.form, "Property Name Maps"), "Name")[0]));

    t::FormUnderTest stored(t::modelFrom(json::parse(
        R"({"_outputType":"go","_goOptions":{"_goMeta":{"_structureStyle":"subtypeFirst"}}})")));
    QCOMPARE(t::selectedLabel(t::picker(&stored.form, "Structure Style")), QString());
    t::clickSegment(t::picker(&stored.form, "Structure Style"), "Flat");
    JSON_COMPARE(stored.json()["_goOptions"]["_goMeta"]["_structureStyle"], "subtypeLast");
  }

  void protoEditsKeepTheStoredEnumMaps() {
    const json enumMaps = json::parse(R"([{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F",
        "path":"kind","cases":[{"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E60","name":"a",
        "value":"1"}]}])");
    json settings = json::parse(R"({"_outputType":"proto","_protoOptions":{"_protoMeta":{}}})");
    settings["_protoOptions"]["_protoMeta"]["_propertyEnumMaps"] = enumMaps;
    t::FormUnderTest ui(t::modelFrom(settings));
    QCOMPARE(t::textField(&ui.form, "Package Name")->text(), "mirel");
    QCOMPARE(t::selectedLabel(t::picker(&ui.form, "Structure Style")), "Nested");
    QVERIFY(t::listEditor(&ui.form, "Optional Properties"));
    QVERIFY(!t::listEditor(&ui.form, "Ignored Properties"));

    QTest::keyClicks(t::textField(&ui.form, "Package Name"), "x");
    t::clickAdd(t::listEditor(&ui.form, "Type Name Maps"));
    const json meta = ui.json()["_protoOptions"]["_protoMeta"];
    JSON_COMPARE(meta["_packageName"], "mirelx");
    JSON_COMPARE(meta["_propertyEnumMaps"], enumMaps);
  }

  void schemaShowsStoredDetectionsAndEditsOnlyWhatItTouches() {
    t::FormUnderTest ui(t::modelFrom(json::parse(R"({"_outputType":"schema","_schemaOptions":{
        "_valueMeta":{"_needsDetectURL":true,"_needsDetectISO8601Date":true,
        "_needsDetectTimeIntervalDate":true}}})")));
    for (const char* title :
         {"Detects URL", "Detects ISO 8601 Date", "Detects Time Interval Date"}) {
      QVERIFY(t::toggle(&ui.form, title)->isChecked());
    }
    QCOMPARE(t::selectedLabel(t::picker(&ui.form, "Property Sorted By")), "Default");
    QTest::mouseClick(t::toggle(&ui.form, "Detects URL"), Qt::LeftButton);
    JSON_COMPARE(ui.json()["_schemaOptions"]["_valueMeta"],
                 json::parse(R"({"_needsDetectURL":false,"_needsDetectISO8601Date":true,
                     "_needsDetectTimeIntervalDate":true})"));
    t::clickSegment(t::picker(&ui.form, "Property Sorted By"), "Alphabet");
    JSON_COMPARE(ui.json()["_schemaOptions"]["_schemaMeta"],
                 json::parse(R"({"_propertySortMethod":"alphabet"})"));
    QVERIFY(!t::listEditor(&ui.form, "Acronyms"));
    QVERIFY(!t::textField(&ui.form, "Model Prefix"));
  }

  void unsetSchemaOptionsShowTheDefaultsAndReselectingStoresNothing() {
    t::FormUnderTest ui(t::emptyModel(OutputType::schema));
    QVERIFY(t::listEditor(&ui.form, "Ignored Properties")->removeButtons().isEmpty());
    QVERIFY(t::listEditor(&ui.form, "Optional Properties")->removeButtons().isEmpty());
    QVERIFY(!t::toggle(&ui.form, "All Properties Optional")->isChecked());
    for (const char* title :
         {"Detects URL", "Detects ISO 8601 Date", "Detects Time Interval Date"}) {
      QVERIFY(!t::toggle(&ui.form, title)->isChecked());
    }
    // Picking the choice already shown changes nothing, as a picker whose selection stays.
    t::clickSegment(t::picker(&ui.form, "Property Sorted By"), "Default");
    QVERIFY(!ui.json().contains("_schemaOptions"));
    QCOMPARE(ui.holder.writes(), 0);
  }
};

QTEST_MAIN(LanguageScreensTest)
#include "language_screens_test.moc"
