#pragma once

#include <string_view>

namespace telvar {

/// The two internet date-time forms that date detection accepts.
enum class Iso8601Format {
  /// `YYYY-MM-DDThh:mm:ss` and a zone, `Z` or `±hh:mm`: "2024-02-29T23:59:59Z".
  internetDateTime,
  /// The same with a fraction of one or more digits after the seconds:
  /// "2024-02-29T23:59:59.125+01:00". A text without a fraction does not match this form.
  internetDateTimeWithFractionalSeconds,
};

/// Whether all of `text` is an internet date-time (RFC 3339) of `format`: ASCII digits only,
/// upper-case `T` and `Z` only, month 01-12, day within its month (February 29 in leap years),
/// hour 00-23, minute and second 00-59, zone offset hour 00-23 and minute 00-59. A bare date, a
/// time without a zone, or anything before or after the date-time does not match. Pure and
/// thread-safe.
[[nodiscard]] bool isIso8601DateTime(std::string_view text, Iso8601Format format) noexcept;

}  // namespace telvar
