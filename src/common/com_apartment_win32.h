#pragma once
// COM for the thread, for as long as the object lives: the shell's folder browser needs a
// single-threaded apartment. A failed initialisation is not undone.
#include <objbase.h>

namespace tidewell {

class ComApartment {
  public:
    ComApartment() noexcept : result_(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    HRESULT result_;
};

}  // namespace tidewell
