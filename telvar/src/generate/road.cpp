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

void Blocks::add(std::optional<std::string> block) { keep(std::move(block), true); }

void Blocks::addUnchecked(std::optional<std::string> block) { keep(std::move(block), false); }

void Blocks::keep(std::optional<std::string> block, bool unlessRepeated) {
  if (!block) return;
  const std::size_t position = m_blocks.size();
  auto [bySize, first] = m_bySize.try_emplace(block->size(), position);
  if (!first) {
    if (bySize->second != kHashed) {
      m_index.emplace(blockHash(m_blocks[bySize->second]), bySize->second);
      bySize->second = kHashed;
    }
    const std::size_t hash = blockHash(*block);
    if (unlessRepeated && indexed(*block, hash)) return;
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

// The declarations of the subtype styles: the root's first (checked like any other) or last
// (always added), the nested values' in the order that goes with it.
Blocks subtypeBlocks(Value&& root, const Code& rootCode, const Render& render, bool rootFirst) {
  const std::vector<Code> nested =
      nestedCodes(root, rootCode, rootFirst ? Order::parentFirst : Order::childrenFirst);
  root = Value();  // the codes hold all that is written: the sample goes first
  Blocks blocks;
  if (rootFirst) blocks.add(render(rootCode));
  for (const Code& code : nested) blocks.add(render(code));
  if (!rootFirst) blocks.addUnchecked(render(rootCode));
  return blocks;
}

}  // namespace

Blocks subtypeFirstBlocks(Value&& root, const Code& rootCode, const Render& render) {
  return subtypeBlocks(std::move(root), rootCode, render, false);
}

Blocks subtypeLastBlocks(Value&& root, const Code& rootCode, const Render& render) {
  return subtypeBlocks(std::move(root), rootCode, render, true);
}

}  // namespace telvar::generate
