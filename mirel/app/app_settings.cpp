#include "mirel/app/app_settings.h"

#include <QSettings>
#include <QVariant>
#include <cmath>

namespace mirel {
namespace {

constexpr double kDefaultFontSize = 15;

const char* const kFontSize = "fontSize";
const char* const kDefaultIndentationUnit = "defaultIndentationUnit";
const char* const kDefaultOutputType = "defaultOutputType";
const char* const kInferCount = "inferCount";

// A fresh view of the stored settings at each use: all QSettings objects of one scope share the
// same cache in the process, so tests and other objects writing the store are seen at once.
QSettings store() { return QSettings(QStringLiteral("Mirel"), QStringLiteral("Mirel")); }

// The start-up options of Schema and Swift: value options that detect URLs and both kinds of
// dates, every other field unset, in the engine's own JSON coding.
template <class Options>
QByteArray startUpOptionsData() {
  try {
    const Options options{telvar::ValueMeta(true, true, true)};
    return QByteArray::fromStdString(telvar::toJson(options).dump());
  } catch (...) {
    return {};
  }
}

}  // namespace

AppSettings& AppSettings::shared() {
  static AppSettings* const instance = new AppSettings;
  return *instance;
}

double AppSettings::fontSize() const {
  bool ok = false;
  const double value = store().value(kFontSize).toDouble(&ok);
  return ok && std::isfinite(value) ? value : kDefaultFontSize;
}

void AppSettings::setFontSize(double points) {
  const double old = fontSize();
  store().setValue(kFontSize, points);
  if (old != points) emit fontSizeChanged(points);
}

QString AppSettings::defaultIndentationUnit() const {
  const QVariant value = store().value(kDefaultIndentationUnit);
  return value.isValid() ? value.toString() : QStringLiteral("  ");
}

void AppSettings::setDefaultIndentationUnit(const QString& unit) {
  const QString old = defaultIndentationUnit();
  store().setValue(kDefaultIndentationUnit, unit);
  if (old != unit) emit defaultIndentationUnitChanged(unit);
}

telvar::OutputType AppSettings::defaultOutputType() const {
  const std::string text = store().value(kDefaultOutputType).toString().toStdString();
  return telvar::enumFromRawValue<telvar::OutputType>(text).value_or(telvar::OutputType::swift);
}

void AppSettings::setDefaultOutputType(telvar::OutputType type) {
  const telvar::OutputType old = defaultOutputType();
  store().setValue(kDefaultOutputType, QString::fromLatin1(telvar::rawValue(type)));
  if (old != type) emit defaultOutputTypeChanged(type);
}

qint64 AppSettings::inferCount() const {
  bool ok = false;
  const qint64 value = store().value(kInferCount).toLongLong(&ok);
  return ok ? value : 0;
}

void AppSettings::setInferCount(qint64 count) { store().setValue(kInferCount, count); }

QByteArray AppSettings::optionsData(telvar::OutputType type) const {
  const QVariant value = store().value(optionsDataKey(type));
  return value.isValid() ? value.toByteArray() : defaultOptionsData(type);
}

void AppSettings::setOptionsData(telvar::OutputType type, const QByteArray& data) {
  store().setValue(optionsDataKey(type), data);
}

QString AppSettings::optionsDataKey(telvar::OutputType type) {
  switch (type) {
    case telvar::OutputType::schema:
      return QStringLiteral("previousSchemaOptionsData");
    case telvar::OutputType::swift:
      return QStringLiteral("previousSwiftOptionsData");
    case telvar::OutputType::kotlin:
      return QStringLiteral("previousKotlinOptionsData");
    case telvar::OutputType::dart:
      return QStringLiteral("previousDartOptionsData");
    case telvar::OutputType::go:
      return QStringLiteral("previousGoOptionsData");
    case telvar::OutputType::proto:
      return QStringLiteral("previousProtoOptionsData");
  }
  return QStringLiteral("previousSwiftOptionsData");
}

QByteArray AppSettings::defaultOptionsData(telvar::OutputType type) {
  // Computed once per process, as the stored values are created once.
  static const QByteArray schema = startUpOptionsData<telvar::SchemaOptions>();
  static const QByteArray swift = startUpOptionsData<telvar::SwiftOptions>();
  switch (type) {
    case telvar::OutputType::schema:
      return schema;
    case telvar::OutputType::swift:
      return swift;
    default:
      return {};
  }
}

}  // namespace mirel
