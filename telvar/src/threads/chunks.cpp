#include "telvar/threads/chunks.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace telvar {

std::size_t chunkBegin(std::size_t count, std::size_t chunks, std::size_t chunk) {
  // The first `count % chunks` chunks take one item more.
  return chunk * (count / chunks) + std::min(chunk, count % chunks);
}

namespace {
constexpr std::size_t kMaxThreads = 8;
thread_local std::size_t t_chunkLimit = kMaxThreads;

std::size_t processors() {
  static const std::size_t count = std::max(1u, std::thread::hardware_concurrency());
  return count;
}

}  // namespace

// Threads that help a calling thread, started at its first split and kept waiting between splits:
// a run on 100 wide records split its work about 80 times, and starting (and joining) seven
// threads took 0.8 ms each time on the benchmark machine against 0.14 ms to wake seven waiting
// ones, a tenth of the run in all. A `SharedHelpers` holds one set for the run that makes it;
// outside one, each split has a set of its own.
//
// A caller offers a batch of tasks; helpers and the caller claim them one at a time, so the
// caller never waits on a task no thread has claimed: a batch offered from inside another's task
// or while every helper is busy is done by its caller where no helper is free, and so is all the
// work where the system has no thread to give.
class Helpers {
 public:
  class Batch;

  explicit Helpers(std::size_t most) noexcept : m_most(most) {}
  Helpers(const Helpers&) = delete;
  Helpers& operator=(const Helpers&) = delete;
  // Every batch has ended by now: the helpers only wait.
  ~Helpers() {
    {
      std::lock_guard lock(m_mutex);
      m_stopping = true;
    }
    m_offered.notify_all();
    for (std::thread& thread : m_threads) thread.join();
  }

 private:
  void offer(Batch& batch);
  void help();

  const std::size_t m_most;
  std::mutex m_mutex;
  std::condition_variable m_offered;   // a batch has tasks to claim, or the helpers are to stop
  std::condition_variable m_finished;  // a batch's last claimed task is done
  std::vector<Batch*> m_batches;       // those with tasks to claim, oldest first
  std::vector<std::thread> m_threads;  // started at the first offer
  bool m_started = false;
  bool m_stopping = false;
};

namespace {
// The helpers of the `SharedHelpers` the calling thread is in, and of its helpers.
thread_local Helpers* t_helpers = nullptr;
}  // namespace

// `tasks` calls of `task` (which must not throw), offered to the helpers while it lives; its end
// waits for the calls the helpers claimed.
class Helpers::Batch {
 public:
  Batch(Helpers& helpers, std::size_t tasks, const std::function<void(std::size_t)>& task)
      : m_helpers(helpers), m_tasks(tasks), m_task(task) {
    m_helpers.offer(*this);
  }
  Batch(const Batch&) = delete;
  Batch& operator=(const Batch&) = delete;

  // Claims no more tasks for the helpers, then waits for those they claimed.
  ~Batch() {
    std::unique_lock lock(m_helpers.m_mutex);
    if (m_claimed < m_tasks) claimAll();
    m_helpers.m_finished.wait(lock, [&] { return m_done == m_claimed; });
  }

  // Runs the tasks no helper has claimed, here.
  void runRest() {
    std::unique_lock lock(m_helpers.m_mutex);
    while (m_claimed < m_tasks) {
      const std::size_t task = claim();
      lock.unlock();
      m_task(task);
      lock.lock();
      ++m_done;
    }
  }

 private:
  friend class Helpers;

  // With the mutex held.
  std::size_t claim() {
    const std::size_t task = m_claimed++;
    if (m_claimed == m_tasks) std::erase(m_helpers.m_batches, this);
    return task;
  }
  void claimAll() {
    m_done += m_tasks - m_claimed;  // withdrawn, so never run
    m_claimed = m_tasks;
    std::erase(m_helpers.m_batches, this);
  }

  Helpers& m_helpers;
  const std::size_t m_tasks;
  const std::function<void(std::size_t)>& m_task;
  std::size_t m_claimed = 0;  // these three with the mutex held
  std::size_t m_done = 0;
};

void Helpers::offer(Batch& batch) {
  if (batch.m_tasks == 0) return;
  std::lock_guard lock(m_mutex);
  if (!m_started) {
    m_started = true;
    try {
      m_threads.reserve(m_most);
      for (std::size_t i = 0; i < m_most; ++i) {
        m_threads.emplace_back([this] {
          t_helpers = this;  // work split inside a task shares these helpers
          help();
        });
      }
    } catch (const std::exception&) {
      // No more threads to be had (or no memory for them): those started help, the callers do
      // the rest.
    }
  }
  if (m_threads.empty()) return;
  m_batches.push_back(&batch);
  if (batch.m_tasks >= m_threads.size()) {
    m_offered.notify_all();
  } else {
    for (std::size_t i = 0; i < batch.m_tasks; ++i) m_offered.notify_one();
  }
}

void Helpers::help() {
  std::unique_lock lock(m_mutex);
  for (;;) {
    m_offered.wait(lock, [&] { return m_stopping || !m_batches.empty(); });
    if (m_batches.empty()) return;
    Batch& batch = *m_batches.front();
    const std::size_t task = batch.claim();
    lock.unlock();
    batch.m_task(task);
    lock.lock();
    // The batch's end waits for this under the mutex, so it is still there.
    if (++batch.m_done == batch.m_claimed) m_finished.notify_all();
  }
}

SharedHelpers::SharedHelpers() {
  if (t_helpers) return;  // inside another run's: those serve
  m_helpers = std::make_unique<Helpers>(std::min(processors(), kMaxThreads) - 1);
  t_helpers = m_helpers.get();
}

SharedHelpers::~SharedHelpers() {
  if (m_helpers) t_helpers = nullptr;
}

namespace {

// The calling thread's shared helpers, or else a set of `most` for one split, made in `own`.
Helpers& helpersFor(std::optional<Helpers>& own, std::size_t most) {
  if (t_helpers) return *t_helpers;
  return own.emplace(std::min(most, kMaxThreads - 1));
}

}  // namespace

std::size_t chunksFor(std::size_t count, std::size_t minimum) {
  if (minimum == 0 || count < 2 * minimum) return 1;  // most types: no question to the system
  return std::max<std::size_t>(1, std::min({processors(), t_chunkLimit, count / minimum}));
}

ChunkLimit::ChunkLimit(std::size_t most) noexcept : m_before(t_chunkLimit) {
  t_chunkLimit = std::min(most, kMaxThreads);
}

ChunkLimit::~ChunkLimit() { t_chunkLimit = m_before; }

void forChunks(std::size_t count, std::size_t chunks,
               const std::function<void(std::size_t, std::size_t, std::size_t)>& work) {
  chunks = std::clamp<std::size_t>(chunks, 1, std::max<std::size_t>(count, 1));
  if (chunks == 1) return work(0, 0, count);  // most types: nothing to set up
  const auto beginOf = [&](std::size_t chunk) { return chunkBegin(count, chunks, chunk); };
  std::vector<std::exception_ptr> failures(chunks);
  const std::function<void(std::size_t)> run = [&](std::size_t chunk) noexcept {
    try {
      work(chunk, beginOf(chunk), beginOf(chunk + 1));
    } catch (...) {
      failures[chunk] = std::current_exception();
    }
  };
  {
    // The first chunk is the calling thread's, as a single pass would have it.
    const std::function<void(std::size_t)> runLater = [&](std::size_t task) { run(task + 1); };
    std::optional<Helpers> own;
    Helpers::Batch batch(helpersFor(own, chunks - 1), chunks - 1, runLater);
    run(0);
    batch.runRest();
  }
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
}

namespace {

// The text of one chunk in turn, the chunks `2 * workers` apart sharing it. Its turn is twice the
// number of the chunk it is for, plus one once that chunk's text is written; the calling thread
// moves it on to the next chunk when it takes the text. Each on a cache line of its own, since
// its turn changes for every chunk. Four bytes, which the C++ library waits on at the turn's own
// address (a wider one shares its waiters with every slot).
struct alignas(64) Slot {
  std::atomic<std::uint32_t> turn{0};
  bool failed = false;
  std::string text;
  std::exception_ptr failure;
};

constexpr std::uint32_t kStopped = 0xFFFF'FFFF;
constexpr std::size_t kMostChunks = 0x3FFF'FFFF;  // every turn below `kStopped`

std::uint32_t turnOf(std::size_t chunk) { return static_cast<std::uint32_t>(2 * chunk); }

}  // namespace

void writeInOrder(std::size_t count, std::size_t chunkSize, std::size_t workers,
                  const std::function<void(std::size_t, std::size_t, std::string&)>& write,
                  const std::function<void(std::string_view)>& take) {
  chunkSize = std::max<std::size_t>(chunkSize, 1);
  const std::size_t chunks = count / chunkSize + (count % chunkSize != 0);
  workers = std::clamp<std::size_t>(workers, 1, std::max<std::size_t>(chunks, 1));
  if (chunks > kMostChunks) workers = 1;
  const auto endOf = [&](std::size_t chunk) { return std::min(count, (chunk + 1) * chunkSize); };
  if (workers == 1) {
    std::string text;
    for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
      text.clear();
      write(chunk * chunkSize, endOf(chunk), text);
      take(text);
    }
    return;
  }

  // The helpers claim chunks in order; each writes its chunk once the chunk `2 * workers` before
  // it (which shares its slot) was taken.
  const std::size_t slotCount = 2 * workers;
  const auto slots = std::make_unique<Slot[]>(slotCount);
  for (std::size_t i = 0; i < slotCount; ++i)
    slots[i].turn.store(turnOf(i), std::memory_order_relaxed);
  std::atomic<std::size_t> nextChunk{0};
  std::atomic<bool> stop{false};
  // The chunks of one call are much alike: each text starts with room for the longest written
  // so far, rather than growing from nothing by doubling and being moved at each step (Dart's
  // chunks of wide records are a megabyte each; median of 20 runs on 100 wide records, 74 to
  // 70 ms, and of 6 on 1,000, 423 to 386 ms).
  std::atomic<std::size_t> longest{0};
  const std::function<void(std::size_t)> writeChunks = [&](std::size_t) noexcept {
    while (!stop.load(std::memory_order_acquire)) {
      const std::size_t chunk = nextChunk.fetch_add(1, std::memory_order_relaxed);
      if (chunk >= chunks) return;
      Slot& slot = slots[chunk % slotCount];
      for (std::uint32_t turn;
           (turn = slot.turn.load(std::memory_order_acquire)) != turnOf(chunk);) {
        if (turn == kStopped) return;
        slot.turn.wait(turn, std::memory_order_acquire);
      }
      bool failed = false;
      try {
        slot.text.clear();
        slot.text.reserve(longest.load(std::memory_order_relaxed));
        write(chunk * chunkSize, endOf(chunk), slot.text);
        std::size_t seen = longest.load(std::memory_order_relaxed);
        while (slot.text.size() > seen &&
               !longest.compare_exchange_weak(seen, slot.text.size(), std::memory_order_relaxed)) {
        }
      } catch (...) {
        slot.failure = std::current_exception();
        slot.failed = failed = true;
      }
      // Unless stopped meanwhile: a stopped slot stays so, for the helpers still to come to it.
      std::uint32_t written = turnOf(chunk);
      slot.turn.compare_exchange_strong(written, turnOf(chunk) + 1, std::memory_order_release,
                                        std::memory_order_relaxed);
      slot.turn.notify_all();
      if (failed) return;  // nothing after this chunk is taken
    }
  };
  // Wakes every waiting helper to stop; the batch's end then waits for them, however this returns.
  struct Stopping {
    std::atomic<bool>& stop;
    Slot* slots;
    std::size_t slotCount;
    ~Stopping() {
      stop.store(true, std::memory_order_release);
      for (std::size_t i = 0; i < slotCount; ++i) {
        slots[i].turn.store(kStopped, std::memory_order_release);
        slots[i].turn.notify_all();
      }
    }
  };
  std::optional<Helpers> own;
  Helpers::Batch batch(helpersFor(own, workers), workers, writeChunks);
  const Stopping stopping{stop, slots.get(), slotCount};
  for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
    Slot& slot = slots[chunk % slotCount];
    std::size_t expected = chunk;
    if (nextChunk.compare_exchange_strong(expected, chunk + 1, std::memory_order_relaxed)) {
      // No helper has come to it: written here (its slot was freed when the chunk before it in
      // the slot was taken).
      slot.text.clear();
      write(chunk * chunkSize, endOf(chunk), slot.text);
    } else {
      for (std::uint32_t turn;
           (turn = slot.turn.load(std::memory_order_acquire)) != turnOf(chunk) + 1;) {
        slot.turn.wait(turn, std::memory_order_acquire);
      }
      if (slot.failed) std::rethrow_exception(slot.failure);
    }
    take(slot.text);
    slot.turn.store(turnOf(chunk + slotCount), std::memory_order_release);
    slot.turn.notify_all();
  }
}

}  // namespace telvar
