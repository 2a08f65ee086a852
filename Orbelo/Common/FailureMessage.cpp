#include "FailureMessage.h"

#include "APIError.h"
#include "AuthKit.h"

QString FailureMessage::compose(const QString& leadIn, std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const APIError& apiError) {
        return leadIn + QStringLiteral(": ") + apiError.errorDescription();
    } catch (...) {
        return leadIn + QLatin1Char('.');
    }
}

QString FailureMessage::description(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const APIError& apiError) {
        return apiError.errorDescription();
    } catch (...) {
        return AuthKit::errorDescription(error);
    }
}
