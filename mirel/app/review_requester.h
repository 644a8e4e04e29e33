#pragma once

class QWindow;

namespace mirel {

/// Asks the platform for a store review on behalf of a window. A Linux desktop has no store
/// prompt, so the default does nothing visible; tests install their own to observe the calls.
class ReviewRequester {
 public:
  virtual ~ReviewRequester() = default;

  /// Called on every hundredth generation run while `window` is the application's active window.
  virtual void requestReview(QWindow* window);

  /// The requester that generation runs use unless given another; never released.
  [[nodiscard]] static ReviewRequester& shared();
};

}  // namespace mirel
