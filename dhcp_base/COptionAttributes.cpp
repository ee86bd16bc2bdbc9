#include "dhcp_base/COptionAttributes.h"

#include "extended/CSpecFileReader.h"
#include "standard/CException.h"
#include "standard/CStringMap.h"

namespace {
[[noreturn]] void missing(const nuv::CStringMap& r, const char* why) {
  if (!r.has("tagpath"))
    NUV_THROW("COptionAttributes::set", nuv::CMessage("Invalid option attribute data."),
              nuv::CMessage(why));
  NUV_THROW("COptionAttributes::set",
            nuv::CMessage("Invalid data for option %1.").pushs(r.get("tagpath")),
            nuv::CMessage(why));
}
}  // namespace

void COptionAttributes::set(const nuv::CStringMap& r) {
  if (!r.has("tagpath")) missing(r, "An option type definition must include a 'tagpath' setting.");
  if (!r.has("type")) missing(r, "An option type definition must include a 'type' setting.");
  if (!r.has("name")) missing(r, "An option type definition must include a 'name' setting.");
  COptionAttributes a;
  a.tagPath.set(r.get("tagpath"));
  a.type.set(r.get("type"));
  a.name = r.get("name");
  a.optionClass = r.get("class");
  a.description = r.get("description");
  a.defaultValue = r.get("default_value");
  a.maxInstances = r.get_uint32("max_instances", 1);
  if (r.has("user_definable")) a.userDefinable.set(r.get("user_definable"));
  if (r.has("vendor_id")) a.vendorId.set(r.get("vendor_id"));
  a.vendorOro = r.get_bool("vendor_oro", false);
  a.contextVendorId = r.get("context_vendor_id");
  a.inputTypeEncoding = r.get_int32("input_type_encoding_value", -1);
  a.outputTypeEncoding = r.get_int32("output_type_encoding_value", -1);
  if (r.has("fixed_offsets")) a.fixedOffsets.set(r.get("fixed_offsets"));
  a.element.set(r);
  *this = std::move(a);
}

void COptionAttributes::set(const std::string& text) {
  set(CSpecFileReader::parseRecord(text));
}

std::string COptionAttributes::string() const {
  const COptionAttributes d;
  std::string out;
  auto line = [&out](const char* key, const std::string& value) {
    out.append(key).append(" = ").append(value).append("\n");
  };
  line("tagpath", tagPath.string());
  line("type", type.string());
  line("name", name);
  if (!optionClass.empty()) line("class", optionClass);
  if (!description.empty()) line("description", description);
  if (!defaultValue.empty()) line("default_value", defaultValue);
  if (maxInstances != d.maxInstances) line("max_instances", std::to_string(maxInstances));
  if (userDefinable != d.userDefinable) line("user_definable", userDefinable.string());
  if (vendorId != d.vendorId) line("vendor_id", vendorId.string());
  if (vendorOro) line("vendor_oro", "true");
  if (!contextVendorId.empty()) line("context_vendor_id", contextVendorId);
  if (inputTypeEncoding != -1) line("input_type_encoding_value", std::to_string(inputTypeEncoding));
  if (outputTypeEncoding != -1)
    line("output_type_encoding_value", std::to_string(outputTypeEncoding));
  if (!fixedOffsets.empty()) line("fixed_offsets", fixedOffsets.string());
  out += element.string();
  return out;
}

const COptionAttributes::Ptr& COptionAttributes::unknown() {
  static const Ptr p = [] {
    auto a = std::make_shared<COptionAttributes>();
    a->tagPath = CTagPath{0xffffffffu};
    a->name = "Unknown";
    return a;
  }();
  return p;
}

const COptionAttributes::Ptr& COptionAttributes::optionStore() {
  static const Ptr p = [] {
    auto a = std::make_shared<COptionAttributes>();
    a->tagPath = CTagPath{0xfffffffeu};
    a->type = COptionType::ot_topencoded;
    a->name = "Option Store";
    a->maxInstances = 0;
    return a;
  }();
  return p;
}
