#include "corpus.h"

#include <map>
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

std::string uuid(std::mt19937& rng) {
  static const char kHex[] = "0123456789abcdef";
  std::string u;
  for (int i = 0; i < 32; ++i) {
    if (i == 8 || i == 12 || i == 16 || i == 20) u += '-';
    u += i == 12 ? '4' : kHex[rng() % 16];
  }
  return u;
}

std::string date(std::mt19937& rng) {
  return "2024-" + std::string(1, static_cast<char>('0' + rng() % 2)) + "1-" +
         std::to_string(10 + rng() % 18) + "T0" + std::to_string(rng() % 10) + ":15:00Z";
}

std::string shipment(std::mt19937& rng) {
  return "{\"id\":\"" + uuid(rng) + "\",\"carrier\":\"" + word(rng) + "\",\"shipped_at\":\"" +
         date(rng) + "\",\"tracking\":\"https://track.example.com/p/" +
         std::to_string(rng() % 1000000) + "\",\"weight\":" + std::to_string(rng() % 50) + ".5}";
}

std::string item(std::mt19937& rng) {
  std::string r = "{\"sku\":\"SKU-" + std::to_string(rng() % 100000) + "\",\"name\":\"" +
                  word(rng) + "\",\"qty\":" + std::to_string(1 + rng() % 9) +
                  ",\"price\":" + std::to_string(rng() % 500) +
                  ".99,\"image\":\"https://img.example.com/" + std::to_string(rng() % 100000) +
                  ".png\",\"shipments\":[";
  for (int i = 0, n = static_cast<int>(rng() % 3); i < n; ++i) r += (i ? "," : "") + shipment(rng);
  return r + "]}";
}

std::string order(std::mt19937& rng) {
  std::string r = "{\"id\":\"" + uuid(rng) + "\",\"placed_at\":\"" + date(rng) +
                  "\",\"receipt\":\"https://shop.example.com/r/" + std::to_string(rng() % 1000000) +
                  "\",\"paid\":" + (rng() % 2 ? "true" : "false") + ",\"items\":[";
  for (int i = 0, n = 1 + static_cast<int>(rng() % 4); i < n; ++i) r += (i ? "," : "") + item(rng);
  return r + "]}";
}

std::string customer(std::mt19937& rng, int id) {
  std::string r = "{\"id\":" + std::to_string(id) + ",\"uuid\":\"" + uuid(rng) + "\",\"name\":\"" +
                  word(rng) + " " + word(rng) + "\",\"joined_at\":\"" + date(rng) +
                  "\",\"profile\":\"https://example.com/c/" + std::to_string(id) +
                  "\",\"orders\":[";
  for (int i = 0, n = static_cast<int>(rng() % 4); i < n; ++i) r += (i ? "," : "") + order(rng);
  return r + "]}";
}

std::string sentence(std::mt19937& rng, int words) {
  std::string s;
  for (int i = 0; i < words; ++i) s += (i ? " " : "") + word(rng);
  return s;
}

// Appends records made by `make` to an array until it holds about `bytes` bytes.
template <class Make>
std::string arrayOf(std::size_t bytes, std::uint32_t seed, Make make) {
  std::mt19937 rng(seed);
  std::string out = "[";
  for (int id = 0; out.size() < bytes; ++id) {
    if (id) out += ",\n";
    out += make(rng, id);
  }
  return out + "]";
}

}  // namespace

std::string nestedCorpus(std::size_t bytes) {
  return arrayOf(bytes, 11, [](std::mt19937& rng, int id) { return customer(rng, id); });
}

std::string textCorpus(std::size_t bytes) {
  return arrayOf(bytes, 13, [](std::mt19937& rng, int id) {
    return "{\"id\":" + std::to_string(id) + ",\"title\":\"" + sentence(rng, 6) +
           "\",\"description\":\"" + sentence(rng, 40 + static_cast<int>(rng() % 40)) +
           "\",\"comments\":[\"" + sentence(rng, 20) + "\",\"" + sentence(rng, 12) +
           "\"],\"note\":\"" + sentence(rng, 10) + " \\u00e9\\u4e2d\"}";
  });
}

std::string optionalCorpus(std::size_t bytes) {
  return arrayOf(bytes, 17, [](std::mt19937& rng, int id) {
    std::string r = "{\"id\":" + std::to_string(id);
    for (int k = 0; k < 40; ++k) {
      if (rng() % 3 != 0) continue;  // each member is there in a third of the records
      r += ",\"field_" + std::to_string(k) + "\":";
      switch (k % 4) {
        case 0:
          r += std::to_string(rng() % 10000);
          break;
        case 1:
          r += "\"" + word(rng) + "\"";
          break;
        case 2:
          r += rng() % 2 ? "true" : "null";
          break;
        default:
          r += "{\"value\":" + std::to_string(rng() % 100) + ".5}";
      }
    }
    return r + "}";
  });
}

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

const std::string& shapeCorpus(Shape shape, std::int64_t megabytes) {
  static std::map<std::pair<Shape, std::int64_t>, std::string> cache;
  const auto key = std::make_pair(shape, megabytes);
  if (auto it = cache.find(key); it != cache.end()) return it->second;
  const auto bytes = static_cast<std::size_t>(megabytes) << 20;
  std::string text;
  switch (shape) {
    case Shape::records:
      text = recordCorpus(bytes);
      break;
    case Shape::nested:
      text = nestedCorpus(bytes);
      break;
    case Shape::text:
      text = textCorpus(bytes);
      break;
    case Shape::optional:
      text = optionalCorpus(bytes);
      break;
    case Shape::numbers:
      text = numberCorpus(bytes);
      break;
    case Shape::strings:
      text = stringCorpus(bytes);
      break;
  }
  return cache.emplace(key, std::move(text)).first->second;
}

}  // namespace telvar::bench
