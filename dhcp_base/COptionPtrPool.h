#pragma once
// Reusable option objects of one storage class. get() hands out a shared
// pointer whose release puts the object back (values cleared, capacity
// kept); the pointer's control block also comes from a free list here, so
// that a warm pool serves parse and build without touching the heap.
//
// Access is serialised by a spin lock held only for a push or pop: the
// last owner of an option may let go on another thread than the one that
// took it, but the lock is almost never contended, and a mutex would cost
// more than the pooling saves. A pool whose factory has gone lives on until the last object it
// handed out has come back.

#include <atomic>
#include <cstddef>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <vector>

#include "standard/CGeneralPtr.h"

class CPoolSpinLock {
 public:
  void lock() {
    while (m_flag.test_and_set(std::memory_order_acquire)) {
    }
  }
  void unlock() { m_flag.clear(std::memory_order_release); }

 private:
  std::atomic_flag m_flag = ATOMIC_FLAG_INIT;
};

class COptionPoolBase {
 public:
  COptionPoolBase(std::string name, std::size_t increment, std::size_t maxSize)
      : m_name(std::move(name)), m_increment(increment), m_max(maxSize) {}
  COptionPoolBase(const COptionPoolBase&) = delete;
  COptionPoolBase& operator=(const COptionPoolBase&) = delete;

  const std::string& name() const { return m_name; }
  void increment(std::size_t n) { m_increment = n ? n : 1; }
  std::size_t increment() const { return m_increment; }
  void maxSize(std::size_t n) { m_max = n; }
  std::size_t maxSize() const { return m_max; }
  // Objects ready to be handed out.
  virtual std::size_t available() const = 0;
  // Objects handed out and not yet back.
  std::size_t outstanding() const {
    std::lock_guard<CPoolSpinLock> lock(m_mutex);
    return m_outstanding;
  }

  // The owner lets go: the pool deletes itself now or when the last
  // handed-out object has come back.
  void orphan() {
    std::unique_lock<CPoolSpinLock> lock(m_mutex);
    m_orphaned = true;
    const bool last = m_outstanding == 0;
    lock.unlock();
    if (last) delete this;
  }

  // Control blocks of the handed-out pointers.
  void* allocBlock(std::size_t bytes) {
    {
      std::lock_guard<CPoolSpinLock> lock(m_mutex);
      ++m_outstanding;
      if (bytes == m_blockSize && !m_blocks.empty()) {
        void* b = m_blocks.back();
        m_blocks.pop_back();
        return b;
      }
      if (m_blockSize == 0) m_blockSize = bytes;
    }
    return ::operator new(bytes);
  }
  void freeBlock(void* block, std::size_t bytes) {
    std::unique_lock<CPoolSpinLock> lock(m_mutex);
    const bool keep = !m_orphaned && bytes == m_blockSize && m_blocks.size() < m_max;
    if (keep) m_blocks.push_back(block);
    const bool last = --m_outstanding == 0 && m_orphaned;
    lock.unlock();
    if (!keep) ::operator delete(block);
    if (last) delete this;
  }

 protected:
  virtual ~COptionPoolBase() {
    for (void* b : m_blocks) ::operator delete(b);
  }

  mutable CPoolSpinLock m_mutex;
  bool m_orphaned = false;

 private:
  std::string m_name;
  std::size_t m_increment;
  std::size_t m_max;
  std::size_t m_outstanding = 0;
  std::size_t m_blockSize = 0;
  std::vector<void*> m_blocks;
};

template <class U>
struct COptionBlockAllocator {
  using value_type = U;
  COptionPoolBase* pool;
  explicit COptionBlockAllocator(COptionPoolBase* p) : pool(p) {}
  template <class V>
  COptionBlockAllocator(const COptionBlockAllocator<V>& o) : pool(o.pool) {}  // NOLINT
  U* allocate(std::size_t n) { return static_cast<U*>(pool->allocBlock(n * sizeof(U))); }
  void deallocate(U* p, std::size_t n) { pool->freeBlock(p, n * sizeof(U)); }
  template <class V>
  bool operator==(const COptionBlockAllocator<V>& o) const {
    return pool == o.pool;
  }
  template <class V>
  bool operator!=(const COptionBlockAllocator<V>& o) const {
    return pool != o.pool;
  }
};

template <class T>
class COptionPtrPool : public COptionPoolBase {
 public:
  using COptionPoolBase::COptionPoolBase;

  nuv::CGeneralPtr<T> get() {
    T* object = nullptr;
    {
      std::lock_guard<CPoolSpinLock> lock(m_mutex);
      if (m_free.empty())
        for (std::size_t i = 0; i < increment(); ++i) m_free.push_back(new T());
      object = m_free.back();
      m_free.pop_back();
    }
    return nuv::CGeneralPtr<T>(object, Releaser{this}, COptionBlockAllocator<T>(this));
  }

  std::size_t available() const override {
    std::lock_guard<CPoolSpinLock> lock(m_mutex);
    return m_free.size();
  }

 private:
  struct Releaser {
    COptionPtrPool* pool;
    void operator()(T* object) const { pool->_put(object); }
  };

  ~COptionPtrPool() override {
    for (T* t : m_free) delete t;
  }

  void _put(T* object) {
    object->reset();
    std::unique_lock<CPoolSpinLock> lock(m_mutex);
    if (m_orphaned || m_free.size() >= maxSize()) {
      lock.unlock();
      delete object;
      return;
    }
    m_free.push_back(object);
  }

  std::vector<T*> m_free;
};
