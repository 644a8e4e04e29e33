#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace mirel::testing {

/// Writes `data` as the whole of the file at `path`; false when that fails.
[[nodiscard]] inline bool writeFile(const QString& path, const QByteArray& data) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

/// The whole file at `path`, or nothing when it cannot be read.
[[nodiscard]] inline QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace mirel::testing
