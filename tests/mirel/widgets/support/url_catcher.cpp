#include "widgets/support/url_catcher.h"

namespace mirel::testing {

void UrlCatcher::open(const QUrl& url) { opened.append(url); }

}  // namespace mirel::testing
