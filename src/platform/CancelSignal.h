#pragma once
// A one-way signal that wakes every socket wait watching it, so an owner that
// closes can end its workers' waits at once instead of sitting out their time-outs.

namespace platform {

class CCancelSignal {
public:
    CCancelSignal();
    ~CCancelSignal();
    CCancelSignal(const CCancelSignal&) = delete;
    CCancelSignal& operator=(const CCancelSignal&) = delete;

    // Raises the signal; it stays raised.
    void Raise();
    bool IsRaised() const;
    // A descriptor that becomes readable once the signal is raised (-1 if none could be made).
    int Fd() const { return fd_; }

private:
    int fd_ = -1;
};

}  // namespace platform
