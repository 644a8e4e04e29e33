#pragma once

#include <functional>
#include <memory>
#include <optional>

#include <QObject>
#include <QPointer>
#include <QString>

#include "mirel/app/cancelable_task.h"
#include "mirel/app/mirel_document.h"
#include "mirel/highlight/attributed_text.h"

namespace mirel {

class ReviewRequester;

/// Keeps one editor window's output current: after every change of the document's model it
/// schedules one run 0.15 s later, and after a change of the stored text size one at once with
/// the new size; a newer request replaces a pending one. A run generates the code of the model's
/// output type (Swift while unset) and highlights it; when nothing is generated it shows nothing
/// for an empty input and the lint message in red for any other. Every run advances the stored
/// "inferCount", and every hundredth asks for a review while the application has an active
/// window.
///
/// The window owns the run (as a child object) and schedules the first run when it is shown.
/// Destroying the run, its window or the document cancels the pending run. Main thread only.
class GenerationRun : public QObject {
  Q_OBJECT

 public:
  /// The pause after a change of the model, in seconds.
  static constexpr double kPause = 0.15;

  explicit GenerationRun(MirelDocument* document, QObject* parent = nullptr);
  ~GenerationRun() override;

  /// Runs `infer(fontSize)` after `delaySeconds` (at least 0), replacing a pending run. The
  /// model is read when the run fires.
  void scheduleInfer(double delaySeconds, double fontSize);
  /// One run, now: generation, highlighting or the lint message, the counter and the review.
  void infer(double fontSize);
  /// The pending run never fires.
  void cancel();
  /// True while a run is scheduled and has not fired.
  [[nodiscard]] bool isPending() const;

  /// What the output view shows: highlighted code, the lint message in red, or nothing.
  [[nodiscard]] const AttributedText& output() const noexcept { return m_output; }
  /// True exactly while the output holds highlighted generated code.
  [[nodiscard]] bool isOutputCode() const noexcept { return m_isOutputCode; }

  /// Replaces the process's requester (for tests); `requester` must outlive this run.
  void setReviewRequester(ReviewRequester* requester) { m_reviewRequester = requester; }
  /// Replaces the shared lint validator (for tests).
  void setValidator(std::function<std::optional<QString>(const QString&)> validate) {
    m_validate = std::move(validate);
  }

 signals:
  /// After every run.
  void outputChanged();

 private:
  void requestReviewIfNeeded();

  QPointer<MirelDocument> m_document;
  std::unique_ptr<CancelableTask> m_inferTask;
  AttributedText m_output;
  bool m_isOutputCode = false;
  ReviewRequester* m_reviewRequester;
  std::function<std::optional<QString>(const QString&)> m_validate;
};

}  // namespace mirel
