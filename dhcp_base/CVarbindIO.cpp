#include "dhcp_base/CVarbindIO.h"

#include <cstring>

void CVarbindIO::writeOne(std::uint8_t* out, const CVarbind& v, const COption&) {
  out = writeSqueezed(out, v.oid.size(), 2);
  std::memcpy(out, v.oid.data(), v.oid.size());
  out += v.oid.size();
  const std::string rest = v.type + "=" + v.value;
  out = writeSqueezed(out, rest.size(), 2);
  std::memcpy(out, rest.data(), rest.size());
}

const std::uint8_t* CVarbindIO::_read(const std::uint8_t* p, const std::uint8_t* end, CVarbind& v,
                                      const COption& option, COptionInputContext& ic) {
  std::string parts[2];
  for (std::string& part : parts) {
    if (end - p < 2) _tooShort(option, ic.messageStart(), p);
    const std::size_t n = readBig(p, 2);
    p += 2;
    if (n > static_cast<std::size_t>(end - p)) _outOfBounds(option.tag(), ic.messageStart(), p);
    part.assign(reinterpret_cast<const char*>(p), n);
    p += n;
  }
  const std::size_t eq = parts[1].find('=');
  if (eq == std::string::npos) _tooShort(option, ic.messageStart(), p);
  v = CVarbind{parts[0], parts[1].substr(0, eq), parts[1].substr(eq + 1)};
  return p;
}

CVarbind CVarbindIO::readOne(const std::uint8_t* p, std::size_t n, const COption& option,
                             COptionInputContext& ic) {
  CVarbind v;
  _read(p, p + n, v, option, ic);
  return v;
}

void CVarbindIO::readAll(const std::uint8_t* bytes, std::size_t n, Values& values, COption& option,
                         COptionInputContext& ic) {
  const std::uint8_t* end = bytes + n;
  while (bytes < end) {
    CVarbind v;
    bytes = _read(bytes, end, v, option, ic);
    values.push_back(std::move(v));
  }
}

CVarbind CVarbindIO::parse(const std::string& text, const COption& option) {
  std::optional<CVarbind> v = CVarbind::fromText(text);
  if (!v)
    _fail("CVarbindIO::set", "Cannot set varbind option %1 with text '%2'.",
          "Varbind is not valid; use the format 'oid;type=value'.", {option.label(), text});
  return *v;
}

CVarbind CVarbindIO::fromJson(const nlohmann::json& j, const COption& option) {
  if (j.is_object() && j.contains("oid") && j.contains("type") && j.contains("value") &&
      j["oid"].is_string() && j["type"].is_string()) {
    const nlohmann::json& value = j["value"];
    return CVarbind{j["oid"].get<std::string>(), j["type"].get<std::string>(),
                    value.is_string() ? value.get<std::string>() : value.dump()};
  }
  return parse(j.is_string() ? j.get<std::string>() : j.dump(), option);
}
