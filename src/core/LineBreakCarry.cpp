#include "core/LineBreakCarry.h"

namespace core {

namespace {

constexpr bool IsBreak(char16_t unit) {
    return unit == u'\r' || unit == u'\n';
}

constexpr char16_t PartnerOf(char16_t unit) {
    return unit == u'\r' ? u'\n' : u'\r';
}

}  // namespace

std::size_t CLineBreakCarry::TakePartner(const char16_t* units, std::size_t n) {
    if (n == 0 || pending_ == 0) return 0;
    const bool completes = units[0] == PartnerOf(pending_);
    pending_ = 0;
    return completes ? 1 : 0;
}

// Breaks pair from left to right, so the run of breaks at the end is paired
// from its start; only its last unit can be left alone. The run is almost
// always one or two units long.
void CLineBreakCarry::NoteEnd(const char16_t* units, std::size_t n) {
    pending_ = 0;
    if (n == 0 || !IsBreak(units[n - 1])) return;
    std::size_t at = n - 1;
    while (at > 0 && IsBreak(units[at - 1])) --at;
    while (at + 1 < n) at += units[at + 1] == PartnerOf(units[at]) ? 2 : 1;
    if (at + 1 == n) pending_ = units[at];
}

}  // namespace core
