#pragma once
// A lock on a named shared-memory object of this user (mode 0600), held as
// an open-file-description write lock: it ends with its holder, even one
// killed with SIGKILL, and anyone may ask whether it is held without taking
// it. An object of that name that is not private to this user is never
// used: another user could hold its lock or take it over.

#include <string>

namespace platform {

enum class LockResult { Acquired, HeldElsewhere, OwnedByAnotherUser, Failed };

class CSharedObjectLock {
public:
    explicit CSharedObjectLock(std::string name) : name_(std::move(name)) {}
    ~CSharedObjectLock() { Release(); }
    CSharedObjectLock(const CSharedObjectLock&) = delete;
    CSharedObjectLock& operator=(const CSharedObjectLock&) = delete;

    // Does not wait.
    LockResult TryAcquire();
    void Release();
    bool IsHeld() const { return fd_ >= 0; }

    // True when some process holds the lock of that name now. False also
    // when the object does not exist, cannot be asked or is not private to
    // this user.
    static bool IsHeldByAnyone(const std::string& name);

private:
    std::string name_;
    int fd_ = -1;
};

}  // namespace platform
