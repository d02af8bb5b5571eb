#pragma once
// Background work of one kind that a share may hold (a show's start, a copy): at most so many
// underway at once, so that threads never pile up while a share stalls. What is asked beyond that
// waits for a slot; only the latest ask waits, since whoever asked the older one has moved on.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace tidewell {

class ErrandSlots {
  public:
    explicit ErrandSlots(std::size_t limit) : limit_(limit) {}

    // True: `id` begins now. False: it waits (in place of any that waited before it).
    bool Ask(std::uint64_t id);
    // `id` has answered: its slot is free, and the errand that waited, if any, begins now.
    std::optional<std::uint64_t> Done(std::uint64_t id);
    std::size_t Underway() const { return underway_.size(); }
    std::optional<std::uint64_t> Waiting() const { return waiting_; }

  private:
    std::size_t limit_;
    std::vector<std::uint64_t> underway_;
    std::optional<std::uint64_t> waiting_;
};

}  // namespace tidewell
