// Google and Apple sign-in against the local server over loopback HTTPS. The browser is a
// stand-in that loads the consent page, submits its form with an email address and hands the
// page's redirect back to the app, as the desktop's URL handler would.
// moc needs a Qt header before <coroutine>.
#include <QtTest>

#include "Auth/AuthSession.h"
#include "Auth/ClerkSignInService.h"
#include "Auth/SignInViewModel.h"
#include "BrowserAuthenticationSession.h"
#include "Clerk.h"
#include "InMemorySecretStore.h"
#include "TestServer.h"
#include "VirtualClock.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QRegularExpression>
#include <QUrlQuery>

namespace {

// Fills in the consent page the way a user would and follows it to the app's callback.
class ConsentBrowser {
public:
    QString email;
    QList<QUrl> opened;
    // The callback the page sent the browser to, once the form is submitted.
    std::optional<QUrl> redirect;

    bool open(const QUrl& url) {
        opened << url;
        QNetworkReply* page = network_.get(QNetworkRequest(url));
        QObject::connect(page, &QNetworkReply::finished, page, [this, page, url] {
            page->deleteLater();
            submit(url, QString::fromUtf8(page->readAll()));
        });
        return true;
    }

private:
    void submit(const QUrl& pageURL, const QString& html) {
        const QRegularExpressionMatch form =
            QRegularExpression(QStringLiteral("<form method=\"post\" action=\"([^\"]+)\"")).match(html);
        if (!form.hasMatch())
            qFatal("the consent page has no form");
        QUrlQuery fields;
        const QRegularExpression hidden(
            QStringLiteral("<input type=\"hidden\" name=\"([^\"]+)\" value=\"([^\"]*)\""));
        for (auto it = hidden.globalMatch(html); it.hasNext();) {
            const QRegularExpressionMatch field = it.next();
            fields.addQueryItem(field.captured(1), field.captured(2));
        }
        fields.addQueryItem(QStringLiteral("email"), email);
        QNetworkRequest request(pageURL.resolved(QUrl(form.captured(1))));
        request.setHeader(QNetworkRequest::ContentTypeHeader, "application/x-www-form-urlencoded");
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        QNetworkReply* reply = network_.post(request, fields.toString(QUrl::FullyEncoded).toUtf8());
        QObject::connect(reply, &QNetworkReply::finished, reply, [this, reply] {
            reply->deleteLater();
            redirect = QUrl::fromEncoded(reply->rawHeader("Location"));
        });
    }

    QNetworkAccessManager network_;
};

} // namespace

class BrowserSignInTest : public QObject {
    Q_OBJECT

    async::VirtualClock clock;
    std::unique_ptr<async::ScopedClock> useClock;
    std::unique_ptr<TestServer> server;
    std::unique_ptr<Clerk> clerk;
    ConsentBrowser consent;
    std::unique_ptr<BrowserAuthenticationSession> browser;
    std::unique_ptr<SignInViewModel> model;

    // Signs in with `strategy` as `email` through the whole flow; the model's message, if any.
    QString signInInBrowser(void (BrowserSignIn::*start)(), const QString& email) {
        consent.email = email;
        (model->browser()->*start)();
        if (!QTest::qWaitFor([&] { return consent.redirect.has_value(); }, 20'000))
            qFatal("the consent page did not redirect");
        browser->complete(*consent.redirect);
        if (!QTest::qWaitFor(
                [&] {
                    return !model->browser()->isGoogleSigningIn() && !model->browser()->isAppleSigningIn();
                },
                20'000))
            qFatal("the sign-in did not end");
        return model->form()->errorMessage();
    }

private Q_SLOTS:
    void init() {
        // Waits stay on virtual time; the requests themselves are real.
        useClock = std::make_unique<async::ScopedClock>(clock);
        server = std::make_unique<TestServer>();
        QVERIFY(server->start());
        server->trustCertificate();

        clerk = std::make_unique<Clerk>(std::make_shared<InMemorySecretStore>());
        const ClerkOptions options = AuthSession::optionsFor(QStringLiteral("com.orbelo.desktop"));
        clerk->configure(server->publishableKey(), options);
        consent.opened.clear();
        consent.redirect.reset();
        browser = std::make_unique<BrowserAuthenticationSession>(
            [this](const QUrl& url) { return consent.open(url); });
        model = std::make_unique<SignInViewModel>(std::make_shared<ClerkSignInService>(*clerk), *browser,
                                                  options.redirectConfig);
    }

    void cleanup() {
        model.reset();
        browser.reset();
        clerk.reset();
        server.reset();
        useClock.reset();
    }

    // An address without an account: the transfer sign-up creates the account and signs it in.
    void anUnknownGoogleAccountIsCreatedAndSignedIn() {
        QCOMPARE(signInInBrowser(&BrowserSignIn::signInWithGoogle, QStringLiteral("new.student@example.com")),
                 QString());
        QCOMPARE(consent.opened.size(), 1);
        QCOMPARE(QUrlQuery(consent.opened.first()).queryItemValue(QStringLiteral("provider")),
                 QStringLiteral("google"));
        QCOMPARE(consent.redirect->scheme(), QStringLiteral("com.orbelo.desktop"));
        const std::optional<Session> session = clerk->session();
        QVERIFY(session);
        QVERIFY(session->user);
        QCOMPARE(session->user->emailAddresses.value_or(QList<User::EmailAddress>{}).value(0).emailAddress,
                 QStringLiteral("new.student@example.com"));
    }

    // A known address signs in to its own account; no second account is made.
    void aKnownAppleAccountSignsIn() {
        const TestServer::Device existing =
            server->signUp(QStringLiteral("ada@example.com"), QStringLiteral("mitosis-2026"));
        QCOMPARE(signInInBrowser(&BrowserSignIn::signInWithApple, QStringLiteral("ada@example.com")),
                 QString());
        QCOMPARE(QUrlQuery(consent.opened.first()).queryItemValue(QStringLiteral("provider")),
                 QStringLiteral("apple"));
        const std::optional<Session> session = clerk->session();
        QVERIFY(session);
        QVERIFY(session->user);
        QCOMPARE(session->user->id, existing.userId);
    }

    // A callback whose nonce the server did not issue leaves the sign-in unfinished, with its status.
    void aForgedCallbackDoesNotSignIn() {
        consent.email = QStringLiteral("ada@example.com");
        model->browser()->signInWithGoogle();
        QTRY_VERIFY_WITH_TIMEOUT(consent.redirect.has_value(), 20'000);
        browser->complete(QUrl(QStringLiteral("com.orbelo.desktop://callback?rotating_token_nonce=forged")));
        QTRY_VERIFY_WITH_TIMEOUT(!model->browser()->isGoogleSigningIn(), 20'000);
        QCOMPARE(model->form()->errorMessage(),
                 QStringLiteral("Verification incomplete. Status: needs_first_factor"));
        QVERIFY(!clerk->session());
    }
};

QTEST_GUILESS_MAIN(BrowserSignInTest)
#include "tst_BrowserSignIn.moc"
