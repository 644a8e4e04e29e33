#include "mirel/app/cancelable_task.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

#include <QTimer>
#include <QtGlobal>

namespace mirel {

void WorkItem::perform() {
  if (m_cancelled || !m_work) return;
  // Released before running so that the work's captures do not outlive its single run.
  std::function<void()> work = std::move(m_work);
  m_work = nullptr;
  work();
}

CancelableTask::CancelableTask(double delaySeconds, QObject* context, std::function<void()> work)
    : m_self(std::make_shared<CancelableTask*>(this)) {
  if (!(delaySeconds >= 0)) qFatal("Only delay to the future!");
  workItem = std::make_shared<WorkItem>(std::move(work));

  // The timer's interval is whole milliseconds in an int; longer delays wait as long as it can.
  const double maxMs = static_cast<double>(std::numeric_limits<int>::max());
  const double ms = std::min(std::ceil(delaySeconds * 1000.0), maxMs);
  std::weak_ptr<CancelableTask*> task = m_self;
  QTimer::singleShot(std::chrono::milliseconds(static_cast<int>(ms)), Qt::PreciseTimer, context,
                     [item = workItem, task] {
                       item->perform();
                       if (auto self = task.lock()) {
                         if ((*self)->workItem == item) (*self)->workItem.reset();
                       }
                     });
}

CancelableTask::~CancelableTask() = default;

}  // namespace mirel
