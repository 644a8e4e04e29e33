#pragma once

#include <functional>
#include <memory>

#include <QObject>

namespace mirel {

/// The scheduled work of a `CancelableTask`. Cancelling before the work starts keeps it from
/// running; cancelling later has no effect on that run.
class WorkItem {
 public:
  explicit WorkItem(std::function<void()> work) : m_work(std::move(work)) {}

  void cancel() noexcept { m_cancelled = true; }
  [[nodiscard]] bool isCancelled() const noexcept { return m_cancelled; }

  /// Runs the work unless cancelled. The work is released after it ran once.
  void perform();

 private:
  std::function<void()> m_work;
  bool m_cancelled = false;
};

/// Work run once on the event loop of `context`'s thread, `delaySeconds` after creation.
///
/// The owner keeps one task; to replace a pending one it cancels `workItem` and resets it, then
/// creates the next task. `workItem` is empty once the work has run. Releasing the task does not
/// cancel the work: the event loop still runs it at its deadline. Destroying `context` does:
/// work never runs against an owner that is gone.
///
/// A delay of 0 runs on a later turn of the event loop, never inside the constructor. A negative
/// delay or one that is not a number is a programming error and stops the program with
/// "Only delay to the future!".
///
///   m_task.reset();  // after m_task->workItem->cancel() when it is still pending
///   m_task = std::make_unique<CancelableTask>(0.15, this, [this] { run(); });
class CancelableTask {
 public:
  CancelableTask(double delaySeconds, QObject* context, std::function<void()> work);
  ~CancelableTask();
  CancelableTask(const CancelableTask&) = delete;
  CancelableTask& operator=(const CancelableTask&) = delete;

  /// The pending work, or empty once it ran or the owner cleared it.
  std::shared_ptr<WorkItem> workItem;

 private:
  // The scheduled call reaches the task through this handle only while the task exists.
  std::shared_ptr<CancelableTask*> m_self;
};

}  // namespace mirel
