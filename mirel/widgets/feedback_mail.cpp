#include "mirel/widgets/feedback_mail.h"

#include <QDesktopServices>
#include <QUrlQuery>

#include "mirel/widgets/links.h"

namespace mirel {

QUrl feedbackMailUrl() {
  QUrl url;
  url.setScheme(QStringLiteral("mailto"));
  url.setPath(feedbackAddress());
  QUrlQuery query;
  query.addQueryItem(QStringLiteral("subject"),
                     QString::fromUtf8(QUrl::toPercentEncoding(feedbackSubject)));
  url.setQuery(query);
  return url;
}

void openFeedbackMail() { QDesktopServices::openUrl(feedbackMailUrl()); }

}  // namespace mirel
