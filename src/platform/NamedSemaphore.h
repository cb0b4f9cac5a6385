#pragma once
// A named semaphore of this user. Made as sem_open makes it, exclusively,
// so one this process made is its own. One that already exists is used
// only when it is private to this user, and only the very file that was
// checked: it is opened without following a link, checked with fstat and
// mapped from that descriptor, so nobody can swap it between the check and
// the use. (A named semaphore is a process-shared semaphore at the start
// of its file in /dev/shm.)

#include <semaphore.h>

#include <string>

namespace platform {

enum class SemaphoreWait { Taken, TimedOut, Failed };

class CNamedSemaphore {
public:
    CNamedSemaphore() = default;
    ~CNamedSemaphore() { Close(); }
    CNamedSemaphore(const CNamedSemaphore&) = delete;
    CNamedSemaphore& operator=(const CNamedSemaphore&) = delete;

    // Makes it with the value 0, mode 0600; false when the name exists or
    // it cannot be made.
    bool Create(const std::string& name);
    // Opens an existing one; false when there is none or it is not private
    // to this user.
    bool Open(const std::string& name);
    void Close();
    bool IsOpen() const { return sem_ != nullptr; }

    void Post();
    bool TryWait();
    // Waits at most ms on the monotonic clock, so setting the system clock
    // neither stretches nor cuts the wait; signals do not end it early.
    SemaphoreWait WaitFor(int ms);
    // The value now: 0 while taken.
    int Value() const;

private:
    sem_t* sem_ = nullptr;
    // Opened by mapping its file rather than through sem_open.
    bool mapped_ = false;
};

}  // namespace platform
