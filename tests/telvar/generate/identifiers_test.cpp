#include "telvar/generate/identifiers.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace telvar::generate {
namespace {

bool asciiLetter(char32_t c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool startsName(char32_t c) { return asciiLetter(c) || c == '_'; }
bool continuesName(char32_t c) { return startsName(c) || (c >= '0' && c <= '9'); }
bool isKeyword(std::string_view name) { return name == "class" || name == "_"; }

TEST(RepairedIdentifier, EachForeignCharacterRuleKeepsDifferentKeysApart) {
  IdentifierRules rules{startsName, continuesName, ForeignCharacter::dropped};
  EXPECT_EQ(repairedIdentifier("user_name", rules), "user_name");  // already an identifier
  EXPECT_EQ(repairedIdentifier("a-b c", rules), "abc");
  rules.foreign = ForeignCharacter::underscore;
  EXPECT_EQ(repairedIdentifier("a-b c", rules), "a_b_c");
  rules.foreign = ForeignCharacter::spelled;
  EXPECT_EQ(repairedIdentifier("a-\xE5\x90\x8D", rules), "au002Du540D");
  // Canonically equivalent keys give one name: the text is composed first.
  EXPECT_EQ(repairedIdentifier("cafe\xCC\x81", rules), repairedIdentifier("caf\xC3\xA9", rules));
  // Bytes that are not UTF-8 never reach the output.
  EXPECT_EQ(repairedIdentifier("a\xFF", rules), "au00FF");
}

TEST(RepairedIdentifier, BadStartsEmptyNamesAndReservedWords) {
  IdentifierRules rules{
      startsName, continuesName, ForeignCharacter::dropped, 'u', "X", "__", isKeyword, "", "_"};
  EXPECT_EQ(repairedIdentifier("1st", rules), "X1st");
  EXPECT_EQ(repairedIdentifier("$", rules), "__");  // nothing left
  EXPECT_EQ(repairedIdentifier("", rules), "__");
  EXPECT_EQ(repairedIdentifier("class", rules), "class_");
  EXPECT_EQ(repairedIdentifier("_", rules), "__");  // reserved: the wildcard
  EXPECT_EQ(repairedIdentifier("Class", rules), "Class");
}

TEST(DistinctNames, LaterEqualNamesAreNumberedAroundNamesTakenAnywhere) {
  EXPECT_EQ(distinctNames(NameList{"a", "b"}, NumberStyle::appended), (NameList{"a", "b"}));
  // "a2" is a later member's own name, so the second "a" skips it.
  EXPECT_EQ(distinctNames(NameList{"a", "a", "a2", "a"}, NumberStyle::appended),
            (NameList{"a", "a3", "a2", "a4"}));
  EXPECT_EQ(distinctNames(NameList{"user_name", "user_name"}, NumberStyle::underscored),
            (NameList{"user_name", "user_name_2"}));
  // Names taken by the scope (a nested type, a member every class has) are avoided.
  EXPECT_EQ(distinctNames(NameList{"item", "x"}, NumberStyle::appended, {"item", "item2"}),
            (NameList{"item3", "x"}));
  // Folded comparison: names that differ only in case and underscores collide.
  const auto folded = [](std::string_view name) {
    std::string out;
    for (char c : name) {
      if (c != '_') out += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return out;
  };
  EXPECT_EQ(distinctNames(NameList{"user_id", "userId"}, NumberStyle::underscored, {}, +folded),
            (NameList{"user_id", "userId_2"}));
  // Names that may repeat keep their name.
  const auto blank = [](std::string_view name) { return name == "_"; };
  EXPECT_EQ(distinctNames(NameList{"_", "_", "a", "a"}, NumberStyle::appended, {}, nullptr, +blank),
            (NameList{"_", "_", "a", "a2"}));
}

TEST(DistinctNames, AWideListFindsItsOneRepeatWhereverItStands) {
  // Thousands of names fill the table the repeats are found in far enough to wrap around it.
  using Names = std::vector<std::string>;
  Names names;
  for (int i = 0; i < 5000; ++i) names.push_back("n" + std::to_string(i));
  EXPECT_EQ(distinctNames(names, NumberStyle::appended), names);
  // The repeat next to, far from and (the last name) among the last few of its first use: names
  // are entered into the table a few behind the walk over them.
  for (const auto& [first, at] : {std::pair<std::size_t, std::size_t>{0, 1},
                                  {0, 2500},
                                  {0, names.size()},
                                  {names.size() - 1, names.size()},
                                  {names.size() - 9, names.size()},
                                  {names.size() - 15, names.size()}}) {
    Names repeated = names;
    repeated.insert(repeated.begin() + static_cast<std::ptrdiff_t>(at), names[first]);
    Names expected = repeated;
    expected[at] = names[first] + "2";
    EXPECT_EQ(distinctNames(repeated, NumberStyle::appended), expected) << first << " " << at;
  }
}

// An object at `path` with the given properties (key and type).
PropertyType object(Names path, std::vector<std::pair<std::string, PropertyType>> members) {
  Object o{path, {}};
  for (auto& [key, type] : members) {
    Names names = path;
    names.push_back(key);
    o.properties.push_back({names, std::move(type)});
  }
  return PropertyType::object(std::move(o));
}

PropertyType integer() { return PropertyType::primitive(Primitive::int_()); }
PropertyType text() { return PropertyType::primitive(Primitive::string()); }

// The formed name: the last key with its first letter upper-cased.
std::string formed(const Names& path) {
  std::string name = path.back();
  if (!name.empty() && name[0] >= 'a' && name[0] <= 'z') name[0] = static_cast<char>(name[0] - 32);
  return name;
}

TEST(TypeNames, DifferentShapesOfOneNameAreNumberedAndEqualShapesShareTheirName) {
  // {"data": {"id": 1, "data": {"name": "x"}}, "item": {"a": 1}, "items": [{"b": "x"}],
  //  "other": {"item": {"a": 2}}}
  const PropertyType root = object(
      {"root"},
      {{"data",
        object({"root", "data"}, {{"id", integer()},
                                  {"data", object({"root", "data", "data"}, {{"name", text()}})}})},
       {"item", object({"root", "item"}, {{"a", integer()}})},
       {"items", PropertyType::array(object({"root", "items"}, {{"b", text()}}))},
       {"other", object({"root", "other"},
                        {{"item", object({"root", "other", "item"}, {{"a", integer()}})}})}});
  TypeNames::Language language;
  language.formed = [](const Names& path) {
    return path.back() == "items" ? std::string("Item") : formed(path);
  };
  const TypeNames names(Code::object(root.sharedObject()), language);
  EXPECT_EQ(*names.find({"root"}), "Root");
  EXPECT_EQ(*names.find({"root", "data"}), "Data");  // the outer one comes first
  EXPECT_EQ(*names.find({"root", "data", "data"}), "Data2");
  EXPECT_EQ(*names.find({"root", "item"}), "Item");
  EXPECT_EQ(*names.find({"root", "items"}), "Item2");
  EXPECT_EQ(*names.find({"root", "other", "item"}), "Item");  // the same shape as root.item
  EXPECT_EQ(names.find({"root", "missing"}), nullptr);

  // Nested declarations: each holder is a scope of its own, so "Data" may repeat inside "Data".
  language.nested = true;
  language.style = NumberStyle::underscored;
  const TypeNames nested(Code::object(root.sharedObject()), language);
  EXPECT_EQ(*nested.find({"root", "data", "data"}), "Data");
  EXPECT_EQ(*nested.find({"root", "items"}), "Item_2");
}

TEST(TypeNames, KeysHoldingTheSignaturesSeparatorsNeverMakeTwoShapesOne) {
  // {"p": {"c": {"a\x1fc\x1eb": 1, "d": 1}}, "q": {"c": {"a": 1, "b\x1fc\x1ed": 1}}}: read
  // without their lengths, the two keys of each would spell the same signature.
  const std::string joinedFirst(
      "a\x1f"
      "c\x1e"
      "b");
  const std::string joinedLast(
      "b\x1f"
      "c\x1e"
      "d");
  const PropertyType root = object(
      {"root"},
      {{"p", object({"root", "p"}, {{"c", object({"root", "p", "c"},
                                                 {{joinedFirst, integer()}, {"d", integer()}})}})},
       {"q", object({"root", "q"}, {{"c", object({"root", "q", "c"},
                                                 {{"a", integer()}, {joinedLast, integer()}})}})}});
  TypeNames::Language language;
  language.formed = [](const Names& path) { return formed(path); };
  const TypeNames names(Code::object(root.sharedObject()), language);
  EXPECT_EQ(*names.find({"root", "p", "c"}), "C");
  EXPECT_EQ(*names.find({"root", "q", "c"}), "C2");
}

TEST(TypeNames, TheUsersOwnNamesAreKeptAndFormedNamesAvoidThemAndReservedOnes) {
  const PropertyType root =
      object({"root"}, {{"a", object({"root", "a"}, {{"x", integer()}})},
                        {"b", object({"root", "b"}, {{"y", integer()}})},
                        {"date", object({"root", "date"}, {{"z", integer()}})}});
  TypeNames::Language language;
  // The user maps both "a" and "b" to "Same", and "root" to "B".
  language.formed = [](const Names& path) {
    if (path.back() == "a" || path.back() == "b") return std::string("Same");
    if (path.back() == "root") return std::string("B");
    return formed(path);
  };
  language.isUsersOwn = [](const Names& path) { return path.back() != "date"; };
  language.reservedIn = [](const Object*) { return std::unordered_set<std::string>{"Date"}; };
  const TypeNames names(Code::object(root.sharedObject()), language);
  EXPECT_EQ(*names.find({"root", "a"}), "Same");
  EXPECT_EQ(*names.find({"root", "b"}), "Same");  // kept as typed, even where it collides
  EXPECT_EQ(*names.find({"root"}), "B");
  EXPECT_EQ(*names.find({"root", "date"}), "Date2");
}

}  // namespace
}  // namespace telvar::generate
