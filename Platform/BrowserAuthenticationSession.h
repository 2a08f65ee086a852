#pragma once

#include "WebAuthenticationSession.h"

#include <functional>
#include <memory>

// The desktop's web sign-in: the page opens in the user's browser, and the browser hands the
// callback URL to the app through the app's URL-scheme registration; the app passes it to
// complete(). One sign-in waits at a time: starting another cancels the first.
class BrowserAuthenticationSession final : public WebAuthenticationSession {
public:
    using Opener = std::function<bool(const QUrl&)>;

    // `open` replaces the desktop's URL opener (tests).
    explicit BrowserAuthenticationSession(Opener open = {});
    ~BrowserAuthenticationSession() override;

    // The process's session: the one the URLs the app receives go to.
    static BrowserAuthenticationSession& shared();

    async::Task<QUrl> start(QUrl url, QString callbackScheme) override;

    // A URL the app received. An empty one ends the waiting sign-in with "Missing callback URL";
    // one of another scheme is not a sign-in callback and is left alone. A callback once the
    // waiting sign-in has ended (completed or cancelled) is logged and ignored.
    void complete(const QUrl& callback);
    bool isWaiting() const;

private:
    struct Pending;
    class Awaiter;

    static async::Task<QUrl> run(Opener open, std::shared_ptr<Pending> pending, QUrl url);

    Opener open_;
    std::shared_ptr<Pending> pending_;
};
