#pragma once

#include <QString>
#include <QUrl>

namespace mirel {

/// The maker's addresses that the application opens: every web page, the store and the feedback
/// mailbox, kept together so that they change in one place.
enum class Link {
  introduction,        // the page that presents Mirel (Help > "Introducing Mirel")
  sorbelGitHub,        // source of the maker's JSON library
  sorbelMacrosGitHub,  // source of the maker's macro library
  storeReview,         // the store's write-a-review page for Mirel
  storePage,           // the store's page for Mirel, shared by "Copy to Share"
  mirelMastodon,       // Mirel's profile on Mastodon
  developerX,          // the developer on X
  developerMastodon,   // the developer on Mastodon
  developerBluesky,    // the developer on Bluesky
};

/// The address of `link`.
[[nodiscard]] QUrl linkUrl(Link link);

/// The feedback mailbox.
[[nodiscard]] QString feedbackAddress();

/// Opens `link` in the user's browser; an address the desktop cannot open is skipped silently.
void openLink(Link link);

}  // namespace mirel
