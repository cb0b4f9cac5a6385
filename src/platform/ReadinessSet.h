#pragma once
// Several descriptors watched through one: the set's own descriptor is
// readable while any descriptor in it is, so an event loop that watches one
// descriptor hears of them all. Level-triggered: a descriptor stays ready
// until its owner takes what it tells of.

#include <vector>

namespace platform {

class CReadinessSet {
public:
    CReadinessSet();
    ~CReadinessSet();
    CReadinessSet(const CReadinessSet&) = delete;
    CReadinessSet& operator=(const CReadinessSet&) = delete;

    // -1 when the system gave none; then Add fails and Ready finds nothing.
    int Descriptor() const { return fd_; }
    // Adding a descriptor the set holds already changes nothing. A closed
    // descriptor leaves the set by itself.
    bool Add(int descriptor);
    void Remove(int descriptor);
    // The descriptors in the set that are ready now, into ready; never waits.
    void Ready(std::vector<int>& ready) const;

private:
    int fd_ = -1;
    std::size_t count_ = 0;
};

}  // namespace platform
