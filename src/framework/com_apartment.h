#pragma once
// The calling thread's membership of a single-threaded COM apartment, for as
// long as the object lives. Shell functions that open links may start URL
// handlers through COM and need an initialised apartment on the calling thread.
#include <windows.h>

namespace lumitrax {

class TComApartment {
 public:
  // Joins an apartment-threaded apartment (also when the thread already is in
  // one: COM counts the calls). A thread already in the multithreaded apartment
  // stays there, and nothing is undone at the end.
  TComApartment() noexcept;
  ~TComApartment();
  TComApartment(const TComApartment&) = delete;
  TComApartment& operator=(const TComApartment&) = delete;

  // Whether this object's initialisation counts, and is undone at its end.
  bool Initialized() const noexcept { return initialized_; }
  // What CoInitializeEx answered.
  HRESULT Result() const noexcept { return result_; }

 private:
  HRESULT result_;
  bool initialized_;
};

}  // namespace lumitrax
