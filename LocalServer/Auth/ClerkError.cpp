#include "Auth/ClerkError.h"

#include "Storage/RandomId.h"

namespace ClerkError {

ServerResponse response(int status, const QString& code, const QString& message, const QString& longMessage,
                        const QString& paramName) {
    QJsonObject meta;
    if (!paramName.isEmpty())
        meta.insert("param_name", paramName);
    const QJsonObject error{
        {"code", code}, {"message", message}, {"long_message", longMessage}, {"meta", meta}};
    return ServerResponse::json(
        QJsonObject{{"errors", QJsonArray{error}}, {"clerk_trace_id", RandomId::make("trace")}}, status);
}

ServerResponse authenticationInvalid(const QString& longMessage) {
    return response(401, "authentication_invalid", "Invalid authentication", longMessage);
}

ServerResponse notFound(const QString& longMessage) {
    return response(404, "resource_not_found", "not found", longMessage);
}

ServerResponse missingParam(const QString& paramName) {
    return response(422, "form_param_missing", "is missing", paramName + " must be included.", paramName);
}

ServerResponse tooManyRequests(qint64 retryAfterSeconds, const QString& reason, const QString& paramName) {
    ServerResponse answer = response(
        429, "too_many_requests", "Too many requests",
        QStringLiteral("%1 Try again in %2 seconds.").arg(reason, QString::number(retryAfterSeconds)),
        paramName);
    answer.setHeader("Retry-After", QByteArray::number(retryAfterSeconds));
    return answer;
}

} // namespace ClerkError
