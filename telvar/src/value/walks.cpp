#include "telvar/value/walks.h"

#include "value/members.h"

namespace telvar {
namespace {

using Kind = Value::Kind;

// Follows arrays (to their first element) and nulls (to their inner value) down to the value
// whose children are walked; nullptr when the chain ends in an empty array or a plain null.
const Value* passThrough(const Value* value) {
  while (value) {
    if (value->is(Kind::array)) {
      const auto& values = value->arrayValue().values;
      value = values.empty() ? nullptr : &values.front();
    } else if (value->is(Kind::null)) {
      value = value->nullInnerNode();
    } else {
      return value;
    }
  }
  return nullptr;
}

// One level of the walk: the children of `container` (an object's members in key order, or a
// dictionary's value type), `next` being the position of the next child to visit, and `owner`
// the child whose walk this level is (listed last in children-first order when it declares).
struct Level {
  const Value* owner;
  bool ownerDeclares;
  const Value* container;
  std::size_t next = 0;
};

// The next child of a level, or nullptr when it has none left.
const Value* nextChild(Level& level) {
  const Value& c = *level.container;
  if (c.is(Kind::object)) {
    const auto& object = c.objectValue();
    while (level.next < object.orderedKeys().size()) {
      // Keys without a member are skipped.
      if (const Value* member = detail::memberAt(object, level.next++)) return member;
    }
    return nullptr;
  }
  if (c.is(Kind::dictionary) && level.next == 0) {
    ++level.next;
    return c.dictionaryValue().value.get();
  }
  return nullptr;
}

bool hasChildren(const Value* value) {
  return value && (value->is(Kind::object) || value->is(Kind::dictionary));
}

std::vector<Value> nestedValues(const Value& root, bool parentFirst) {
  std::vector<Value> listed;
  const Value* start = passThrough(&root);
  if (!hasChildren(start)) return listed;
  std::vector<Level> stack{{nullptr, false, start}};
  while (!stack.empty()) {
    if (const Value* child = nextChild(stack.back())) {
      const bool declares = hasNestedType(*child);
      if (declares && parentFirst) listed.push_back(*child);
      const Value* inner = passThrough(child);
      if (hasChildren(inner)) {
        stack.push_back({child, declares, inner});
      } else if (declares && !parentFirst) {
        listed.push_back(*child);
      }
      continue;
    }
    const Level done = stack.back();
    stack.pop_back();
    if (done.ownerDeclares && !parentFirst) listed.push_back(*done.owner);
  }
  return listed;
}

}  // namespace

bool hasNestedType(const Value& value) {
  const Value* v = &value;
  while (v) {
    switch (v->kind()) {
      case Kind::object:
      case Kind::enum_:
        return true;
      case Kind::array: {
        const auto& values = v->arrayValue().values;
        v = values.empty() ? nullptr : &values.front();
        break;
      }
      case Kind::null:
        v = v->nullInnerNode();
        break;
      case Kind::dictionary:
        v = v->dictionaryValue().value.get();
        break;
      default:
        return false;
    }
  }
  return false;
}

std::vector<Value> nestedValuesParentFirst(const Value& value) { return nestedValues(value, true); }

std::vector<Value> nestedValuesChildrenFirst(const Value& value) {
  return nestedValues(value, false);
}

}  // namespace telvar
