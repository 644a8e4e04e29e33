#include "mirel/options/list_editors.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "support/model_holder.h"

using mirel::EnumMapRow;
using mirel::ListEditor;
using mirel::ListEditorFrame;
using nlohmann::json;
using telvar::OutputType;
namespace t = mirel::testing;

namespace {

json names(const json& acronyms) {
  json out = json::array();
  for (const auto& acronym : acronyms) out.push_back(acronym["name"]);
  return out;
}

json keysOf(const json& object) {
  json out = json::array();
  for (auto it = object.begin(); it != object.end(); ++it) out.push_back(it.key());
  return out;
}

}  // namespace

class ListEditorsTest : public QObject {
  Q_OBJECT

 private slots:
  void addOnAnUnsetAcronymListStoresTheDefaultsAndTheNewOne() {
    t::FormUnderTest ui(t::emptyModel());
    ListEditorFrame* acronyms = t::listEditor(&ui.form, "Acronyms");
    QVERIFY(acronyms);
    QCOMPARE(t::rowTexts(acronyms, "Name"), QStringList({"ID", "URL"}));

    t::clickAdd(acronyms);
    const json meta = ui.json()["_swiftOptions"]["_swiftMeta"];
    JSON_COMPARE(names(meta["_acronyms"]), json({"ID", "URL", ""}));
    // Only the list and the flag an unset Swift meta reads with; the value options untouched.
    JSON_COMPARE(keysOf(meta), json({"_acronyms", "_needsInitializer"}));
    JSON_COMPARE(meta["_needsInitializer"], json(false));
    QVERIFY(!ui.json()["_swiftOptions"].contains("_valueMeta"));
    QCOMPARE(t::rowTexts(acronyms, "Name"), QStringList({"ID", "URL", ""}));
  }

  void removeOnTheFirstRowOfAnUnsetAcronymListKeepsOnlyURL() {
    t::FormUnderTest ui(t::emptyModel(OutputType::kotlin));
    ListEditorFrame* acronyms = t::listEditor(&ui.form, "Acronyms");
    t::clickRemove(acronyms, 0);
    const json meta = ui.json()["_kotlinOptions"]["_kotlinMeta"];
    JSON_COMPARE(keysOf(meta), json({"_acronyms"}));
    JSON_COMPARE(names(meta["_acronyms"]), json({"URL"}));
    QTRY_COMPARE(t::rowTexts(acronyms, "Name"), QStringList({"URL"}));
  }

  void typingIntoARowOfAnUnsetAcronymListKeepsFocusAndCaret() {
    for (int row : {0, 1}) {
      t::FormUnderTest ui(t::emptyModel(OutputType::go));
      ListEditorFrame* acronyms = t::listEditor(&ui.form, "Acronyms");
      QLineEdit* field = t::rowFields(acronyms, "Name").at(row);
      QTest::mouseClick(field, Qt::LeftButton);
      field->setFocus();
      field->end(false);
      QTest::keyClicks(field, "abcde");
      QCOMPARE(QApplication::focusWidget(), field);
      QCOMPARE(t::rowFields(acronyms, "Name").at(row), field);
      const QString typed = (row == 0 ? QStringLiteral("ID") : QStringLiteral("URL")) + "abcde";
      QCOMPARE(field->text(), typed);
      QCOMPARE(field->cursorPosition(), typed.size());
      const json stored = ui.json()["_goOptions"]["_goMeta"]["_acronyms"];
      QCOMPARE(stored.size(), std::size_t(2));
      JSON_COMPARE(stored[row]["name"], json(typed.toStdString()));
    }
  }

  void theFirstAddOfAValueListStoresOnlyThatList() {
    t::FormUnderTest ui(t::emptyModel());
    t::clickAdd(t::listEditor(&ui.form, "Ignored Properties"));
    const json options = ui.json()["_swiftOptions"];
    JSON_COMPARE(keysOf(options), json({"_valueMeta"}));
    JSON_COMPARE(keysOf(options["_valueMeta"]), json({"_ignoredProperties"}));
    JSON_COMPARE(options["_valueMeta"]["_ignoredProperties"][0]["path"], json(""));
  }

  void removingTheFirstOfThreeRowsKeepsTheOtherRows() {
    t::FormUnderTest ui(t::emptyModel(OutputType::dart));
    ListEditorFrame* maps = t::listEditor(&ui.form, "Type Name Maps");
    for (int i = 0; i < 3; ++i) t::clickAdd(maps);
    QList<QLineEdit*> paths = t::rowFields(maps, "Path");
    QCOMPARE(paths.size(), 3);
    // Equal texts are still separate rows: each edit lands in its own element.
    QTest::keyClicks(paths[0], "a");
    QTest::keyClicks(paths[1], "b");
    QTest::keyClicks(paths[2], "c");
    QTest::keyClicks(t::rowFields(maps, "Name")[1], "Beta");

    t::clickRemove(maps, 0);
    QTRY_COMPARE(t::rowFields(maps, "Path"), QList<QLineEdit*>({paths[1], paths[2]}));
    QCOMPARE(t::rowTexts(maps, "Path"), QStringList({"b", "c"}));
    QCOMPARE(t::rowTexts(maps, "Name"), QStringList({"Beta", ""}));
    const json stored = ui.json()["_dartOptions"]["_dartMeta"]["_typeNameMaps"];
    QCOMPARE(stored.size(), std::size_t(2));
    JSON_COMPARE(stored[0]["path"], json("b"));
    JSON_COMPARE(stored[0]["name"], json("Beta"));

    // The surviving rows now write at their new positions.
    QTest::keyClicks(paths[2], "2");
    JSON_COMPARE(ui.json()["_dartOptions"]["_dartMeta"]["_typeNameMaps"][1]["path"], json("c2"));
  }

  void elementsSharingAnIdFromAFileAreStillSeparateRows() {
    t::FormUnderTest ui(t::modelFrom(json::parse(R"({"_swiftOptions":{"_swiftMeta":{"_acronyms":[
        {"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","name":"A"},
        {"id":"E621E1F8-C36C-495A-93FC-0C247A3E6E5F","name":"B"}]}}})")));
    ListEditorFrame* acronyms = t::listEditor(&ui.form, "Acronyms");
    QCOMPARE(t::rowTexts(acronyms, "Name"), QStringList({"A", "B"}));
    QTest::keyClicks(t::rowFields(acronyms, "Name")[1], "z");
    const json stored = ui.json()["_swiftOptions"]["_swiftMeta"]["_acronyms"];
    JSON_COMPARE(names(stored), json({"A", "Bz"}));
    QCOMPARE(t::rowTexts(acronyms, "Name"), QStringList({"A", "Bz"}));
  }

  void addOnIdentifiableTypesShowsAnEmptyPathAndTheKeyId() {
    t::FormUnderTest ui(t::emptyModel());
    ListEditorFrame* types = t::listEditor(&ui.form, "Identifiable Types");
    QCOMPARE(t::rowTexts(types, "Path"), QStringList());
    t::clickAdd(types);
    QCOMPARE(t::rowTexts(types, "Path"), QStringList({""}));
    QCOMPARE(t::rowTexts(types, "Key"), QStringList({"id"}));
  }

  void propertyEnumMapsKeepTheirCasesApart() {
    t::FormUnderTest ui(t::emptyModel());
    auto* editor =
        dynamic_cast<ListEditor<EnumMapRow::Map>*>(t::listEditor(&ui.form, "Property Enum Maps"));
    QVERIFY(editor);
    t::clickAdd(editor);
    t::clickAdd(editor);
    auto mapRow = [&](std::size_t i) {
      return dynamic_cast<EnumMapRow*>(editor->rows()->rows().at(i));
    };
    QCOMPARE(editor->rows()->rows().size(), std::size_t(2));
    QCOMPARE(mapRow(0)->cases()->rows().size(), std::size_t(2));
    QCOMPARE(t::rowTexts(editor, "Case"), QStringList({"", "", "", ""}));
    QCOMPARE(t::rowTexts(editor, "Value"), QStringList({"", "", "", ""}));

    QTest::mouseClick(mapRow(0)->addCaseButton(), Qt::LeftButton);
    json maps = ui.json()["_swiftOptions"]["_swiftMeta"]["_propertyEnumMaps"];
    QCOMPARE(maps[0]["cases"].size(), std::size_t(3));
    QCOMPARE(maps[1]["cases"].size(), std::size_t(2));

    QTest::keyClicks(mapRow(1)->pathField(), "status");
    auto* firstCase =
        dynamic_cast<mirel::TextRow<EnumMapRow::Case>*>(mapRow(1)->cases()->rows().at(0));
    QTest::keyClicks(firstCase->edits()[0], "active");
    QTest::keyClicks(firstCase->edits()[1], "1");
    maps = ui.json()["_swiftOptions"]["_swiftMeta"]["_propertyEnumMaps"];
    JSON_COMPARE(maps[1]["path"], json("status"));
    JSON_COMPARE(maps[1]["cases"][0]["name"], json("active"));
    JSON_COMPARE(maps[1]["cases"][0]["value"], json("1"));
    JSON_COMPARE(maps[0]["cases"][0]["name"], json(""));

    // Removing every case leaves the map with its path line and its "Add Case" line.
    const std::string keptId = maps[1]["id"];
    while (!mapRow(1)->cases()->rows().empty()) {
      QTest::mouseClick(mapRow(1)->cases()->rows().front()->removeButton(), Qt::LeftButton);
    }
    maps = ui.json()["_swiftOptions"]["_swiftMeta"]["_propertyEnumMaps"];
    QCOMPARE(maps.size(), std::size_t(2));
    JSON_COMPARE(maps[1]["cases"], json::array());
    QVERIFY(t::shown(&ui.form, mapRow(1)->addCaseButton()));
    QVERIFY(t::shown(&ui.form, mapRow(1)->pathField()));

    // Removing a map removes its cases with it.
    t::clickRemove(editor, 0);
    maps = ui.json()["_swiftOptions"]["_swiftMeta"]["_propertyEnumMaps"];
    QCOMPARE(maps.size(), std::size_t(1));
    JSON_COMPARE(maps[0]["id"], json(keptId));
    QTRY_COMPARE(editor->rows()->rows().size(), std::size_t(1));
    QCOMPARE(mapRow(0)->pathField()->text(), QStringLiteral("status"));
  }
};

QTEST_MAIN(ListEditorsTest)
#include "list_editors_test.moc"
