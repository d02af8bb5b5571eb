#pragma once
// COM for the thread, for as long as the object lives: the shell's folder browser needs a
// single-threaded apartment; a worker without windows takes the multithreaded one. A failed
// initialisation is not undone.
#include <objbase.h>

namespace tidewell {

class ComApartment {
  public:
    explicit ComApartment(DWORD model = COINIT_APARTMENTTHREADED) noexcept
        : result_(::CoInitializeEx(nullptr, model)) {}
    ~ComApartment() {
        if (SUCCEEDED(result_)) ::CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

  private:
    HRESULT result_;
};

}  // namespace tidewell
