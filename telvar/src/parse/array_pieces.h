#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "telvar/value/value.h"

namespace telvar::detail {

/// Reading a large array in pieces at once. The rest of the array is cut at top-level commas
/// into pieces that worker threads read at the same time, while the calling thread takes the
/// finished pieces in order. The cuts come from a quick scan that tracks only strings and
/// brackets; each piece is read by the grammar itself and counts only if its elements end
/// exactly at the next cut. From the first piece that does not, the caller reads on in order, so
/// the result never differs from reading the whole array in order.

/// An array takes this much text, read in order, before its rest is read in pieces.
inline constexpr std::size_t kInPiecesFrom = std::size_t{64} << 10;

/// What is read of a piece's text for the collector: its elements, with whatever the reader adds
/// from them where they were read, or nothing when the elements (separated by commas) do not take
/// up all of the text. Called on several threads at once; an exception counts as nothing.
using PieceReader = std::function<std::optional<std::vector<Value>>(std::string_view)>;
/// Takes what was read of each piece, in order, on the calling thread.
using PieceCollector = std::function<void(std::vector<Value>&)>;

/// Reads `rest` (the rest of an array, from the comma after an element on) in pieces with
/// `read`, handing what it gives for each piece to `collect`. Gives how many bytes of `rest` the
/// pieces took up: reading in order goes on from there (0 when it is better to read all of `rest`
/// in order: too few processors, no threads to be had, no cut found).
[[nodiscard]] std::size_t readInPieces(std::string_view rest, const PieceReader& read,
                                       const PieceCollector& collect);

}  // namespace telvar::detail
