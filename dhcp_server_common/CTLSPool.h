#pragma once
// The per-thread states of a worker task, one slot per thread index. The
// pool owns nothing: each thread inserts its own state at start and removes
// and destroys it at its end, and only ever looks up its own slot, so the
// slots need no lock.

#include <string>
#include <vector>

#include "standard/CException.h"

template <class T>
class CTLSPool {
 public:
  explicit CTLSPool(std::size_t count) : m_slots(count, nullptr) {}
  CTLSPool(const CTLSPool&) = delete;
  CTLSPool& operator=(const CTLSPool&) = delete;

  std::size_t size() const { return m_slots.size(); }

  void insert(long index, T* state) {
    T*& slot =
        _slot(index, "CTLSPool::insert", "Cannot insert thread-local storage for thread %1.");
    if (slot)
      _raise("CTLSPool::insert", "Cannot insert thread-local storage for thread %1.", index,
             "Object already exists.");
    slot = state;
  }

  T& find(long index) const {
    T* state = const_cast<CTLSPool*>(this)->_slot(
        index, "CTLSPool::find", "Cannot access thread-local storage for thread %1.");
    if (!state)
      _raise("CTLSPool::find", "Cannot access thread-local storage for thread %1.", index,
             "No such object.");
    return *state;
  }

  // True when the slot holds a state; an index out of range has none.
  bool contains(long index) const {
    return index >= 0 && static_cast<std::size_t>(index) < m_slots.size() &&
           m_slots[static_cast<std::size_t>(index)] != nullptr;
  }

  T* remove(long index) {
    T*& slot =
        _slot(index, "CTLSPool::remove", "Cannot remove thread-local storage for thread %1.");
    if (!slot)
      _raise("CTLSPool::remove", "Cannot remove thread-local storage for thread %1.", index,
             "No such object.");
    T* state = slot;
    slot = nullptr;
    return state;
  }

 private:
  T*& _slot(long index, const char* context, const char* what) {
    if (index < 0 || static_cast<std::size_t>(index) >= m_slots.size())
      _raise(context, what, index, "Out of bounds.");
    return m_slots[static_cast<std::size_t>(index)];
  }

  // Whichever module instantiates the template, the failures name the one
  // the pool belongs to.
  [[noreturn]] static void _raise(const char* context, const char* what, long index,
                                  const char* why) {
    throw nuv::CException(nuv::CMessage(what).push(index), nuv::CMessage(why), "dhcp_server_common",
                          context, __FILE__, __LINE__);
  }

  std::vector<T*> m_slots;
};
