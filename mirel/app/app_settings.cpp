#include "mirel/app/app_settings.h"

#include <cmath>

#include <QCoreApplication>
#include <QVariant>

namespace mirel {
namespace {

constexpr double kDefaultFontSize = 15;

const char* const kFontSize = "fontSize";
const char* const kDefaultIndentationUnit = "defaultIndentationUnit";
const char* const kDefaultOutputType = "defaultOutputType";
const char* const kInferCount = "inferCount";

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

AppSettings::AppSettings() : m_store(QStringLiteral("Mirel"), QStringLiteral("Mirel")) {
  // Writes reach the file when the event loop next runs; the last ones before quitting too.
  if (QCoreApplication* application = QCoreApplication::instance()) {
    connect(application, &QCoreApplication::aboutToQuit, this, [this] { m_store.sync(); });
  }
}

double AppSettings::fontSize() const {
  bool ok = false;
  const double value = m_store.value(kFontSize).toDouble(&ok);
  return ok && std::isfinite(value) ? value : kDefaultFontSize;
}

void AppSettings::setFontSize(double points) {
  const double old = fontSize();
  m_store.setValue(kFontSize, points);
  if (old != points) emit fontSizeChanged(points);
}

QString AppSettings::defaultIndentationUnit() const {
  const QVariant value = m_store.value(kDefaultIndentationUnit);
  return value.isValid() ? value.toString() : QStringLiteral("  ");
}

void AppSettings::setDefaultIndentationUnit(const QString& unit) {
  const QString old = defaultIndentationUnit();
  m_store.setValue(kDefaultIndentationUnit, unit);
  if (old != unit) emit defaultIndentationUnitChanged(unit);
}

telvar::OutputType AppSettings::defaultOutputType() const {
  const std::string text = m_store.value(kDefaultOutputType).toString().toStdString();
  return telvar::enumFromRawValue<telvar::OutputType>(text).value_or(telvar::OutputType::swift);
}

void AppSettings::setDefaultOutputType(telvar::OutputType type) {
  const telvar::OutputType old = defaultOutputType();
  m_store.setValue(kDefaultOutputType, QString::fromLatin1(telvar::rawValue(type)));
  if (old != type) emit defaultOutputTypeChanged(type);
}

qint64 AppSettings::inferCount() const {
  bool ok = false;
  const qint64 value = m_store.value(kInferCount).toLongLong(&ok);
  return ok ? value : 0;
}

void AppSettings::setInferCount(qint64 count) { m_store.setValue(kInferCount, count); }

QByteArray AppSettings::optionsData(telvar::OutputType type) const {
  const QVariant value = m_store.value(optionsDataKey(type));
  return value.isValid() ? value.toByteArray() : defaultOptionsData(type);
}

void AppSettings::setOptionsData(telvar::OutputType type, const QByteArray& data) {
  m_store.setValue(optionsDataKey(type), data);
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
