// An owning pointer to a COM interface: releases it when it goes, takes a new reference when
// copied. The address-of accessors hand it to calls that fill in an interface pointer.
//
//   ComPtr<IDispatch> disp;
//   hr = unknown->QueryInterface(IID_IDispatch, disp.out());
//   disp->Invoke(...);
#pragma once

#include <unknwn.h>

#include <utility>

namespace efir {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  // Takes over a reference the caller already holds.
  static ComPtr attach(T* p) {
    ComPtr c;
    c.p_ = p;
    return c;
  }
  ComPtr(const ComPtr& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }
  ~ComPtr() { reset(); }

  void reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // For out parameters of type T** (drops what it held first).
  T** put() {
    reset();
    return &p_;
  }
  // For out parameters of type void** (QueryInterface, CoCreateInstance).
  void** out() { return reinterpret_cast<void**>(put()); }

  T* get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

}  // namespace efir
