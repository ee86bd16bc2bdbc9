#include "exp_eval/CTimeFunctions.h"

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>

#include "standard/CTimeT.h"
#include "standard/StringUtil.h"

namespace nuv {

namespace {

// Widths longer than this are refused: "%999999999Y" would ask for a
// gigabyte of padding.
constexpr std::size_t kMaxWidthDigits = 2;

bool inSet(const char* set, char c) {
  return c != '\0' && std::strchr(set, c) != nullptr;
}

// Every "%" must start a conversion strftime knows: flags, a width, an E or
// O modifier, then the conversion character.
void checkFormat(const CFunctionCall& call, const std::string& format) {
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    const std::size_t start = i++;
    while (i < format.size() && inSet("_-0^#+", format[i])) ++i;
    const std::size_t width = i;
    while (i < format.size() && format[i] >= '0' && format[i] <= '9') ++i;
    const bool tooWide = i - width > kMaxWidthDigits;
    if (i < format.size() && (format[i] == 'E' || format[i] == 'O')) ++i;
    if (tooWide || i >= format.size() ||
        !inSet("aAbBcCdDeFgGhHIjklmMnprRsStTuUVwWxXyYzZ%", format[i]))
      call.fail(CMessage("Format '%1' has an invalid conversion at position %2.")
                    .pushs(format)
                    .push(start + 1));
  }
}

std::string formatTime(const CFunctionCall& call, std::time_t t, bool utc,
                       const std::string& format) {
  std::tm tm{};
  if ((utc ? gmtime_r(&t, &tm) : localtime_r(&t, &tm)) == nullptr)
    call.fail(CMessage("Time %1 cannot be shown as a date.").push(static_cast<long long>(t)));
  if (format.empty()) return {};
  // strftime gives 0 both when the room is short and when the text is empty.
  std::string out(64 + 4 * format.size(), '\0');
  for (;;) {
    const std::size_t n = std::strftime(out.data(), out.size(), format.c_str(), &tm);
    if (n > 0 || out.size() >= 65536) {
      out.resize(n);
      return out;
    }
    out.resize(out.size() * 2);
  }
}

// DATE, TIME, DAY, MONTH, YEAR: the local clock as locale text (default) or
// as a number, chosen by an optional "string" / "integer" argument.
template <const char* TextFormat, const char* NumberFormat>
void clockPart(const CFunctionCall& call, CMultiVariant& results) {
  bool asNumber = false;
  if (call.size() == 1) {
    const std::string form = toLower(call[0].string());
    if (form == "integer")
      asNumber = true;
    else if (form != "string")
      call.fail(CMessage("Argument '%1' must be 'integer' or 'string'.").pushs(call[0].string()));
  }
  const std::string text =
      formatTime(call, std::time(nullptr), false, asNumber ? NumberFormat : TextFormat);
  if (asNumber)
    results.emplace_back(static_cast<std::int64_t>(std::strtoll(text.c_str(), nullptr, 10)));
  else
    results.emplace_back(text);
}

constexpr char kDateText[] = "%x", kDateNumber[] = "%Y%m%d";
constexpr char kTimeText[] = "%X", kTimeNumber[] = "%H%M";
constexpr char kDayText[] = "%A", kDayNumber[] = "%d";
constexpr char kMonthText[] = "%B", kMonthNumber[] = "%m";
constexpr char kYearText[] = "%Y", kYearNumber[] = "%Y";

void timeUTC(const CFunctionCall&, CMultiVariant& results) {
  results.emplace_back(CTimeT::now());
}

template <bool UTC>
void timeFormat(const CFunctionCall& call, CMultiVariant& results) {
  const std::string format = call[1].string();
  checkFormat(call, format);
  results.emplace_back(formatTime(call, call[0].time().get(), UTC, format));
}

}  // namespace

void CTimeFunctions::install(CFunctionTable& table) {
  CFunctionCall::add(table, "DATE", 0, 1, clockPart<kDateText, kDateNumber>);
  CFunctionCall::add(table, "TIME", 0, 1, clockPart<kTimeText, kTimeNumber>);
  CFunctionCall::add(table, "DAY", 0, 1, clockPart<kDayText, kDayNumber>);
  CFunctionCall::add(table, "MONTH", 0, 1, clockPart<kMonthText, kMonthNumber>);
  CFunctionCall::add(table, "YEAR", 0, 1, clockPart<kYearText, kYearNumber>);
  CFunctionCall::add(table, "TIME.UTC", 0, 0, timeUTC);
  CFunctionCall::add(table, "TIME.FORMAT.LOCAL", 2, 2, timeFormat<false>);
  CFunctionCall::add(table, "TIME.FORMAT.UTC", 2, 2, timeFormat<true>);
}

}  // namespace nuv
