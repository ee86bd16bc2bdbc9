#include "standard/CVariant.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <optional>

#include "standard/CException.h"
#include "standard/StringUtil.h"

namespace nuv {

using VT = CVariantType;
using VST = CVariantSubType;

static_assert(sizeof(CVariant) <= 48, "a variant is copied per operand; keep it small");

namespace {

constexpr unsigned bit(unsigned type) {
  return 1u << type;
}
constexpr unsigned kIp = bit(VT::dt_ipaddress), kBool = bit(VT::dt_boolean),
                   kTime = bit(VT::dt_time), kStr = bit(VT::dt_string), kHex = bit(VT::dt_hexstore),
                   kInt = bit(VT::dt_integer), kEnd = bit(VT::dt_endpoint),
                   kUint = bit(VT::dt_uinteger), kNum = kInt | kUint;
constexpr unsigned kAllKnown = kIp | kBool | kTime | kStr | kHex | kNum | kEnd;

// Row = from type, bits = the types it converts to.
constexpr unsigned kConvertible[] = {
    bit(VT::dt_unknown) | kBool | kStr,        // unknown
    kIp | kBool | kStr | kHex | kNum | kEnd,   // ip address
    kBool | kStr | kHex | kNum,                // boolean
    kBool | kTime | kStr | kHex | kNum,        // time
    kAllKnown,                                 // string
    kIp | kBool | kTime | kStr | kHex | kNum,  // byte sequence
    kIp | kBool | kTime | kStr | kHex | kNum,  // integer
    kIp | kStr | kEnd,                         // ip endpoint
    kIp | kBool | kTime | kStr | kHex | kNum,  // uinteger
};

struct OpInfo {
  const char* name;  // nullptr: the equality texts
  const char* symbol;
  const char* context;
  unsigned allowed;
};
constexpr unsigned kOrdered = kIp | kTime | kStr | kNum;
// Indexed by CVariant::Op. The ordering comparisons are all built on
// less-than and report themselves as such.
const OpInfo kOps[] = {
    {"addition", "+", "CVariant::operator+", kIp | kTime | kStr | kHex | kNum},
    {"subtraction", "-", "CVariant::operator-", kIp | kTime | kNum},
    {"multiplication", "*", "CVariant::operator*", kTime | kNum},
    {"division", "/", "CVariant::operator/", kTime | kNum},
    {"bitwise-and", "&", "CVariant::operator&", kIp | kNum},
    {"bitwise-or", "|", "CVariant::operator|", kIp | kNum},
    {"bitwise-xor", "^", "CVariant::operator^", kIp | kNum},
    {"less-than", "<", "CVariant::operator<", kOrdered},
    {"less-than", "<", "CVariant::operator>", kOrdered},
    {"less-than", "<", "CVariant::operator<=", kOrdered},
    {"less-than", "<", "CVariant::operator>=", kOrdered},
    {nullptr, "==", "CVariant::operator==", kAllKnown},
    {nullptr, "!=", "CVariant::operator!=", kAllKnown},
    {"unary-negation", "-", "CVariant::operator-", kNum},
    {"bitwise-inverse", "~", "CVariant::operator~", kIp | kNum},
};

const OpInfo& info(unsigned op) {
  return kOps[op];
}

CVariantSubType::data_subtype nonAddress(CVariantSubType::data_subtype subtype) {
  return VST::isAddressFamily(subtype) ? VST::dst_general : subtype;
}

const std::shared_ptr<const CHexStore>& emptyHex() {
  static const auto empty = std::make_shared<const CHexStore>();
  return empty;
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// Optional sign, then 0x-hex, 0-octal or decimal digits, the whole text.
bool parseMagnitude(std::string_view t, bool& negative, std::uint64_t& magnitude) {
  std::size_t i = 0;
  negative = false;
  if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
  unsigned base = 10;
  if (t.size() - i >= 2 && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
    base = 16;
    i += 2;
  } else if (t.size() - i >= 2 && t[i] == '0') {
    base = 8;
    ++i;
  }
  if (i >= t.size()) return false;
  magnitude = 0;
  for (; i < t.size(); ++i) {
    const int d = hexDigit(t[i]);
    if (d < 0 || static_cast<unsigned>(d) >= base) return false;
    if (magnitude > (std::numeric_limits<std::uint64_t>::max() - d) / base) return false;
    magnitude = magnitude * base + static_cast<unsigned>(d);
  }
  return true;
}

constexpr std::uint64_t kInt64Max = std::numeric_limits<std::int64_t>::max();

std::optional<std::int64_t> parseSigned(std::string_view t) {
  bool negative;
  std::uint64_t m;
  if (!parseMagnitude(t, negative, m)) return std::nullopt;
  if (negative ? m > kInt64Max + 1 : m > kInt64Max) return std::nullopt;
  return static_cast<std::int64_t>(negative ? 0 - m : m);
}

std::optional<std::uint64_t> parseUnsigned(std::string_view t) {
  bool negative;
  std::uint64_t m;
  if (!parseMagnitude(t, negative, m) || negative) return std::nullopt;
  return m;
}

std::optional<bool> parseBoolean(std::string_view t) {
  if (iequals(t, "true") || t == "1") return true;
  if (iequals(t, "false") || t == "0") return false;
  return std::nullopt;
}

// Hex byte pairs joined by one separator, ':' or '-' (or none unless
// separated is asked for, which also wants two bytes at least).
std::optional<CHexStore> parseHex(std::string_view t, bool separated) {
  CHexStore out;
  if (t.empty()) return separated ? std::nullopt : std::optional<CHexStore>(out);
  const char sep = t.size() > 2 ? t[2] : '\0';
  const bool hasSep = sep == ':' || sep == '-';
  if (separated && !hasSep) return std::nullopt;
  const std::size_t stride = hasSep ? 3 : 2;
  if (t.size() % stride != (hasSep ? 2 : 0)) return std::nullopt;
  out.reserve(t.size() / stride + 1);
  for (std::size_t i = 0; i < t.size(); i += stride) {
    const int hi = hexDigit(t[i]), lo = hexDigit(t[i + 1]);
    if (hi < 0 || lo < 0 || (hasSep && i + 2 < t.size() && t[i + 2] != sep)) return std::nullopt;
    out.push_back(static_cast<std::uint8_t>(hi << 4 | lo));
  }
  return out;
}

// Big-endian value of at most 8 bytes.
std::optional<std::uint64_t> bigEndian(const std::uint8_t* bytes, std::size_t n) {
  if (n > 8) return std::nullopt;
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < n; ++i) v = v << 8 | bytes[i];
  return v;
}

CHexStore bigEndianBytes(std::uint64_t v, std::size_t n) {
  CHexStore out;
  for (std::size_t i = n; i-- > 0;) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  return out;
}

bool allZero(const CIPAddress& a) {
  for (std::size_t i = 0; i < a.raw_len(); ++i)
    if (a.raw()[i] != 0) return false;
  return true;
}

[[noreturn]] void badValue(const char* context, const std::string& value, unsigned type,
                           const char* why) {
  NUV_THROW(context,
            CMessage("Cannot convert variant value '%1' to type '%2'.")
                .pushs(value)
                .pushs(VT::string(type)),
            CMessage(why));
}

[[noreturn]] void badText(std::string_view text, const char* why) {
  NUV_THROW("CVariant::assign", CMessage("Cannot assign variant from text."),
            CMessage(why).pushs(text));
}

}  // namespace

// Conversion steps, one per target type; the matrix check has been done.
struct CVariant::Converter {
  const CVariant& v;
  const char* context;

  data_type from() const { return v.type(); }
  template <data_type T>
  const auto& get() const {
    return std::get<T>(v.m_value);
  }
  [[noreturn]] void bad(data_type to, const char* why) const {
    badValue(context, v.string(), to, why);
  }

  bool toBoolean() const {
    switch (from()) {
      case VT::dt_ipaddress:
        return !allZero(get<VT::dt_ipaddress>());
      case VT::dt_time:
        return get<VT::dt_time>().get() != 0;
      case VT::dt_string: {
        const std::string& s = get<VT::dt_string>();
        return !s.empty() && !iequals(s, "false");
      }
      case VT::dt_hexstore:
        return !get<VT::dt_hexstore>()->empty();
      case VT::dt_integer:
        return get<VT::dt_integer>() > 0;
      case VT::dt_uinteger:
        return get<VT::dt_uinteger>() != 0;
      default:
        return false;  // unknown
    }
  }

  // The 64 bits of an integer, uinteger or time target.
  std::uint64_t toBits(data_type to) const {
    switch (from()) {
      case VT::dt_ipaddress: {
        const CIPAddress& a = get<VT::dt_ipaddress>();
        std::size_t skip = 0;
        while (skip < a.raw_len() && a.raw()[skip] == 0) ++skip;
        if (const auto n = bigEndian(a.raw() + skip, a.raw_len() - skip)) return *n;
        NUV_THROW(context, CMessage("Cannot convert ip address '%1' to an integer.").pusho(a),
                  CMessage("Integer overflow."));
      }
      case VT::dt_boolean:
        return get<VT::dt_boolean>() ? 1 : 0;
      case VT::dt_time:
        return static_cast<std::uint64_t>(get<VT::dt_time>().get());
      case VT::dt_string:
        return stringBits(to);
      case VT::dt_hexstore: {
        const CHexStore& h = *get<VT::dt_hexstore>();
        if (const auto n = bigEndian(h.data(), h.size())) return *n;
        NUV_THROW(context,
                  CMessage("Cannot convert byte sequence '%1' to an integer.").pushs(h.string()),
                  CMessage("Integer overflow."));
      }
      case VT::dt_integer:
        return static_cast<std::uint64_t>(get<VT::dt_integer>());
      default:
        return get<VT::dt_uinteger>();
    }
  }

  std::uint64_t stringBits(data_type to) const {
    const std::string& s = get<VT::dt_string>();
    if (to == VT::dt_time) {
      if (const auto t = CTimeT::fromText(s)) return static_cast<std::uint64_t>(t->get());
      bad(to, "Value is not a time value.");
    }
    // The rules of sscanf "%lli" / "%llu", which are strtoll / strtoull
    // with base 0; out-of-range values clamp as they do.
    const char* begin = s.c_str();
    char* end = nullptr;
    const int savedErrno = errno;
    const std::uint64_t bits = to == VT::dt_uinteger
                                   ? static_cast<std::uint64_t>(std::strtoull(begin, &end, 0))
                                   : static_cast<std::uint64_t>(std::strtoll(begin, &end, 0));
    errno = savedErrno;
    if (end == begin) bad(to, "Value is not an integer.");
    return bits;
  }

  CIPAddress toAddress(data_subtype subtype) const {
    CIPAddress a;
    switch (from()) {
      case VT::dt_ipaddress:
        a = get<VT::dt_ipaddress>();
        break;
      case VT::dt_string: {
        const auto parsed = CIPAddress::fromText(get<VT::dt_string>());
        if (!parsed) bad(VT::dt_ipaddress, "Value is not an ip address.");
        a = *parsed;
        break;
      }
      case VT::dt_hexstore: {
        const CHexStore& h = *get<VT::dt_hexstore>();
        if (h.size() != 4 && h.size() != 16) bad(VT::dt_ipaddress, "Value is not an ip address.");
        a = CIPAddress(h.data(), h.size());
        break;
      }
      case VT::dt_endpoint:
        a = get<VT::dt_endpoint>().address();
        break;
      default:  // integer, uinteger: an offset from the zero address
        a = CIPAddress(VST::toAddrType(subtype));
        a += toBits(VT::dt_uinteger);
        break;
    }
    if (!VST::isAddressFamily(subtype)) return a;
    const CIPAddress::addr_type family = VST::toAddrType(subtype);
    if (a.type() == family) return a;
    if (family == CIPAddress::ipv4 && !a.isMappedIPv4())
      badValue(context, a.string(), VT::dt_ipaddress, "Address is not an IPv4-mapped address.");
    return a.mapTo(family);
  }

  CHexStore toHex() const {
    switch (from()) {
      case VT::dt_ipaddress:
        return CHexStore(get<VT::dt_ipaddress>());
      case VT::dt_boolean:
        return bigEndianBytes(get<VT::dt_boolean>() ? 1 : 0, 1);
      case VT::dt_string: {
        auto parsed = parseHex(get<VT::dt_string>(), false);
        if (!parsed) bad(VT::dt_hexstore, "Value is not a byte sequence.");
        return std::move(*parsed);
      }
      default:
        return bigEndianBytes(toBits(VT::dt_uinteger), 8);  // time, integer, uinteger
    }
  }

  CEndpoint toEndpoint() const {
    if (from() == VT::dt_ipaddress) return CEndpoint(get<VT::dt_ipaddress>(), 0);
    const auto parsed = CEndpoint::fromText(get<VT::dt_string>());
    if (!parsed) bad(VT::dt_endpoint, "Value is not an endpoint.");
    return *parsed;
  }
};

CVariant::CVariant(const CIPAddress& address)
    : m_value(std::in_place_index<VT::dt_ipaddress>, address),
      m_subtype(VST::fromAddrType(address.type())) {}

CVariant::CVariant(std::string value, data_subtype subtype)
    : m_value(std::in_place_index<VT::dt_string>, std::move(value)),
      m_subtype(nonAddress(subtype)) {}

CVariant::CVariant(const CHexStore& value)
    : m_value(std::in_place_index<VT::dt_hexstore>, std::make_shared<const CHexStore>(value)) {}

CVariant::CVariant(CHexStore&& value)
    : m_value(std::in_place_index<VT::dt_hexstore>,
              std::make_shared<const CHexStore>(std::move(value))) {}

CVariant::CVariant(data_type type, data_subtype subtype) {
  const CIPAddress::addr_type family =
      subtype == VST::dst_ipv4 ? CIPAddress::ipv4 : CIPAddress::ipv6;
  switch (CVariantType(type).get()) {  // throws for a value outside the set
    case VT::dt_unknown:
      break;
    case VT::dt_ipaddress:
      m_value.emplace<VT::dt_ipaddress>(family);
      m_subtype = VST::fromAddrType(family);
      return;
    case VT::dt_boolean:
      m_value.emplace<VT::dt_boolean>(false);
      break;
    case VT::dt_time:
      m_value.emplace<VT::dt_time>();
      break;
    case VT::dt_string:
      m_value.emplace<VT::dt_string>();
      break;
    case VT::dt_hexstore:
      m_value.emplace<VT::dt_hexstore>(emptyHex());
      break;
    case VT::dt_integer:
      m_value.emplace<VT::dt_integer>(0);
      break;
    case VT::dt_endpoint:
      m_value.emplace<VT::dt_endpoint>(CIPAddress(CIPAddress::ipv6), 0);
      break;
    case VT::dt_uinteger:
      m_value.emplace<VT::dt_uinteger>(0u);
      break;
  }
  m_subtype = nonAddress(subtype);
}

CVariant::data_type CVariant::type() const {
  // A slot left empty by a failed assignment reads as unknown.
  return m_value.valueless_by_exception() ? VT::dt_unknown
                                          : static_cast<data_type>(m_value.index());
}

CVariant& CVariant::assign(data_type hint, std::string_view text) {
  switch (hint) {
    case VT::dt_unknown:
      return *this = deduce(text);
    case VT::dt_ipaddress:
      if (const auto a = CIPAddress::fromText(text)) return *this = CVariant(*a);
      badText(text, "Value '%1' is not an ip address.");
    case VT::dt_boolean:
      if (const auto b = parseBoolean(text)) return *this = CVariant(*b);
      badText(text, "Value '%1' is not a boolean value.");
    case VT::dt_time:
      if (const auto t = CTimeT::fromText(text)) return *this = CVariant(*t);
      badText(text, "Value '%1' is not a time value.");
    case VT::dt_string:
      return *this = CVariant(std::string(text));
    case VT::dt_hexstore:
      if (auto h = parseHex(text, false)) return *this = CVariant(std::move(*h));
      badText(text, "Value '%1' is not a byte sequence.");
    case VT::dt_integer:
      if (const auto n = parseSigned(text)) return *this = CVariant(*n);
      badText(text, "Value '%1' is not an integer.");
    case VT::dt_endpoint:
      if (const auto e = CEndpoint::fromText(text)) return *this = CVariant(*e);
      badText(text, "Value '%1' is not an endpoint.");
    case VT::dt_uinteger:
      if (const auto n = parseUnsigned(text)) return *this = CVariant(*n);
      badText(text, "Value '%1' is not an integer.");
  }
  NUV_THROW("CVariant::assign", CMessage("Cannot assign variant from text."),
            CMessage("Unknown data type hint '%1'.").push(static_cast<unsigned>(hint)));
}

CVariant CVariant::deduce(std::string_view text) {
  if (text.empty())
    NUV_THROW("CVariant::deduce", CMessage("Cannot interpret variant."),
              CMessage("Type cannot be deduced from an empty value."));
  const char first = text.front(), last = text.back();
  if (text.size() >= 2 && (first == '"' || first == '\'') && last == first)
    return CVariant(std::string(text.substr(1, text.size() - 2)));
  if (iequals(text, "true")) return CVariant(true);
  if (iequals(text, "false")) return CVariant(false);
  bool negative;
  std::uint64_t m;
  if (parseMagnitude(text, negative, m)) {
    if (const auto n = parseSigned(text)) return CVariant(*n);
    if (!negative) return CVariant(m);
  }
  if (const auto a = CIPAddress::fromText(text)) return CVariant(*a);
  if (const auto e = CEndpoint::fromText(text, true)) return CVariant(*e);
  if (auto h = parseHex(text, true)) return CVariant(std::move(*h));
  // Every time form has a ':'; a cheap filter before the full parse.
  const bool blankEdge = first == ' ' || first == '\t' || last == ' ' || last == '\t';
  if (text.find(':') != std::string_view::npos && !blankEdge)
    if (const auto t = CTimeT::fromText(text)) return CVariant(*t);
  return CVariant(std::string(text));
}

CVariant CVariant::_converted(data_type to, data_subtype subtype, const char* context) const {
  const data_type from = type();
  if (to > VT::kLast || !(kConvertible[from] & bit(to)))
    NUV_THROW(context,
              CMessage("Cannot convert from type '%1' to '%2'.")
                  .pushs(VT::string(from))
                  .pushs(VT::string(to)),
              CMessage("Invalid conversion."));
  const Converter c{*this, context};
  const data_subtype sub = nonAddress(subtype);
  if (from == to && to != VT::dt_ipaddress) return CVariant(m_value, sub);
  switch (to) {
    case VT::dt_ipaddress:
      return CVariant(c.toAddress(subtype));
    case VT::dt_boolean:
      return CVariant(Slot(std::in_place_index<VT::dt_boolean>, c.toBoolean()), sub);
    case VT::dt_time:
      return CVariant(
          Slot(std::in_place_index<VT::dt_time>, static_cast<std::time_t>(c.toBits(to))), sub);
    case VT::dt_string:
      return CVariant(string(), sub);
    case VT::dt_hexstore:
      return CVariant(
          Slot(std::in_place_index<VT::dt_hexstore>, std::make_shared<const CHexStore>(c.toHex())),
          sub);
    case VT::dt_integer:
      return CVariant(
          Slot(std::in_place_index<VT::dt_integer>, static_cast<std::int64_t>(c.toBits(to))), sub);
    case VT::dt_endpoint:
      return CVariant(Slot(std::in_place_index<VT::dt_endpoint>, c.toEndpoint()), sub);
    case VT::dt_uinteger:
      return CVariant(Slot(std::in_place_index<VT::dt_uinteger>, c.toBits(to)), sub);
    default:
      return CVariant(Slot(), sub);  // unknown to unknown
  }
}

void CVariant::convertTo(data_type type_, data_subtype subtype, const char* context) {
  if (type_ == type() && subtype == m_subtype) return;
  *this = _converted(type_, subtype, context);
}

bool CVariant::boolean() const {
  if (const bool* b = std::get_if<VT::dt_boolean>(&m_value)) return *b;
  return std::get<VT::dt_boolean>(
      _converted(VT::dt_boolean, m_subtype, "CVariant::boolean").m_value);
}

std::int64_t CVariant::integer() const {
  if (const auto* n = std::get_if<VT::dt_integer>(&m_value)) return *n;
  return std::get<VT::dt_integer>(
      _converted(VT::dt_integer, m_subtype, "CVariant::integer").m_value);
}

std::uint64_t CVariant::uinteger() const {
  if (const auto* n = std::get_if<VT::dt_uinteger>(&m_value)) return *n;
  return std::get<VT::dt_uinteger>(
      _converted(VT::dt_uinteger, m_subtype, "CVariant::uinteger").m_value);
}

CTimeT CVariant::time() const {
  if (const auto* t = std::get_if<VT::dt_time>(&m_value)) return *t;
  return std::get<VT::dt_time>(_converted(VT::dt_time, m_subtype, "CVariant::time").m_value);
}

CHexStore CVariant::hexstore() const {
  if (const auto* h = std::get_if<VT::dt_hexstore>(&m_value)) return **h;
  return *std::get<VT::dt_hexstore>(
      _converted(VT::dt_hexstore, m_subtype, "CVariant::hexstore").m_value);
}

CEndpoint CVariant::endpoint() const {
  if (const auto* e = std::get_if<VT::dt_endpoint>(&m_value)) return *e;
  return std::get<VT::dt_endpoint>(
      _converted(VT::dt_endpoint, m_subtype, "CVariant::endpoint").m_value);
}

CIPAddress CVariant::ipaddress(data_subtype subtype, bool map) const {
  const bool hasFamily = type() != VT::dt_integer && type() != VT::dt_uinteger;
  const data_subtype wanted = map || !hasFamily ? subtype : VST::dst_general;
  if (const auto* a = std::get_if<VT::dt_ipaddress>(&m_value); a && !VST::isAddressFamily(wanted))
    return *a;
  return std::get<VT::dt_ipaddress>(
      _converted(VT::dt_ipaddress, wanted, "CVariant::ipaddress").m_value);
}

std::string CVariant::string(bool quoted) const {
  switch (type()) {
    case VT::dt_ipaddress:
      return std::get<VT::dt_ipaddress>(m_value).string();
    case VT::dt_boolean:
      return std::get<VT::dt_boolean>(m_value) ? "true" : "false";
    case VT::dt_time:
      return std::get<VT::dt_time>(m_value).dateUTC();
    case VT::dt_string: {
      const std::string& s = std::get<VT::dt_string>(m_value);
      return quoted ? '"' + s + '"' : s;
    }
    case VT::dt_hexstore:
      return std::get<VT::dt_hexstore>(m_value)->string();
    case VT::dt_integer:
      return std::to_string(std::get<VT::dt_integer>(m_value));
    case VT::dt_endpoint:
      return std::get<VT::dt_endpoint>(m_value).string();
    case VT::dt_uinteger:
      return std::to_string(std::get<VT::dt_uinteger>(m_value));
    default:
      return {};
  }
}

void CVariant::_checkOperand(Op op) const {
  const OpInfo& i = info(static_cast<unsigned>(op));
  const bool outOfRange = m_value.valueless_by_exception();
  if (!outOfRange && (i.allowed & bit(type()))) return;
  CMessage what("Cannot compare variant values.");
  if (i.name)
    what = CMessage("Cannot perform '%1' (%2) on %3 values.")
               .pushs(i.name)
               .pushs(i.symbol)
               .pushs(VT::operandWord(type()));
  NUV_THROW(i.context, what,
            CMessage(outOfRange ? "Left variant operand has unknown type." : "Illegal operation."));
}

const CVariant& CVariant::_aligned(const CVariant& right, CVariant& tmp, Op op) const {
  _checkOperand(op);
  if (right.type() == type() && right.m_subtype == m_subtype) return right;
  tmp = right._converted(type(), m_subtype, info(static_cast<unsigned>(op)).context);
  return tmp;
}

namespace {

[[noreturn]] void divisionByZero(unsigned type) {
  NUV_THROW("CVariant::operator/",
            CMessage("Cannot perform 'division' (/) on %1 values.").pushs(VT::operandWord(type)),
            CMessage("Division by zero."));
}

// 64-bit two's complement arithmetic; signed only changes division.
std::uint64_t integerOp(unsigned op, std::uint64_t l, std::uint64_t r, bool isSigned,
                        unsigned type) {
  using O = std::uint64_t;
  switch (op) {
    case 0:
      return l + r;
    case 1:
      return l - r;
    case 2:
      return l * r;
    case 3: {
      if (r == 0) divisionByZero(type);
      if (!isSigned) return l / r;
      const auto sl = static_cast<std::int64_t>(l), sr = static_cast<std::int64_t>(r);
      if (sr == -1) return O{0} - l;  // INT64_MIN / -1 wraps like the other operators
      return static_cast<O>(sl / sr);
    }
    case 4:
      return l & r;
    case 5:
      return l | r;
    default:
      return l ^ r;
  }
}

// Time and address values bring their own operators; the operand check has
// already ruled out the ones a type lacks. op as for integerOp.
template <class T>
void compound(T& l, const T& r, unsigned op) {
  if (op == 0) {
    l += r;
  } else if (op == 1) {
    l -= r;
  } else if constexpr (std::is_same_v<T, CTimeT>) {
    op == 2 ? l *= r : l /= r;
  } else {
    op == 4 ? l &= r : op == 5 ? l |= r : l ^= r;
  }
}

}  // namespace

CVariant& CVariant::_arithmetic(const CVariant& right, Op op) {
  if (&right == this) return _arithmetic(CVariant(right), op);  // v += v
  CVariant tmp;
  const CVariant& r = _aligned(right, tmp, op);
  const auto code = static_cast<unsigned>(op);
  switch (type()) {
    case VT::dt_integer: {
      auto& l = std::get<VT::dt_integer>(m_value);
      l = static_cast<std::int64_t>(integerOp(code, static_cast<std::uint64_t>(l),
                                              static_cast<std::uint64_t>(r.integer()), true,
                                              VT::dt_integer));
      break;
    }
    case VT::dt_uinteger: {
      auto& l = std::get<VT::dt_uinteger>(m_value);
      l = integerOp(code, l, r.uinteger(), false, VT::dt_uinteger);
      break;
    }
    case VT::dt_time: {
      const CTimeT& rt = std::get<VT::dt_time>(r.m_value);
      if (op == Op::div && rt.get() == 0) divisionByZero(VT::dt_time);
      compound(std::get<VT::dt_time>(m_value), rt, code);
      break;
    }
    case VT::dt_ipaddress:
      compound(std::get<VT::dt_ipaddress>(m_value), std::get<VT::dt_ipaddress>(r.m_value), code);
      break;
    case VT::dt_string:
      std::get<VT::dt_string>(m_value) += std::get<VT::dt_string>(r.m_value);
      break;
    default: {  // byte sequence, addition only; stores are shared, so build a new one
      auto& l = std::get<VT::dt_hexstore>(m_value);
      const CHexStore& rh = *std::get<VT::dt_hexstore>(r.m_value);
      if (!rh.empty()) l = std::make_shared<const CHexStore>(*l + rh);
      break;
    }
  }
  return *this;
}

CVariant& CVariant::operator+=(const CVariant& right) {
  return _arithmetic(right, Op::add);
}
CVariant& CVariant::operator-=(const CVariant& right) {
  return _arithmetic(right, Op::sub);
}
CVariant& CVariant::operator*=(const CVariant& right) {
  return _arithmetic(right, Op::mul);
}
CVariant& CVariant::operator/=(const CVariant& right) {
  return _arithmetic(right, Op::div);
}
CVariant& CVariant::operator&=(const CVariant& right) {
  return _arithmetic(right, Op::band);
}
CVariant& CVariant::operator|=(const CVariant& right) {
  return _arithmetic(right, Op::bor);
}
CVariant& CVariant::operator^=(const CVariant& right) {
  return _arithmetic(right, Op::bxor);
}

CVariant CVariant::operator-() const {
  _checkOperand(Op::neg);
  CVariant out(*this);
  if (auto* n = std::get_if<VT::dt_integer>(&out.m_value))
    *n = static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(*n));
  else
    std::get<VT::dt_uinteger>(out.m_value) = 0 - std::get<VT::dt_uinteger>(out.m_value);
  return out;
}

CVariant CVariant::operator~() const {
  _checkOperand(Op::inv);
  CVariant out(*this);
  if (auto* n = std::get_if<VT::dt_integer>(&out.m_value))
    *n = ~*n;
  else if (auto* u = std::get_if<VT::dt_uinteger>(&out.m_value))
    *u = ~*u;
  else
    std::get<VT::dt_ipaddress>(out.m_value) = ~std::get<VT::dt_ipaddress>(out.m_value);
  return out;
}

int CVariant::_compare(const CVariant& l, const CVariant& right, Op op) {
  CVariant tmp;
  const CVariant& r = l._aligned(right, tmp, op);
  auto order = [](const auto& a, const auto& b) { return a < b ? -1 : b < a ? 1 : 0; };
  switch (l.type()) {
    case VT::dt_ipaddress: {
      const CIPAddress &a = std::get<VT::dt_ipaddress>(l.m_value),
                       &b = std::get<VT::dt_ipaddress>(r.m_value);
      return a == b ? 0 : a > b ? 1 : -1;
    }
    case VT::dt_boolean:
      return std::get<VT::dt_boolean>(l.m_value) != std::get<VT::dt_boolean>(r.m_value);
    case VT::dt_time:
      return order(std::get<VT::dt_time>(l.m_value), std::get<VT::dt_time>(r.m_value));
    case VT::dt_string:
      return std::get<VT::dt_string>(l.m_value).compare(std::get<VT::dt_string>(r.m_value));
    case VT::dt_hexstore:
      return *std::get<VT::dt_hexstore>(l.m_value) != *std::get<VT::dt_hexstore>(r.m_value);
    case VT::dt_integer:
      return order(std::get<VT::dt_integer>(l.m_value), std::get<VT::dt_integer>(r.m_value));
    case VT::dt_endpoint:
      return std::get<VT::dt_endpoint>(l.m_value) != std::get<VT::dt_endpoint>(r.m_value);
    default:
      return order(std::get<VT::dt_uinteger>(l.m_value), std::get<VT::dt_uinteger>(r.m_value));
  }
}

}  // namespace nuv
