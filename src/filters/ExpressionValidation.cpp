#include "filters/ExpressionValidation.h"

#include "filters/FilterExpression.h"

namespace filters {

bool IsSupportedExpression(std::u16string_view phrase, bool matchCase) {
    return CompileFilterExpression(phrase, matchCase) != nullptr;
}

std::u16string UnsupportedExpressionMessage(std::u16string_view phrase) {
    std::u16string message(kUnsupportedExpressionMessage);
    const std::size_t placeholder = message.find(u"%s");
    message.replace(placeholder, 2, phrase);
    return message;
}

}  // namespace filters
