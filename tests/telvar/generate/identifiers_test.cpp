#include "telvar/generate/identifiers.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "telvar/generate/generate.h"
#include "telvar/model/model.h"
#include "telvar/threads/chunks.h"

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
  // Thousands of names fill the table the repeats are found in far enough to wrap around it; a
  // wide type's (tens of thousands) are checked a chunk a thread.
  using Names = std::vector<std::string>;
  for (const int count : {5000, 40000}) {
    Names names;
    for (int i = 0; i < count; ++i) names.push_back("n" + std::to_string(i));
    EXPECT_EQ(distinctNames(names, NumberStyle::appended), names);
    // The repeat next to, far from and (the last name) among the last few of its first use:
    // names are entered into the table a few behind the walk over them.
    const std::size_t last = names.size();
    for (const auto& [first, at] : {std::pair<std::size_t, std::size_t>{0, 1},
                                    {0, last / 2},
                                    {0, last},
                                    {last - 1, last},
                                    {last - 9, last},
                                    {last - 15, last}}) {
      Names repeated = names;
      repeated.insert(repeated.begin() + static_cast<std::ptrdiff_t>(at), names[first]);
      Names expected = repeated;
      expected[at] = names[first] + "2";
      EXPECT_EQ(distinctNames(repeated, NumberStyle::appended), expected)
          << count << ": " << first << " " << at;
    }
    // A name taken elsewhere, at the end; and names that may repeat, everywhere.
    EXPECT_EQ(distinctNames(names, NumberStyle::appended, {names.back()}).back(),
              names.back() + "2");
    const auto blank = [](std::string_view name) { return name == "_"; };
    Names blanks = names;
    for (std::size_t i = 0; i < blanks.size(); i += 7) blanks[i] = "_";
    EXPECT_EQ(distinctNames(blanks, NumberStyle::appended, {}, nullptr, +blank), blanks);
  }
}

TEST(FormedNames, ChunksCoverEveryMemberOnceAndInOrder) {
  for (const auto& [count, chunks] :
       {std::pair<std::size_t, std::size_t>{0, 4}, {1, 8}, {7, 8}, {8, 8}, {100, 3}, {100003, 8}}) {
    const std::size_t expected = std::min(chunks, std::max<std::size_t>(count, 1));
    std::vector<std::pair<std::size_t, std::size_t>> ranges(chunks, {0, 0});
    std::vector<std::atomic<int>> calls(chunks);
    forChunks(count, chunks, [&](std::size_t chunk, std::size_t begin, std::size_t end) {
      ranges.at(chunk) = {begin, end};
      ++calls.at(chunk);
    });
    std::size_t next = 0;
    for (std::size_t i = 0; i < chunks; ++i) {
      EXPECT_EQ(calls[i].load(), i < expected ? 1 : 0) << count << " in " << chunks;
      if (i >= expected) continue;
      EXPECT_EQ(ranges[i].first, next) << count << " in " << chunks;
      EXPECT_LE(ranges[i].second - ranges[i].first, count / expected + 1);
      next = ranges[i].second;
    }
    EXPECT_EQ(next, count) << count << " in " << chunks;
  }
  EXPECT_EQ(chunksFor(1000, kMembersAChunk), 1u);
  EXPECT_EQ(chunksFor(2 * kMembersAChunk - 1, kMembersAChunk), 1u);
}

TEST(FormedNames, ChunksFilledInPlaceGiveTheNamesOfOnePass) {
  // Each chunk fills its room in the one text: names shorter than their room leave gaps to close;
  // names that outgrow it (one huge name in one chunk, or longer names in every chunk) are kept by
  // the slower way, with the rest of their chunk. Either way the list is the one a single pass
  // makes.
  const auto key = [](std::size_t i) { return "key" + std::to_string(i); };
  const auto room = [&](std::size_t i) { return key(i).size(); };
  const std::vector<std::function<std::string(std::size_t)>> forms = {
      [&](std::size_t i) { return key(i).substr(0, key(i).size() - i % 4); },
      [&](std::size_t i) { return i == 7777 ? std::string(200000, 'x') : key(i).substr(i % 2); },
      [&](std::size_t i) { return i % 3 == 0 ? std::string() : key(i) + std::string(i % 3, '_'); },
      [&](std::size_t i) { return i % 1000 == 999 ? key(i) : key(i) + "__"; },
  };
  for (std::size_t f = 0; f < forms.size(); ++f) {
    for (const auto& [count, chunks] :
         {std::pair<std::size_t, std::size_t>{0, 4}, {3, 8}, {20000, 2}, {20000, 7}}) {
      NameList expected;
      for (std::size_t i = 0; i < count; ++i) expected.push_back(forms[f](i));
      EXPECT_EQ(NameList::formedInChunks(count, chunks, room, forms[f]), expected)
          << "form " << f << ", " << count << " in " << chunks;
    }
  }
}

// `count` properties of one object, keyed "k0", "k1"... with some keys empty, long or not ASCII.
std::vector<Property> manyProperties(std::size_t count) {
  const auto owner = detail::Shared<Names>::make(Names{"M"});
  std::vector<Property> properties;
  properties.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::string key = "k" + std::to_string(i);
    if (i % 97 == 0) key.clear();
    if (i % 89 == 0) key += " a key long enough to be shared, not held in place";
    if (i % 83 == 0) key += " 日本";
    properties.push_back({MemberPath(owner, key), PropertyType::primitive(Primitive::int_())});
  }
  return properties;
}

TEST(FormedNames, AWideTypesNamesComeInItsMembersOrderFromEveryChunk) {
  const std::vector<Property> properties = manyProperties(100000);
  // Names of every length, empty ones among them, so that a chunk's offsets joined wrong would
  // show.
  const auto form = [](const Property& p) {
    const std::string_view key = p.names.back();
    return key.size() % 3 == 0 ? std::string()
                               : std::string(key) + std::string(key.size() % 5, '_');
  };
  const NameList names = formedNames(properties, form);
  ASSERT_EQ(names.size(), properties.size());
  std::size_t characters = 0;
  for (std::size_t i = 0; i < properties.size(); ++i) {
    ASSERT_EQ(names[i], form(properties[i])) << i;
    characters += names[i].size();
  }
  EXPECT_EQ(names.characters(), characters);
}

TEST(FormedNames, AFormThatFailsOnOneMemberFailsTheWholeListOnceEveryChunkIsDone) {
  const std::vector<Property> properties = manyProperties(50000);
  std::atomic<std::size_t> formed{0};
  const auto form = [&](const Property& p) {
    if (p.names.back() == "k45000") throw std::runtime_error("no name");
    ++formed;
    return std::string("n");
  };
  EXPECT_THROW((void)formedNames(properties, form), std::runtime_error);
  // Every chunk ran once, to its end or to the failure (in the last chunk, on another thread).
  EXPECT_EQ(formed.load(), 45000u);
}

TEST(FormedNames, AWideTypeIsNamedAndWrittenInEveryLanguage) {
  // Wide enough that its names are formed a chunk a thread (run under ThreadSanitizer too); each
  // name must still stand with its own key.
  constexpr int kKeys = 20000;
  if (chunksFor(kKeys, kMembersAChunk) == 1) GTEST_SKIP() << "one processor: no chunks to test";
  std::string sample = "{";
  for (int i = 0; i < kKeys; ++i) {
    sample += (i ? ",\"user_id_" : "\"user_id_") + std::to_string(i) + "\":" + std::to_string(i);
  }
  sample += "}";
  const std::vector<std::pair<OutputType, std::function<std::string(const std::string&)>>> forms = {
      {OutputType::swift,
       [](const std::string& i) { return "case userId" + i + " = \"user_id_" + i + '"'; }},
      {OutputType::kotlin,
       [](const std::string& i) {
         return "@SerialName(\"user_id_" + i + "\")\n  val userId" + i + ":";
       }},
      {OutputType::dart, [](const std::string& i) { return "int userId" + i + ";"; }},
      {OutputType::go,
       [](const std::string& i) { return "UserId" + i + " int `json:\"user_id_" + i + "\"`"; }},
      {OutputType::proto, [](const std::string& i) { return "user_id_" + i + " = "; }},
      {OutputType::schema, [](const std::string& i) { return "\"user_id_" + i + "\": {"; }},
  };
  for (const auto& [type, expected] : forms) {
    Model model =
        modelFromDocumentText(R"({"id": "6F1C2A3B-4D5E-4F60-8172-93A4B5C6D7E8", "input": ""})");
    model.setInput(sample);
    const std::optional<std::string> out = output(model, type);
    ASSERT_TRUE(out) << static_cast<int>(type);
    std::size_t at = 0;
    for (int i = 0; i < kKeys; ++i) {
      at = out->find(expected(std::to_string(i)), at);
      ASSERT_NE(at, std::string::npos) << static_cast<int>(type) << " member " << i;
    }
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
