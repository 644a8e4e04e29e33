#include "telvar/threads/chunks.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <future>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "telvar/generate/code_printer.h"

namespace telvar::generate {
namespace {

// Item i's text: its number and a run of letters whose length varies, so that texts taken out of
// order or twice would show.
std::string itemText(std::size_t i) { return std::to_string(i) + std::string(i % 7, 'x') + ';'; }

std::string allItems(std::size_t count) {
  std::string all;
  for (std::size_t i = 0; i < count; ++i) all += itemText(i);
  return all;
}

TEST(WriteInOrder, TakesEveryChunksTextOnceAndInOrder) {
  // Fewer items than a chunk, a last chunk cut short, more threads than chunks, one thread.
  for (const auto& [count, chunkSize, workers] :
       std::vector<std::tuple<std::size_t, std::size_t, std::size_t>>{
           {0, 10, 4}, {5, 10, 4}, {1000, 7, 4}, {1000, 100, 64}, {1000, 3, 1}, {30000, 64, 8}}) {
    std::string taken;
    std::size_t takes = 0;
    writeInOrder(
        count, chunkSize, workers,
        [](std::size_t begin, std::size_t end, std::string& text) {
          EXPECT_TRUE(text.empty());  // a text used before is emptied first
          for (std::size_t i = begin; i < end; ++i) text += itemText(i);
        },
        [&](std::string_view text) {
          taken += text;
          ++takes;
        });
    EXPECT_EQ(taken, allItems(count)) << count << " items, chunks of " << chunkSize;
    EXPECT_EQ(takes, (count + chunkSize - 1) / chunkSize);
  }
}

TEST(WriteInOrder, AFailedChunkFailsTheWholeAfterTheChunksBeforeItWereTaken) {
  std::string taken;
  EXPECT_THROW(writeInOrder(
                   10000, 10, 4,
                   [](std::size_t begin, std::size_t end, std::string& text) {
                     // Two chunks fail: the first one met in order is the one reported.
                     if (begin == 5000) throw std::runtime_error("first");
                     if (begin == 7000) throw std::logic_error("later");
                     for (std::size_t i = begin; i < end; ++i) text += itemText(i);
                   },
                   [&](std::string_view text) { taken += text; }),
               std::runtime_error);
  EXPECT_EQ(taken, allItems(5000));
}

TEST(WriteInOrder, AFailedTakeStopsEveryThread) {
  std::atomic<std::size_t> written{0};
  std::size_t takes = 0;
  EXPECT_THROW(writeInOrder(
                   100000, 10, 8,
                   [&](std::size_t begin, std::size_t end, std::string& text) {
                     written += end - begin;
                     text = "t";
                   },
                   [&](std::string_view) {
                     if (++takes == 3) throw std::runtime_error("drain failed");
                   }),
               std::runtime_error);
  // Three chunks taken, the third failing: the helpers stop at most 2 * 8 chunks past the second.
  EXPECT_LE(written.load(), 10u * (2 + 2 * 8));
}

// Work split from inside split work, or by several threads at once, each with helpers shared
// for its run or with helpers of each split's own, must neither wait for itself nor lose a chunk.
TEST(ForChunks, NestedAndConcurrentCallersEachGetEveryChunkOnce) {
  const auto sumOfChunks = [](std::size_t count, std::size_t chunks) {
    std::vector<std::size_t> sums(chunks);
    const auto caller = std::this_thread::get_id();
    forChunks(count, chunks, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
      if (chunk == 0) {
        EXPECT_EQ(std::this_thread::get_id(), caller);
      }
      for (std::size_t i = begin; i < end; ++i) sums[chunk] += i;
    });
    std::size_t sum = 0;
    for (const std::size_t part : sums) sum += part;
    return sum;
  };
  const auto expected = [](std::size_t count) { return count * (count - 1) / 2; };

  for (const bool shared : {true, false}) {
    SCOPED_TRACE(shared);
    std::optional<SharedHelpers> helpers;
    if (shared) helpers.emplace();
    // Every chunk of the outer work splits its own, more ways than there are helpers.
    std::vector<std::size_t> inner(8);
    forChunks(8, 8, [&](std::size_t chunk, std::size_t, std::size_t) {
      inner[chunk] = sumOfChunks(1000 + chunk, 16);
    });
    for (std::size_t chunk = 0; chunk < 8; ++chunk) {
      EXPECT_EQ(inner[chunk], expected(1000 + chunk));
    }

    // Texts written in order from inside split work, and split work inside their writing.
    std::vector<std::string> texts(4);
    forChunks(4, 4, [&](std::size_t chunk, std::size_t, std::size_t) {
      writeInOrder(
          2000, 10, 8,
          [&](std::size_t begin, std::size_t end, std::string& text) {
            if (begin % 500 == 0) {
              EXPECT_EQ(sumOfChunks(100, 4), expected(100));
            }
            for (std::size_t i = begin; i < end; ++i) text += itemText(i);
          },
          [&](std::string_view text) { texts[chunk] += text; });
    });
    for (const std::string& text : texts) EXPECT_EQ(text, allItems(2000));
  }

  // Several threads of their own at once, every other one with helpers for its run.
  std::vector<std::size_t> sums(6);
  {
    std::vector<std::jthread> callers;
    for (std::size_t t = 0; t < sums.size(); ++t) {
      callers.emplace_back([&, t] {
        std::optional<SharedHelpers> helpers;
        if (t % 2 == 0) helpers.emplace();
        for (int round = 0; round < 20; ++round) sums[t] += sumOfChunks(5000 + t, 8);
      });
    }
  }
  for (std::size_t t = 0; t < sums.size(); ++t) EXPECT_EQ(sums[t], 20 * expected(5000 + t));
}

// While every shared helper is held by other work, work split from the calling thread is done
// there alone.
TEST(ForChunks, WorkSplitWhileEveryHelperIsBusyIsDoneByItsCaller) {
  const SharedHelpers helpers;
  const std::size_t threads =
      std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), 8);
  std::atomic<std::size_t> held{0};
  std::atomic<bool> release{false};
  bool alone = false;
  // Were the work to wait on a helper, the helpers are let go after a while, and the test fails
  // rather than hangs.
  std::atomic<bool> waited{false};
  std::jthread watchdog([&](std::stop_token stop) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!stop.stop_requested() && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!stop.stop_requested()) {
      waited = true;
      release = true;
    }
  });
  // The calling thread takes the first chunk, each helper one of the others and holds it.
  forChunks(threads, threads, [&](std::size_t chunk, std::size_t, std::size_t) {
    if (chunk != 0) {
      ++held;
      while (!release.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
      return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (held.load() < threads - 1 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    auto work = std::async(std::launch::deferred, [] {
      std::string taken;
      writeInOrder(
          1000, 7, 4,
          [](std::size_t begin, std::size_t end, std::string& text) {
            for (std::size_t i = begin; i < end; ++i) text += itemText(i);
          },
          [&](std::string_view text) { taken += text; });
      std::vector<std::size_t> sums(4);
      forChunks(1000, 4, [&](std::size_t part, std::size_t begin, std::size_t end) {
        for (std::size_t i = begin; i < end; ++i) sums[part] += i;
      });
      return taken == allItems(1000) && sums[0] + sums[1] + sums[2] + sums[3] == 1000 * 999 / 2;
    });
    alone = work.get();
    watchdog.request_stop();
    release = true;
  });
  EXPECT_TRUE(alone);
  EXPECT_FALSE(waited) << "waited on work no thread had taken";
}

// With the taking slow, the helpers run ahead of it as far as they may, and no further.
TEST(WriteInOrder, NoChunkIsWrittenMoreThanTwiceTheWorkersAheadOfTheTaking) {
  for (const std::size_t workers : {2u, 3u, 8u}) {
    std::atomic<std::size_t> taken{0};
    std::atomic<std::size_t> mostAhead{0};
    writeInOrder(
        400, 1, workers,
        [&](std::size_t begin, std::size_t, std::string& text) {
          const std::size_t ahead = begin - std::min(begin, taken.load());
          std::size_t most = mostAhead.load();
          while (ahead > most && !mostAhead.compare_exchange_weak(most, ahead)) {
          }
          text = "x";
        },
        [&](std::string_view) {
          std::this_thread::sleep_for(std::chrono::microseconds(200));
          ++taken;
        });
    EXPECT_LE(mostAhead.load(), 2 * workers - 1) << workers << " workers";
  }
}

// Member i's lines, as a writer's loop would write them: some begin on a line of their own, some
// continue the line before with a separator, some add an empty line.
void writeMember(CodePrinter& p, std::size_t i) {
  if (i > 0 && i % 3 == 0) p.add(",");
  if (i % 11 == 0) p.blank();
  p.line("member ", std::to_string(i), " {");
  {
    auto body = p.indented();
    if (i % 2 == 0) p.line("even");
  }
  p.line("}");
}

std::string membersWrittenInOneLoop(std::size_t count, bool startedBefore) {
  std::string out;
  CodePrinter p(out, "  ", 1);
  if (startedBefore) p.line("before");
  auto in = p.indented();
  for (std::size_t i = 0; i < count; ++i) writeMember(p, i);
  return out;
}

TEST(CodePrinterMembers, AWideTypesMembersAreWrittenAsOneLoopWouldWriteThem) {
  // Below the size written on several threads, and above it; after a line and as the first text.
  for (const std::size_t count : {std::size_t{100}, 5 * kMembersAChunk + 17}) {
    for (const bool startedBefore : {true, false}) {
      std::string out;
      CodePrinter p(out, "  ", 1);
      if (startedBefore) p.line("before");
      {
        auto in = p.indented();
        p.members(count, writeMember);
      }
      p.line("after");
      const std::string expected = membersWrittenInOneLoop(count, startedBefore) + "\n  after";
      // Compared whole, reported where they part: a diff of megabytes is no help.
      const auto parted = std::mismatch(out.begin(), out.end(), expected.begin(), expected.end());
      EXPECT_TRUE(out == expected) << count << " members, starting " << startedBefore
                                   << ", apart at " << (parted.first - out.begin()) << ": "
                                   << std::string(parted.first, out.end()).substr(0, 80) << " | "
                                   << std::string(parted.second, expected.end()).substr(0, 80);
    }
  }
}

TEST(CodePrinterMembers, DrainsAWideTypeInOrderUnlessHeld) {
  const std::size_t count = 12 * kMembersAChunk + 5;  // a few megabytes
  const std::string whole = membersWrittenInOneLoop(count, true);
  for (const bool held : {false, true}) {
    std::string out;
    std::string drained;
    std::size_t drains = 0;
    const TextDrain drain = [&](std::string_view text) {
      drained += text;
      ++drains;
    };
    CodePrinter p(out, "  ", 1);
    p.drainInto(&drain);
    {
      CodePrinter::Hold hold;
      if (held) hold = p.hold();
      p.line("before");
      auto in = p.indented();
      p.members(count, writeMember);
    }
    EXPECT_TRUE(drained + out == whole) << "held " << held;
    if (held) {
      EXPECT_EQ(drains, 0u);
    } else {
      EXPECT_GT(drains, 1u);  // not held whole until the end
    }
  }
}

TEST(CodePrinterMembers, AMemberThatFailsFailsTheLoop) {
  std::string out;
  CodePrinter p(out, "  ", 0);
  EXPECT_THROW(p.members(3 * kMembersAChunk,
                         [](CodePrinter& q, std::size_t i) {
                           if (i == 2 * kMembersAChunk + 1) throw std::runtime_error("member");
                           q.line("m");
                         }),
               std::runtime_error);
}

}  // namespace
}  // namespace telvar::generate
