#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace telvar::bench {

/// A JSON array of records of about `bytes` bytes, generated with a fixed seed: nested objects,
/// arrays, nulls, ISO 8601 dates, time intervals, URLs, non-ASCII text and numbers.
[[nodiscard]] std::string recordCorpus(std::size_t bytes);

/// A JSON array of customers of about `bytes` bytes whose orders hold items that hold
/// shipments: arrays of objects three levels deep, with dates, URLs and UUIDs at every level.
[[nodiscard]] std::string nestedCorpus(std::size_t bytes);

/// A JSON array of records of about `bytes` bytes made mostly of long strings (descriptions,
/// comments, non-ASCII text with escapes) under a few keys.
[[nodiscard]] std::string textCorpus(std::size_t bytes);

/// A JSON array of records of about `bytes` bytes, each holding some of 40 optional members
/// (a different subset per record), so that nearly every member comes out optional.
[[nodiscard]] std::string optionalCorpus(std::size_t bytes);

/// Strings only, much of them non-ASCII with escapes.
[[nodiscard]] std::string stringCorpus(std::size_t bytes);

/// Numbers only.
[[nodiscard]] std::string numberCorpus(std::size_t bytes);

/// `depth` nested arrays around an object.
[[nodiscard]] std::string deepCorpus(int depth);

/// One object with `keys` members.
[[nodiscard]] std::string wideCorpus(int keys);

/// A JSON array of `records` objects of `keys` members each, no key shared between records
/// (numbers, texts, booleans and nulls in turn): the merged record grows by every record.
[[nodiscard]] std::string wideRecordsCorpus(int records, int keys);

/// The corpus shapes that are measured at several sizes.
enum class Shape { records, nested, text, optional, numbers, strings };

/// The corpus of a shape at `megabytes`, made once per shape and size for the whole run.
[[nodiscard]] const std::string& shapeCorpus(Shape shape, std::int64_t megabytes);

}  // namespace telvar::bench
