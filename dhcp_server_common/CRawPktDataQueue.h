#pragma once
// A worker thread's receive buffers: a pool of pre-built packets and the
// FIFO of packets received but not yet processed.
//
// free() hands out a pooled packet as a CRawPktDataPtr; the packet goes back
// to the pool when that handle is let go, so no buffer is allocated per
// datagram. An empty pool grows by half its initial size (at least one
// packet) and says so in the log. resize() changes the buffer size of every
// packet, including those handed out (they are resized on their way back).

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dhcp_server_common/CRawPktData.h"

class CMasterController;

class CRawPktDataQueue {
  struct Pool;

 public:
  // Returns a packet to the pool it came from.
  class Return {
   public:
    Return() = default;
    explicit Return(std::shared_ptr<Pool> pool) : m_pool(std::move(pool)) {}
    void operator()(CRawPktData* packet) const;

   private:
    std::shared_ptr<Pool> m_pool;
  };
  using Ptr = std::unique_ptr<CRawPktData, Return>;

  CRawPktDataQueue(CMasterController* controller, std::string name, std::size_t packetSize,
                   std::size_t packetCount);
  CRawPktDataQueue(const CRawPktDataQueue&) = delete;
  CRawPktDataQueue& operator=(const CRawPktDataQueue&) = delete;

  // A reset packet of the pool; grows the pool when it is empty.
  Ptr free();
  // Appends a received packet to the FIFO.
  void active(Ptr packet) { m_active.push_back(std::move(packet)); }
  // Removes and returns the oldest received packet; raises when there is none.
  Ptr active();
  void resize(std::size_t packetSize);

  const std::string& name() const { return m_name; }
  std::size_t packetSize() const;
  std::size_t growthStep() const { return m_growthStep; }
  // Packets built so far, pooled or handed out.
  std::size_t packetCount() const;
  std::size_t pooledCount() const;
  std::size_t activeCount() const { return m_active.size(); }

 private:
  struct Pool {
    mutable std::mutex mutex;
    std::size_t packetSize = 0;
    std::size_t built = 0;
    std::vector<std::unique_ptr<CRawPktData>> free;
  };

  void _grow(std::size_t count);

  CMasterController* m_controller;  // the host's; not owned
  std::string m_name;
  std::size_t m_growthStep;
  std::shared_ptr<Pool> m_pool = std::make_shared<Pool>();
  std::deque<Ptr> m_active;
};

using CRawPktDataPtr = CRawPktDataQueue::Ptr;
