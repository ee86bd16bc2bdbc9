#pragma once
// Smart pointers for heap objects. Ownership is a shared, thread-safe
// reference count: the object goes when the last owning reference does.
//
// - CGeneralPtr<T>: an owning reference (std::shared_ptr).
// - CWeakPtr<T>: observes an owned object without keeping it alive.
// - makeGeneral<T>(args...): creates an owned object in one allocation.
// - unowned(p): a CGeneralPtr that points at an object owned elsewhere
//   (controller, handler, task) and never deletes it; it allocates nothing
//   and its use_count() is 0. The owner must outlive every copy.
// - CSharedFromThis<T>: base for objects that hand out references to
//   themselves.

#include <memory>
#include <utility>

namespace nuv {

template <class T>
using CGeneralPtr = std::shared_ptr<T>;

template <class T>
using CWeakPtr = std::weak_ptr<T>;

template <class T>
using CSharedFromThis = std::enable_shared_from_this<T>;

template <class T, class... Args>
CGeneralPtr<T> makeGeneral(Args&&... args) {
  return std::make_shared<T>(std::forward<Args>(args)...);
}

template <class T>
CGeneralPtr<T> unowned(T* object) noexcept {
  // Aliasing an empty owner: no control block, no deleter.
  return CGeneralPtr<T>(CGeneralPtr<void>(), object);
}

}  // namespace nuv
