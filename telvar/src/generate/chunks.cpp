#include "telvar/generate/chunks.h"

#include <algorithm>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace telvar::generate {

std::size_t chunkBegin(std::size_t count, std::size_t chunks, std::size_t chunk) {
  // The first `count % chunks` chunks take one item more.
  return chunk * (count / chunks) + std::min(chunk, count % chunks);
}

std::size_t chunksFor(std::size_t count, std::size_t minimum) {
  if (minimum == 0 || count < 2 * minimum) return 1;  // most types: no question to the system
  constexpr std::size_t kMaxThreads = 8;
  static const std::size_t processors = std::max(1u, std::thread::hardware_concurrency());
  return std::min({processors, kMaxThreads, count / minimum});
}

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

}  // namespace telvar::generate
