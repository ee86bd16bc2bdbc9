#include "dhcp_base/CDHCPPacket.h"

#include <cstring>
#include <new>

#include "standard/CException.h"

CDHCPPacket::CDHCPPacket(CDHCPContext* context, std::string instanceName)
    : m_context(context), m_instanceName(std::move(instanceName)) {
  createPkt(kInitialBufferSize);
}

CDHCPPacket::~CDHCPPacket() = default;

std::uint8_t* CDHCPPacket::createPkt(std::size_t size) {
  if (size == 0) size = 1;
  if (size > m_bufferSize) {
    std::unique_ptr<std::uint8_t[]> grown(new (std::nothrow) std::uint8_t[size]);
    if (!grown)
      NUV_THROW("CDHCPPacket::createPkt",
                nuv::CMessage("Cannot get a raw packet of %1 bytes.").push(size),
                nuv::CMessage("Not enough memory."));
    m_buffer = std::move(grown);
    m_bufferSize = size;
  }
  std::memset(m_buffer.get(), 0, m_bufferSize);
  return m_buffer.get();
}

std::string CDHCPPacket::string() const {
  return nuv::CHexStore(m_buffer.get(), m_length).string();
}

void CDHCPPacket::string(std::string_view text) {
  const nuv::CHexStore bytes = nuv::CHexStore::parse(text);
  std::memcpy(createPkt(bytes.size()), bytes.data(), bytes.size());
  m_length = bytes.size();
}

std::string CDHCPPacket::safe_string() const {
  try {
    return string();
  } catch (const std::exception& e) {
    return std::string("<") + e.what() + ">";
  }
}

std::string CDHCPPacket::dump() const {
  return m_instanceName + " (" + typeName() + ", " + std::to_string(m_length) +
         " bytes): " + safe_string();
}
