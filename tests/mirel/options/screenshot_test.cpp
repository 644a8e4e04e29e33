#include <QApplication>
#include <QDir>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>
#include <QTest>

#include "app/support/dark_palette.h"
#include "support/model_holder.h"

using nlohmann::json;
namespace t = mirel::testing;

namespace {

json pathList(std::initializer_list<const char*> paths) {
  json out = json::array();
  for (const char* path : paths) {
    out.push_back({{"id", telvar::Uuid::random().text()}, {"path", path}});
  }
  return out;
}

json nameMaps() {
  return json::array(
      {{{"id", telvar::Uuid::random().text()}, {"path", "Unknown.user"}, {"name", "Account"}},
       {{"id", telvar::Uuid::random().text()}, {"path", "items"}, {"name", "Entry"}}});
}

json acronyms() {
  json out = json::array();
  for (const char* name : {"ID", "URL", "HTTP"}) {
    out.push_back({{"id", telvar::Uuid::random().text()}, {"name", name}});
  }
  return out;
}

json valueMeta() {
  return {{"_needsDetectURL", true},
          {"_ignoredProperties", pathList({"Unknown.debug", "meta.trace"})},
          {"_dictionaryObjects", pathList({"headers"})},
          {"_optionalProperties", pathList({"user.email", "user.phone"})}};
}

// Every list holds entries, and the Swift layout shows its nested settings.
json filledSettings() {
  json cases = json::array();
  for (auto [name, value] : {std::pair{"active", "1"}, std::pair{"inactive", "0"}}) {
    cases.push_back({{"id", telvar::Uuid::random().text()}, {"name", name}, {"value", value}});
  }
  json swiftMeta = {
      {"_modelPrefix", "NS"},
      {"_needsInitializer", true},
      {"_initializer", {{"_accessLevel", "public"}, {"_style", "multipleLines"}}},
      {"_typeNameMaps", nameMaps()},
      {"_identifiableTypes",
       json::array({{{"id", telvar::Uuid::random().text()}, {"path", "items"}, {"key", "id"}}})},
      {"_propertyNameMaps", nameMaps()},
      {"_propertyEnumMaps",
       json::array(
           {{{"id", telvar::Uuid::random().text()}, {"path", "user.status"}, {"cases", cases}}})},
      {"_acronyms", acronyms()}};
  json language = {
      {"_typeNameMaps", nameMaps()}, {"_propertyNameMaps", nameMaps()}, {"_acronyms", acronyms()}};
  return {{"_modelName", "Order"},
          {"_schemaOptions", {{"_valueMeta", valueMeta()}}},
          {"_swiftOptions", {{"_valueMeta", valueMeta()}, {"_swiftMeta", swiftMeta}}},
          {"_kotlinOptions", {{"_valueMeta", valueMeta()}, {"_kotlinMeta", language}}},
          {"_dartOptions", {{"_valueMeta", valueMeta()}, {"_dartMeta", language}}},
          {"_goOptions", {{"_valueMeta", valueMeta()}, {"_goMeta", language}}},
          {"_protoOptions",
           {{"_valueMeta", valueMeta()}, {"_protoMeta", {{"_typeNameMaps", nameMaps()}}}}}};
}

}  // namespace

class ScreenshotTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { QApplication::setStyle(QStyleFactory::create("Fusion")); }

  void everyScreenUnsetAndFilledInLightAndDark() {
    const QString directory = QStringLiteral(MIREL_SCREENSHOT_DIR "/options");
    QVERIFY(QDir().mkpath(directory));
    const QPalette light = QApplication::style()->standardPalette();
    for (const auto& [paletteName, palette] :
         {std::pair{QStringLiteral("light"), light},
          std::pair{QStringLiteral("dark"), t::darkPalette()}}) {
      QApplication::setPalette(palette);
      for (const auto& [stateName, filled] :
           {std::pair{QStringLiteral("unset"), false}, std::pair{QStringLiteral("filled"), true}}) {
        for (std::size_t i = 0; i < telvar::EnumCases<telvar::OutputType>::names.size(); ++i) {
          const auto type = static_cast<telvar::OutputType>(i);
          json settings = filled ? filledSettings() : json::object();
          settings["_outputType"] = std::string(telvar::rawValue(type));
          t::FormUnderTest ui(t::modelFrom(settings));
          ui.form.resize(375, ui.form.sizeHint().height());
          QApplication::processEvents();
          const QString file = QStringLiteral("%1/%2-%3-%4.png")
                                   .arg(directory, QString::fromUtf8(telvar::rawValue(type).data()),
                                        stateName, paletteName);
          QVERIFY2(ui.form.grab().save(file), qPrintable(file));
        }
      }
    }
  }
};

QTEST_MAIN(ScreenshotTest)
#include "screenshot_test.moc"
