#include "dhcp_server_common/CRawPktDataQueue.h"

#include <algorithm>

#include "extended/CMasterController.h"
#include "standard/CException.h"

void CRawPktDataQueue::Return::operator()(CRawPktData* packet) const {
  std::unique_ptr<CRawPktData> owned(packet);
  if (!m_pool) return;
  owned->reset();
  std::lock_guard<std::mutex> lock(m_pool->mutex);
  if (owned->capacity() != m_pool->packetSize) owned->resize(m_pool->packetSize);
  m_pool->free.push_back(std::move(owned));
}

CRawPktDataQueue::CRawPktDataQueue(CMasterController* controller, std::string name,
                                   std::size_t packetSize, std::size_t packetCount)
    : m_controller(controller),
      m_name(std::move(name)),
      m_growthStep(std::max<std::size_t>(packetCount / 2, 1)) {
  m_pool->packetSize = packetSize;
  _grow(packetCount);
}

void CRawPktDataQueue::_grow(std::size_t count) {
  std::lock_guard<std::mutex> lock(m_pool->mutex);
  for (std::size_t i = 0; i < count; ++i)
    m_pool->free.push_back(
        std::make_unique<CRawPktData>(m_pool->packetSize, static_cast<long>(m_pool->built++)));
}

CRawPktDataPtr CRawPktDataQueue::free() {
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(m_pool->mutex);
      if (!m_pool->free.empty()) {
        Ptr packet(m_pool->free.back().release(), Return(m_pool));
        m_pool->free.pop_back();
        return packet;
      }
    }
    // Running dry means the pool was sized too small for the load: say so
    // once per growth, then carry on with a larger pool.
    const nuv::CException exhausted(
        nuv::CMessage("The packet pool '%1' is exhausted.").pushs(m_name),
        nuv::CMessage("All %1 packets are in use.").push(static_cast<unsigned long>(packetCount())),
        NUV_MODULE_NAME, "CRawPktDataQueue::free", __FILE__, __LINE__);
    if (m_controller) {
      m_controller->exceptionFacade().record(exhausted);
      m_controller->exceptionFacade().log();
      m_controller->log().log(nuv::sev_info,
                              nuv::CMessage("Adding %1 packet(s) to the packet pool.")
                                  .push(static_cast<unsigned long>(m_growthStep)));
    }
    _grow(m_growthStep);
  }
}

CRawPktDataPtr CRawPktDataQueue::active() {
  if (m_active.empty())
    NUV_THROW("CRawPktDataQueue::active", nuv::CMessage("Cannot process active packet."),
              nuv::CMessage("No items in the packet work queue."));
  Ptr packet = std::move(m_active.front());
  m_active.pop_front();
  return packet;
}

void CRawPktDataQueue::resize(std::size_t packetSize) {
  std::lock_guard<std::mutex> lock(m_pool->mutex);
  if (packetSize == m_pool->packetSize) return;
  m_pool->packetSize = packetSize;
  for (auto& packet : m_pool->free) packet->resize(packetSize);
}

std::size_t CRawPktDataQueue::packetSize() const {
  std::lock_guard<std::mutex> lock(m_pool->mutex);
  return m_pool->packetSize;
}

std::size_t CRawPktDataQueue::packetCount() const {
  std::lock_guard<std::mutex> lock(m_pool->mutex);
  return m_pool->built;
}

std::size_t CRawPktDataQueue::pooledCount() const {
  std::lock_guard<std::mutex> lock(m_pool->mutex);
  return m_pool->free.size();
}
