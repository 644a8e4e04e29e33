#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "mirel/options/form_blocks.h"
#include "mirel/options/list_editors.h"
#include "support/model_holder.h"

using nlohmann::json;
namespace t = mirel::testing;

namespace {

// The boxes of the screen, top to bottom, named by their first control.
QStringList shownBoxOrder(QWidget* form) {
  struct Entry {
    int y;
    QString name;
  };
  std::vector<Entry> entries;
  for (const char* title : {"Use Sorbel Macros", "Memberwise Initializer"}) {
    if (QCheckBox* box = t::toggle(form, title)) {
      entries.push_back({box->mapTo(form, QPoint()).y(), QString(title)});
    }
  }
  for (const char* title : {"Type Name Maps", "Identifiable Types"}) {
    if (mirel::ListEditorFrame* editor = t::listEditor(form, title)) {
      entries.push_back({editor->mapTo(form, QPoint()).y(), QString(title)});
    }
  }
  std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.y < b.y; });
  QStringList names;
  for (const Entry& entry : entries) names << entry.name;
  return names;
}

}  // namespace

class SwiftOptionsViewTest : public QObject {
  Q_OBJECT

 private slots:
  void unsetOptionsShowTheDefaults() {
    t::FormUnderTest ui(t::emptyModel());
    QLineEdit* prefix = t::textField(&ui.form, "Model Prefix");
    QVERIFY(prefix);
    QCOMPARE(prefix->text(), QString());
    const std::vector<std::pair<QString, QString>> selected{{"Structure Style", "Nested"},
                                                            {"Model Access Level", "Default"},
                                                            {"Model Type", "Struct"},
                                                            {"Protocol Type", "Codable"},
                                                            {"Property Access Level", "Default"},
                                                            {"Property Declare Type", "Immutable"},
                                                            {"Property Naming Style", "Default"},
                                                            {"Property Sorted By", "Default"}};
    for (const auto& [label, choice] : selected) {
      QVERIFY2(t::picker(&ui.form, label), qPrintable(label));
      QCOMPARE(t::selectedLabel(t::picker(&ui.form, label)), choice);
    }
    // Choice order as the user sees it; only the protocol type is a drop-down list.
    QCOMPARE(t::picker(&ui.form, "Structure Style")->segments().size(), std::size_t(3));
    QCOMPARE(t::picker(&ui.form, "Model Type")->segments().front()->text(), "Class");
    QVERIFY(t::picker(&ui.form, "Protocol Type")->comboBox());
    QCOMPARE(t::picker(&ui.form, "Protocol Type")->comboBox()->count(), 4);

    QVERIFY(!t::toggle(&ui.form, "Use Sorbel Macros"));
    QVERIFY(!t::toggle(&ui.form, "Memberwise Initializer")->isChecked());
    QVERIFY(!t::picker(&ui.form, "Access Level"));
    QVERIFY(!t::toggle(&ui.form, "All Properties Optional")->isChecked());
    for (const char* title :
         {"Type Name Maps", "Identifiable Types", "Ignored Properties", "Object As Dictionary",
          "Optional Properties", "Property Enum Maps", "Property Name Maps"}) {
      QVERIFY2(t::listEditor(&ui.form, title), title);
      QVERIFY(t::listEditor(&ui.form, title)->removeButtons().isEmpty());
    }
    QCOMPARE(t::rowTexts(t::listEditor(&ui.form, "Acronyms"), "Name"), QStringList({"ID", "URL"}));
    for (const char* title :
         {"Detects URL", "Detects ISO 8601 Date", "Detects Time Interval Date"}) {
      QVERIFY(!t::toggle(&ui.form, title)->isChecked());
    }
    QCOMPARE(ui.holder.writes(), 0);
  }

  void theProtocolTypeSwapsTheMacrosAndTheTypeNameMaps() {
    t::FormUnderTest ui(t::emptyModel());
    t::clickAdd(t::listEditor(&ui.form, "Type Name Maps"));
    QTest::keyClicks(t::rowFields(t::listEditor(&ui.form, "Type Name Maps"), "Name")[0], "Root");
    QCOMPARE(shownBoxOrder(&ui.form),
             QStringList({"Memberwise Initializer", "Type Name Maps", "Identifiable Types"}));

    t::clickSegment(t::picker(&ui.form, "Protocol Type"), "SorbelModel");
    QCOMPARE(shownBoxOrder(&ui.form),
             QStringList({"Use Sorbel Macros", "Memberwise Initializer", "Identifiable Types"}));
    const json meta = ui.json()["_swiftOptions"]["_swiftMeta"];
    JSON_COMPARE(meta["_protocolType"], "sorbelModel");
    JSON_COMPARE(meta["_typeNameMaps"][0]["name"], "Root");

    t::clickSegment(t::picker(&ui.form, "Protocol Type"), "Codable");
    QCOMPARE(t::rowTexts(t::listEditor(&ui.form, "Type Name Maps"), "Name"), QStringList({"Root"}));
  }

  void theInitializerSettingsFollowTheFlag() {
    t::FormUnderTest ui(t::emptyModel());
    QTest::mouseClick(t::toggle(&ui.form, "Memberwise Initializer"), Qt::LeftButton);
    mirel::ChoicePicker* access = t::picker(&ui.form, "Access Level");
    QVERIFY(access);
    QCOMPARE(t::selectedLabel(access), "Default");
    QCOMPARE(t::selectedLabel(t::picker(&ui.form, "Style")), "Single Line");
    // Inset by 32 from the toggle's leading edge.
    const int toggleX = t::toggle(&ui.form, "Memberwise Initializer")
                            ->parentWidget()
                            ->mapTo(&ui.form, QPoint())
                            .x();
    QCOMPARE(access->mapTo(&ui.form, QPoint()).x() - toggleX, mirel::kNestedInset);

    t::clickSegment(access, "Public");
    const json meta = ui.json()["_swiftOptions"]["_swiftMeta"];
    JSON_COMPARE(meta["_initializer"], json::parse(R"({"_accessLevel":"public"})"));
    JSON_COMPARE(meta["_needsInitializer"], true);

    QTest::mouseClick(t::toggle(&ui.form, "Memberwise Initializer"), Qt::LeftButton);
    QVERIFY(!t::picker(&ui.form, "Access Level"));
    JSON_COMPARE(ui.json()["_swiftOptions"]["_swiftMeta"]["_initializer"]["_accessLevel"],
                 "public");
  }

  void theNamingStyleHidesNameMapsAndAcronymsWithoutLosingThem() {
    t::FormUnderTest ui(t::emptyModel());
    t::clickAdd(t::listEditor(&ui.form, "Property Name Maps"));
    t::clickSegment(t::picker(&ui.form, "Property Naming Style"), "Raw");
    QVERIFY(t::listEditor(&ui.form, "Property Name Maps"));
    QVERIFY(!t::listEditor(&ui.form, "Acronyms"));
    t::clickSegment(t::picker(&ui.form, "Property Naming Style"), "Snake to Camel");
    QVERIFY(!t::listEditor(&ui.form, "Property Name Maps"));
    const json meta = ui.json()["_swiftOptions"]["_swiftMeta"];
    JSON_COMPARE(meta["_propertyNamingStyle"], "snakeToCamel");
    QCOMPARE(meta["_propertyNameMaps"].size(), std::size_t(1));
    QVERIFY(!meta.contains("_acronyms"));
  }

  void firstEditsStoreOnlyTheirOwnMeta() {
    t::FormUnderTest ui(t::emptyModel());
    QTest::mouseClick(t::toggle(&ui.form, "Detects URL"), Qt::LeftButton);
    JSON_COMPARE(ui.json()["_swiftOptions"],
                 json::parse(R"({"_valueMeta":{"_needsDetectURL":true}})"));

    QTest::keyClicks(t::textField(&ui.form, "Model Prefix"), "NS");
    JSON_COMPARE(ui.json()["_swiftOptions"]["_swiftMeta"],
                 json::parse(R"({"_modelPrefix":"NS","_needsInitializer":false})"));
    // Clearing keeps an explicit empty prefix.
    QTest::keyClick(t::textField(&ui.form, "Model Prefix"), Qt::Key_Backspace);
    QTest::keyClick(t::textField(&ui.form, "Model Prefix"), Qt::Key_Backspace);
    JSON_COMPARE(ui.json()["_swiftOptions"]["_swiftMeta"]["_modelPrefix"], "");
  }

  void aStructureStyleWithoutAChoiceSelectsNone() {
    t::FormUnderTest ui(t::modelFrom(
        json::parse(R"({"_swiftOptions":{"_swiftMeta":{"_structureStyle":"subtypeFirst"}}})")));
    mirel::ChoicePicker* style = t::picker(&ui.form, "Structure Style");
    QCOMPARE(t::selectedLabel(style), QString());
    t::clickSegment(style, "Extended");
    QCOMPARE(t::selectedLabel(style), "Extended");
    JSON_COMPARE(ui.json()["_swiftOptions"]["_swiftMeta"]["_structureStyle"], "nestedInExtension");
  }

  void allPropertiesOptionalHidesTheListAndKeepsItsEntries() {
    t::FormUnderTest ui(t::emptyModel());
    t::clickAdd(t::listEditor(&ui.form, "Optional Properties"));
    QTest::keyClicks(t::rowFields(t::listEditor(&ui.form, "Optional Properties"), "Path")[0],
                     "a.b");
    QTest::mouseClick(t::toggle(&ui.form, "All Properties Optional"), Qt::LeftButton);
    QVERIFY(!t::listEditor(&ui.form, "Optional Properties"));
    JSON_COMPARE(ui.json()["_swiftOptions"]["_valueMeta"]["_allPropertiesOptional"], true);
    QTest::mouseClick(t::toggle(&ui.form, "All Properties Optional"), Qt::LeftButton);
    JSON_COMPARE(ui.json()["_swiftOptions"]["_valueMeta"]["_allPropertiesOptional"], false);
    QCOMPARE(t::rowTexts(t::listEditor(&ui.form, "Optional Properties"), "Path"),
             QStringList({"a.b"}));
  }
};

QTEST_MAIN(SwiftOptionsViewTest)
#include "swift_options_view_test.moc"
