#include "dhcp_base/CAbstractIO.h"

#include "dhcp_base/CDHCPContext.h"
#include "dhcp_base/COption.h"
#include "dhcp_base/CPktIOException.h"

CAbstractIO::Widths CAbstractIO::childWidths(const COption& container) {
  const CProtocolAttributes& p = container.context()->protocol();
  Widths w{p.tagWidth, p.lenWidth, p.typeWidth};
  if (container.valueType() == COptionType::ot_subencoded) {
    const CElementAttributes& e = container.attributes().element;
    if (e.subtagWidth) w.tag = e.subtagWidth;
    if (e.sublenWidth) w.len = e.sublenWidth;
    if (e.subtypeWidth) w.type = e.subtypeWidth;
  }
  return w;
}

CAbstractIO::Widths CAbstractIO::widthsOf(const COption& option) {
  if (const COption* parent = option.parent()) return childWidths(*parent);
  const CProtocolAttributes& p = option.context()->protocol();
  return Widths{p.tagWidth, p.lenWidth, p.typeWidth};
}

namespace {
const std::uint8_t* readField(const char* context, const char* what, const std::uint8_t* pos,
                              const std::uint8_t* end, unsigned width, std::uint64_t& out,
                              const std::uint8_t* start) {
  if (width > 8)
    NUV_THROW_PKT(context, nuv::CMessage("Cannot read wire-format option data."),
                  nuv::CMessage("Data width %1 is not supported.").push(width), start, pos);
  if (static_cast<std::size_t>(end - pos) < width)
    NUV_THROW_PKT(context, nuv::CMessage(what),
                  nuv::CMessage("Malformed buffer (no terminator found)."), start, pos);
  out = CAbstractIO::readBig(pos, width);
  return pos + width;
}
}  // namespace

const std::uint8_t* CAbstractIO::readTag(const std::uint8_t* pos, const std::uint8_t* end,
                                         unsigned width, std::uint32_t& tag,
                                         const std::uint8_t* start) {
  std::uint64_t v = 0;
  pos = readField("CAbstractIO::readTag", "Cannot read option tag.", pos, end, width, v, start);
  tag = static_cast<std::uint32_t>(v);
  return pos;
}

const std::uint8_t* CAbstractIO::readLen(const std::uint8_t* pos, const std::uint8_t* end,
                                         unsigned width, std::size_t& len,
                                         const std::uint8_t* start) {
  std::uint64_t v = 0;
  pos = readField("CAbstractIO::readLen", "Cannot read option length.", pos, end, width, v, start);
  len = static_cast<std::size_t>(v);
  return pos;
}

const std::uint8_t* CAbstractIO::readType(const std::uint8_t* pos, const std::uint8_t* end,
                                          unsigned width, std::uint32_t& type,
                                          const std::uint8_t* start) {
  std::uint64_t v = 0;
  pos = readField("CAbstractIO::readType", "Cannot read option type.", pos, end, width, v, start);
  type = static_cast<std::uint32_t>(v);
  return pos;
}

std::uint32_t CAbstractIO::get32bitFromPtr(const std::uint8_t* pos, unsigned width) {
  if (width < 1 || width > 4)
    NUV_THROW("CAbstractIO::get32bitFromPtr", nuv::CMessage("Cannot read wire-format option data."),
              nuv::CMessage("Data width %1 is not supported.").push(width));
  return static_cast<std::uint32_t>(readBig(pos, width));
}

std::uint8_t* CAbstractIO::startTLTHeader(std::uint8_t* pos, const Widths& w, std::uint32_t code,
                                          std::int32_t type) {
  pos = writeSqueezed(pos, code, w.tag);
  pos = writeSqueezed(pos, 0, w.len);
  if (type >= 0) pos = writeSqueezed(pos, static_cast<std::uint32_t>(type), w.type);
  return pos;
}

void CAbstractIO::finishTLTHeader(std::uint8_t* header, const Widths& w, std::size_t length) {
  writeSqueezed(header + w.tag, length, w.len);
}

void CAbstractIO::_tooShort(const COption& option, const std::uint8_t* start,
                            const std::uint8_t* pos) {
  NUV_THROW_PKT("CAbstractIO::valueInput",
                nuv::CMessage("Cannot decode option %1.").pushs(option.label()),
                nuv::CMessage("Buffer is too short to represent this option."), start, pos);
}

void CAbstractIO::_outOfBounds(std::uint32_t code, const std::uint8_t* start,
                               const std::uint8_t* pos) {
  NUV_THROW_PKT("CAbstractIO::valueInput",
                nuv::CMessage("Cannot decode option %1.")
                    .pushs(std::to_string(static_cast<std::int32_t>(code))),
                nuv::CMessage("Payload length out of bounds."), start, pos);
}

void CAbstractIO::_lengthTooLarge(const COption& option, const std::uint8_t* start,
                                  const std::uint8_t* pos) {
  NUV_THROW_PKT(
      "CAbstractIO::valueInput",
      nuv::CMessage("Failed to read the 'length' field for option %1.").pushs(option.label()),
      nuv::CMessage("The 'length' field value is too large."), start, pos);
}

void CAbstractIO::_outputTooSmall(const COption& option) {
  NUV_THROW("CAbstractIO::valueOutput",
            nuv::CMessage("Cannot output binary data for option %1.").pushs(option.label()),
            nuv::CMessage("Output buffer is too small."));
}

void CAbstractIO::_fail(const char* context, const char* what, const char* why,
                        std::initializer_list<std::string_view> whatArgs,
                        std::initializer_list<std::string_view> whyArgs) {
  nuv::CMessage w(what);
  for (std::string_view a : whatArgs) w.pushs(a);
  nuv::CMessage y(why);
  for (std::string_view a : whyArgs) y.pushs(a);
  NUV_THROW(context, w, y);
}
