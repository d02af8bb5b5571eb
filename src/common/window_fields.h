#pragma once
// The two fields of the main window that the play and persistence commands read and set: the
// presentation program's path and the Monitor selector. The window implements them over its
// controls; tests can implement them over plain values.
#include <string>

namespace tidewell {

class ProgramField {
  public:
    virtual std::wstring ProgramPath() const = 0;
    virtual void SetProgramPath(const std::wstring& path) = 0;

  protected:
    ~ProgramField() = default;
};

class MonitorSelector {
  public:
    // The selector's position, read as the 16-bit value the control holds.
    virtual int MonitorNumber() const = 0;
    virtual void SetMonitorNumber(int number) = 0;
    // How many monitors the selector offers (its upper bound).
    virtual int MonitorCount() const = 0;

  protected:
    ~MonitorSelector() = default;
};

}  // namespace tidewell
