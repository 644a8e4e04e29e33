#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace telvar {

class Helpers;

/// While it lives, the calling thread's splits of work (`forChunks`, `writeInOrder`, and those of
/// the work they hand out) share one set of helper threads, one fewer than the processors and at
/// most seven, started at the first split and kept waiting between splits; outside one, each
/// split starts threads of its own. One run of a generator holds one. Inside another, it leaves
/// that one in place.
class SharedHelpers {
 public:
  SharedHelpers();
  SharedHelpers(const SharedHelpers&) = delete;
  SharedHelpers& operator=(const SharedHelpers&) = delete;
  /// Waits for the helpers to stop (every split has ended by then).
  ~SharedHelpers();

 private:
  std::unique_ptr<Helpers> m_helpers;
};

/// Work on many items (the members of a wide object or type, the bytes of a large block) split
/// over several threads: each of `chunks` consecutive ranges of `[0, count)` is handed to
/// `work(chunk, begin, end)`, the first on the calling thread, the others on helper threads (see
/// `SharedHelpers`) or, where none is free to take one, on the calling thread too. Returns once
/// every call has returned, and then throws the exception of the first chunk that threw (the one a
/// single pass would have met first). `work` must only read what the calls share, or write parts of
/// it that no other call touches.
void forChunks(
    std::size_t count, std::size_t chunks,
    const std::function<void(std::size_t chunk, std::size_t begin, std::size_t end)>& work);

/// Where chunk `chunk` of `forChunks(count, chunks, ...)` begins (`chunk == chunks`: `count`), for
/// `chunks` as `forChunks` clamps it (from 1 to `count`, or 1 for no items).
[[nodiscard]] std::size_t chunkBegin(std::size_t count, std::size_t chunks, std::size_t chunk);

/// Texts written on several threads and taken in order: `[0, count)` is cut into chunks of
/// `chunkSize` items, up to `workers` helper threads (as `forChunks` has them) write the chunks in
/// turn with `write(begin, end, text)` into a text of the chunk's own (emptied first), and the
/// calling thread hands each chunk's text to `take` in the chunks' order as soon as it is written,
/// writing a chunk itself where no helper has come to it. No chunk is written more than
/// `2 * workers` chunks ahead of the taking, so a long run of text is never held whole, and a
/// slow chunk holds up only the taking, not the other threads. Returns once every helper has
/// stopped, and then throws the exception of the first chunk whose `write` or `take` threw.
/// `write` must only read what the calls share.
void writeInOrder(
    std::size_t count, std::size_t chunkSize, std::size_t workers,
    const std::function<void(std::size_t begin, std::size_t end, std::string& text)>& write,
    const std::function<void(std::string_view text)>& take);

/// The members of a chunk: objects and types of fewer than twice as many are worked on by one
/// thread, where starting threads would cost more than it saves.
inline constexpr std::size_t kMembersAChunk = 8192;

/// How many chunks `count` items are worth: one below `2 * minimum`, else one per `minimum` items
/// up to the number of processors (at most eight, or the `ChunkLimit` of the calling thread).
[[nodiscard]] std::size_t chunksFor(std::size_t count, std::size_t minimum);

/// While it lives, `chunksFor` gives at most `most` chunks on the calling thread (not on the
/// helper threads): with 1, a wide sample is refined and written in one pass there, which the
/// tests compare the chunked work with.
class ChunkLimit {
 public:
  explicit ChunkLimit(std::size_t most) noexcept;
  ChunkLimit(const ChunkLimit&) = delete;
  ChunkLimit& operator=(const ChunkLimit&) = delete;
  ~ChunkLimit();

 private:
  std::size_t m_before;
};

}  // namespace telvar
