#include "telvar/generate/identifiers.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "telvar/threads/chunks.h"
#include "telvar/unicode/text.h"

namespace telvar::generate {

namespace {

// Whether `name` is ASCII and every character of it may stand where it is, so that the name is
// kept as it is: ASCII is composed already and decodes a byte a character, and most keys are such
// names (wide-100 in Go: 1,100 instructions a field name repaired character by character, 380
// kept whole).
bool isKeptAscii(std::string_view name, const IdentifierRules& rules) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto byte = static_cast<unsigned char>(name[i]);
    if (byte >= 0x80) return false;
    if (!rules.mayContinue(byte) && !(i == 0 && rules.mayStart(byte))) return false;
  }
  return !name.empty();
}

// Each character of `name`, composed, kept where it may stand and otherwise handled as
// `rules.foreign` says.
std::string repairedCharacters(std::string_view name, const IdentifierRules& rules) {
  std::string scratch;
  std::string_view text = nfcView(name, scratch);
  std::string out;
  out.reserve(text.size() + 4);
  bool first = true;
  while (!text.empty()) {
    int scalar = -1;
    std::size_t length = decodeUtf8(text, scalar);
    if (length == 0) length = 1;
    const auto c = static_cast<char32_t>(scalar < 0 ? 0xFFFD : scalar);
    // The first character is judged by where it ends up: a bad start is prefixed below.
    if (scalar >= 0 && (rules.mayContinue(c) || (first && rules.mayStart(c)))) {
      out.append(text.substr(0, length));
      first = false;
    } else {
      switch (rules.foreign) {
        case ForeignCharacter::dropped:
          break;
        case ForeignCharacter::underscore:
          out += '_';
          first = false;
          break;
        case ForeignCharacter::spelled: {
          char buffer[16];
          std::snprintf(
              buffer, sizeof buffer, "%c%04X", rules.spellMarker,
              static_cast<unsigned>(scalar < 0 ? static_cast<unsigned char>(text[0]) : scalar));
          out += buffer;
          first = false;
          break;
        }
      }
    }
    text.remove_prefix(length);
  }
  return out;
}

}  // namespace

std::string repairedIdentifier(std::string_view name, const IdentifierRules& rules) {
  std::string out = isKeptAscii(name, rules) ? std::string(name) : repairedCharacters(name, rules);
  if (out.empty()) out = rules.nothingLeft;
  int head = -1;
  decodeUtf8(out, head);
  if (head < 0 || !rules.mayStart(static_cast<char32_t>(head))) {
    out.insert(0, rules.badStart);
  }
  if (rules.isReserved && rules.isReserved(out)) {
    out.insert(0, rules.reservedBefore);
    out += rules.reservedAfter;
  }
  return out;
}

std::string numbered(std::string_view name, std::size_t n, NumberStyle style) {
  std::string out(name);
  if (style == NumberStyle::underscored) out += '_';
  out += std::to_string(n);
  return out;
}

namespace {

bool isTaken(const std::unordered_set<std::string>& taken, const std::string& name) {
  return taken.contains(name);
}
bool isTaken(const std::unordered_set<std::string>& taken, std::string_view name) {
  return !taken.empty() && taken.contains(std::string(name));
}

// The hash a name is known by in the tests below: never 0, which marks a free slot.
std::uint64_t nameHash(std::string_view name, std::string (*fold)(std::string_view)) {
  const std::uint64_t hash =
      fold ? std::hash<std::string>{}(fold(name)) : std::hash<std::string_view>{}(name);
  return hash == 0 ? 1 : hash;
}

// Hashes entered into an open table, probed linearly and at most half full, so that a test over
// many names stays linear in them.
class HashTable {
 public:
  explicit HashTable(std::size_t hashes) {
    std::size_t slots = 2;
    while (slots < 2 * hashes) slots *= 2;
    m_table.assign(slots, 0);
  }
  // The table of a wide object outgrows the caches: a hash's slot is fetched a few hashes before
  // it is entered (wide-1000 in Swift: this test took a tenth of the run).
  void fetch(std::uint64_t hash) const {
    __builtin_prefetch(&m_table[hash & (m_table.size() - 1)]);
  }
  // Whether `hash` was entered before; enters it.
  bool seen(std::uint64_t hash) {
    const std::size_t mask = m_table.size() - 1;
    std::size_t slot = hash & mask;
    while (m_table[slot] != 0 && m_table[slot] != hash) slot = (slot + 1) & mask;
    if (m_table[slot] == hash) return true;
    m_table[slot] = hash;
    return false;
  }

 private:
  std::vector<std::uint64_t> m_table;  // 0 marks a free slot
};

// How many hashes a fetch runs ahead of their entry.
constexpr std::size_t kAhead = 16;

// `mayCollide` for a wide type's names, on several threads (wide-1000: 2,000,000 names, a tenth
// of the calling thread's time in one pass): the chunks hash their names, then each looks for a
// repeated hash among those of its own share of the hashes, in a table of its own.
template <typename List>
bool mayCollideInChunks(const List& names, std::size_t chunks,
                        const std::unordered_set<std::string>& taken,
                        std::string (*fold)(std::string_view),
                        bool (*mayRepeat)(std::string_view)) {
  const std::size_t count = names.size();
  // Not zeroed first: each chunk writes its own hashes, 0 for a name that may repeat.
  const std::unique_ptr<std::uint64_t[]> hashes(new std::uint64_t[count]);
  // A share is the hashes whose high half falls in its range: the tables index by the low bits.
  const auto shareOf = [&](std::uint64_t hash) { return ((hash >> 32) * chunks) >> 32; };
  std::vector<std::size_t> shares(chunks * chunks, 0);  // each chunk's hashes in each share
  std::atomic<bool> collides{false};
  forChunks(count, chunks, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
    for (std::size_t i = begin; i < end; ++i) {
      const std::string_view name = names[i];
      if (mayRepeat && mayRepeat(name)) {
        hashes[i] = 0;
        continue;
      }
      if (isTaken(taken, name)) {
        collides = true;
        return;
      }
      hashes[i] = nameHash(name, fold);
      ++shares[chunk * chunks + shareOf(hashes[i])];
    }
  });
  if (collides) return true;
  forChunks(chunks, chunks, [&](std::size_t share, std::size_t, std::size_t) {
    std::size_t own = 0;
    for (std::size_t chunk = 0; chunk < chunks; ++chunk) own += shares[chunk * chunks + share];
    HashTable table(own);
    for (std::size_t i = 0; i < count && !collides.load(std::memory_order_relaxed); ++i) {
      if (i + kAhead < count && shareOf(hashes[i + kAhead]) == share) {
        table.fetch(hashes[i + kAhead]);
      }
      const std::uint64_t hash = hashes[i];
      if (hash != 0 && shareOf(hash) == share && table.seen(hash)) collides = true;
    }
  });
  return collides;
}

// Whether some name of `names` may equal another or one of `taken`. Most types have no colliding
// names: a table of the names' hashes shows that without building a set of the names. Equal
// hashes may be a collision of the hash alone; the full test decides then.
template <typename List>
bool mayCollide(const List& names, const std::unordered_set<std::string>& taken,
                std::string (*fold)(std::string_view), bool (*mayRepeat)(std::string_view)) {
  if (const std::size_t chunks = chunksFor(names.size(), kMembersAChunk); chunks > 1) {
    return mayCollideInChunks(names, chunks, taken, fold, mayRepeat);
  }
  HashTable table(names.size());
  std::uint64_t ahead[kAhead];
  std::size_t count = 0;
  for (const auto& name : names) {
    if (mayRepeat && mayRepeat(name)) continue;
    if (isTaken(taken, name)) return true;
    const std::uint64_t hash = nameHash(name, fold);
    table.fetch(hash);
    std::uint64_t& place = ahead[count++ % kAhead];
    if (count > kAhead && table.seen(place)) return true;
    place = hash;
  }
  for (std::size_t i = count > kAhead ? count - kAhead : 0; i < count; ++i) {
    if (table.seen(ahead[i % kAhead])) return true;
  }
  return false;
}

}  // namespace

NameList NameList::formedInChunks(std::size_t count, std::size_t chunks,
                                  const std::function<std::size_t(std::size_t)>& room,
                                  const std::function<std::string(std::size_t)>& form) {
  chunks = std::clamp<std::size_t>(chunks, 1, std::max<std::size_t>(count, 1));
  std::vector<std::size_t> first(chunks + 1);  // the chunks' first names
  for (std::size_t chunk = 0; chunk <= chunks; ++chunk) {
    first[chunk] = chunkBegin(count, chunks, chunk);
  }
  // Each chunk's room in the text, from `start[chunk]` to `start[chunk + 1]`: the text is made
  // once, by this thread, and nothing is copied from the threads' own memory (the names of
  // 2,000,000 members formed apart and joined took 25 MB more at the peak). A name may have a
  // character its key lacks ("_" before a digit): each has room for one more.
  std::vector<std::size_t> start(chunks + 1, 0);
  for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
    start[chunk + 1] = start[chunk];
    for (std::size_t i = first[chunk]; i < first[chunk + 1]; ++i) start[chunk + 1] += room(i) + 1;
  }
  NameList names;
  names.m_text.resize(start[chunks]);
  names.m_ends.resize(count);
  std::vector<std::size_t> filled(chunks, 0);  // the names that took their chunk's room
  std::vector<NameList> overflow(chunks);      // the chunk's names from the first that did not
  forChunks(count, chunks, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
    std::size_t at = start[chunk];
    std::size_t i = begin;
    for (; i < end; ++i) {
      const std::string name = form(i);
      if (name.size() > start[chunk + 1] - at) {
        overflow[chunk].push_back(name);
        break;
      }
      std::char_traits<char>::copy(names.m_text.data() + at, name.data(), name.size());
      at += name.size();
      names.m_ends[i] = at;
    }
    filled[chunk] = i - begin;
    for (++i; i < end; ++i) overflow[chunk].push_back(form(i));
  });
  // A chunk's names start where its room starts and end where the last that fitted ends.
  const auto filledText = [&](std::size_t chunk) {
    const std::size_t end =
        filled[chunk] == 0 ? start[chunk] : names.m_ends[first[chunk] + filled[chunk] - 1];
    return std::string_view(names.m_text).substr(start[chunk], end - start[chunk]);
  };
  if (std::all_of(overflow.begin(), overflow.end(), [](const NameList& o) { return o.empty(); })) {
    // Each chunk's names move down to close the gap before them.
    std::size_t written = 0;
    for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
      const std::string_view text = filledText(chunk);
      std::char_traits<char>::move(names.m_text.data() + written, text.data(), text.size());
      const std::size_t shift = start[chunk] - written;
      for (std::size_t i = first[chunk]; i < first[chunk + 1]; ++i) names.m_ends[i] -= shift;
      written += text.size();
    }
    names.m_text.resize(written);
    return names;
  }
  // The names outgrew the room of some chunk: copied in order.
  std::size_t characters = 0;
  for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
    characters += filledText(chunk).size() + overflow[chunk].characters();
  }
  NameList joined;
  joined.reserve(count, characters);
  for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
    std::size_t from = start[chunk];
    for (std::size_t i = first[chunk]; i < first[chunk] + filled[chunk]; ++i) {
      joined.push_back(std::string_view(names.m_text).substr(from, names.m_ends[i] - from));
      from = names.m_ends[i];
    }
    for (const std::string_view name : overflow[chunk]) joined.push_back(name);
  }
  return joined;
}

std::vector<std::size_t> alphabeticalOrder(const NameList& names) {
  std::vector<std::size_t> order(names.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return textCompare(names[a], names[b]) < 0;
  });
  return order;
}

NameList distinctNames(NameList names, NumberStyle style,
                       const std::unordered_set<std::string>& taken,
                       std::string (*fold)(std::string_view), bool (*mayRepeat)(std::string_view)) {
  if (!mayCollide(names, taken, fold, mayRepeat)) return names;
  // Names that collide are rare: they are numbered as strings.
  const std::vector<std::string> numbered = distinctNames(
      std::vector<std::string>(names.begin(), names.end()), style, taken, fold, mayRepeat);
  NameList out;
  out.reserve(numbered.size(), names.characters() + 4 * numbered.size());
  for (const std::string& name : numbered) out.push_back(name);
  return out;
}

std::vector<std::string> distinctNames(std::vector<std::string> names, NumberStyle style,
                                       const std::unordered_set<std::string>& taken,
                                       std::string (*fold)(std::string_view),
                                       bool (*mayRepeat)(std::string_view)) {
  const auto key = [&](std::string_view name) { return fold ? fold(name) : std::string(name); };
  if (!mayCollide(names, taken, fold, mayRepeat)) return names;
  // Every name as formed, so that a numbered name never takes a later member's own name.
  std::unordered_set<std::string> formed;
  for (const std::string& name : names) formed.insert(key(name));

  std::unordered_set<std::string> used;
  const auto isFree = [&](const std::string& name, const std::string& folded) {
    return !used.contains(folded) && !taken.contains(name);
  };
  // The next number to try per name, so that many equal names cost linear time.
  std::unordered_map<std::string, std::size_t> nextNumber;
  for (std::string& name : names) {
    if (mayRepeat && mayRepeat(name)) continue;
    std::string folded = key(name);
    if (isFree(name, folded)) {
      used.insert(std::move(folded));
      continue;
    }
    std::size_t& n = nextNumber.try_emplace(folded, 2).first->second;
    for (;; ++n) {
      std::string candidate = numbered(name, n, style);
      std::string candidateKey = key(candidate);
      if (!formed.contains(candidateKey) && isFree(candidate, candidateKey)) {
        used.insert(std::move(candidateKey));
        name = std::move(candidate);
        ++n;
        break;
      }
    }
  }
  return names;
}

std::size_t TypeNames::NamesHash::operator()(const Names& names) const noexcept {
  std::size_t hash = names.size();
  for (const std::string& name : names) {
    hash = hash * 1099511628211u ^ std::hash<std::string_view>{}(name);
  }
  return hash;
}

namespace {

using Kind = PropertyType::Kind;

// The object a property type holds through lists, nullable types and maps, or nullptr.
const Object* heldObject(const PropertyType& type) {
  const PropertyType* t = type.innermost();
  return t && t->is(Kind::object) ? &t->objectValue() : nullptr;
}

const Object* rootObject(const Code& root) {
  switch (root.kind()) {
    case Code::Kind::object:
      return &root.objectValue();
    case Code::Kind::dictionary:
      return heldObject(root.dictionaryValue().propertyType);
    case Code::Kind::property:
      return heldObject(root.propertyValue().type);
    case Code::Kind::propertyType:
      return heldObject(root.propertyTypeValue());
  }
  return nullptr;
}

// What the walk knows of one object type.
struct Known {
  std::string formed;
  std::size_t shape = 0;
};

}  // namespace

TypeNames::TypeNames(const Code& root, const Language& language) {
  const Object* top = rootObject(root);
  if (!top) return;
  std::unordered_map<Names, Known, NamesHash> known;

  // The formed names, children before parents, without recursion: a deep sample costs no call
  // stack.
  struct Visit {
    const Object* object;
    bool expanded;
  };
  std::vector<Visit> childrenFirst;
  // How many types have each formed name and number of properties; types that differ in either
  // never share a shape.
  std::unordered_map<std::string, std::size_t> alike;
  const auto alikeKey = [](const std::string& formed, const Object& object) {
    return formed + '\x1f' + std::to_string(object.properties.size());
  };
  std::vector<Visit> stack{{top, false}};
  while (!stack.empty()) {
    const Visit visit = stack.back();
    stack.pop_back();
    if (!visit.expanded) {
      if (known.contains(visit.object->names)) continue;
      stack.push_back({visit.object, true});
      for (const Property& property : visit.object->properties) {
        if (const Object* child = heldObject(property.type)) {
          if (!known.contains(child->names)) stack.push_back({child, false});
        }
      }
      continue;
    }
    if (known.contains(visit.object->names)) continue;
    Known& own = known[visit.object->names];
    own.formed = language.formed(visit.object->names);
    ++alike[alikeKey(own.formed, *visit.object)];
    childrenFirst.push_back(visit);
  }

  // Shapes, in the same order. A shape is only ever compared between types of one formed name
  // (a parent's shape holds its children's names), and equal shapes have as many properties, so
  // a type that no other type is alike in both takes a shape of its own without its signature:
  // a wide record's signature is as long as its keys together (wide-object-100: 51 M
  // instructions to build and hash).
  std::unordered_map<std::string, std::size_t> shapes;  // signature -> shape number
  std::size_t nextShape = 0;
  // Texts from the sample (keys, names) go in with their length first: a key may hold any byte,
  // the separators too, and one key must never read as two.
  const auto addText = [](std::string& signature, std::string_view text) {
    signature += std::to_string(text.size());
    signature += ':';
    signature += text;
  };
  for (const Visit& visit : childrenFirst) {
    Known& own = known[visit.object->names];
    if (alike[alikeKey(own.formed, *visit.object)] == 1) {
      own.shape = nextShape++;
      continue;
    }
    std::string signature;
    for (const Property& property : visit.object->properties) {
      addText(signature, property.names.empty() ? std::string_view() : property.names.back());
      const PropertyType* t =
          property.type.visitWrappers(Wrappers::all, [&](const PropertyType& wrapper) {
            switch (wrapper.kind()) {
              case Kind::dictionary:
                signature += '{';
                break;
              case Kind::array:
                signature += '[';
                break;
              default:
                signature += '?';
                break;
            }
          });
      if (t && t->is(Kind::primitive)) {
        signature += static_cast<char>('a' + static_cast<int>(t->primitiveValue().kind()));
        if (t->primitiveValue().kind() == Primitive::Kind::date) {
          signature += static_cast<char>('0' + static_cast<int>(t->primitiveValue().dateKind()));
        }
      } else if (t && t->is(Kind::object)) {
        const Known& child = known[t->objectValue().names];
        signature += 'O';
        addText(signature, child.formed);
        signature += std::to_string(child.shape);
      } else if (t && t->is(Kind::enum_)) {
        signature += 'E';
        for (const std::string& name : t->enumValue().names) addText(signature, name);
      }
      signature += '\x1e';
    }
    const auto [it, added] = shapes.try_emplace(std::move(signature), nextShape);
    if (added) ++nextShape;
    own.shape = it->second;
  }

  // Names, parents before children in the properties' order, so the root keeps its name and a
  // later type takes the number.
  struct Scope {
    std::unordered_set<std::string> taken;
    std::unordered_map<std::string, std::string> byShape;  // formed name and shape -> name
    std::unordered_map<std::string, std::size_t> nextNumber;
  };
  std::unordered_map<Names, Scope, NamesHash> scopes;
  // The user's own names are taken in every scope before any formed name is given.
  std::unordered_set<std::string> usersOwn;
  if (language.isUsersOwn) {
    for (const auto& [path, k] : known) {
      if (language.isUsersOwn(path)) usersOwn.insert(k.formed);
    }
  }
  const Names fileScope;
  auto scopeOf = [&](const Object* owner) -> Scope& {
    const Names& key = language.nested && owner ? owner->names : fileScope;
    auto [it, added] = scopes.try_emplace(key);
    if (added) {
      it->second.taken = usersOwn;
      if (language.reservedIn) {
        it->second.taken.merge(language.reservedIn(language.nested ? owner : nullptr));
      }
    }
    return it->second;
  };

  struct Place {
    const Object* object;
    const Object* owner;
  };
  std::vector<Place> places{{top, nullptr}};
  while (!places.empty()) {
    const Place place = places.back();
    places.pop_back();
    const Names& path = place.object->names;
    if (m_names.contains(path)) continue;
    const Known& k = known[path];
    std::string name;
    if (language.isUsersOwn && language.isUsersOwn(path)) {
      name = k.formed;
    } else {
      Scope& scope = scopeOf(place.owner);
      std::string shapeKey = k.formed + '\x1f' + std::to_string(k.shape);
      if (auto it = scope.byShape.find(shapeKey); it != scope.byShape.end()) {
        name = it->second;
      } else {
        name = k.formed;
        if (scope.taken.contains(name)) {
          std::size_t& n = scope.nextNumber.try_emplace(k.formed, 2).first->second;
          do {
            name = numbered(k.formed, n++, language.style);
          } while (scope.taken.contains(name));
        }
        scope.taken.insert(name);
        scope.byShape.emplace(std::move(shapeKey), name);
      }
    }
    m_names.emplace(path, std::move(name));
    // Pushed in reverse, so that children are named in the properties' order.
    const auto& properties = place.object->properties;
    for (auto it = properties.rbegin(); it != properties.rend(); ++it) {
      if (const Object* child = heldObject(it->type)) {
        if (!m_names.contains(child->names)) places.push_back({child, place.object});
      }
    }
  }
}

const std::string* TypeNames::find(const Names& path) const {
  auto it = m_names.find(path);
  return it == m_names.end() ? nullptr : &it->second;
}

}  // namespace telvar::generate
