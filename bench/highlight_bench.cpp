// Highlighting of large generated files: the whole output is highlighted again after every
// generation, so 1 MB must stay well within a frame budget of the user's patience (< 100 ms).

#include <string>

#include <benchmark/benchmark.h>

#include "mirel/highlight/dart_syntax_highlighter.h"
#include "mirel/highlight/swift_syntax_highlighter.h"

namespace {

constexpr std::size_t kMegabyte = 1 << 20;

// One generated Swift declaration; "@" is replaced by a number when the names must differ.
constexpr std::u16string_view kSwiftBlock =
    uR"swift(struct Order@: Codable {
  struct Customer@: Codable {
    let name: String
    let email: String?
  }

  let id: Int
  let customer: Customer@
  let items: [String]
  let total: Double
  let homepage: URL
  let createdAt: Date
  let userID: Int

  private enum CodingKeys: String, CodingKey {
    case id
    case customer
    case items
    case total
    case homepage
    case createdAt = "created_at"
    case userID = "user_id"
  }
}

)swift";

constexpr std::u16string_view kDartBlock =
    uR"dart(class Order {
  int id;
  String? userName;
  Customer customer;
  List<int> tags;
  List<List<Item>> items;
  Null note;

  Order({
    required this.id,
    this.userName,
    required this.customer,
    required this.tags,
    required this.items,
    this.note,
  });

  factory Order.fromJSON(Map<String, dynamic> json) => Order(
    id: json["id"],
    userName: json["user_name"],
    customer: Customer.fromJSON(json["customer"]),
    tags: List<int>.from(json["tags"].map((x) => x)),
    items: List<List<Item>>.from(json["items"].map((x) => List<Item>.from(x.map((x) => Item.fromJSON(x))))),
    note: json["note"],
  );

  Map<String, dynamic> toJSON() => {
    "id": id,
    "user_name": userName,
    "customer": customer.toJSON(),
    "tags": List<dynamic>.from(tags.map((x) => x)),
    "items": List<dynamic>.from(items.map((x) => List<dynamic>.from(x.map((x) => x.toJSON())))),
    "note": note,
  };
}

)dart";

std::u16string repeated(std::u16string_view block, bool distinctNames) {
  std::u16string text;
  text.reserve(kMegabyte + 2 * block.size());
  // The blocks are ASCII, so 1 MB of the engine's UTF-8 output is 1 Mi code units here.
  for (int n = 0; text.size() < kMegabyte; ++n) {
    std::u16string number;
    if (distinctNames) {
      for (char c : std::to_string(n)) number += static_cast<char16_t>(c);
    }
    for (char16_t c : block) {
      if (c == u'@') {
        text += number;
      } else {
        text += c;
      }
    }
  }
  return text;
}

template <class Highlighter>
void highlightBench(benchmark::State& state, const std::u16string& code) {
  const mirel::Font font = mirel::Font::monospacedSystem(15);
  for (auto _ : state) {
    mirel::AttributedText text = Highlighter::highlight(code, font);
    benchmark::DoNotOptimize(text);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * code.size()));
}

void BM_HighlightSwift1MB(benchmark::State& state) {
  static const std::u16string code = repeated(kSwiftBlock, false);
  highlightBench<mirel::SwiftSyntaxHighlighter>(state, code);
}
BENCHMARK(BM_HighlightSwift1MB)->Unit(benchmark::kMillisecond)->UseRealTime();

// Every block declares its own types, so the declared-type pass gets thousands of names.
void BM_HighlightSwift1MBDistinctTypes(benchmark::State& state) {
  static const std::u16string code = repeated(kSwiftBlock, true);
  highlightBench<mirel::SwiftSyntaxHighlighter>(state, code);
}
BENCHMARK(BM_HighlightSwift1MBDistinctTypes)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_HighlightDart1MB(benchmark::State& state) {
  static const std::u16string code = repeated(kDartBlock, false);
  highlightBench<mirel::DartSyntaxHighlighter>(state, code);
}
BENCHMARK(BM_HighlightDart1MB)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
