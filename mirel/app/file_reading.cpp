#include "mirel/app/file_reading.h"

#include <QFile>
#include <QFileInfo>

namespace mirel {

FileContents readRegularFile(const QString& path, qint64 limit) {
  const QFileInfo info(path);
  if (info.isDir()) return {{}, FileReadError::folder, {}};
  if (info.exists() && !info.isFile()) return {{}, FileReadError::notRegular, {}};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {{}, FileReadError::unreadable, file.errorString()};
  // The size is asked of the open file, so that a file replaced meanwhile cannot slip past.
  if (file.size() > limit) return {{}, FileReadError::tooLarge, {}};
  QByteArray data = file.read(limit + 1);
  if (file.error() != QFileDevice::NoError) {
    return {{}, FileReadError::unreadable, file.errorString()};
  }
  if (data.size() > limit) return {{}, FileReadError::tooLarge, {}};
  return {std::move(data), FileReadError::none, {}};
}

}  // namespace mirel
