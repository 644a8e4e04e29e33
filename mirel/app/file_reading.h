#pragma once

#include <QByteArray>
#include <QString>

namespace mirel {

/// Why a file was not read.
enum class FileReadError { none, folder, notRegular, tooLarge, unreadable };

/// The whole contents of a file, or why there are none (`reason` holds the system's words for
/// `unreadable`).
struct FileContents {
  QByteArray data;
  FileReadError error = FileReadError::none;
  QString reason;
};

/// Files larger than this are not read: documents and samples are far smaller, and reading a
/// file of many gigabytes at once would exhaust memory.
inline constexpr qint64 kFileSizeLimit = qint64{256} << 20;

/// Reads the regular file at `path` whole. Folders, devices and pipes (which might never end, or
/// never begin) and files over `limit` bytes are refused without reading.
[[nodiscard]] FileContents readRegularFile(const QString& path, qint64 limit = kFileSizeLimit);

}  // namespace mirel
