#pragma once

// Names that generated code declares. Every language repairs a formed name into one of its
// identifiers by one routine driven by that language's table, and every generator keeps the
// names of one type's members, and of the types in one scope, distinct by one numbering rule.

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "telvar/code/code.h"
#include "telvar/threads/chunks.h"
#include "telvar/value/value.h"

namespace telvar::generate {

/// What becomes of a character that may not stand in a name.
enum class ForeignCharacter {
  dropped,     // left out ("a-b" gives "ab")
  underscore,  // replaced by "_"
  spelled,     // spelled as `spellMarker` and at least four upper-case hex digits ("u540D")
};

/// One language's rules for one kind of name it declares.
struct IdentifierRules {
  /// Whether a character may begin a name.
  bool (*mayStart)(char32_t);
  /// Whether a character may stand in a name after the first.
  bool (*mayContinue)(char32_t);
  ForeignCharacter foreign;
  char spellMarker = 'u';
  /// Put before a name whose first character may not begin one.
  std::string_view badStart = "_";
  /// The name of a text that has nothing left.
  std::string_view nothingLeft = "_";
  /// Names the language rejects, or that would hide something the file uses; nullptr for none.
  bool (*isReserved)(std::string_view) = nullptr;
  /// What a reserved name gets before and after it.
  std::string_view reservedBefore = {};
  std::string_view reservedAfter = {};
};

/// `name` made into an identifier by `rules`: composed (NFC); each character that may not stand
/// where it is handled as `foreign` says; `nothingLeft` when nothing is left; `badStart` before a
/// first character that may not begin a name; a reserved result gets `reservedBefore` and
/// `reservedAfter`. A name that is already an identifier comes back unchanged.
[[nodiscard]] std::string repairedIdentifier(std::string_view name, const IdentifierRules& rules);

/// Steps through a list read by position, whose `list[i]` makes its element as a value.
template <typename List, typename Value>
class PositionIterator {
 public:
  using iterator_category = std::forward_iterator_tag;
  using value_type = Value;
  using difference_type = std::ptrdiff_t;
  using pointer = void;
  using reference = Value;
  PositionIterator() = default;
  PositionIterator(const List* list, std::size_t at) : m_list(list), m_at(at) {}
  Value operator*() const { return (*m_list)[m_at]; }
  PositionIterator& operator++() {
    ++m_at;
    return *this;
  }
  PositionIterator operator++(int) {
    PositionIterator before = *this;
    ++m_at;
    return before;
  }
  friend bool operator==(const PositionIterator&, const PositionIterator&) = default;

 private:
  const List* m_list = nullptr;
  std::size_t m_at = 0;
};

/// Names kept in one text, each ending where the next begins: a wide type's member names cost
/// their characters and an offset each rather than a string each (wide-1000 in Go: 64 MB of
/// field names as strings, 45 MB so). Read by position, or in order as `std::string_view`s.
class NameList {
 public:
  NameList() = default;
  NameList(std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) push_back(name);
  }

  void reserve(std::size_t names, std::size_t characters) {
    m_ends.reserve(names);
    m_text.reserve(characters);
  }
  void push_back(std::string_view name) {
    m_text += name;
    m_ends.push_back(m_text.size());
  }
  /// The names `form(i)` for `i` in `[0, count)`, formed `chunks` at once on several threads (see
  /// `forChunks`) straight into the list's one text: each chunk fills the room that `room(i)`
  /// (and a character more) gives its names, and the gaps are closed once all are done. A chunk
  /// whose names outgrow its room costs a copy of the list.
  [[nodiscard]] static NameList formedInChunks(std::size_t count, std::size_t chunks,
                                               const std::function<std::size_t(std::size_t)>& room,
                                               const std::function<std::string(std::size_t)>& form);

  [[nodiscard]] std::size_t size() const noexcept { return m_ends.size(); }
  [[nodiscard]] bool empty() const noexcept { return m_ends.empty(); }
  [[nodiscard]] std::string_view operator[](std::size_t i) const noexcept {
    const std::size_t start = i == 0 ? 0 : m_ends[i - 1];
    return std::string_view(m_text.data() + start, m_ends[i] - start);
  }
  /// The characters of every name together.
  [[nodiscard]] std::size_t characters() const noexcept { return m_text.size(); }

  using Iterator = PositionIterator<NameList, std::string_view>;
  [[nodiscard]] Iterator begin() const { return {this, 0}; }
  [[nodiscard]] Iterator end() const { return {this, size()}; }

  friend bool operator==(const NameList&, const NameList&) = default;

 private:
  std::string m_text;
  std::vector<std::size_t> m_ends;
};

/// The names `form` makes of `properties`, in their order, in one text. A member's name is about
/// as long as its key: room is made for that and `extra` more characters a name, once.
///
/// A wide type's names are formed a chunk of members a thread (wide-1000 in Swift: 0.39-0.44 s
/// rather than 0.47-0.55 s in all). So `form` may be called on several threads at once: it reads
/// the property and the options, and neither changes anything nor copies a handle of the code model
/// (whose counts are plain).
template <class Form>
[[nodiscard]] NameList formedNames(const std::vector<Property>& properties, const Form& form,
                                   std::size_t extra = 0) {
  const auto room = [&](std::size_t i) {
    const MemberPath& path = properties[i].names;
    return (path.empty() ? 0 : path.back().size()) + extra;
  };
  const std::size_t chunks = chunksFor(properties.size(), kMembersAChunk);
  if (chunks > 1) {
    return NameList::formedInChunks(properties.size(), chunks, room,
                                    [&](std::size_t i) { return form(properties[i]); });
  }
  std::size_t characters = 0;
  for (std::size_t i = 0; i < properties.size(); ++i) characters += room(i);
  NameList names;
  names.reserve(properties.size(), characters);
  for (const Property& p : properties) names.push_back(form(p));
  return names;
}

/// How a language writes the number that tells equal names apart.
enum class NumberStyle {
  appended,     // "userName2", "Item2"
  underscored,  // "user_name_2"
};

/// `name` with the number `n` in `style`.
[[nodiscard]] std::string numbered(std::string_view name, std::size_t n, NumberStyle style);

/// The member names of one type, in the members' order: a name equal to an earlier member's
/// (compared after `fold`, when given), or to a name of `taken` (compared as it is), gets the
/// smallest number from 2 up that makes it differ from every name of the list as formed, every
/// name given before it, and every name of `taken`.
/// Names for which `mayRepeat` holds keep their name (Go's blank field "_"). Linear in the names.
[[nodiscard]] std::vector<std::string> distinctNames(
    std::vector<std::string> names, NumberStyle style,
    const std::unordered_set<std::string>& taken = {},
    std::string (*fold)(std::string_view) = nullptr, bool (*mayRepeat)(std::string_view) = nullptr);

/// `distinctNames` for names kept in one text; names that are distinct already come back as they
/// are, without a copy.
[[nodiscard]] NameList distinctNames(NameList names, NumberStyle style,
                                     const std::unordered_set<std::string>& taken = {},
                                     std::string (*fold)(std::string_view) = nullptr,
                                     bool (*mayRepeat)(std::string_view) = nullptr);

/// The positions of `names` in the order members sorted by name are written in: by the scalar
/// values of the composed names, equal names in their own order.
[[nodiscard]] std::vector<std::size_t> alphabeticalOrder(const NameList& names);

/// The names of the types a file declares, by the key path of each object. Different shapes
/// whose names come out equal in one scope get a number on the later one (in the walk's order,
/// children before parents); objects of equal shape and equal name share the name, and so one
/// declaration. Two objects have equal shape when they have the same keys in the same order and
/// the same types, a nested object counting by its own name.
class TypeNames {
 public:
  /// What the walk asks of a language.
  struct Language {
    /// The name formed for an object's key path, already an identifier.
    std::function<std::string(const Names& path)> formed;
    /// Whether the formed name is the user's own (a type-name map hit): it is kept as typed, even
    /// when another type has it, and other types avoid it.
    std::function<bool(const Names& path)> isUsersOwn;
    /// Names a type declared inside `owner` may not take (nullptr owner: the file's scope).
    std::function<std::unordered_set<std::string>(const Object* owner)> reservedIn;
    NumberStyle style = NumberStyle::appended;
    /// Whether types are declared inside the type that holds them (one scope per holder) or all
    /// at the file's top level (one scope).
    bool nested = false;
  };

  TypeNames() = default;
  /// Names every object type of `root`.
  TypeNames(const Code& root, const Language& language);

  /// The name of the object type at `path`; nullptr when the walk met none there.
  [[nodiscard]] const std::string* find(const Names& path) const;

 private:
  struct NamesHash {
    std::size_t operator()(const Names& names) const noexcept;
  };
  std::unordered_map<Names, std::string, NamesHash> m_names;
};

}  // namespace telvar::generate
