#include "telvar/threads/chunks.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <system_error>
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
}  // namespace

std::size_t chunksFor(std::size_t count, std::size_t minimum) {
  if (minimum == 0 || count < 2 * minimum) return 1;  // most types: no question to the system
  static const std::size_t processors = std::max(1u, std::thread::hardware_concurrency());
  return std::max<std::size_t>(1, std::min({processors, t_chunkLimit, count / minimum}));
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
  const auto run = [&](std::size_t chunk) noexcept {
    try {
      work(chunk, beginOf(chunk), beginOf(chunk + 1));
    } catch (...) {
      failures[chunk] = std::current_exception();
    }
  };
  // Joined however this returns.
  std::vector<std::jthread> threads;
  std::size_t started = 1;
  try {
    threads.reserve(chunks - 1);
    for (; started < chunks; ++started) threads.emplace_back(run, started);
  } catch (const std::exception&) {
    // No more threads to be had (or no memory for them): the chunks not started are done here.
  }
  run(0);
  for (std::size_t chunk = started; chunk < chunks; ++chunk) run(chunk);
  threads.clear();
  for (const std::exception_ptr& failure : failures) {
    if (failure) std::rethrow_exception(failure);
  }
}

namespace {

// A text a thread writes and the calling thread takes: free, then written (or failed), then taken
// and free again. Each on a cache line of its own, since its state changes for every chunk.
struct alignas(64) Slot {
  enum State : int { free, written, failed };
  std::atomic<int> state{free};
  std::string text;
  std::exception_ptr failure;
};

}  // namespace

void writeInOrder(std::size_t count, std::size_t chunkSize, std::size_t workers,
                  const std::function<void(std::size_t, std::size_t, std::string&)>& write,
                  const std::function<void(std::string_view)>& take) {
  chunkSize = std::max<std::size_t>(chunkSize, 1);
  const std::size_t chunks = count / chunkSize + (count % chunkSize != 0);
  workers = std::clamp<std::size_t>(workers, 1, std::max<std::size_t>(chunks, 1));
  const auto endOf = [&](std::size_t chunk) { return std::min(count, (chunk + 1) * chunkSize); };
  const auto alone = [&] {
    std::string text;
    for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
      text.clear();
      write(chunk * chunkSize, endOf(chunk), text);
      take(text);
    }
  };
  if (workers == 1) return alone();

  // Two slots a thread: it writes its next chunk while the one before waits to be taken.
  const auto slots = std::make_unique<Slot[]>(2 * workers);
  const auto slotOf = [&](std::size_t chunk) -> Slot& {
    return slots[2 * (chunk % workers) + (chunk / workers) % 2];
  };
  std::atomic<bool> stop{false};
  const auto work = [&](std::size_t worker) noexcept {
    for (std::size_t chunk = worker; chunk < chunks; chunk += workers) {
      Slot& slot = slotOf(chunk);
      for (int state; (state = slot.state.load(std::memory_order_acquire)) != Slot::free;) {
        if (stop.load(std::memory_order_acquire)) return;
        slot.state.wait(state, std::memory_order_acquire);
      }
      if (stop.load(std::memory_order_acquire)) return;
      try {
        slot.text.clear();
        write(chunk * chunkSize, endOf(chunk), slot.text);
        slot.state.store(Slot::written, std::memory_order_release);
      } catch (...) {
        slot.failure = std::current_exception();
        slot.state.store(Slot::failed, std::memory_order_release);
        slot.state.notify_all();
        return;
      }
      slot.state.notify_all();
    }
  };
  // Wakes every waiting thread to stop; the threads are joined after it, however this returns.
  const auto stopAll = [&]() noexcept {
    stop.store(true, std::memory_order_release);
    for (std::size_t i = 0; i < 2 * workers; ++i) {
      slots[i].state.store(Slot::free, std::memory_order_release);
      slots[i].state.notify_all();
    }
  };
  std::vector<std::jthread> threads;
  struct Stopping {
    const decltype(stopAll)& stop;
    ~Stopping() { stop(); }
  };
  {
    bool started = true;
    try {
      threads.reserve(workers);
      for (std::size_t worker = 0; worker < workers; ++worker) threads.emplace_back(work, worker);
    } catch (const std::exception&) {
      started = false;  // no threads to be had (or no memory for them)
    }
    if (!started) {
      stopAll();
      threads.clear();
      return alone();
    }
  }
  const Stopping stopping{stopAll};  // before the threads are joined
  for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
    Slot& slot = slotOf(chunk);
    for (int state; (state = slot.state.load(std::memory_order_acquire)) == Slot::free;) {
      slot.state.wait(state, std::memory_order_acquire);
    }
    if (slot.state.load(std::memory_order_acquire) == Slot::failed) {
      std::rethrow_exception(slot.failure);
    }
    take(slot.text);
    slot.state.store(Slot::free, std::memory_order_release);
    slot.state.notify_all();
  }
}

}  // namespace telvar
