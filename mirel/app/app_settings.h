#pragma once

#include <QByteArray>
#include <QObject>
#include <QSettings>
#include <QString>

#include "telvar/options/output_options.h"

namespace mirel {

/// The ten values the application remembers between launches, stored in the user's settings
/// ("Mirel", "Mirel"). One object serves the whole process so that a change made in one window
/// reaches every other at once through the change signals. A key that was never written reads as
/// its default; reading never writes the default back. Main thread only.
///
/// Keys and defaults: "fontSize" 15; "defaultIndentationUnit" two spaces; "defaultOutputType"
/// "swift"; "inferCount" 0; "previousSchemaOptionsData" and "previousSwiftOptionsData" the JSON
/// of options that detect URLs, ISO 8601 dates and time-interval dates; the four other
/// "previous...OptionsData" keys empty data.
class AppSettings : public QObject {
  Q_OBJECT

 public:
  /// The process's one settings object, made on first use and never released.
  [[nodiscard]] static AppSettings& shared();

  /// The text size of the input and output, in points.
  [[nodiscard]] double fontSize() const;
  void setFontSize(double points);

  /// The indentation unit new documents take.
  [[nodiscard]] QString defaultIndentationUnit() const;
  void setDefaultIndentationUnit(const QString& unit);

  /// The output type new documents take; a stored text that names no case reads as the default.
  [[nodiscard]] telvar::OutputType defaultOutputType() const;
  void setDefaultOutputType(telvar::OutputType type);

  /// How many generation runs every window of the application has made, across launches.
  [[nodiscard]] qint64 inferCount() const;
  void setInferCount(qint64 count);

  /// The stored JSON of the options record of `type` that new documents start from, or the
  /// key's default while nothing is stored.
  [[nodiscard]] QByteArray optionsData(telvar::OutputType type) const;
  void setOptionsData(telvar::OutputType type, const QByteArray& data);

  /// The key under which the options data of `type` is stored ("previousDartOptionsData").
  [[nodiscard]] static QString optionsDataKey(telvar::OutputType type);
  /// The default of that key: the start-up options for Schema and Swift, empty data otherwise.
  [[nodiscard]] static QByteArray defaultOptionsData(telvar::OutputType type);

 signals:
  void fontSizeChanged(double points);
  void defaultIndentationUnitChanged(const QString& unit);
  void defaultOutputTypeChanged(telvar::OutputType type);

 private:
  AppSettings();

  // One object for the process: writing through it costs no file access until the event loop
  // syncs, and QSettings objects of the same place in one process see each other's writes.
  mutable QSettings m_store;
};

}  // namespace mirel
