#include "telvar/generate/road.h"

#include <algorithm>
#include <exception>
#include <iostream>
#include <new>
#include <stdexcept>

#include "telvar/generate/code_printer.h"
#include "telvar/parse/json_grammar.h"
#include "telvar/parse/parser.h"
#include "telvar/refine/rewrites.h"
#include "telvar/threads/chunks.h"
#include "telvar/value/walks.h"

namespace telvar::generate {

std::optional<Value> parsedInput(SampleText sample) {
  try {
    auto parsed = jsonMergingValueParser().parse(sample.text);
    sample.keeper.reset();  // the value holds its own texts
    if (!parsed) return std::nullopt;
    return std::move(parsed->output);
  } catch (const std::bad_alloc&) {
    throw;  // the machine's failure, not the sample's: the entry point reports it
  } catch (const std::length_error&) {
    throw;
  } catch (const std::exception& e) {
    std::cerr << "error: " << e.what() << "\n";
    return std::nullopt;
  }
}

Names rootPath(const Model& model) { return {model.modelName()}; }

Value refined(Value parsed, const Model& model, const ValueMeta& meta,
              const std::vector<SwiftMeta::PropertyEnumMap>& enumMaps,
              std::initializer_list<Rewrite> rewrites) {
  Value value = detected(std::move(parsed), meta, enumMaps, rootPath(model));
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
  // From here the sample is only walked: a wide object's look-up table (wide-1000: 32 MB) would
  // be held through inference for nothing, and memory touched afresh is what a large sample costs.
  value.dropIndexes(kMembersAChunk);
  return value;
}

std::string header(std::initializer_list<std::string_view> lines, const Indentation& indentation) {
  std::string out;
  CodePrinter p(out, indentation, indentation.effectiveLevel());
  for (std::string_view line : lines) {
    if (line.empty()) {
      p.blank();
    } else {
      p.line(line);
    }
  }
  return out;
}

namespace {
std::size_t blockHash(std::string_view block) { return std::hash<std::string_view>{}(block); }

// The header and the empty line after it; nothing for no header.
std::string headerLead(const std::optional<std::string>& header) {
  return header && !header->empty() ? *header + "\n\n" : std::string();
}
}  // namespace

std::optional<std::string> oneDeclarationFile(std::string_view header,
                                              const Indentation& indentation,
                                              const TextDrain& drain,
                                              const std::function<bool(CodePrinter&)>& write) {
  std::string file(header);
  if (!file.empty()) file += "\n\n";
  CodePrinter p(file, indentation, indentation.effectiveLevel());
  p.drainInto(&drain);
  if (!write(p)) return std::nullopt;
  return file;
}

void Blocks::add(std::optional<std::string> block) {
  if (!block) return;
  const std::size_t position = m_blocks.size();
  auto [bySize, first] = m_bySize.try_emplace(block->size(), position);
  if (!first) {
    if (bySize->second != kHashed) {
      m_index.emplace(blockHash(m_blocks[bySize->second]), bySize->second);
      bySize->second = kHashed;
    }
    const std::size_t hash = blockHash(*block);
    if (indexed(*block, hash)) return;
    m_index.emplace(hash, position);
  }
  m_blocks.push_back(std::move(*block));
}

bool Blocks::contains(std::string_view block) const {
  auto bySize = m_bySize.find(block.size());
  if (bySize == m_bySize.end()) return false;
  if (bySize->second != kHashed) return m_blocks[bySize->second] == block;
  return indexed(block, blockHash(block));
}

bool Blocks::indexed(std::string_view block, std::size_t hash) const {
  auto [first, last] = m_index.equal_range(hash);
  for (auto it = first; it != last; ++it) {
    if (m_blocks[it->second] == block) return true;
  }
  return false;
}

std::optional<std::string> Blocks::file(const std::optional<std::string>& header) && {
  if (m_blocks.empty()) return std::nullopt;
  const std::string lead = headerLead(header);
  std::size_t size = lead.size();
  for (const std::string& block : m_blocks) size += block.size() + 2;
  // Built in the largest block's storage, which a renderer may have reserved with room to spare:
  // the text before it is moved up in place, so that a large file is never held twice.
  const auto largest =
      static_cast<std::size_t>(std::max_element(m_blocks.begin(), m_blocks.end(),
                                                [](const std::string& a, const std::string& b) {
                                                  return a.size() < b.size();
                                                }) -
                               m_blocks.begin());
  std::string before = lead;
  for (std::size_t i = 0; i < largest; ++i) {
    before += m_blocks[i];
    before += "\n\n";
    std::string().swap(m_blocks[i]);  // each block is let go of once copied
  }
  std::string out = std::move(m_blocks[largest]);
  out.reserve(size);
  out.insert(0, before);
  for (std::size_t i = largest + 1; i < m_blocks.size(); ++i) {
    out += "\n\n";
    out += m_blocks[i];
    std::string().swap(m_blocks[i]);
  }
  m_blocks.clear();
  m_bySize.clear();
  m_index.clear();
  return out;
}

std::size_t Blocks::appendTo(std::string& text, bool afterBlock, const TextDrain& drain,
                             bool keep) {
  if (m_blocks.empty()) return 0;  // nothing to add: the header alone never goes to the drain
  std::size_t drained = 0;
  const auto put = [&](std::string_view part) {
    if (!drain) {
      text += part;
      return;
    }
    drain(part);
    drained += part.size();
  };
  if (drain) {
    put(text);
    text.clear();
  } else {
    std::size_t size = text.size();
    for (const std::string& block : m_blocks) size += block.size() + 2;
    text.reserve(size);
  }
  for (std::string& block : m_blocks) {
    if (afterBlock) put("\n\n");
    afterBlock = true;
    put(block);
    if (!keep) std::string().swap(block);
  }
  if (!keep) {
    m_blocks.clear();
    m_bySize.clear();
    m_index.clear();
  }
  return drained;
}

std::size_t Blocks::largest() const noexcept {
  std::size_t size = 0;
  for (const std::string& block : m_blocks) size = std::max(size, block.size());
  return size;
}

namespace {

using TypeKind = PropertyType::Kind;

// The value walks look through arrays and nulls; the walk over the code tree follows the types
// they infer, lists and nullable types.
constexpr Wrappers kAsValuesWalk = Wrappers::listsAndNullables;

// Whether a nested value of this type declares a type (`hasNestedType` of the value).
bool declares(const PropertyType& type) {
  const PropertyType* t = type.innermost();
  return t && (t->is(TypeKind::object) || t->is(TypeKind::enum_));
}

// One level of the walk over the code tree, mirroring the value walk: the properties of
// `object`, or else the single value type `single` of a map.
struct Level {
  const PropertyType* owner;
  bool ownerDeclares;
  const Object* object;
  const PropertyType* single;
  std::size_t next = 0;
};

const PropertyType* nextChild(Level& level) {
  if (level.object) {
    const auto& properties = level.object->properties;
    return level.next < properties.size() ? &properties[level.next++].type : nullptr;
  }
  return level.next++ == 0 ? level.single : nullptr;
}

// The level whose children are the given type's, if it has any.
std::optional<Level> levelOf(const PropertyType* owner, bool ownerDeclares,
                             const PropertyType* type) {
  if (!type) return std::nullopt;
  if (type->is(TypeKind::object)) return Level{owner, ownerDeclares, &type->objectValue(), nullptr};
  if (type->is(TypeKind::dictionary)) {
    return Level{owner, ownerDeclares, nullptr, &type->dictionaryValue()};
  }
  return std::nullopt;
}

// The types of the nested values, in the order of the value walks.
std::vector<const PropertyType*> nestedTypes(const Code& rootCode, Order order) {
  std::vector<const PropertyType*> listed;
  std::vector<Level> stack;
  switch (rootCode.kind()) {
    case Code::Kind::object:
      stack.push_back({nullptr, false, &rootCode.objectValue(), nullptr});
      break;
    case Code::Kind::dictionary:
      stack.push_back({nullptr, false, nullptr, &rootCode.dictionaryValue().propertyType});
      break;
    case Code::Kind::propertyType:
      if (auto level =
              levelOf(nullptr, false, rootCode.propertyTypeValue().innermost(kAsValuesWalk))) {
        stack.push_back(*level);
      }
      break;
    case Code::Kind::property:  // never inferred
      break;
  }
  const bool parentFirst = order == Order::parentFirst;
  while (!stack.empty()) {
    if (const PropertyType* child = nextChild(stack.back())) {
      const bool childDeclares = declares(*child);
      if (childDeclares && parentFirst) listed.push_back(child);
      if (auto level = levelOf(child, childDeclares, child->innermost(kAsValuesWalk))) {
        stack.push_back(*level);
      } else if (childDeclares && !parentFirst) {
        listed.push_back(child);
      }
      continue;
    }
    const Level done = stack.back();
    stack.pop_back();
    if (done.ownerDeclares && !parentFirst) listed.push_back(done.owner);
  }
  return listed;
}

// The case of the type `Code(value)` infers for a value of this case.
TypeKind inferredKind(Value::Kind kind) {
  switch (kind) {
    case Value::Kind::object:
      return TypeKind::object;
    case Value::Kind::dictionary:
      return TypeKind::dictionary;
    case Value::Kind::enum_:
      return TypeKind::enum_;
    case Value::Kind::array:
      return TypeKind::array;
    case Value::Kind::null:
      return TypeKind::optional;
    default:
      return TypeKind::primitive;
  }
}

// What `Code(value)` infers, given the type inferred for `value`.
Code codeOf(const Value& value, const PropertyType& type) {
  if (inferredKind(value.kind()) != type.kind()) {
    parse::detail::programmingError("nestedCodes: a nested value was paired with another's type");
  }
  if (type.is(TypeKind::object)) return Code::object(type.sharedObject());
  if (type.is(TypeKind::dictionary)) {
    return Code::dictionary(Dictionary{value.dictionaryValue().names, type.dictionaryValue()});
  }
  return Code::propertyType(type);
}

}  // namespace

std::vector<Code> nestedCodes(const Value& root, const Code& rootCode, Order order) {
  const std::vector<Value> values =
      order == Order::parentFirst ? nestedValuesParentFirst(root) : nestedValuesChildrenFirst(root);
  const std::vector<const PropertyType*> types = nestedTypes(rootCode, order);
  std::vector<Code> codes;
  codes.reserve(values.size());
  // The two walks follow the same rules over the same sample, so they list the same values in the
  // same order; if they ever part, one of them is wrong, and pairing a value with another's type
  // would write wrong declarations.
  if (types.size() != values.size()) {
    parse::detail::programmingError("nestedCodes: the value and code walks list different values");
  }
  for (std::size_t i = 0; i < values.size(); ++i) codes.push_back(codeOf(values[i], *types[i]));
  return codes;
}

namespace {

// Writes `code` after what `text` holds, at the document's level, handing the text to `drain`
// (when given) as it goes; false, having written nothing, when the code declares nothing.
bool writeInto(std::string& text, const Write& write, const Code& code,
               const Indentation& indentation, const TextDrain* drain) {
  CodePrinter p(text, indentation, indentation.effectiveLevel());
  p.drainInto(drain);
  return write(p, code);
}

// A nested value's declaration, written apart at the document's level.
std::optional<std::string> writtenApart(const Write& write, const Code& code,
                                        const Indentation& indentation) {
  std::string out;
  if (!writeInto(out, write, code, indentation, nullptr)) return std::nullopt;
  return out;
}

// The root's declaration first, then the nested values' parent-first, none repeating an earlier
// one.
std::optional<std::string> rootFirstFile(std::string file, const std::vector<Code>& nested,
                                         const Code& rootCode, const Indentation& indentation,
                                         const TextDrain& drain, const Write& write) {
  const std::size_t lead = file.size();
  std::size_t drained = 0;
  const TextDrain counted = [&](std::string_view text) {
    drained += text.size();
    drain(text);
  };
  const bool wroteRoot = writeInto(file, write, rootCode, indentation, drain ? &counted : nullptr);
  const std::size_t rootSize = drained + file.size() - lead;
  // Written again only when a nested declaration of its size comes, which is rare: the two are
  // then compared whole, never by less.
  std::optional<std::string> rootText;
  Blocks blocks;
  for (const Code& code : nested) {
    std::optional<std::string> block = writtenApart(write, code, indentation);
    if (block && wroteRoot && block->size() == rootSize) {
      if (!rootText) rootText = writtenApart(write, rootCode, indentation);
      if (*block == *rootText) continue;
    }
    blocks.add(std::move(block));
  }
  if (!wroteRoot && blocks.empty()) return std::nullopt;
  (void)blocks.appendTo(file, wroteRoot, drain, false);
  return file;
}

// The nested values' declarations children-first, none repeating an earlier one, then the
// root's, unless `checked` and it repeats one of them.
std::optional<std::string> rootLastFile(std::string file, const std::vector<Code>& nested,
                                        const Code& rootCode, const Indentation& indentation,
                                        const TextDrain& drain, const Write& write, bool checked) {
  Blocks blocks;
  for (const Code& code : nested) blocks.add(writtenApart(write, code, indentation));
  const bool anyNested = !blocks.empty();
  checked = checked && anyNested;
  const std::size_t longest = blocks.largest();
  // The nested declarations are kept for the comparison only when the root's is checked.
  const std::size_t drainedBefore = blocks.appendTo(file, false, drain, checked);
  // Where the empty line before the root's declaration begins, in the whole file.
  const std::size_t rootStart = drainedBefore + file.size();
  if (anyNested) file += "\n\n";

  // A checked root's text is held back from the drain until it is longer than every nested
  // declaration, and so cannot repeat one.
  std::size_t handed = drainedBefore;  // how much of the file went to the drain
  std::string heldBack;  // the root's text (after the empty line) handed on while held back
  bool holding = checked;
  const TextDrain rootDrain = [&](std::string_view text) {
    if (holding) {
      const std::size_t before = rootStart > handed ? std::min(rootStart - handed, text.size()) : 0;
      if (before > 0) drain(text.substr(0, before));
      heldBack.append(text.substr(before));
      handed += text.size();
      if (heldBack.size() <= longest + 2) return;
      holding = false;
      drain(heldBack);
      std::string().swap(heldBack);
      blocks = Blocks();  // no longer compared with
      return;
    }
    handed += text.size();
    drain(text);
  };
  const bool wroteRoot =
      writeInto(file, write, rootCode, indentation, drain ? &rootDrain : nullptr);
  if (!holding) {
    if (wroteRoot) return file;
    // Nothing of the root was written, so nothing of it was handed on.
    file.resize(rootStart > handed ? rootStart - handed : 0);
    if (!anyNested) return std::nullopt;
    return file;
  }
  // The empty line and the root's text are what was held back and the file's rest.
  const std::size_t at = rootStart > handed ? rootStart - handed : 0;
  const std::string rootText = heldBack + file.substr(at);
  if (!wroteRoot || blocks.contains(std::string_view(rootText).substr(2))) {
    file.resize(at);
    return file;
  }
  if (!heldBack.empty()) drain(heldBack);
  return file;
}

}  // namespace

std::optional<std::string> subtypeFile(Value&& root, const Code& rootCode, std::string_view header,
                                       const Indentation& indentation, const TextDrain& drain,
                                       const Write& write, RootPlace place) {
  const bool rootFirst = place == RootPlace::first;
  const std::vector<Code> nested =
      nestedCodes(root, rootCode, rootFirst ? Order::parentFirst : Order::childrenFirst);
  root = Value();  // the codes hold all that is written: the sample goes first
  std::string file(header);
  if (!file.empty()) file += "\n\n";
  if (rootFirst) return rootFirstFile(std::move(file), nested, rootCode, indentation, drain, write);
  return rootLastFile(std::move(file), nested, rootCode, indentation, drain, write,
                      place == RootPlace::lastUnlessRepeated);
}

}  // namespace telvar::generate
