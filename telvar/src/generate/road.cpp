#include "telvar/generate/road.h"

#include <exception>
#include <iostream>

#include "telvar/generate/lines.h"
#include "telvar/parse/json_grammar.h"
#include "telvar/refine/rewrites.h"
#include "telvar/value/walks.h"

namespace telvar::generate {

std::optional<Value> parsedInput(const Model& model) {
  try {
    auto parsed = jsonValueParser().parse(std::string_view(model.input()));
    if (!parsed) return std::nullopt;
    return std::move(parsed->output);
  } catch (const std::exception& e) {
    std::cerr << "error: " << e.what() << "\n";
    return std::nullopt;
  }
}

Names rootPath(const Model& model) { return {model.modelName()}; }

Value refined(const Value& parsed, const Model& model, const ValueMeta& meta,
              const std::vector<SwiftMeta::PropertyEnumMap>& enumMaps,
              std::initializer_list<Rewrite> rewrites) {
  Value value = detected(parsed, meta, enumMaps, rootPath(model));
  for (Rewrite r : rewrites) {
    switch (r) {
      case Rewrite::ignoredProperties:
        value = removingIgnoredProperties(value, meta);
        break;
      case Rewrite::optionalProperties:
        value = applyingOptionalProperties(value, meta);
        break;
      case Rewrite::dictionaryObjects:
        value = applyingDictionaryObjects(value, meta);
        break;
    }
  }
  return value;
}

std::string header(std::initializer_list<std::string_view> lines, const Indentation& indentation) {
  const std::string p = indentation.pad(indentation.effectiveLevel());
  std::string out;
  bool first = true;
  for (std::string_view line : lines) {
    if (!first) out += '\n';
    first = false;
    if (!line.empty()) {
      out += p;
      out += line;
    }
  }
  return out;
}

void Blocks::add(const std::optional<std::string>& block) {
  if (block && !contains(*block)) addUnchecked(block);
}

void Blocks::addUnchecked(const std::optional<std::string>& block) {
  if (!block) return;
  m_index.emplace(std::hash<std::string_view>{}(*block), m_blocks.size());
  m_blocks.push_back(*block);
}

bool Blocks::contains(std::string_view block) const {
  auto [first, last] = m_index.equal_range(std::hash<std::string_view>{}(block));
  for (auto it = first; it != last; ++it) {
    if (m_blocks[it->second] == block) return true;
  }
  return false;
}

std::optional<std::string> Blocks::file(const std::optional<std::string>& header) const {
  if (m_blocks.empty()) return std::nullopt;
  std::string out;
  if (header && !header->empty()) {
    out = *header;
    out += "\n\n";
  }
  out += joined(m_blocks, "\n\n");
  return out;
}

Blocks subtypeFirstBlocks(const Value& root, const Render& render) {
  Blocks blocks;
  for (const Value& nested : nestedValuesChildrenFirst(root)) blocks.add(render(Code(nested)));
  blocks.addUnchecked(render(Code(root)));
  return blocks;
}

Blocks subtypeLastBlocks(const Value& root, const Render& render) {
  Blocks blocks;
  blocks.add(render(Code(root)));
  for (const Value& nested : nestedValuesParentFirst(root)) blocks.add(render(Code(nested)));
  return blocks;
}

}  // namespace telvar::generate
