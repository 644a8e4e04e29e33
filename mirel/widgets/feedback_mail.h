#pragma once

#include <QUrl>

namespace mirel {

/// The subject of every feedback mail.
inline constexpr const char* feedbackSubject = "[Mirel] Feedback";

/// A `mailto:` address to the feedback mailbox with the subject filled in and no body.
[[nodiscard]] QUrl feedbackMailUrl();

/// Hands the feedback mail to the user's mail program. Whatever the mail program then does (send,
/// save, cancel, fail) is its own business: nothing is reported back.
void openFeedbackMail();

}  // namespace mirel
