#pragma once

// The road every whole-file generator follows: parse the input, refine the value with the output
// type's value options, infer the code model, render it, and put the header in front. The
// language files supply the header and the renderers; the steps they share live here.

#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "telvar/code/code.h"
#include "telvar/generate/code_printer.h"
#include "telvar/generate/generate.h"
#include "telvar/model/model.h"
#include "telvar/options/swift_meta.h"
#include "telvar/options/value_meta.h"
#include "telvar/value/indentation.h"
#include "telvar/value/value.h"

namespace telvar::generate {

/// Parses the sample, then lets go of its keeper. Nothing when it does not
/// start with a JSON value; text after the value is dropped. A parse that throws writes "error:
/// <description>" to standard error and gives nothing. Refinement sees an array inside no other
/// array only as its merged element, so such arrays are merged while they are read
/// (`jsonMergingValueParser`), and a large sample is never held whole.
[[nodiscard]] std::optional<Value> parsedInput(SampleText sample);

/// The root key path: the model name alone.
[[nodiscard]] Names rootPath(const Model& model);

/// The rewrites that follow the detection walk, in the order an output type applies them.
enum class Rewrite { ignoredProperties, optionalProperties, dictionaryObjects };

/// The detection walk from the root key path, then `rewrites` in order. A parsed sample given up
/// (moved in) is refined in place, so that it is never held next to its refined copy.
[[nodiscard]] Value refined(Value parsed, const Model& model, const ValueMeta& meta,
                            const std::vector<SwiftMeta::PropertyEnumMap>& enumMaps,
                            std::initializer_list<Rewrite> rewrites);

/// A header: every line that has text begins with the indentation prefix of the document's level.
[[nodiscard]] std::string header(std::initializer_list<std::string_view> lines,
                                 const Indentation& indentation);

/// A file of one declaration (the styles that nest every type inside the root's): the header
/// and an empty line after it (none for no header), then what `write` writes through a printer at
/// the document's level, straight into the file's own text and handed to `drain` as it goes.
/// Nothing when `write` gives false, which it does only before writing anything.
[[nodiscard]] std::optional<std::string> oneDeclarationFile(
    std::string_view header, const Indentation& indentation, const TextDrain& drain,
    const std::function<bool(CodePrinter&)>& write);

/// The rendered top-level blocks of a file, in order. A block equal to one already collected is
/// left out. Only blocks of equal size can be equal, and a block is hashed once another of its
/// size comes: the test for repeats stays cheap when a sample declares tens of thousands of
/// types, and a large declaration alone of its size is never hashed.
class Blocks {
 public:
  void add(std::optional<std::string> block);
  [[nodiscard]] bool contains(std::string_view block) const;
  [[nodiscard]] bool empty() const noexcept { return m_blocks.empty(); }

  /// Nothing when no block was collected (never the header alone); otherwise the header (when
  /// not empty) and the blocks joined with one empty line between them. Built in the largest
  /// block's own storage, so that a large file is never held twice: the blocks are used up.
  [[nodiscard]] std::optional<std::string> file(const std::optional<std::string>& header) &&;
  /// Appends the blocks to `text` in order, one empty line before each but the first, and
  /// before the first too when `afterBlock`. With a drain, `text` and then each block go to it
  /// instead and `text` is left empty (none of it when there is no block), so that a large nested
  /// declaration is never copied; gives how much went to the drain. Each block is let go of once
  /// used, unless `keep`.
  std::size_t appendTo(std::string& text, bool afterBlock, const TextDrain& drain, bool keep);
  /// The size of the largest block; 0 for none.
  [[nodiscard]] std::size_t largest() const noexcept;

 private:
  static constexpr std::size_t kHashed = static_cast<std::size_t>(-1);
  // Whether a block of a size that several have, hashed to `hash`, is collected.
  [[nodiscard]] bool indexed(std::string_view block, std::size_t hash) const;

  std::vector<std::string> m_blocks;
  // size -> the position of the one block of that size, or kHashed once there are more.
  std::unordered_map<std::size_t, std::size_t> m_bySize;
  // hash -> position in m_blocks, for the blocks of a size that several have.
  std::unordered_multimap<std::size_t, std::size_t> m_index;
};

/// The order of the nested values' declarations.
enum class Order { parentFirst, childrenFirst };

/// The code of each nested value of `root` (the values `nestedValuesParentFirst` or
/// `nestedValuesChildrenFirst` list, in that order), each equal to `Code(nested)`, but taken
/// from the shared subtrees of `rootCode`, which must be `Code(root)`. Inferring each nested
/// value afresh would infer a deep sample's inner levels once for every level above them.
/// Stops the program with a message when `rootCode` lists other nested types than `root`: that
/// is a programming error, never a property of the sample.
[[nodiscard]] std::vector<Code> nestedCodes(const Value& root, const Code& rootCode, Order order);

/// Writes one inferred `Code` through a printer, at the printer's level; false, before writing
/// anything, when the code declares nothing.
using Write = std::function<bool(CodePrinter&, const Code&)>;

/// Where the subtype styles put the root's declaration among the nested values'.
enum class RootPlace {
  first,               // `subtypeLast`: the root's, then each nested value's parent-first
  last,                // `subtypeFirst`: each nested value's children-first, then the root's
  lastUnlessRepeated,  // as `last`, but left out when a nested value's declaration is the same
};

/// A file of the subtype styles: the header and an empty line after it (none for no header),
/// then the declarations `write` writes at the document's level, one empty line between two of
/// them, a nested declaration equal to an earlier one (the root's too) left out. Nothing when
/// none is written (never the header alone). `rootCode` is `Code(root)`, inferred once for the
/// type names too; the sample, moved in, is let go once its nested values are paired with their
/// code, before anything is written, so the declarations take the sample's memory rather than
/// fresh memory (Dart on 100 wide records: 87 MB at the peak instead of 106 MB).
///
/// The root's declaration, the large one on wide records, is written straight into the file's
/// text, after all that comes before it, and handed to `drain` as it goes; the rest of the file
/// is returned, never nothing once the drain took text. Only the root's size is kept, and it is
/// written again, to be compared whole, only for a nested declaration of that size (Dart on
/// 1,000 wide records: 243 MB at the peak instead of 489 MB, when it was held with the nested
/// declarations). The nested declarations, compared with each other, are kept as `Blocks`.
[[nodiscard]] std::optional<std::string> subtypeFile(Value&& root, const Code& rootCode,
                                                     std::string_view header,
                                                     const Indentation& indentation,
                                                     const TextDrain& drain, const Write& write,
                                                     RootPlace place);

}  // namespace telvar::generate
