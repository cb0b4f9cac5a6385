#pragma once
// Collects the end of every child that nobody waits for, so that none
// lingers as a zombie. One thread serves all of them: it watches a process
// descriptor per child in one poll loop (and, for a child whose descriptor
// could not be had, looks again now and then). No thread is made per child,
// so a burst of starts never runs into the thread limit here.

#include <sys/types.h>

#include <functional>

namespace platform {

// Takes over the running child pid: it is reaped when it ends, and then
// onEnded (when given) runs on the reaper's thread; it must be quick and
// must not start programs. When the reaper's thread cannot be made, the
// child is reaped by a later call instead.
void ReapWhenEnded(pid_t pid, std::function<void()> onEnded = {});

}  // namespace platform
