#include "Common/FailureMessage.h"

#include "APIError.h"
#include "ClerkAPIError.h"
#include "URLError.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

// The backend answers errors as {"detail": "..."} (sometimes "message"); anything else is shown as sent.
QString serverMessage(const APIError& error) {
    const QString body = error.body().value_or(QString()).trimmed();
    const QJsonObject object = QJsonDocument::fromJson(body.toUtf8()).object();
    for (const char* key : {"detail", "message"}) {
        const QString text = object.value(QLatin1String(key)).toString();
        if (!text.trimmed().isEmpty())
            return text;
    }
    return body.isEmpty() ? error.errorDescription() : body;
}

} // namespace

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
        return describe(error);
    }
}

QString FailureMessage::phrase(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const APIError& e) {
        if (e.kind() == APIError::Kind::server && e.status() == 429)
            return QStringLiteral("we're rate limited right now");
        if (e.kind() == APIError::Kind::server && e.status() == 404)
            return QStringLiteral("the server couldn't find it");
        if (e.kind() == APIError::Kind::unauthorized)
            return QStringLiteral("you're signed out");
        return e.kind() == APIError::Kind::server ? serverMessage(e) : e.errorDescription();
    } catch (...) {
        return describe(error);
    }
}

QString FailureMessage::describe(std::exception_ptr error) {
    try {
        std::rethrow_exception(error);
    } catch (const ClerkAPIError& e) {
        return e.localizedDescription();
    } catch (const URLError& e) {
        return e.localizedDescription();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("unknown error");
    }
}
