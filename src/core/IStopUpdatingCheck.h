#pragma once
// What a document's poll asks of the stop-updating notification, which lives
// above the documents, where e-mail is sent.

#include <cstdint>
#include <string_view>

namespace core {

class IStopUpdatingCheck {
public:
    virtual ~IStopUpdatingCheck() = default;

    // Whether the notification watches a file at this path.
    virtual bool Applies(std::u16string_view path) const = 0;

    // A watched file whose e-mail for the current quiet period has not gone
    // out had nothing new at this poll. referenceTime (seconds since 1970,
    // UTC) is the last arrival of new data when sinceLastUpdate is set, else
    // the opening of the file. True when the e-mail of this period is done
    // with (sent, or given up for want of settings): the document then asks
    // no more until new data arrives.
    virtual bool Check(std::u16string_view path, bool sinceLastUpdate,
                       std::int64_t referenceTime) = 0;
};

}  // namespace core
