#include "telvar/threads/chunks.h"

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <string>
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
  // Each thread writes at most its two texts ahead of the taking.
  EXPECT_LE(written.load(), 10u * (3 + 2 * 8));
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
