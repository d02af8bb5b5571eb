#pragma once
// The calling thread in another locale, and with it another ANSI code page, for as long as the
// object lives; the thread's own locale comes back afterwards.
#include <windows.h>

namespace tidewell::testing {

class ThreadLocale {
  public:
    explicit ThreadLocale(LANGID language)
        : previous_(::GetThreadLocale()),
          changed_(::SetThreadLocale(MAKELCID(language, SORT_DEFAULT)) != FALSE) {}
    ~ThreadLocale() { ::SetThreadLocale(previous_); }
    ThreadLocale(const ThreadLocale&) = delete;
    ThreadLocale& operator=(const ThreadLocale&) = delete;

    // True when the thread took the locale and its code page differs from the system's, so that
    // a test of which code page is used can tell the two apart.
    bool Differs() const {
        CPINFOEXW thread{};
        return changed_ && ::GetCPInfoExW(CP_THREAD_ACP, 0, &thread) &&
               thread.CodePage != ::GetACP();
    }

  private:
    LCID previous_;
    bool changed_;
};

}  // namespace tidewell::testing
