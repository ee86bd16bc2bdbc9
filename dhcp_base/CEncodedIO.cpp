#include "dhcp_base/CEncodedIO.h"

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/COptionFactory.h"
#include "dhcp_base/COptionInputContext.h"
#include "dhcp_base/COptionLookup.h"
#include "dhcp_base/COptionOutputContext.h"
#include "dhcp_base/COptionStore.h"
#include "dhcp_base/CPktIOException.h"
#include "dhcp_base/CVendorIDResolver.h"
#include "dhcp_base/OptionText.h"
#include "exp_eval/CExpression.h"

CVendorID CEncodedIO::childVendor(const COption& option, const CVendorID& current,
                                  const COptionInputContext& ic) {
  if (option.valueType() == COptionType::ot_topencoded) return CVendorID::reserved();
  if (option.attributes().contextVendorId.empty()) return current;
  return CVendorIDResolver(option, ic.topStore()).find(current);
}

const std::uint8_t* CEncodedIO::valueInput(const std::uint8_t* bytes, std::size_t length,
                                           Values& values, COption& option,
                                           COptionInputContext& ic) const {
  const std::uint8_t* start = ic.messageStart();
  const std::uint8_t* pos = bytes;
  const std::uint8_t* end = bytes + length;
  if (const unsigned p = option.attributes().element.lenPrefixWidth) {
    if (p > length)
      NUV_THROW_PKT(
          "CEncodedIO::valueInput", nuv::CMessage("Cannot decode option %1.").pushs(option.label()),
          nuv::CMessage("Width of the length field is larger than the payload."), start, pos);
    const std::size_t content = readBig(pos, p);
    pos += p;
    if (content > static_cast<std::size_t>(end - pos))
      NUV_THROW_PKT("CEncodedIO::valueInput",
                    nuv::CMessage("Cannot decode option %1.").pushs(option.label()),
                    nuv::CMessage("Payload length out of bounds."), start, pos);
    end = pos + content;
  }

  const CVendorID current = ic.vendor();
  CVendorScope scope(ic, childVendor(option, current, ic));
  const Widths w = childWidths(option);
  const CProtocolAttributes& proto = option.context()->protocol();
  const std::uint32_t endCode =
      w.tag == proto.tagWidth ? proto.endCode
                              : static_cast<std::uint32_t>((std::uint64_t{1} << (8 * w.tag)) - 1);
  COptionFactory& factory = option.context()->factory();

  while (pos < end) {
    std::uint32_t code = 0;
    pos = readTag(pos, end, w.tag, code, start);
    if (code == endCode) break;
    std::size_t len = 0;
    pos = readLen(pos, end, w.len, len, start);
    COption::Ptr child = factory.create(code, ic.vendor(), &option, true);
    if (child && child->attributes().inputTypeEncoding != -1) {
      std::uint32_t type = 0;
      pos = readType(pos, end, w.type, type, start);
    }
    if (len > static_cast<std::size_t>(end - pos)) _outOfBounds(code, start, pos);
    if (child) {
      child->valueInput(pos, len, ic);
      values.push_back(std::move(child));
    }
    pos += len;
  }
  return bytes + length;
}

bool CEncodedIO::writes(const COption& child, const COptionOutputContext& oc) {
  const std::uint32_t code = child.tag();
  if (oc.forbidden(code)) return false;
  return oc.allowServerControl() || !child.context()->isServerControlOption(code);
}

std::uint8_t* CEncodedIO::valueOutput(std::uint8_t* out, std::size_t room, const Values& values,
                                      const COption& option, COptionOutputContext& oc) const {
  std::uint8_t* begin = out;
  const unsigned p = option.attributes().element.lenPrefixWidth;
  if (p) {
    if (room < p) _outputTooSmall(option);
    out += p;
  }
  for (const COption::Ptr& child : values) {
    if (!writes(*child, oc)) continue;
    out = child->fullOutput(out, room - static_cast<std::size_t>(out - begin), oc);
  }
  if (p) writeSqueezed(begin, static_cast<std::size_t>(out - begin) - p, p);
  return out;
}

std::size_t CEncodedIO::area(const Values& values, const COption& option,
                             const COptionOutputContext* oc) const {
  std::size_t n = option.attributes().element.lenPrefixWidth;
  for (const COption::Ptr& child : values)
    if (!oc || writes(*child, *oc)) n += child->area();
  return n;
}

std::string CEncodedIO::string(const Values& values, const COption&, bool) const {
  std::string out = "{ ";
  bool first = true;
  for (const COption::Ptr& child : values) {
    if (!first) out += ", ";
    first = false;
    out.append(child->attributes().name).append(" = ").append(child->string());
  }
  return out + " }";
}

void CEncodedIO::set(std::string_view text, Values& values, COption& option,
                     COptionInputContext& ic, bool append) const {
  std::vector<CContainerItem> items;
  if (!splitContainerItems(text, items))
    _fail("CEncodedIO::set", "Cannot set option %1 from text '%2'.", "Invalid container format.",
          {option.label(), text});
  CDHCPContext& ctx = *option.context();
  const CVendorID vendor = childVendor(option, option.attributes().vendorId, ic);
  const CTagPath base = option.childBasePath();
  // Children join the container as they are read, so that a later child
  // can resolve its vendor from an earlier one (Vendor-specific
  // Information); a failure puts the previous children back.
  Values previous;
  if (!append) previous.swap(values);
  const std::size_t mark = values.size();
  try {
    for (const CContainerItem& item : items) {
      const COptionAttributes::Ptr& def = ctx.optionLookup().locate(item.name, base, vendor);
      COption::Ptr child =
          nuv::isExpression(item.value)
              ? ctx.factory().create(def->tag(), vendor, COptionType::ot_expression, &option)
              : ctx.factory().make(def, &option);
      child->string(item.value, ic);
      values.push_back(std::move(child));
    }
  } catch (...) {
    values.resize(mark);
    if (!append) values.swap(previous);
    throw;
  }
}

nlohmann::json CEncodedIO::json(const Values& values, const COption&) const {
  nlohmann::json j = nlohmann::json::array();
  for (const COption::Ptr& child : values) j.push_back(child->jsonObject());
  return j;
}

void CEncodedIO::_setJSON(const nlohmann::json& j, Values& values, COption& option,
                          COptionInputContext& ic) {
  auto fail = [&option]() {
    _fail("CEncodedIO::_setJSON", "Cannot deserialize option %1 from json format.",
          "Invalid json option data.", {option.label()});
  };
  if (!j.is_array()) fail();
  CDHCPContext& ctx = *option.context();
  const CVendorID current = childVendor(option, option.attributes().vendorId, ic);
  Values parsed;
  for (const nlohmann::json& e : j) {
    if (!e.is_object() || !e.contains("tagpath") || !e["tagpath"].is_string() ||
        !e.contains("value"))
      fail();
    const CTagPath path(e["tagpath"].get<std::string>());
    if (path.empty()) fail();
    const CVendorID vendor = e.contains("vendorid") && e["vendorid"].is_string()
                                 ? CVendorID(e["vendorid"].get<std::string>())
                                 : current;
    const bool expression = e.contains("type") && e["type"] == "expression";
    COption::Ptr child =
        expression ? ctx.factory().create(path.tag(), vendor, COptionType::ot_expression, &option)
                   : ctx.factory().create(path.tag(), vendor, &option, false);
    if (!child) fail();
    child->setJSONValue(e["value"], ic);
    parsed.push_back(std::move(child));
  }
  values.swap(parsed);
}
