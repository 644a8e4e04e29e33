#include "telvar/refine/rewrites.h"

#include <clocale>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "refine/path_matcher.h"
#include "telvar/refine/iso8601.h"
#include "telvar/threads/chunks.h"
#include "telvar/unicode/text.h"
#include "telvar/value/merge.h"
#include "telvar/value/url.h"
#include "value/members.h"

namespace telvar {
namespace {

using refine_detail::PathMatcher;
using Kind = Value::Kind;
using EnumMaps = std::vector<SwiftMeta::PropertyEnumMap>;

// ---- What detection recognises ------------------------------------------------------------------

constexpr std::int64_t kFirstIntegerInterval = 1000000001;
constexpr double kDoubleIntervalAbove = 1000000000.0;

// The POSIX locale, made once: the number test must not follow the process's own locale.
locale_t posixLocale() {
  static const locale_t locale = newlocale(LC_ALL_MASK, "C", locale_t{});
  return locale;
}

// Whether all of `text` is one floating-point number above 1000000000.0 as strtod reads it in the
// POSIX locale (signs, exponents, hexadecimal forms, "inf" and "nan" included). A text that
// begins with a blank would be skipped over by strtod, so it is refused first.
bool isTimeIntervalText(std::string_view view) {
  if (view.empty()) return false;
  // A number strtod reads begins with a sign, a digit, a point, "inf" or "nan": most texts are
  // refused here without a copy (a blank would be skipped over by strtod, so it is refused too).
  const char first = view.front();
  if ((first < '0' || first > '9') && first != '+' && first != '-' && first != '.' &&
      first != 'i' && first != 'I' && first != 'n' && first != 'N') {
    return false;
  }
  const std::string text(view);  // strtod reads up to a terminating zero
  char* end = nullptr;
  const locale_t locale = posixLocale();
  const double number = locale ? strtod_l(text.c_str(), &end, locale) : strtod(text.c_str(), &end);
  // An embedded U+0000 stops the conversion early, so such a text is refused here too.
  return end == text.c_str() + text.size() && number > kDoubleIntervalAbove;
}

bool isIso8601Text(std::string_view text) {
  return isIso8601DateTime(text, Iso8601Format::internetDateTime) ||
         isIso8601DateTime(text, Iso8601Format::internetDateTimeWithFractionalSeconds);
}

// ---- The shared walk ----------------------------------------------------------------------------
//
// Every rewrite rebuilds a container after its children, on a stack of its own, so nesting depth
// costs no call stack. A rewrite gives nothing for a value it leaves unchanged: untouched subtrees
// are shared with the input rather than rebuilt.

// One container being rebuilt.
struct Frame {
  enum class Role : std::uint8_t {
    object,  // children: the members, in dictionary order
    array,   // children: the elements
    null,    // child: the inner value
    merged,  // child: `owned`, a value merged from the node's children
  };

  Role role;
  Value node;
  Value owned;
  std::size_t children;
  std::size_t next = 0;  // the child being rewritten
  // Per child: its rewrite, or nothing if unchanged. Made on the first rewrite: a walk that
  // changes nothing in a wide object allocates nothing for it.
  std::vector<std::optional<Value>> results;
  std::vector<char> skipped;  // members left out (ignored properties)
  bool changed = false;

  Frame(Role r, Value n, std::size_t count) : role(r), node(std::move(n)), children(count) {}

  // The rewrite of child `i`, or nullptr when it is unchanged.
  [[nodiscard]] Value* rewritten(std::size_t i) {
    return results.empty() || !results[i] ? nullptr : &*results[i];
  }
  void setRewritten(std::size_t i, Value value) {
    if (results.empty()) results.resize(children);
    results[i] = std::move(value);
    changed = true;
  }
};

// Runs `walk` over `root` (see Detector for the operations a walk provides).
template <class Walk>
std::optional<Value> walked(const Value& root, Walk& walk) {
  std::vector<Frame> stack;
  if (!walk.open(root, stack)) return walk.leaf(root);
  while (true) {
    Frame& top = stack.back();
    if (const Value* child = walk.nextChild(top)) {
      // `top` stays valid when nothing was pushed.
      if (!walk.open(*child, stack)) walk.childDone(top, walk.leaf(*child));
      continue;
    }
    std::optional<Value> result = walk.close(top);
    stack.pop_back();
    if (stack.empty()) return result;
    walk.childDone(stack.back(), std::move(result));
  }
}

// The next child of a frame, past skipped members; nullptr when all are done. The pointer stays
// valid while the frame lives, even when the stack grows: it points into shared payloads, or
// into `owned`, which `open` copies before pushing.
const Value* nextChildOf(Frame& frame) {
  switch (frame.role) {
    case Frame::Role::object: {
      const auto& entries = frame.node.objectValue().dictionary.entries();
      while (frame.next < entries.size() && !frame.skipped.empty() && frame.skipped[frame.next]) {
        ++frame.next;
      }
      return frame.next < entries.size() ? &entries[frame.next].second : nullptr;
    }
    case Frame::Role::array: {
      const auto& values = frame.node.arrayValue().values;
      return frame.next < values.size() ? &values[frame.next] : nullptr;
    }
    case Frame::Role::null:
      return frame.next == 0 ? frame.node.nullInnerNode() : nullptr;
    case Frame::Role::merged:
      return frame.next == 0 ? &frame.owned : nullptr;
  }
  return nullptr;
}

void store(Frame& frame, std::optional<Value> result) {
  if (result) frame.setRewritten(frame.next, std::move(*result));
  ++frame.next;
}

// The frame's only child after its rewrite.
Value onlyChild(Frame& frame) {
  if (Value* result = frame.rewritten(0)) return std::move(*result);
  return frame.role == Frame::Role::merged ? frame.owned : *frame.node.nullInnerNode();
}

// The members with their rewrites, skipped ones left out.
ValueMap rebuiltMembers(Frame& frame) {
  const auto& entries = frame.node.objectValue().dictionary.entries();
  ValueMap members;
  members.reserve(entries.size());
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (!frame.skipped.empty() && frame.skipped[i]) continue;
    // The members of one object: their keys differ already.
    Value* result = frame.rewritten(i);
    members.appendAbsent(entries[i].first, result ? std::move(*result) : entries[i].second);
  }
  return members;
}

Value rebuiltArray(Frame& frame) {
  const Value::Array& array = frame.node.arrayValue();
  std::vector<Value> values;
  values.reserve(array.values.size());
  for (std::size_t i = 0; i < array.values.size(); ++i) {
    Value* result = frame.rewritten(i);
    values.push_back(result ? std::move(*result) : array.values[i]);
  }
  return Value::array(array.names, std::move(values));
}

// Whether a walk enters this value (see openPlain).
bool isContainer(const Value& value) {
  return value.is(Kind::object) || value.is(Kind::array) || value.is(Kind::null);
}

// A frame for the containers that every rewrite enters alike: objects, arrays and nullables.
// `value` may live in the top frame, so it is copied (a shared payload) before the stack grows.
bool openPlain(const Value& value, std::vector<Frame>& stack) {
  switch (value.kind()) {
    case Kind::object: {
      const std::size_t members = value.objectValue().dictionary.entries().size();
      stack.emplace_back(Frame::Role::object, Value(value), members);
      return true;
    }
    case Kind::array: {
      const std::size_t elements = value.arrayValue().values.size();
      stack.emplace_back(Frame::Role::array, Value(value), elements);
      return true;
    }
    case Kind::null:
      // A nullable of a scalar holds nothing a walk enters: wide records are mostly such
      // members, and they cost no frame.
      // (Every container is kept in a node of its own.)
      if (!value.nullInnerNode() || !isContainer(*value.nullInnerNode())) return false;
      stack.emplace_back(Frame::Role::null, Value(value), 1);
      return true;
    default:
      return false;
  }
}

// A plain frame rebuilt when a child changed, else nothing.
std::optional<Value> closePlain(Frame& frame) {
  if (!frame.changed) return std::nullopt;
  switch (frame.role) {
    case Frame::Role::object: {
      const Value::Object& object = frame.node.objectValue();
      return Value::object(object.names, rebuiltMembers(frame), object.orderedKeys().toVector());
    }
    case Frame::Role::array:
      return rebuiltArray(frame);
    case Frame::Role::null:
      return Value::null(onlyChild(frame));
    case Frame::Role::merged:
      break;
  }
  return std::nullopt;
}

std::vector<std::string> nfcKeys(const Names& names) {
  std::vector<std::string> keys;
  keys.reserve(names.size() + 1);
  for (const auto& name : names) keys.push_back(nfc(name));
  return keys;
}

// ---- Detection ----------------------------------------------------------------------------------

// A walk: `open` pushes a frame for a value it enters and says whether it did; `leaf` rewrites a
// value it does not enter; `nextChild` and `childDone` bracket each child of the top frame;
// `close` gives the frame's rewrite. Here every container is rebuilt, as it gets its key path.
class Detector {
 public:
  Detector(const ValueMeta& meta, const EnumMaps& enumMaps, const Names& path)
      : m_url(meta.needsDetectURL()),
        m_iso8601(meta.needsDetectISO8601Date()),
        m_interval(meta.needsDetectTimeIntervalDate()),
        m_enumMaps(enumMaps),
        m_enumMatcher(enumMaps),
        m_path(path) {
    if (!m_enumMatcher.empty()) m_nfcPath = nfcKeys(path);
  }

  bool open(const Value& value, std::vector<Frame>& stack) {
    if (!value.is(Kind::array)) return openPlain(value, stack);
    // An array is refined as its one merged element, under the array's own path.
    Value merged = mergedElements(value.arrayValue().values);
    stack.emplace_back(Frame::Role::merged, Value(value), 1).owned = std::move(merged);
    return true;
  }

  std::optional<Value> leaf(const Value& value) const {
    if (value.is(Kind::number)) return detectedNumber(value.numberValue());
    if (value.is(Kind::string)) return detectedString(value.stringValue());
    if (value.is(Kind::null)) {
      // A nullable of a scalar (see openPlain).
      const std::optional<Value> inner = value.nullInner();
      if (!inner || inner->is(Kind::null)) return std::nullopt;
      if (auto refined = leaf(*inner)) return Value::null(std::move(*refined));
    }
    return std::nullopt;
  }

  const Value* nextChild(Frame& frame) {
    const Value* child = nextChildOf(frame);
    if (child && frame.role == Frame::Role::object) {
      enterKey(frame.node.objectValue().dictionary.entries()[frame.next].first);
    }
    return child;
  }

  void childDone(Frame& frame, std::optional<Value> result) {
    if (frame.role == Frame::Role::object) leaveKey();
    store(frame, std::move(result));
  }

  /// Refines `root` in place. The nodes it alone owns (a parsed sample's, all of them) are
  /// changed where they lie: they get their key paths and their detected leaves without being
  /// copied, so refining a sample allocates next to nothing and never holds two trees. A node
  /// shared with another value is rebuilt by the walk above instead.
  void refineInPlace(Value& root) {
    struct Open {
      Value::Object* object;
      std::size_t next;
      bool leavesSettled;
    };
    std::vector<Open> stack;
    const auto open = [&](Value::Object* object) {
      stack.push_back({object, 0, settleLeavesInChunks(object->dictionary)});
    };
    if (Value::Object* object = settled(root)) open(object);
    while (!stack.empty()) {
      Open& top = stack.back();
      ValueMap& members = top.object->dictionary;
      if (top.next == members.size()) {
        stack.pop_back();
        if (!stack.empty()) leaveKey();  // the key that led to the finished object
        continue;
      }
      const std::size_t i = top.next++;
      Value& member = members.valueAt(i);
      if (!readsPath(member)) {
        if (!top.leavesSettled) settled(member);
        continue;
      }
      enterKey(members.entries()[i].first);
      if (Value::Object* object = settled(member)) {
        open(object);
        continue;
      }
      leaveKey();
    }
  }

  std::optional<Value> close(Frame& frame) const {
    switch (frame.role) {
      case Frame::Role::object:
        return Value::object(m_path, rebuiltMembers(frame),
                             frame.node.objectValue().orderedKeys().toVector());
      case Frame::Role::merged: {
        std::vector<Value> values;
        values.push_back(onlyChild(frame));
        return Value::array(m_path, std::move(values));
      }
      case Frame::Role::null:
        return Value::null(onlyChild(frame));
      case Frame::Role::array:
        break;
    }
    return std::nullopt;
  }

 private:
  std::optional<Value> detectedNumber(const Value::Number& number) const {
    if (number.isInt()) {
      if (const auto* cases = enumCases()) return enumValue(Value::RawType::int_, *cases);
      if (m_interval && number.intValue() >= kFirstIntegerInterval) {
        return Value::date(Value::DateKind::timeIntervalSince1970);
      }
      return std::nullopt;
    }
    // Doubles are never mapped to enumerations.
    if (m_interval && number.doubleValue() > kDoubleIntervalAbove) {
      return Value::date(Value::DateKind::timeIntervalSince1970);
    }
    return std::nullopt;
  }

  std::optional<Value> detectedString(std::string_view text) const {
    if (const auto* cases = enumCases()) return enumValue(Value::RawType::string, *cases);
    if (m_url) {
      if (auto url = urlWithHost(text)) return Value::url(std::move(*url));
    }
    if (m_iso8601 && isIso8601Text(text)) return Value::date(Value::DateKind::iso8601);
    if (m_interval && isTimeIntervalText(text)) {
      return Value::date(Value::DateKind::timeIntervalSince1970);
    }
    return std::nullopt;
  }

  void enterKey(const Key& key) {
    m_path.emplace_back(key);
    if (!m_enumMatcher.empty()) m_nfcPath.push_back(nfc(key));
  }
  void leaveKey() {
    m_path.pop_back();
    if (!m_enumMatcher.empty()) m_nfcPath.pop_back();
  }

  // Whether refining `value` reads its key path: the containers it reaches take it as their
  // names, and enumeration maps select leaves by it. Other leaves skip entering their key, which
  // cost 13 M of detection's 51 M instructions at wide-object-100.
  bool readsPath(const Value& value) const {
    if (!m_enumMatcher.empty()) return true;
    switch (value.kind()) {
      case Kind::object:
      case Kind::array:
        return true;
      case Kind::null:
        return value.nullInnerNode() != nullptr;
      default:
        return false;
    }
  }

  // Settles the members of a wide object that read no key path, in chunks on several threads,
  // and gives whether it did: a leaf is settled on its own, apart from the walk's path (wide-1000:
  // 25 ms of the calling thread). Each chunk changes only its own members.
  bool settleLeavesInChunks(ValueMap& members) {
    // With enumeration maps every member reads its path; with nothing to detect, no leaf changes.
    if (!m_enumMatcher.empty() || !(m_url || m_iso8601 || m_interval)) return false;
    const std::size_t chunks = chunksFor(members.size(), kMembersAChunk);
    if (chunks == 1) return false;
    forChunks(members.size(), chunks, [&](std::size_t, std::size_t begin, std::size_t end) {
      for (std::size_t i = begin; i < end; ++i) {
        Value& member = members.valueAt(i);
        if (!readsPath(member)) settled(member);
      }
    });
    return true;
  }

  // Refines `value` in place down through the nullables and arrays around it (they share its
  // key path), and gives the object it ends in when that is to be walked member by member.
  Value::Object* settled(Value& value) {
    Value* v = &value;
    while (true) {
      switch (v->kind()) {
        case Kind::null:
          if (Value* inner = v->uniqueNullInner()) {
            v = inner;
            continue;
          }
          if (!v->nullInnerNode()) {  // a plain null, or a nullable scalar kept in place
            if (const std::optional<Value> inner = v->nullInner()) {
              if (auto refined = leaf(*inner)) *v = Value::null(std::move(*refined));
            }
            return nullptr;
          }
          break;
        case Kind::array: {
          // An array is refined as its one merged element, under the array's own path.
          if (v->arrayValue().values.size() != 1 || !v->uniqueArray()) {
            std::vector<Value> merged;
            merged.push_back(mergedElements(v->arrayValue().values));
            *v = Value::array({}, std::move(merged));
          }
          v->uniqueArray()->names = m_path;
          v = &v->uniqueElements()[0];
          continue;
        }
        case Kind::object:
          if (Value::Object* object = v->uniqueObject()) {
            object->names = m_path;
            return object;
          }
          break;
        default:
          if (auto refined = leaf(*v)) *v = std::move(*refined);
          return nullptr;
      }
      // Shared with another value: rebuilt, the other's left as it is.
      if (auto refined = walked(*v, *this)) *v = std::move(*refined);
      return nullptr;
    }
  }

  const std::vector<SwiftMeta::PropertyEnumMap::Case>* enumCases() const {
    if (m_enumMatcher.empty()) return nullptr;
    const std::ptrdiff_t selected = m_enumMatcher.select(m_nfcPath);
    return selected < 0 ? nullptr : &m_enumMaps[static_cast<std::size_t>(selected)].cases();
  }

  Value enumValue(Value::RawType rawType,
                  const std::vector<SwiftMeta::PropertyEnumMap::Case>& cases) const {
    std::vector<Value::Case> out;
    out.reserve(cases.size());
    for (const auto& c : cases) out.push_back(Value::Case{c.name(), c.value()});
    return Value::enum_(m_path, rawType, std::move(out));
  }

  bool m_url;
  bool m_iso8601;
  bool m_interval;
  const EnumMaps& m_enumMaps;
  PathMatcher m_enumMatcher;
  Names m_path;                        // the key path of the value being refined
  std::vector<std::string> m_nfcPath;  // m_path in canonical composition, kept for enum maps
};

// ---- Ignored properties -------------------------------------------------------------------------

class IgnoredRemover {
 public:
  explicit IgnoredRemover(const std::vector<IgnoredProperty>& records) : m_matcher(records) {}

  bool open(const Value& value, std::vector<Frame>& stack) {
    if (!openPlain(value, stack)) return false;
    Frame& frame = stack.back();
    if (frame.role != Frame::Role::object) return true;
    // Members are matched once, on entry, by their key paths.
    const Value::Object& object = frame.node.objectValue();
    const auto& entries = object.dictionary.entries();
    std::vector<std::string> keys = nfcKeys(object.names);
    keys.emplace_back();
    frame.skipped.assign(entries.size(), 0);
    for (std::size_t i = 0; i < entries.size(); ++i) {
      keys.back() = nfc(entries[i].first);
      if (m_matcher.contains(keys)) frame.skipped[i] = frame.changed = true;
    }
    return true;
  }

  std::optional<Value> leaf(const Value&) const { return std::nullopt; }
  const Value* nextChild(Frame& frame) const { return nextChildOf(frame); }
  void childDone(Frame& frame, std::optional<Value> result) const {
    store(frame, std::move(result));
  }

  std::optional<Value> close(Frame& frame) const {
    if (!frame.changed || frame.role != Frame::Role::object) return closePlain(frame);
    const Value::Object& object = frame.node.objectValue();
    return Value::object(object.names, rebuiltMembers(frame), keptKeys(frame));
  }

 private:
  // The key order without any place of a left-out key. The member at the same position answers
  // without a look-up, as the grammar stores members in key order.
  std::vector<Key> keptKeys(const Frame& frame) const {
    const Value::Object& object = frame.node.objectValue();
    const auto& entries = object.dictionary.entries();
    std::vector<std::string> keys;
    std::vector<std::string> path;
    std::vector<Key> kept;
    const KeyList ordered = object.orderedKeys();
    kept.reserve(ordered.size());
    for (std::size_t j = 0; j < ordered.size(); ++j) {
      const Key& key = ordered[j];
      bool skip = false;
      if (j < entries.size() && entries[j].first == key) {
        skip = frame.skipped[j] != 0;
      } else if (object.dictionary.contains(key)) {
        if (path.empty()) {
          path = nfcKeys(object.names);
          path.emplace_back();
        }
        path.back() = nfc(key);
        skip = m_matcher.contains(path);
      }
      if (!skip) kept.push_back(key);
    }
    return kept;
  }

  PathMatcher m_matcher;
};

// ---- Optional properties ------------------------------------------------------------------------

class OptionalApplier {
 public:
  OptionalApplier(bool all, const std::vector<ValueMeta::OptionalProperty>& records)
      : m_all(all), m_matcher(records) {}

  bool open(const Value& value, std::vector<Frame>& stack) const { return openPlain(value, stack); }
  std::optional<Value> leaf(const Value&) const { return std::nullopt; }
  const Value* nextChild(Frame& frame) const { return nextChildOf(frame); }
  void childDone(Frame& frame, std::optional<Value> result) const {
    store(frame, std::move(result));
  }

  std::optional<Value> close(Frame& frame) const {
    switch (frame.role) {
      case Frame::Role::object:
        return closeObject(frame);
      case Frame::Role::null: {
        // A nullable of a nullable is the inner nullable.
        const Value* result = frame.rewritten(0);
        const Value& inner = result ? *result : *frame.node.nullInnerNode();
        if (inner.is(Kind::null)) return inner;
        return closePlain(frame);
      }
      default:
        return closePlain(frame);
    }
  }

 private:
  std::optional<Value> closeObject(Frame& frame) const {
    const Value::Object& object = frame.node.objectValue();
    const auto& entries = object.dictionary.entries();
    const bool byPath = !m_all && !m_matcher.empty();
    if (!m_all && !byPath) return closePlain(frame);
    std::vector<std::string> keys;
    if (byPath) {
      keys = nfcKeys(object.names);
      keys.emplace_back();
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
      if (byPath) {
        keys.back() = nfc(entries[i].first);
        if (!m_matcher.contains(keys)) continue;
      }
      const Value* result = frame.rewritten(i);
      const Value& current = result ? *result : entries[i].second;
      if (current.is(Kind::null)) continue;
      frame.setRewritten(i, Value::null(current));
    }
    return closePlain(frame);
  }

  bool m_all;
  PathMatcher m_matcher;
};

// ---- Dictionary objects -------------------------------------------------------------------------

class DictionaryApplier {
 public:
  explicit DictionaryApplier(const std::vector<DictionaryObject>& records) : m_matcher(records) {}

  bool open(const Value& value, std::vector<Frame>& stack) const {
    if (!value.is(Kind::object) || !m_matcher.contains(nfcKeys(value.objectValue().names))) {
      return openPlain(value, stack);
    }
    // The object becomes a dictionary of the merge of its member values, in key order.
    const Value::Object& object = value.objectValue();
    std::vector<Value> values;
    values.reserve(object.orderedKeys().size());
    for (std::size_t j = 0; j < object.orderedKeys().size(); ++j) {
      if (const Value* member = detail::memberAt(object, j)) values.push_back(*member);
    }
    Value merged = mergedElements(values);
    stack.emplace_back(Frame::Role::merged, Value(value), 1).owned = std::move(merged);
    return true;
  }

  std::optional<Value> leaf(const Value&) const { return std::nullopt; }
  const Value* nextChild(Frame& frame) const { return nextChildOf(frame); }
  void childDone(Frame& frame, std::optional<Value> result) const {
    store(frame, std::move(result));
  }

  std::optional<Value> close(Frame& frame) const {
    if (frame.role != Frame::Role::merged) return closePlain(frame);
    return Value::dictionary(frame.node.objectValue().names, onlyChild(frame));
  }

 private:
  PathMatcher m_matcher;
};

}  // namespace

Value detected(Value value, const ValueMeta& meta, const EnumMaps& enumMaps, const Names& path) {
  Detector detector(meta, enumMaps, path);
  detector.refineInPlace(value);
  return value;
}

Value removingIgnoredProperties(const Value& value, const ValueMeta& meta) {
  if (!meta._ignoredProperties || meta._ignoredProperties->empty()) return value;
  IgnoredRemover walk(*meta._ignoredProperties);
  auto rewritten = walked(value, walk);
  return rewritten ? std::move(*rewritten) : value;
}

Value applyingOptionalProperties(const Value& value, const ValueMeta& meta) {
  static const std::vector<ValueMeta::OptionalProperty> none;
  const auto& records = meta._optionalProperties ? *meta._optionalProperties : none;
  OptionalApplier walk(meta.allPropertiesOptional(), records);
  auto rewritten = walked(value, walk);
  return rewritten ? std::move(*rewritten) : value;
}

Value applyingDictionaryObjects(const Value& value, const ValueMeta& meta) {
  if (!meta._dictionaryObjects || meta._dictionaryObjects->empty()) return value;
  DictionaryApplier walk(*meta._dictionaryObjects);
  auto rewritten = walked(value, walk);
  return rewritten ? std::move(*rewritten) : value;
}

}  // namespace telvar
