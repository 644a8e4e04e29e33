#include "telvar/refine/iso8601.h"

namespace telvar {
namespace {

// Reads `count` ASCII digits at `pos` as a number, or -1 when any is missing.
int digits(std::string_view text, std::size_t pos, std::size_t count) noexcept {
  if (pos + count > text.size()) return -1;
  int n = 0;
  for (std::size_t i = pos; i < pos + count; ++i) {
    const char c = text[i];
    if (c < '0' || c > '9') return -1;
    n = n * 10 + (c - '0');
  }
  return n;
}

bool isLeapYear(int year) noexcept { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) noexcept {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

bool isAt(std::string_view text, std::size_t pos, char c) noexcept {
  return pos < text.size() && text[pos] == c;
}

}  // namespace

bool isIso8601DateTime(std::string_view text, Iso8601Format format) noexcept {
  // YYYY-MM-DDThh:mm:ss
  const int year = digits(text, 0, 4);
  const int month = digits(text, 5, 2);
  const int day = digits(text, 8, 2);
  const int hour = digits(text, 11, 2);
  const int minute = digits(text, 14, 2);
  const int second = digits(text, 17, 2);
  if (year < 0 || month < 1 || month > 12 || day < 1 || day > daysInMonth(year, month) ||
      hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59) {
    return false;
  }
  if (!isAt(text, 4, '-') || !isAt(text, 7, '-') || !isAt(text, 10, 'T') || !isAt(text, 13, ':') ||
      !isAt(text, 16, ':')) {
    return false;
  }
  std::size_t pos = 19;

  // The fraction: required by the fractional form, refused by the plain one.
  const bool hasFraction = isAt(text, pos, '.');
  if (hasFraction != (format == Iso8601Format::internetDateTimeWithFractionalSeconds)) {
    return false;
  }
  if (hasFraction) {
    const std::size_t start = ++pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') ++pos;
    if (pos == start) return false;
  }

  // Z or ±hh:mm, and nothing after it.
  if (isAt(text, pos, 'Z')) return pos + 1 == text.size();
  if (!isAt(text, pos, '+') && !isAt(text, pos, '-')) return false;
  const int offsetHour = digits(text, pos + 1, 2);
  const int offsetMinute = digits(text, pos + 4, 2);
  return offsetHour >= 0 && offsetHour <= 23 && isAt(text, pos + 3, ':') && offsetMinute >= 0 &&
         offsetMinute <= 59 && pos + 6 == text.size();
}

}  // namespace telvar
