#include "mirel/widgets/links.h"

#include <QDesktopServices>

namespace mirel {

QUrl linkUrl(Link link) {
  switch (link) {
    case Link::introduction:
      return QUrl(QStringLiteral("https://veltro.dev/mirel/"));
    case Link::sorbelGitHub:
      return QUrl(QStringLiteral("https://github.com/veltro/Sorbel"));
    case Link::sorbelMacrosGitHub:
      return QUrl(QStringLiteral("https://github.com/veltro/SorbelMacros"));
    case Link::storeReview:
      return QUrl(QStringLiteral("https://veltro.dev/mirel/review"));
    case Link::storePage:
      return QUrl(QStringLiteral("https://veltro.dev/mirel/download"));
    case Link::mirelMastodon:
      return QUrl(QStringLiteral("https://mastodon.social/@mirel"));
    case Link::developerX:
      return QUrl(QStringLiteral("https://x.com/veltro"));
    case Link::developerMastodon:
      return QUrl(QStringLiteral("https://mastodon.social/@veltro"));
    case Link::developerBluesky:
      return QUrl(QStringLiteral("https://bsky.app/profile/veltro.dev"));
  }
  return {};
}

QString feedbackAddress() { return QStringLiteral("mirel@veltro.dev"); }

void openLink(Link link) { QDesktopServices::openUrl(linkUrl(link)); }

}  // namespace mirel
