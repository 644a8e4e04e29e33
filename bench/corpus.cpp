#include "corpus.h"

#include <random>

namespace telvar::bench {
namespace {

const char* const kWords[] = {"alpha",  "beta", "gamma", "délta",   "ëpsilon",         "zêta",
                              "ηta",    "θeta", "日本",  "emoji 😀", "quote \\\"x\\\"", "tab\\t",
                              "line\\n"};

std::string word(std::mt19937& rng) { return kWords[rng() % (sizeof kWords / sizeof kWords[0])]; }

std::string record(std::mt19937& rng, int id) {
  std::string r =
      "{\"id\":" + std::to_string(id) + ",\"name\":\"" + word(rng) + " " + word(rng) +
      "\",\"score\":" + std::to_string(rng() % 1000) + "." + std::to_string(rng() % 100) +
      ",\"active\":" + (rng() % 2 ? "true" : "false") + ",\"created_at\":\"2024-0" +
      std::to_string(1 + rng() % 9) + "-1" + std::to_string(rng() % 10) +
      "T12:34:56Z\",\"updated\":" + std::to_string(1600000000 + rng() % 100000000) +
      ",\"homepage\":\"https://example.com/u/" + std::to_string(id) + "\"" +
      ",\"nickname\":" + (rng() % 3 ? "null" : "\"" + word(rng) + "\"") + ",\"tags\":[\"" +
      word(rng) + "\",\"" + word(rng) + "\"]" + ",\"address\":{\"street\":\"" + word(rng) +
      " street\",\"city\":\"" + word(rng) + "\",\"geo\":{\"lat\":" + std::to_string(rng() % 90) +
      ".5,\"lng\":-" + std::to_string(rng() % 180) + ".25}}" + ",\"orders\":[";
  int orders = static_cast<int>(rng() % 3);
  for (int i = 0; i < orders; ++i) {
    if (i) r += ',';
    r += "{\"sku\":\"SKU-" + std::to_string(rng() % 100000) +
         "\",\"qty\":" + std::to_string(rng() % 10) + ",\"price\":" + std::to_string(rng() % 500) +
         ".99}";
  }
  r += "]}";
  return r;
}

}  // namespace

std::string recordCorpus(std::size_t bytes) {
  std::mt19937 rng(42);
  std::string out = "[";
  int id = 0;
  while (out.size() < bytes) {
    if (id) out += ",\n";
    out += record(rng, id++);
  }
  out += "]";
  return out;
}

std::string stringCorpus(std::size_t bytes) {
  std::mt19937 rng(7);
  std::string out = "[";
  while (out.size() < bytes) {
    if (out.size() > 1) out += ',';
    out += '"';
    for (int i = 0; i < 8; ++i) out += word(rng) + " ";
    out += "\\u00e9\\u4e2d\"";
  }
  out += "]";
  return out;
}

std::string numberCorpus(std::size_t bytes) {
  std::mt19937 rng(9);
  std::string out = "[";
  while (out.size() < bytes) {
    if (out.size() > 1) out += ',';
    switch (rng() % 3) {
      case 0:
        out += std::to_string(static_cast<int>(rng()));
        break;
      case 1:
        out += std::to_string(rng() % 100000) + "." + std::to_string(rng() % 1000);
        break;
      default:
        out += std::to_string(rng() % 1000) + "e-" + std::to_string(rng() % 30);
    }
  }
  out += "]";
  return out;
}

std::string deepCorpus(int depth) {
  std::string out(static_cast<std::size_t>(depth), '[');
  out += "{\"a\":1}";
  out.append(static_cast<std::size_t>(depth), ']');
  return out;
}

std::string wideCorpus(int keys) {
  std::string out = "{";
  for (int i = 0; i < keys; ++i) {
    if (i) out += ',';
    out += "\"key_" + std::to_string(i) + "\":" + std::to_string(i);
  }
  out += "}";
  return out;
}

std::string wideRecordsCorpus(int records, int keys) {
  std::string out = "[";
  for (int r = 0; r < records; ++r) {
    out += r ? ",{" : "{";
    for (int k = 0; k < keys; ++k) {
      if (k) out += ',';
      out += "\"r" + std::to_string(r) + "_field_" + std::to_string(k) + "\":";
      switch (k % 4) {
        case 0:
          out += std::to_string(k);
          break;
        case 1:
          out += "\"v" + std::to_string(k) + "\"";
          break;
        case 2:
          out += (k & 4) ? "true" : "false";
          break;
        default:
          out += "null";
          break;
      }
    }
    out += '}';
  }
  out += ']';
  return out;
}

}  // namespace telvar::bench
