#pragma once

#include <QList>
#include <QObject>
#include <QUrl>

namespace mirel::testing {

/// Stands in for the browser and the mail program: keeps every address it is asked to open.
/// Register it with `QDesktopServices::setUrlHandler(scheme, &catcher, "open")`.
class UrlCatcher : public QObject {
  Q_OBJECT

 public:
  QList<QUrl> opened;

 public slots:
  void open(const QUrl& url);
};

}  // namespace mirel::testing
