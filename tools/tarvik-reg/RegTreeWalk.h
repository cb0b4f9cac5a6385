#pragma once
// Visits a key and every key below it, each before its subkeys and subkeys
// in the store's order, with a loop instead of recursion: a deep tree costs
// memory for its path, never stack.

#include <functional>

#include "RegKeyPath.h"

namespace tarvik_reg {

// Called for each key with its full path; a status other than ERROR_SUCCESS
// ends the walk with that status.
using KeyVisitor = std::function<platform::LSTATUS(const platform::RegKey&, const KeyPath&)>;

// ERROR_BADDB when the tree goes deeper than the store lets keys lie: only
// tampered parent links (a loop) lead there.
platform::LSTATUS WalkTree(const KeyPath& top, const KeyVisitor& visit);

}  // namespace tarvik_reg
