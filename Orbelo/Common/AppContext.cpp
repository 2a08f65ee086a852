#include "Common/AppContext.h"

#include <QQmlEngine>

namespace {

// The engine property that carries the context to create().
constexpr char engineProperty[] = "orbeloAppContext";

} // namespace

AppContext::AppContext(QUrl apiBaseURL, APIClient::TokenProvider tokenProvider, QObject* parent)
    : QObject(parent), apiBaseURL_(std::move(apiBaseURL)), tokenProvider_(std::move(tokenProvider)) {}

APIClient AppContext::makeAPIClient() const {
    return APIClient(apiBaseURL_, tokenProvider_);
}

void AppContext::provideTo(QQmlEngine& engine) {
    engine.setProperty(engineProperty, QVariant::fromValue(this));
}

AppContext* AppContext::create(QQmlEngine* engine, QJSEngine*) {
    auto* context = engine->property(engineProperty).value<AppContext*>();
    if (!context)
        qFatal("the QML engine was given no AppContext");
    QJSEngine::setObjectOwnership(context, QJSEngine::CppOwnership);
    return context;
}

bool AppContext::switchTo(QPointer<AppContext>& current, AppContext* next, const QObject* receiver) {
    if (next == current)
        return false;
    if (current)
        disconnect(current, nullptr, receiver, nullptr);
    current = next;
    return true;
}
