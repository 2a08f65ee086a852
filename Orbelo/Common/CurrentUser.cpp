#include "Common/CurrentUser.h"

#include "Clerk.h"

void CurrentUser::follow(QObject* context, std::function<void(const std::optional<User>&)> apply) {
    Clerk& clerk = Clerk::shared();
    auto update = [&clerk, apply = std::move(apply)] {
        const std::optional<Session> session = clerk.session();
        apply(session ? session->user : std::nullopt);
    };
    QObject::connect(&clerk, &Clerk::clientChanged, context, update);
    update();
}

std::optional<QString> CurrentUser::id() {
    const std::optional<Session> session = Clerk::shared().session();
    if (!session || !session->user)
        return std::nullopt;
    return session->user->id;
}
