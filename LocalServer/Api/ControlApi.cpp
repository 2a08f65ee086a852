#include "ControlApi.h"

#include "AuthStore.h"
#include "RandomId.h"
#include "ServerContext.h"

#include <QJsonArray>
#include <QJsonDocument>

void ControlApi::registerRoutes(Router& router) {
    router.add("GET", "/__control/faults",
               [this](const ServerRequest&) { return ServerResponse::json(faults_.toJson()); });
    router.add("POST", "/__control/faults", [this](const ServerRequest& request) {
        const auto fault = FaultInjector::fromJson(request.jsonBody());
        if (!fault)
            return ServerResponse::apiError(400, "A fault needs a \"path\".");
        faults_.add(*fault);
        return ServerResponse::json(faults_.toJson(), 201);
    });
    router.add("DELETE", "/__control/faults", [this](const ServerRequest&) {
        faults_.clear();
        return ServerResponse::json(QJsonArray());
    });
    router.add("POST", "/__control/second-factor",
               [this](const ServerRequest& r) { return enableSecondFactor(r); });
}

ServerResponse ControlApi::enableSecondFactor(const ServerRequest& request) {
    const QJsonObject body = request.jsonBody();
    AuthStore store(context_);
    const auto user = store.userByEmail(body.value("email").toString());
    const QString phone = body.value("phone_number").toString();
    if (!user || phone.isEmpty())
        return ServerResponse::apiError(400, "Needs the \"email\" of an account and a \"phone_number\".");
    QJsonArray codes;
    for (int i = 0; i < 8; ++i)
        codes.append(RandomId::digits(8));
    context_.db.exec(
        "UPDATE users SET phone = ?, phone_id = ?, backup_codes = ?, updated_at = ? WHERE id = ?",
        {phone, RandomId::make("idn"), QString::fromUtf8(QJsonDocument(codes).toJson(QJsonDocument::Compact)),
         context_.nowMs(), user->value("id")});
    return ServerResponse::json(QJsonObject{{"backup_codes", codes}});
}
