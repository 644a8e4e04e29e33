#pragma once

#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace mirel::testing {

/// Keeps this test program's stored settings to itself: test programs run side by side, and the
/// test mode alone gives them all one settings file. Call before touching any setting.
inline void isolateSettings() {
  QStandardPaths::setTestModeEnabled(true);
  static const QTemporaryDir directory;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, directory.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, directory.path());
}

}  // namespace mirel::testing
