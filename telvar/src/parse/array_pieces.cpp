#include "parse/array_pieces.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <limits>
#include <mutex>
#include <new>
#include <thread>

#include "telvar/parse/parser.h"
#include "telvar/unicode/text.h"

namespace telvar::detail {
namespace {

constexpr std::size_t kMinPieceBytes = std::size_t{32} << 10;
// Small pieces, few of them ahead of the reader: what is parsed ahead is held until it is taken,
// and each worker's heap keeps what it once held. With at most 48 KB a piece and two pieces a
// worker ahead, the 50 MB text corpus peaks at 66 MB rather than 77 MB (pieces of 256 KB, four a
// worker ahead), and the records corpus at 74 MB rather than 105 MB.
constexpr std::size_t kMaxPieceBytes = std::size_t{48} << 10;
constexpr unsigned kPiecesAheadPerWorker = 2;
constexpr unsigned kMaxWorkers = 8;
// Past this much text without a cut (one huge element, or text the scan does not follow), the
// rest is better read in order.
constexpr std::size_t kLongestUncut = std::size_t{1} << 20;

// Finds where a large array may be cut: top-level commas, at least a piece's length apart. It
// tracks only strings and brackets, and ends where it could lose track of the text.
class Cutter {
 public:
  // `text` starts at a comma after an element of the array.
  Cutter(std::string_view text, std::size_t pieceBytes) : m_text(text), m_pieceBytes(pieceBytes) {}

  // The next cut, or nothing once the scan has ended: at the array's end, at a quotation mark or
  // backslash joined to a combining mark after it, or long without a cut (one huge element, or
  // text this scan does not follow). Reading in order does better from there.
  std::optional<std::size_t> next() {
    const std::size_t n = m_text.size();
    for (; m_pos < n; ++m_pos) {
      if (m_pos - m_last > kLongestUncut) break;
      if (m_inString) {
        m_pos = quoteOrBackslashFrom(m_pos);
        if (m_pos >= n) break;
        if (joinsNeighbour(m_pos)) break;
        if (byte(m_pos) == '"') {
          m_inString = false;
        } else {
          ++m_pos;  // the escaped byte
        }
        continue;
      }
      const unsigned b = byte(m_pos);
      if (b == '"') {
        if (joinsNeighbour(m_pos)) break;
        m_inString = true;
      } else if (b == '[' || b == '{') {
        ++m_depth;
      } else if (b == ']' || b == '}') {
        if (--m_depth < 0) break;  // the array's end
      } else if (b == ',' && m_depth == 0 && m_pos - m_last >= m_pieceBytes && cutsCleanly(m_pos)) {
        m_last = m_pos++;
        return m_last;
      }
    }
    m_pos = n;
    return std::nullopt;
  }

 private:
  [[nodiscard]] unsigned byte(std::size_t at) const {
    return static_cast<unsigned char>(m_text[at]);
  }

  // The first quotation mark or backslash from `at` on, or the end: most of a record's text is
  // inside strings, so this goes many bytes at a time.
  [[nodiscard]] std::size_t quoteOrBackslashFrom(std::size_t at) const {
    return parse::detail::firstOf(m_text, at, '"', '\\', false);
  }

  // The comma at `comma` is a character of its own and follows an ASCII byte, so each side of
  // it reads as it does within the whole text.
  [[nodiscard]] bool cutsCleanly(std::size_t comma) const {
    return byte(comma - 1) < 0x80 && firstCluster(m_text.substr(comma)).length == 1;
  }

  // Whether the quotation mark or backslash at `at` forms one character with a combining mark
  // after it: the grammar reads such a character as plain text, where this scan would take the
  // byte for what it is alone. (Nothing before it joins it: it always begins a character.)
  [[nodiscard]] bool joinsNeighbour(std::size_t at) const {
    const bool asciiAfter = at + 1 >= m_text.size() || byte(at + 1) < 0x80;
    return !asciiAfter && firstCluster(m_text.substr(at)).length != 1;
  }

  std::string_view m_text;
  std::size_t m_pieceBytes;
  std::size_t m_pos = 1;
  std::size_t m_last = 0;  // the last cut
  std::ptrdiff_t m_depth = 0;
  bool m_inString = false;
};

class Pieces {
 public:
  // Parses the pieces that `cutter` finds in `text` (the text it scans) with `read`, the first
  // ending at `firstCut`.
  Pieces(std::string_view text, const PieceReader& read, unsigned workers, Cutter cutter,
         std::size_t firstCut)
      : m_text(text),
        m_read(read),
        m_window(kPiecesAheadPerWorker * workers),
        m_cutter(cutter),
        m_cuts{0, firstCut},
        m_pieces(1),
        m_releasable(workers) {
    // One worker for the first piece; the cutting thread starts more as it finds more pieces,
    // so that a modest array does not pay for threads it has no pieces for.
    try {
      m_workers.emplace_back([this] { work(0); });
      m_cutting = std::thread([this] { cut(); });
    } catch (...) {
      stop();
      throw;
    }
  }
  Pieces(const Pieces&) = delete;
  Pieces& operator=(const Pieces&) = delete;
  ~Pieces() { stop(); }

  // What was read of piece `k` once parsed (pieces are taken in order, each until `collected`),
  // or nullptr when its elements do not fill the piece or there is no such piece; `end` is where
  // the piece ends, at the cut after its last element. A piece no worker has started yet is parsed
  // here, rather than waited for.
  std::vector<Value>* take(std::size_t k, std::size_t& end) {
    std::unique_lock lock(m_mutex);
    m_awaited = k;
    m_pieceDone.wait(lock, [&] {
      return (k < m_pieces.size() && (m_pieces[k].done || m_next == k)) ||
             (m_cutDone && k >= m_pieces.size());
    });
    m_awaited = kNone;
    if (k >= m_pieces.size()) return nullptr;
    Piece& piece = m_pieces[k];
    end = m_cuts[k + 1];
    if (!piece.done) {
      ++m_next;
      piece.worker = kReader;
      const std::size_t begin = m_cuts[k] + 1;
      lock.unlock();
      std::optional<std::vector<Value>> values = parsed(begin, end);
      lock.lock();
      piece.values = std::move(values);
      piece.done = true;
    }
    return piece.values ? &*piece.values : nullptr;
  }

  // Piece `k` is collected: its worker lets go of what is left of it, so that memory returns
  // where it came from, and a further piece may be parsed.
  void collected(std::size_t k) {
    Piece* own = nullptr;
    bool claimable = false;
    {
      const std::lock_guard lock(m_mutex);
      m_taken = k + 1;
      Piece& piece = m_pieces[k];
      if (piece.worker == kReader) {
        own = &piece;
      } else {
        try {
          m_releasable[piece.worker].push_back(&piece);
        } catch (const std::bad_alloc&) {
          // Then the piece is let go with the others, when reading in pieces ends.
        }
      }
      claimable = m_next < m_pieces.size() && m_next < m_taken + m_window;
    }
    // One more piece may now be parsed: one worker is woken for it, outside the lock it would
    // wait for next. The owner of the collected piece lets it go the next time it wakes; waking
    // a worker for that alone costs more than it saves.
    if (claimable) m_workAvailable.notify_one();
    if (own) own->values.reset();
  }

 private:
  static constexpr unsigned kReader = std::numeric_limits<unsigned>::max();  // not a worker
  static constexpr std::size_t kNone = std::numeric_limits<std::size_t>::max();

  struct Piece {
    bool done = false;
    unsigned worker = 0;  // who parsed it
    std::optional<std::vector<Value>> values;
  };

  // Hands each further piece to the workers as soon as it is known.
  void cut() {
    for (std::size_t pieces = 1; !m_stopping.load(std::memory_order_relaxed); ++pieces) {
      const std::optional<std::size_t> at = m_cutter.next();
      if (!at || !publish(*at)) break;
      if (m_workers.size() < m_releasable.size() && m_workers.size() <= pieces) {
        try {
          const auto worker = static_cast<unsigned>(m_workers.size());
          m_workers.emplace_back([this, worker] { work(worker); });
        } catch (...) {
          // The workers there are carry on.
        }
      }
    }
    const std::lock_guard lock(m_mutex);
    m_cutDone = true;
    m_pieceDone.notify_all();
    m_workAvailable.notify_all();
  }

  // Adds the piece that ends at the cut `at`; false when there is no room for it.
  bool publish(std::size_t at) {
    bool claimable = false;
    bool awaited = false;
    {
      const std::lock_guard lock(m_mutex);
      try {
        m_cuts.push_back(at);
      } catch (const std::bad_alloc&) {
        return false;
      }
      try {
        m_pieces.emplace_back();
      } catch (const std::bad_alloc&) {
        m_cuts.pop_back();
        return false;
      }
      // The scan mostly runs ahead of the workers: a piece past those they may start, or one
      // the reader is not waiting for, wakes no one.
      const std::size_t k = m_pieces.size() - 1;
      claimable = k < m_taken + m_window;
      awaited = m_awaited == k;
    }
    // A worker for what it may start, the reader for what it waits for: woken once the lock is
    // let go, so that neither wakes only to wait for it.
    if (claimable) m_workAvailable.notify_one();
    if (awaited) m_pieceDone.notify_one();
    return true;
  }

  // The elements that fill the text from `begin` to `end`, if they do.
  std::optional<std::vector<Value>> parsed(std::size_t begin, std::size_t end) const noexcept {
    try {
      return m_read(m_text.substr(begin, end - begin));
    } catch (...) {
      return std::nullopt;  // read again in order, which reports the failure itself
    }
  }

  void work(unsigned worker) {
    for (;;) {
      std::vector<Piece*> release;
      Piece* claimed = nullptr;
      std::size_t index = 0;
      std::size_t begin = 0;
      std::size_t end = 0;
      {
        std::unique_lock lock(m_mutex);
        m_workAvailable.wait(lock, [&] {
          return m_stopping || !m_releasable[worker].empty() ||
                 (m_cutDone && m_next >= m_pieces.size()) ||
                 (m_next < m_pieces.size() && m_next < m_taken + m_window);
        });
        release.swap(m_releasable[worker]);
        // Done once nothing is left to parse: what is still to be let go goes with the pieces.
        const bool nothingLeft = m_stopping || (m_cutDone && m_next >= m_pieces.size());
        if (nothingLeft && release.empty()) return;
        if (!m_stopping && m_next < m_pieces.size() && m_next < m_taken + m_window) {
          index = m_next;
          claimed = &m_pieces[m_next];
          claimed->worker = worker;
          begin = m_cuts[m_next] + 1;
          end = m_cuts[m_next + 1];
          ++m_next;
        }
      }
      // Collected pieces are no one else's any more.
      for (Piece* piece : release) piece->values.reset();
      if (!claimed) continue;
      std::optional<std::vector<Value>> values = parsed(begin, end);
      bool awaited = false;
      {
        const std::lock_guard lock(m_mutex);
        claimed->values = std::move(values);
        claimed->done = true;
        awaited = m_awaited == index;
      }
      // Only the reader waits for pieces, and only for the one it takes next.
      if (awaited) m_pieceDone.notify_one();
    }
  }

  void stop() {
    {
      const std::lock_guard lock(m_mutex);
      m_stopping = true;
      m_workAvailable.notify_all();
    }
    // The cutting thread first: it may still be starting workers.
    if (m_cutting.joinable()) m_cutting.join();
    for (std::thread& worker : m_workers) worker.join();
    m_workers.clear();
  }

  const std::string_view m_text;
  const PieceReader& m_read;
  const std::size_t m_window;  // pieces parsed ahead of the reader, which bounds the memory
  Cutter m_cutter;             // the cutting thread's alone
  // A thread is woken only when there is something for it: the piece the reader waits for, or a
  // piece a worker may start. Each wake-up is a system call and a switch of threads; waking on
  // every change took the 50 MB corpora to 2,800 switches rather than 1,100, and 8% more
  // processor time.
  mutable std::mutex m_mutex;
  std::condition_variable m_workAvailable;
  std::condition_variable m_pieceDone;
  std::vector<std::size_t> m_cuts;  // m_cuts[k] and m_cuts[k + 1] bound piece k
  std::deque<Piece> m_pieces;
  std::vector<std::vector<Piece*>> m_releasable;  // per worker: its collected pieces
  std::size_t m_next = 0;                         // the next piece to parse
  std::size_t m_taken = 0;                        // pieces collected
  std::size_t m_awaited = kNone;                  // the piece the reader waits for
  bool m_cutDone = false;
  std::atomic<bool> m_stopping{false};
  std::vector<std::thread> m_workers;  // grown by the cutting thread alone while it runs
  std::thread m_cutting;
};

}  // namespace

std::size_t readInPieces(std::string_view rest, const PieceReader& read,
                         const PieceCollector& collect) {
  if (rest.empty() || rest.front() != ',' || firstCluster(rest).length != 1) return 0;
  const unsigned workers = std::min(std::thread::hardware_concurrency(), kMaxWorkers);
  if (workers < 2) return 0;
  // Enough pieces to keep every worker busy to the end, each long enough to be worth it.
  const std::size_t pieceBytes =
      std::clamp(rest.size() / (8 * workers), kMinPieceBytes, kMaxPieceBytes);
  Cutter cutter(rest, pieceBytes);
  // Threads start only once there is a first piece for them.
  const std::optional<std::size_t> firstCut = cutter.next();
  if (!firstCut) return 0;
  std::optional<Pieces> pieces;
  try {
    pieces.emplace(rest, read, workers, cutter, *firstCut);
  } catch (const std::exception&) {
    return 0;  // no threads to be had: read in order
  }
  std::size_t at = 0;
  for (std::size_t k = 0;; ++k) {
    std::size_t end = 0;
    std::vector<Value>* values = pieces->take(k, end);
    if (!values) break;
    collect(*values);
    at = end;
    pieces->collected(k);
  }
  return at;
}

}  // namespace telvar::detail
