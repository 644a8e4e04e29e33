#include "telvar/refine/rewrites.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "support/small_stack.h"
#include "support/value_print.h"
#include "support/values.h"

namespace telvar {
namespace {

using testing::integer;
using testing::object;
using testing::parsed;
using EnumMap = SwiftMeta::PropertyEnumMap;

const Names kRoot{"Unknown"};

Value number(double d) { return Value::number(Value::Number::double_(d)); }

ValueMeta detecting(bool url, bool iso8601, bool interval) {
  return ValueMeta(url, iso8601, interval);
}

// The root object's member `key` after detection of `json`.
Value detectedMember(std::string_view json, std::string_view key, const ValueMeta& meta,
                     const std::vector<EnumMap>& maps = {}) {
  const Value root = detected(parsed(json), meta, maps, kRoot);
  const Value* member = root.objectValue().dictionary.find(key);
  EXPECT_NE(member, nullptr) << json;
  return member ? *member : Value::empty();
}

EnumMap enumMap(std::string path, std::vector<std::pair<std::string, std::string>> cases) {
  std::vector<EnumMap::Case> out;
  for (auto& [name, value] : cases) out.emplace_back(Uuid::random(), name, value);
  return EnumMap(Uuid::random(), std::move(path), std::move(out));
}

template <class Record>
std::vector<Record> records(std::vector<std::string> paths) {
  std::vector<Record> out;
  for (auto& path : paths) out.emplace_back(Uuid::random(), std::move(path));
  return out;
}

// ---- Detection: key paths and arrays -----------------------------------------------------------

TEST(Detected, WithEverythingOffOnlyStoresPathsAndFoldsArrays) {
  const Value root = detected(parsed(R"({"a": [{"x": 1}, {"x": 2, "y": "s"}], "b": {"c": true},
                                         "d": "https://example.com", "e": 1700000000})"),
                              ValueMeta(), {}, kRoot);
  const Value expected = object(
      kRoot,
      {{"a", Value::array({"Unknown", "a"},
                          {object({"Unknown", "a"},
                                  {{"x", integer(1)}, {"y", Value::null(Value::string("s"))}})})},
       {"b", object({"Unknown", "b"}, {{"c", Value::bool_(true)}})},
       {"d", Value::string("https://example.com")},
       {"e", integer(1700000000)}});
  EXPECT_EQ(root, expected);
}

TEST(Detected, AnEmptyArrayHoldsOneEmptyAndARootArrayTakesTheRootPath) {
  EXPECT_EQ(detected(parsed("[]"), ValueMeta(), {}, kRoot), Value::array(kRoot, {Value::empty()}));
  const Value root = detected(parsed(R"([{"a": 1}, {"a": 2.5}])"), ValueMeta(), {}, {"Model"});
  EXPECT_EQ(root, Value::array({"Model"}, {object({"Model"}, {{"a", number(2.5)}})}));
}

TEST(Detected, RefinesTheInnerValueOfANullable) {
  // The second element lacks "t", so the merged "t" is nullable; its text is then a date.
  const Value root = detected(parsed(R"({"xs": [{"t": "2024-01-02T03:04:05Z"}, {}]})"),
                              detecting(false, true, false), {}, kRoot);
  const Value& element = root.objectValue().dictionary.find("xs")->arrayValue().values[0];
  EXPECT_EQ(*element.objectValue().dictionary.find("t"),
            Value::null(Value::date(Value::DateKind::iso8601)));
}

TEST(Detected, InPlaceAndOnASharedSampleAlike) {
  // A sample given up is refined in place, one still held elsewhere is rebuilt and left as it
  // was; a subtree shared inside the sample is rebuilt too. Nullables of short texts keep them
  // in place, longer ones in a node: both are detected.
  const ValueMeta meta = detecting(true, true, true);
  const std::string json = R"([{"u": "https://a.io", "v": "https://example.com/long", "n": 1,
      "o": {"t": "2024-01-02T03:04:05Z", "xs": [[1700000001], []]}},
      {"n": 2.5, "e": null, "o": {"t": null}}])";
  const Value held = parsed(json);
  const Value fromShared = detected(held, meta, {}, kRoot);
  EXPECT_EQ(held, parsed(json));
  const Value inPlace = detected(parsed(json), meta, {}, kRoot);
  EXPECT_EQ(inPlace, fromShared);
  const Value& record = inPlace.arrayValue().values[0];
  EXPECT_EQ(*record.objectValue().dictionary.find("u"), Value::null(Value::url({"https://a.io"})));
  EXPECT_EQ(*record.objectValue().dictionary.find("v"),
            Value::null(Value::url({"https://example.com/long"})));

  const Value part = parsed(R"({"d": "2024-01-02T03:04:05Z"})");
  const Value twice =
      detected(object({}, {{"a", part}, {"b", Value::null(part)}}), meta, {}, kRoot);
  const Value date = Value::date(Value::DateKind::iso8601);
  EXPECT_EQ(twice, object(kRoot, {{"a", object({"Unknown", "a"}, {{"d", date}})},
                                  {"b", Value::null(object({"Unknown", "b"}, {{"d", date}}))}}));
  EXPECT_EQ(part, parsed(R"({"d": "2024-01-02T03:04:05Z"})"));
}

// ---- Detection: dates, URLs -------------------------------------------------------------------

struct DetectionCase {
  const char* json;  // the member's JSON text
  Value::Kind expected;
};

TEST(Detected, TimeIntervalThresholdsAndTheWholeTextNumberTest) {
  const std::vector<DetectionCase> cases{
      {"1000000001", Value::Kind::date},
      {"1000000000", Value::Kind::number},
      {"-1700000000", Value::Kind::number},
      {"1000000000.5", Value::Kind::date},
      {"1000000000.0", Value::Kind::number},
      {"1e10", Value::Kind::date},
      {R"("1700000000")", Value::Kind::date},
      {R"("1000000000")", Value::Kind::string},
      {R"("+1700000000")", Value::Kind::date},
      {R"("1.7e9")", Value::Kind::date},
      {R"("0x1p40")", Value::Kind::date},  // hexadecimal floats count
      {R"("inf")", Value::Kind::date},
      {R"("nan")", Value::Kind::string},  // NaN is above nothing
      {R"(" 1700000000")", Value::Kind::string},
      {R"("\u00001700000000")", Value::Kind::string},
      {R"("1700000000a")", Value::Kind::string},
      {R"("1700000000 ")", Value::Kind::string},
      {R"("")", Value::Kind::string},
  };
  const ValueMeta on = detecting(false, false, true);
  for (const auto& c : cases) {
    const std::string json = std::string(R"({"t": )") + c.json + "}";
    EXPECT_EQ(detectedMember(json, "t", on).kind(), c.expected) << c.json;
    // Off, nothing becomes a date.
    EXPECT_NE(detectedMember(json, "t", ValueMeta()).kind(), Value::Kind::date) << c.json;
  }
  EXPECT_EQ(detectedMember(R"({"t": 1700000000})", "t", on),
            Value::date(Value::DateKind::timeIntervalSince1970));
}

TEST(Detected, UrlsNeedASchemeAndAHost) {
  const std::vector<DetectionCase> cases{
      {R"("https://example.com/a?b=c")", Value::Kind::url},
      {R"("mailto:someone@example.com")", Value::Kind::string},
      {R"("/relative/path")", Value::Kind::string},
      // The scheme's letters, digits, "+", "-" and "." and either case; a scheme that does not
      // begin with a letter is none.
      {R"("HTTP://EXAMPLE.COM")", Value::Kind::url},
      {R"("svn+ssh.2-x://host/")", Value::Kind::url},
      {R"("1http://example.com")", Value::Kind::string},
      {R"("://example.com")", Value::Kind::string},
      {R"("ht tp://example.com")", Value::Kind::string},
      {R"("2024-03-10T12:34:56Z")", Value::Kind::string},
  };
  for (const auto& c : cases) {
    const std::string json = std::string(R"({"u": )") + c.json + "}";
    EXPECT_EQ(detectedMember(json, "u", detecting(true, false, false)).kind(), c.expected)
        << c.json;
    EXPECT_EQ(detectedMember(json, "u", ValueMeta()).kind(), Value::Kind::string) << c.json;
  }
}

TEST(Detected, InternetDateTimesWithOrWithoutAFraction) {
  // The date-time grammar itself has its own tests; here: both forms count, and only when on.
  for (const char* text : {"2024-02-29T23:59:59Z", "2024-02-29T23:59:59.5-08:30"}) {
    const std::string json = std::string(R"({"d": ")") + text + "\"}";
    EXPECT_EQ(detectedMember(json, "d", detecting(false, true, false)),
              Value::date(Value::DateKind::iso8601))
        << text;
    EXPECT_EQ(detectedMember(json, "d", ValueMeta()).kind(), Value::Kind::string) << text;
  }
}

TEST(Detected, UrlComesBeforeDateAndDateBeforeInterval) {
  // A URL with a host is never a date; a date-time text never reads as a number anyway, but a
  // number text with every flag on is an interval, not a URL.
  const ValueMeta all = detecting(true, true, true);
  EXPECT_EQ(detectedMember(R"({"v": "http://1700000000"})", "v", all).kind(), Value::Kind::url);
  EXPECT_EQ(detectedMember(R"({"v": "1700000000"})", "v", all),
            Value::date(Value::DateKind::timeIntervalSince1970));
}

// ---- Detection: enum maps -----------------------------------------------------------------------

TEST(Detected, EnumMapsTurnStringsAndIntegersIntoEnumsWhateverTheFlags) {
  const std::vector<EnumMap> maps{enumMap("kind", {{"a", "x"}, {"b", ""}}),
                                  enumMap("level", {{"low", "1"}})};
  EXPECT_EQ(detectedMember(R"({"kind": "https://example.com"})", "kind",
                           detecting(true, true, true), maps),
            Value::enum_({"Unknown", "kind"}, Value::RawType::string, {{"a", "x"}, {"b", ""}}));
  // The sample value is not compared with the cases.
  EXPECT_EQ(detectedMember(R"({"level": 1700000000})", "level", detecting(true, true, true), maps),
            Value::enum_({"Unknown", "level"}, Value::RawType::int_, {{"low", "1"}}));
  // Doubles, booleans and other paths are left alone.
  EXPECT_EQ(detectedMember(R"({"level": 2.5})", "level", ValueMeta(), maps), number(2.5));
  EXPECT_EQ(detectedMember(R"({"kind": true})", "kind", ValueMeta(), maps), Value::bool_(true));
  EXPECT_EQ(detectedMember(R"({"other": "x"})", "other", ValueMeta(), maps), Value::string("x"));
}

TEST(Detected, EnumMapsMatchTheLongestTrailingPartAndReachArrayElements) {
  const std::vector<EnumMap> maps{enumMap("kind", {{"short", ""}}),
                                  enumMap("user.kind", {{"long", ""}})};
  const Value root = detected(parsed(R"({"user": {"kind": "a"}, "kind": "b", "kinds": ["c"],
                                         "list": [{"kind": "d"}]})"),
                              ValueMeta(), maps, kRoot);
  const auto& members = root.objectValue().dictionary;
  const auto caseName = [](const Value& v) { return v.enumValue().cases.at(0).name; };
  EXPECT_EQ(caseName(*members.find("user")->objectValue().dictionary.find("kind")), "long");
  EXPECT_EQ(caseName(*members.find("kind")), "short");
  EXPECT_EQ(*members.find("kinds"),
            Value::array({"Unknown", "kinds"}, {Value::string("c")}));  // "kinds" is another key
  const Value& element = members.find("list")->arrayValue().values[0];
  EXPECT_EQ(caseName(*element.objectValue().dictionary.find("kind")), "short");

  // Among maps for the same trailing part the first in the list wins; a longer part wins
  // wherever it stands.
  const Value ordered =
      detected(parsed(R"({"kind": "a", "user": {"kind": "b"}})"), ValueMeta(),
               {enumMap("kind", {{"first", ""}}), enumMap("kind", {{"second", ""}}),
                enumMap("Unknown.kind", {{"whole", ""}})},
               kRoot);
  EXPECT_EQ(caseName(*ordered.objectValue().dictionary.find("kind")), "whole");
  EXPECT_EQ(caseName(*ordered.objectValue().dictionary.find("user")->objectValue().dictionary.find(
                "kind")),
            "first");

  // A map on an array's path applies to its element, which carries the same path.
  const Value tagged = detected(parsed(R"({"tags": ["a", "b"]})"), ValueMeta(),
                                {enumMap("tags", {{"t", "a"}})}, kRoot);
  EXPECT_EQ(tagged.objectValue().dictionary.find("tags")->arrayValue().values[0],
            Value::enum_({"Unknown", "tags"}, Value::RawType::string, {{"t", "a"}}));
}

TEST(Detected, EnumMapPathsCompareByCanonicalEquivalence) {
  // The map names the key precomposed; the sample spells it with a combining mark.
  const Value member = detectedMember("{\"cafe\\u0301\": \"x\"}", "caf\u00e9", ValueMeta(),
                                      {enumMap("Unknown.caf\u00e9", {{"c", ""}})});
  EXPECT_EQ(member.kind(), Value::Kind::enum_);
}

// ---- Ignored properties -------------------------------------------------------------------------

Value refinedWith(std::string_view json) { return detected(parsed(json), ValueMeta(), {}, kRoot); }

ValueMeta ignoring(std::vector<std::string> paths) {
  ValueMeta meta;
  meta.setIgnoredProperties(records<IgnoredProperty>(std::move(paths)));
  return meta;
}

TEST(RemovingIgnoredProperties, DropsMembersFromTheDictionaryAndTheKeyOrder) {
  const Value root = refinedWith(R"({"a": 1, "secret": 2, "b": {"secret": 3, "c": 4}})");
  const Value result = removingIgnoredProperties(root, ignoring({"Unknown.secret"}));
  EXPECT_EQ(result,
            object(kRoot,
                   {{"a", integer(1)},
                    {"b", object({"Unknown", "b"}, {{"secret", integer(3)}, {"c", integer(4)}})}}));
  // The bare key matches in every object, inside arrays and nullables too.
  const Value everywhere = removingIgnoredProperties(
      refinedWith(R"({"secret": 1, "xs": [{"secret": 2, "k": 3}, {}], "n": {"o": {"secret": 4}}})"),
      ignoring({"secret"}));
  EXPECT_EQ(
      everywhere,
      object(kRoot,
             {{"xs", Value::array({"Unknown", "xs"},
                                  {object({"Unknown", "xs"}, {{"k", Value::null(integer(3))}})})},
              {"n", object({"Unknown", "n"}, {{"o", object({"Unknown", "n", "o"}, {})}})}}));
}

TEST(RemovingIgnoredProperties, MatchesExactlyThePathsThatTheRecordLookUpSelects) {
  // Object paths and member keys with dots, empty keys and decomposed letters, against record
  // paths that are whole paths, trailing parts, middle parts and near misses.
  const std::vector<Names> objectPaths{{"Unknown"},     {"Unknown", "a"},       {"Unknown", "a.b"},
                                       {"Unknown", ""}, {"Unknown", "e\u0301"}, {}};
  const std::vector<std::string> keys{"c", "b.c", "", "\u00e9", "e\u0301"};
  const std::vector<std::string> paths{
      "c", "a.c", "Unknown.a.c", "a.b.c",  "b.c",      ".c",         "a",       "Unknown.a",
      "",  "..",  "c.",          "\u00e9", ".e\u0301", "Unknown..c", "a.b.b.c", "Unknown"};
  for (const auto& path : paths) {
    const auto ignored = records<IgnoredProperty>({path});
    ValueMeta meta;
    meta.setIgnoredProperties(ignored);
    for (const auto& names : objectPaths) {
      for (const auto& key : keys) {
        const Value root = object(names, {{key, integer(1)}});
        Names memberPath = names;
        memberPath.push_back(key);
        const bool removed =
            removingIgnoredProperties(root, meta).objectValue().orderedKeys().empty();
        EXPECT_EQ(removed, containsPath(ignored, memberPath))
            << "record '" << path << "', key '" << key << "', " << names.size() << " names";
      }
    }
  }
}

TEST(RemovingIgnoredProperties, RemovesEveryPlaceOfTheKeyInTheKeyOrder) {
  ValueMap members;
  members.insertOrAssign("a", integer(1));
  members.insertOrAssign("b", integer(2));
  const Value root = Value::object(kRoot, members, {"a", "b", "a", "orphan"});
  const Value result = removingIgnoredProperties(root, ignoring({"a", "orphan"}));
  // "orphan" has no member, so nothing is removed under it.
  EXPECT_EQ(result.objectValue().orderedKeys().toVector(), (std::vector<Key>{"b", "orphan"}));
  EXPECT_FALSE(result.objectValue().dictionary.contains("a"));
  // Dictionaries are not entered.
  const Value dictionary =
      Value::dictionary({"Unknown", "d"}, object({"Unknown", "d"}, {{"secret", integer(1)}}));
  const Value withDictionary = object(kRoot, {{"d", dictionary}});
  EXPECT_EQ(removingIgnoredProperties(withDictionary, ignoring({"secret"})), withDictionary);
}

// ---- Optional properties ------------------------------------------------------------------------

TEST(ApplyingOptionalProperties, AllPropertiesOptionalNeverWrapsTwice) {
  ValueMeta meta;
  meta.setAllPropertiesOptional(true);
  const Value result =
      applyingOptionalProperties(refinedWith(R"({"a": 1, "n": null, "o": {"b": "x"}})"), meta);
  EXPECT_EQ(result,
            object(kRoot, {{"a", Value::null(integer(1))},
                           {"n", Value::null()},
                           {"o", Value::null(object({"Unknown", "o"},
                                                    {{"b", Value::null(Value::string("x"))}}))}}));
}

TEST(ApplyingOptionalProperties, ByPathInsideArraysOnly) {
  ValueMeta meta;
  meta.setOptionalProperties(records<ValueMeta::OptionalProperty>({"xs.id"}));
  const Value result =
      applyingOptionalProperties(refinedWith(R"({"id": 1, "xs": [{"id": 2, "v": 3}]})"), meta);
  EXPECT_EQ(result,
            object(kRoot,
                   {{"id", integer(1)},
                    {"xs", Value::array({"Unknown", "xs"},
                                        {object({"Unknown", "xs"}, {{"id", Value::null(integer(2))},
                                                                    {"v", integer(3)}})})}}));
}

TEST(ApplyingOptionalProperties, FlattensANullableOfANullable) {
  const Value root = object(kRoot, {{"a", Value::null(Value::null())}});
  EXPECT_EQ(applyingOptionalProperties(root, ValueMeta()), object(kRoot, {{"a", Value::null()}}));
  const Value plain = refinedWith(R"({"a": [1], "b": null})");
  EXPECT_EQ(applyingOptionalProperties(plain, ValueMeta()), plain);
}

// ---- Dictionary objects -------------------------------------------------------------------------

ValueMeta dictionaries(std::vector<std::string> paths) {
  ValueMeta meta;
  meta.setDictionaryObjects(records<DictionaryObject>(std::move(paths)));
  return meta;
}

TEST(ApplyingDictionaryObjects, FoldsTheMembersOfTheNamedObject) {
  const Value root =
      refinedWith(R"({"scores": {"a": 1, "b": 2.5}, "none": {}, "other": {"c": 1}})");
  const Value result = applyingDictionaryObjects(root, dictionaries({"scores", "Unknown.none"}));
  EXPECT_EQ(result,
            object(kRoot, {{"scores", Value::dictionary({"Unknown", "scores"}, number(2.5))},
                           {"none", Value::dictionary({"Unknown", "none"}, Value::empty())},
                           {"other", object({"Unknown", "other"}, {{"c", integer(1)}})}}));
}

TEST(ApplyingDictionaryObjects, RewritesTheFoldedValueAndReachesArrayElements) {
  // "users" maps ids to user objects whose "meta" is itself a dictionary; the folded user keeps
  // the key path of the first member, so "meta" is named by that path.
  const Value root = refinedWith(
      R"({"users": {"u1": {"meta": {"k": "v"}}, "u2": {"meta": {}}}, "rows": [{"x": 1}]})");
  const Value result = applyingDictionaryObjects(root, dictionaries({"users", "u1.meta", "rows"}));
  const auto& members = result.objectValue().dictionary;
  const Value& users = *members.find("users");
  ASSERT_TRUE(users.is(Value::Kind::dictionary));
  const Value& user = *users.dictionaryValue().value;
  EXPECT_EQ(*user.objectValue().dictionary.find("meta"),
            Value::dictionary({"Unknown", "users", "u1", "meta"},
                              Value::null(Value::string("v"))));  // u2's meta has no "k"
  EXPECT_EQ(
      *members.find("rows"),
      Value::array({"Unknown", "rows"}, {Value::dictionary({"Unknown", "rows"}, integer(1))}));
}

// ---- Depth ------------------------------------------------------------------------------------

TEST(Rewrites, RunAtTheGrammarsDepthLimitOnASmallStack) {
  const Value sample = parsed(testing::nestedJson(kMaxJsonDepth));
  ValueMeta meta(true, true, true, records<IgnoredProperty>({"zzz"}),
                 records<DictionaryObject>({"zzz"}), true);
  // Every tree is kept and released on this thread: only the rewrites run on the small stack.
  std::optional<Value> refined, withoutIgnored, withOptional, result;
  ASSERT_TRUE(testing::runOnSmallStack(64 * 1024, [&] {
    refined = detected(sample, meta, {enumMap("zzz", {})}, kRoot);
    withoutIgnored = removingIgnoredProperties(*refined, meta);
    withOptional = applyingOptionalProperties(*withoutIgnored, meta);
    result = applyingDictionaryObjects(*withOptional, meta);
  }));
  ASSERT_TRUE(result.has_value());
  // Walk down to the innermost container: its key path has one "a" per object level.
  const Value* node = &*result;
  std::size_t objects = 0;
  const Names* innermost = nullptr;
  while (true) {
    if (node->is(Value::Kind::null)) {
      node = node->nullInnerNode();
    } else if (node->is(Value::Kind::object)) {
      ++objects;
      innermost = &node->objectValue().names.get();
      node = node->objectValue().dictionary.find("a");
    } else if (node->is(Value::Kind::array)) {
      innermost = &node->arrayValue().names.get();
      node = &node->arrayValue().values[0];
    } else {
      break;
    }
  }
  EXPECT_EQ(objects, static_cast<std::size_t>(kMaxJsonDepth / 2));
  ASSERT_NE(innermost, nullptr);
  EXPECT_EQ(innermost->size(), 1 + objects);
  EXPECT_EQ(*node, integer(1));  // an array element, not a member: never made optional
}

TEST(Rewrites, FoldTwoSamplesAtTheDepthLimit) {
  // The merge of the two elements builds (and later releases) a tree as deep as the input.
  const std::string inner = testing::nestedJson(kMaxJsonDepth - 1);
  const Value root = detected(parsed("[" + inner + "," + inner + "]"), ValueMeta(), {}, kRoot);
  ASSERT_TRUE(root.is(Value::Kind::array));
  EXPECT_EQ(root.arrayValue().values.size(), 1u);
  EXPECT_TRUE(root.arrayValue().values[0].is(Value::Kind::object));
}

}  // namespace
}  // namespace telvar
