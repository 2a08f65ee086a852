#include "RewardErrorText.h"

#include "APIError.h"
#include "AuthKit.h"

namespace RewardErrorText {

QString describe(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const APIError& apiError) {
        return apiError.errorDescription();
    } catch (...) {
        return AuthKit::errorDescription(std::current_exception());
    }
}

} // namespace RewardErrorText
