#include "dhcp_base/COption.h"

#include <cstring>
#include <nlohmann/json.hpp>

#include "dhcp_base/CAbstractIO.h"
#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/COptionFactory.h"
#include "dhcp_base/COptionInputContext.h"
#include "dhcp_base/COptionOutputContext.h"
#include "dhcp_base/CPktIOException.h"
#include "standard/CException.h"

COption::COption() : m_attrs(COptionAttributes::unknown()) {}

COption::~COption() = default;

void COption::string(std::string_view text) {
  COptionInputContext ic;
  string(text, ic);
}

std::string COption::safe_string() const {
  try {
    return string();
  } catch (const std::exception& e) {
    return std::string("<") + e.what() + ">";
  }
}

std::string COption::dump() const {
  return label() + " " + attributes().name + " (" + valueType().string() + ", " +
         std::to_string(count()) + " values) = " + safe_string();
}

void COption::reset() {
  clearStorage();
  m_attrs = COptionAttributes::unknown();
  m_parent = nullptr;
  m_context = nullptr;
}

COption::Ptr COption::clone(CDHCPContext* ctx, COption* parent) const {
  CDHCPContext* c = ctx ? ctx : m_context;
  Ptr copy = c->factory().allocate(valueType());
  copy->attributes(m_attrs);
  copy->context(c);
  copy->parent(parent);
  copy->assignStorage(*this);
  return copy;
}

std::string COption::label() const {
  return tagPath().string();
}

CTagPath COption::childBasePath() const {
  if (valueType() == COptionType::ot_topencoded) return CTagPath();
  return tagPath();
}

CTagPath COption::tagPath() const {
  if (m_parent == nullptr || valueType() == COptionType::ot_topencoded) return CTagPath{tag()};
  CTagPath p = m_parent->childBasePath();
  p.push_back(tag());
  return p;
}

// Wire form -------------------------------------------------------------

const std::uint8_t* COption::fullInput(const std::uint8_t* bytes, std::size_t length,
                                       COptionInputContext& ic) {
  if (valueType() == COptionType::ot_expression)
    NUV_THROW("COption::fullInput",
              nuv::CMessage("Cannot define an expression option from TLD format."),
              nuv::CMessage("Illegal operation."));
  const std::uint8_t* end = bytes + length;
  const CAbstractIO::Widths w = CAbstractIO::widthsOf(*this);
  std::uint32_t code = 0;
  std::size_t len = 0;
  const std::uint8_t* pos = CAbstractIO::readTag(bytes, end, w.tag, code, ic.messageStart());
  pos = CAbstractIO::readLen(pos, end, w.len, len, ic.messageStart());
  if (attributes().inputTypeEncoding != -1) {
    std::uint32_t type = 0;
    pos = CAbstractIO::readType(pos, end, w.type, type, ic.messageStart());
  }
  if (len > static_cast<std::size_t>(end - pos))
    NUV_THROW_PKT("COption::fullInput", nuv::CMessage("Cannot decode option %1.").push(code),
                  nuv::CMessage("Payload length out of bounds."), ic.messageStart(), pos);
  valueInput(pos, len, ic);
  return pos + len;
}

std::size_t COption::area() const {
  const CAbstractIO::Widths w = CAbstractIO::widthsOf(*this);
  const std::size_t header = w.tag + w.len;
  const std::size_t type = attributes().outputTypeEncoding >= 0 ? w.type : 0;
  const std::size_t value = valueArea();
  const std::size_t max = CAbstractIO::maxPayload(w.len);
  const std::size_t parts = value <= max ? 1 : (value + max - 1) / max;
  return header * parts + type + value;
}

std::uint8_t* COption::fullOutput(std::uint8_t* bytes, std::size_t room,
                                  COptionOutputContext& oc) const {
  const CAbstractIO::Widths w = CAbstractIO::widthsOf(*this);
  const std::int32_t type = attributes().outputTypeEncoding;
  const std::size_t header = w.tag + w.len + (type >= 0 ? w.type : 0);
  const std::size_t need = header + valueArea(&oc);
  if (room < need)
    NUV_THROW("COption::fullOutput",
              nuv::CMessage("Cannot write header for option %1.").pushs(label()),
              nuv::CMessage("The output buffer is too small by %1 bytes.").push(need - room));

  const bool before = oc.noExpressionResult();
  oc.noExpressionResult(false);
  std::uint8_t* value = CAbstractIO::startTLTHeader(bytes, w, tag(), type);
  std::uint8_t* end = valueOutput(value, room - header, oc);
  if (oc.noExpressionResult()) return bytes;  // an expression gave nothing: no header either
  oc.noExpressionResult(before);

  std::size_t payload = static_cast<std::size_t>(end - value) + (type >= 0 ? w.type : 0);
  const std::size_t max = CAbstractIO::maxPayload(w.len);
  if (payload <= max) {
    CAbstractIO::finishTLTHeader(bytes, w, payload);
    return end;
  }

  // Too long for one header: cut into parts of max bytes, each behind its
  // own header with the same code, moving the later parts up in place.
  const std::size_t h = w.tag + w.len;
  const std::size_t parts = (payload + max - 1) / max;
  const std::size_t extra = (parts - 1) * h;
  if (static_cast<std::size_t>(end - bytes) + extra > room)
    NUV_THROW("COption::fullOutput", nuv::CMessage("Cannot split option %1.").pushs(label()),
              nuv::CMessage("The output buffer is too small."));
  std::uint8_t* data = bytes + h;  // payload start (type field included)
  for (std::size_t i = parts - 1; i >= 1; --i) {
    const std::size_t chunk = i == parts - 1 ? payload - i * max : max;
    std::uint8_t* dst = data + i * (max + h);
    std::memmove(dst, data + i * max, chunk);
    std::uint8_t* hdr = dst - h;
    CAbstractIO::writeSqueezed(hdr, tag(), w.tag);
    CAbstractIO::writeSqueezed(hdr + w.tag, chunk, w.len);
  }
  CAbstractIO::finishTLTHeader(bytes, w, max);
  return end + extra;
}

// Tree operations -------------------------------------------------------

void COption::reParent() {
  if (Children* kids = _children())
    for (Ptr& c : *kids) c->parent(this);
}

const COption::Ptr* COption::_locate(const CTagPath& path, std::size_t instance,
                                     std::size_t depth) const {
  const COption* node = this;
  for (; depth < path.size(); ++depth) {
    const Children* kids = node->children();
    if (!kids) return nullptr;
    const std::uint32_t code = path[depth];
    const bool last = depth + 1 == path.size();
    std::size_t seen = 0;
    const Ptr* hit = nullptr;
    for (const Ptr& c : *kids)
      if (c->tag() == code && (!last || seen++ == instance)) {
        hit = &c;
        break;
      }
    if (!hit) return nullptr;
    if (last) return hit;
    node = hit->get();
  }
  return nullptr;
}

bool COption::defined(const CTagPath& path, COptionType type, std::size_t depth) const {
  const Ptr* p = _locate(path, 0, depth);
  return p && (type == kAnyType || (*p)->valueType() == type);
}

std::size_t COption::instanceCount(const CTagPath& path, COptionType type) const {
  if (path.empty()) return 0;
  const COption* container = this;
  if (path.size() > 1) {
    CTagPath head = path;
    head.pop_back();
    const Ptr* p = _locate(head, 0, 0);
    if (!p) return 0;
    container = p->get();
  }
  const Children* kids = container->children();
  if (!kids) return 0;
  std::size_t n = 0;
  for (const Ptr& c : *kids)
    if (c->tag() == path.back() && (type == kAnyType || c->valueType() == type)) ++n;
  return n;
}

COption* COption::_container(const CTagPath& path) {
  if (path.empty()) return this;
  const Ptr* p = _locate(path, 0, 0);
  return p ? p->get() : nullptr;
}

bool COption::erase(const CTagPath& path, std::size_t instance) {
  if (path.empty()) return false;
  CTagPath head = path;
  head.pop_back();
  COption* container = _container(head);
  Children* kids = container ? container->children() : nullptr;
  if (!kids) return false;
  std::size_t seen = 0;
  for (auto it = kids->begin(); it != kids->end(); ++it)
    if ((*it)->tag() == path.back() && seen++ == instance) {
      kids->erase(it);
      return true;
    }
  return false;
}

namespace {
[[noreturn]] void typeMismatch(const COption& option, const COption& into) {
  NUV_THROW("COption::append",
            nuv::CMessage("Cannot insert option '%1' into option %2, type '%3'.")
                .pushs(option.label())
                .pushs(into.label())
                .pushs(into.valueType().string()),
            nuv::CMessage("Type mismatch."));
}
}  // namespace

void COption::append(Ptr option, const CTagPath& path) {
  COption* container = _container(path);
  if (!container)
    NUV_THROW(
        "COption::append",
        nuv::CMessage("Cannot append option %1 to option %2.").push(option->tag()).pushs(label()),
        nuv::CMessage("Suboption %1 does not exist in this container.").pushs(path.string()));
  Children* kids = container->children();
  if (!kids) typeMismatch(*option, *container);
  option->parent(container);
  kids->push_back(std::move(option));
}

void COption::overwrite(Ptr option, const CTagPath& path) {
  COption* container = _container(path);
  if (!container)
    NUV_THROW("COption::overwrite",
              nuv::CMessage("Cannot overwrite option %1 in option %2.")
                  .push(option->tag())
                  .pushs(label()),
              nuv::CMessage("Suboption %1 does not exist in this container.").pushs(path.string()));
  Children* kids = container->children();
  if (!kids) typeMismatch(*option, *container);
  option->parent(container);
  for (Ptr& c : *kids)
    if (c->tag() == option->tag()) {
      c = std::move(option);
      return;
    }
  kids->push_back(std::move(option));
}

bool COption::findInstance(const CTagPath& path, Ptr& result, std::size_t instance,
                           COptionType type, std::size_t depth) const {
  const Ptr* p = _locate(path, instance, depth);
  if (!p || (type != kAnyType && (*p)->valueType() != type)) return false;
  result = *p;
  return true;
}

bool COption::find(const CTagPath& path, Ptr& result, COptionType type, std::size_t depth) const {
  return findInstance(path, result, 0, type, depth);
}

COption::Ptr COption::find(const CTagPath& path, COptionType type, std::size_t depth) const {
  const Ptr* p = _locate(path, 0, depth);
  if (!p) _notFound(path, nullptr, type);
  if (type != kAnyType && (*p)->valueType() != type) _notFound(path, p->get(), type);
  return *p;
}

void COption::_notFound(const CTagPath& path, const COption* found, COptionType type) const {
  const bool store = valueType() == COptionType::ot_topencoded;
  const std::string where = store ? instanceName() : label();
  if (!found)
    NUV_THROW("COption::find",
              nuv::CMessage(store ? "Cannot find option %1 in container %2."
                                  : "Cannot find option %1 in option %2.")
                  .pushs(path.string())
                  .pushs(where),
              nuv::CMessage("No such option."));
  NUV_THROW(
      "COption::find",
      nuv::CMessage(store ? "Cannot find option %1 in container '%2' as type '%3'."
                          : "Cannot find option %1 in option %2 as type '%3'.")
          .pushs(path.string())
          .pushs(where)
          .pushs(type.string()),
      nuv::CMessage("The option exists, but has type '%1'.").pushs(found->valueType().string()));
}

std::string COption::instanceName() const {
  return {};
}

// JSON ------------------------------------------------------------------

nlohmann::json COption::jsonObject() const {
  const COptionAttributes& a = attributes();
  nlohmann::json j = nlohmann::json::object();
  j["tagpath"] = tagPath().string();
  j["name"] = a.name;
  j["type"] = valueType().string();
  j["arrayed"] = a.element.arrayed ? "true" : "false";
  j["vendorid"] = a.vendorId.string();
  j["value"] = jsonValue();
  return j;
}

// Bytes that are not UTF-8 (strings from the wire) become U+FFFD rather
// than failing the whole text.
std::string COption::json() const {
  return jsonObject().dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void COption::json(std::string_view text) {
  COptionInputContext ic;
  json(text, ic);
}

void COption::json(std::string_view text, COptionInputContext& ic) {
  nlohmann::json j;
  try {
    j = nlohmann::json::parse(text.begin(), text.end());
  } catch (const nlohmann::json::exception& e) {
    NUV_THROW("COption::json",
              valueType() == COptionType::ot_topencoded
                  ? nuv::CMessage("Cannot deserialize option store from json format.")
                  : nuv::CMessage("Cannot deserialize option %1 from json format.").pushs(label()),
              nuv::CMessage(e.what()));
  }
  setJSONValue(j.is_object() && j.contains("value") ? j["value"] : j, ic);
}
