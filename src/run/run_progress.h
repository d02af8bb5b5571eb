#pragma once
// The order of a play run: which queued entry comes next, when a looping run starts again from
// the top, and when the run is over.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tidewell {

class RunProgress {
  public:
    RunProgress(std::size_t count, bool loop) : count_(count), loop_(loop) {}

    // The index of the entry to start next; none when the run is over. After the last entry a
    // looping run starts again at 0, unless entries were due in the pass that ended and none of
    // them could be started: starting the same failing program again and again would only burn
    // the processor. A pass whose entries were all passed over for their time is no such pass.
    std::optional<std::size_t> NextEntry();
    // The current entry was due now and is being started.
    void EntryDue() { dueInPass_ = true; }
    // The current entry's presentation program was started.
    void ShowStarted() { startedInPass_ = true; }
    // A list read again while the run waited: the next entry is the first one.
    void Rewind() { current_ = 0; }
    // The pass that has just ended is played again from the top (nothing of it could be reached),
    // as a loop's next pass.
    void RetryPass() { startedInPass_ = true; }
    // The entry that NextEntry gave last begins a pass after the first.
    bool NewPass() const { return newPass_; }
    // At the start of a pass: the queue it plays has this many entries from now on.
    void SetCount(std::size_t count) { count_ = count; }
    // No entry follows the current one.
    void Stop() { stopped_ = true; }
    bool Stopped() const { return stopped_; }

    // The current entry counted from 1, for "playing 3 of 12"; 0 before the first.
    std::size_t Position() const { return started_ ? current_ + 1 : 0; }
    std::size_t Count() const { return count_; }

  private:
    std::size_t count_;
    bool loop_;
    bool started_ = false;
    bool stopped_ = false;
    bool startedInPass_ = false;
    bool dueInPass_ = false;
    bool newPass_ = false;
    std::size_t current_ = 0;
};

// How long a looping run rests before its next pass. A program that ends at once (it handed the
// file to a copy of itself already running, it refused the switches, it is a launcher) would
// otherwise be started again and again as fast as the machine allows. After a pass in which no
// show lasted, the rest doubles from 10 s up to 5 minutes; one show that lasts ends the resting.
class PassPacing {
  public:
    explicit PassPacing(unsigned firstRestMs = 10'000, unsigned longestRestMs = 300'000)
        : firstRestMs_(firstRestMs), longestRestMs_(longestRestMs), nextRestMs_(firstRestMs) {}

    // A show of this pass was seen on screen, or its program ran for a while.
    void ShowLasted() { lasted_ = true; }
    // At the end of a pass: the rest before the next one, 0 when a show of this pass lasted.
    unsigned RestBeforeNextPass();

  private:
    unsigned firstRestMs_;
    unsigned longestRestMs_;
    bool lasted_ = false;
    unsigned nextRestMs_;
};

// The notification icon's tip while a run plays: "Tidewell: playing 3 of 12", then the current
// presentation's file name on a line of its own, cut with "..." to the shell's limit of
// `maxLength` characters.
std::wstring RunTip(std::size_t position, std::size_t count, std::wstring_view presentationPath,
                    std::size_t maxLength = 127);

}  // namespace tidewell
