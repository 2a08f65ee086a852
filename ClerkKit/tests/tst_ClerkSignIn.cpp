// Sign-in and sign-up requests against a scripted Frontend API: each operation's method, path,
// query and form body, the code operations built on them, and the strategies they name.
#include "FrontendApiFixture.h"

#include "ClerkClientError.h"
#include "SignInAPI.h"
#include "SignUpAPI.h"

#include <functional>

namespace {

using SignInCall = std::function<async::Task<SignIn>(const SignInAPI&)>;
using SignUpCall = std::function<async::Task<SignUp>(const SignUpAPI&)>;

const QByteArray reserved = "%3A%23%5B%5D%40%21%24%26%27%28%29%2A%2B%2C%3B%3D";

QByteArray signInAnswer(const QByteArray& signIn) {
    return R"({"response":)" + signIn + R"(,"client":)" + FrontendApiFixture::clientJson("client_1") + "}";
}

QByteArray signInJson(const QByteArray& status, const QByteArray& extra = {}) {
    return R"({"object":"sign_in_attempt","id":"sia_1","status":")" + status + R"(")" + extra + "}";
}

// Email, phone and reset factors as a sign-in for "ada@example.com" offers them.
const QByteArray firstFactors =
    R"(,"supported_first_factors":[{"strategy":"phone_code","phone_number_id":"idn_phone"},)"
    R"({"strategy":"email_code","email_address_id":"idn_email"},)"
    R"({"strategy":"reset_password_email_code","email_address_id":"idn_reset"}])";

QByteArray prepared(const QByteArray& strategy) {
    return R"(,"first_factor_verification":{"status":"unverified","strategy":")" + strategy + R"("})";
}

SignIn decodedSignIn(const QByteArray& json) {
    return json::decode<SignIn>(json);
}

QString clientErrorOf(std::exception_ptr error) {
    return errorAs<ClerkClientError>(error).message();
}

} // namespace

Q_DECLARE_METATYPE(SignInCall)
Q_DECLARE_METATYPE(SignUpCall)

class ClerkSignInTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void signInRequests_data() {
        QTest::addColumn<SignInCall>("call");
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("query");
        QTest::addColumn<QByteArray>("body");

        SignIn::CreateParams all;
        all.identifier = QStringLiteral("ada+1@example.com");
        all.password = QStringLiteral(":#[]@!$&\'()*+,;= é");
        all.strategy = FactorStrategy::oauthToken(OAuthProvider::Kind::apple);
        all.redirectUrl = QStringLiteral("com.orbelo.desktop://callback");
        all.token = QStringLiteral("id.token");
        all.ticket = QStringLiteral("tkt");
        all.transfer = false;
        all.locale = QStringLiteral("fr-CA");
        QTest::newRow("create, every field")
            << SignInCall([all](const SignInAPI& api) { return api.create(all); }) << QByteArray("POST")
            << QByteArray("/v1/client/sign_ins") << QByteArray("_is_native=true")
            << QByteArray("identifier=ada%2B1%40example.com&locale=fr-CA&password=" + reserved +
                          "%20%C3%A9&redirect_url=com.orbelo.desktop%3A//callback&strategy=oauth_token_apple"
                          "&ticket=tkt&token=id.token&transfer=false");
        SignIn::CreateParams oauth;
        oauth.strategy = FactorStrategy::oauth(OAuthProvider::Kind::google);
        oauth.redirectUrl = QStringLiteral("com.orbelo.desktop://callback");
        QTest::newRow("create, absent fields left out")
            << SignInCall([oauth](const SignInAPI& api) { return api.create(oauth); }) << QByteArray("POST")
            << QByteArray("/v1/client/sign_ins") << QByteArray("_is_native=true")
            << QByteArray("redirect_url=com.orbelo.desktop%3A//callback&strategy=oauth_google");

        QTest::newRow("reload with nonce")
            << SignInCall([](const SignInAPI& api) { return api.reload("sia_1", QStringLiteral("n+1/=&x")); })
            << QByteArray("GET") << QByteArray("/v1/client/sign_ins/sia_1")
            << QByteArray("rotating_token_nonce=n%2B1/%3D%26x&_is_native=true") << QByteArray();
        QTest::newRow("reload") << SignInCall([](const SignInAPI& api) { return api.reload("sia_1"); })
                                << QByteArray("GET") << QByteArray("/v1/client/sign_ins/sia_1")
                                << QByteArray("_is_native=true") << QByteArray();

        SignIn::PrepareFirstFactorParams prepare;
        prepare.strategy = FactorStrategy::oauth(OAuthProvider::custom(QStringLiteral("oauth_custom_acme")));
        prepare.emailAddressId = QStringLiteral("idn_1");
        prepare.phoneNumberId = QStringLiteral("idn_2");
        prepare.redirectUrl = QStringLiteral("app://cb");
        prepare.redirectUri = QStringLiteral("app://uri");
        prepare.codeChallenge = QStringLiteral("abc-_~.");
        prepare.codeChallengeMethod = QStringLiteral("S256");
        QTest::newRow("prepare first factor")
            << SignInCall(
                   [prepare](const SignInAPI& api) { return api.prepareFirstFactor("sia_1", prepare); })
            << QByteArray("POST") << QByteArray("/v1/client/sign_ins/sia_1/prepare_first_factor")
            << QByteArray("_is_native=true")
            << QByteArray("code_challenge=abc-_~.&code_challenge_method=S256&email_address_id=idn_1"
                          "&phone_number_id=idn_2&redirect_uri=app%3A//uri&redirect_url=app%3A//cb"
                          "&strategy=oauth_custom_acme");

        SignIn::AttemptFirstFactorParams attempt;
        attempt.strategy = FactorStrategy::passkey();
        attempt.code = QStringLiteral("424 242");
        attempt.password = QStringLiteral("p&ss=word");
        attempt.token = QStringLiteral("t");
        attempt.publicKeyCredential = QStringLiteral(R"({"id":"k"})");
        QTest::newRow("attempt first factor")
            << SignInCall(
                   [attempt](const SignInAPI& api) { return api.attemptFirstFactor("sia_1", attempt); })
            << QByteArray("POST") << QByteArray("/v1/client/sign_ins/sia_1/attempt_first_factor")
            << QByteArray("_is_native=true")
            << QByteArray(
                   "code=424%20242&password=p%26ss%3Dword&public_key_credential=%7B%22id%22%3A%22k%22%7D"
                   "&strategy=passkey&token=t");

        SignIn::PrepareSecondFactorParams second;
        second.strategy = FactorStrategy::phoneCode();
        second.phoneNumberId = QStringLiteral("idn_2");
        QTest::newRow("prepare second factor")
            << SignInCall([second](const SignInAPI& api) { return api.prepareSecondFactor("sia_1", second); })
            << QByteArray("POST") << QByteArray("/v1/client/sign_ins/sia_1/prepare_second_factor")
            << QByteArray("_is_native=true") << QByteArray("phone_number_id=idn_2&strategy=phone_code");

        SignIn::AttemptSecondFactorParams backup;
        backup.strategy = FactorStrategy::backupCode();
        backup.code = QStringLiteral("ab12-cd34");
        QTest::newRow("attempt second factor")
            << SignInCall([backup](const SignInAPI& api) { return api.attemptSecondFactor("sia_1", backup); })
            << QByteArray("POST") << QByteArray("/v1/client/sign_ins/sia_1/attempt_second_factor")
            << QByteArray("_is_native=true") << QByteArray("code=ab12-cd34&strategy=backup_code");

        SignIn::ResetPasswordParams reset;
        reset.password = QStringLiteral("n3w pass#");
        reset.signOutOfOtherSessions = true;
        QTest::newRow("reset password")
            << SignInCall([reset](const SignInAPI& api) { return api.resetPassword("sia_1", reset); })
            << QByteArray("POST") << QByteArray("/v1/client/sign_ins/sia_1/reset_password")
            << QByteArray("_is_native=true")
            << QByteArray("password=n3w%20pass%23&sign_out_of_other_sessions=true");
    }

    void signInRequests() {
        QFETCH(SignInCall, call);
        FrontendApiFixture f;
        f.server.enqueue(ScriptedResponse::json(200, signInAnswer(signInJson("needs_first_factor"))));
        SignIn signIn;
        QVERIFY(!f.run(call(f.clerk->signIns()), &signIn));
        QCOMPARE(signIn.id, QStringLiteral("sia_1"));
        QCOMPARE(signIn.status, SignIn::Status::needsFirstFactor);
        QCOMPARE(f.clerk->client()->id, QStringLiteral("client_1"));

        const RecordedRequest request = f.server.requests().at(0);
        QTEST(request.method, "method");
        QTEST(request.path, "path");
        QTEST(request.query, "query");
        QTEST(request.body, "body");
    }

    void signUpRequests_data() {
        QTest::addColumn<SignUpCall>("call");
        QTest::addColumn<QByteArray>("method");
        QTest::addColumn<QByteArray>("path");
        QTest::addColumn<QByteArray>("body");

        SignUp::CreateParams all;
        all.emailAddress = QStringLiteral("ada@example.com");
        all.password = QStringLiteral("s3cret!");
        all.firstName = QStringLiteral("Ada");
        all.lastName = QStringLiteral("Lovelace-Byron");
        all.username = QStringLiteral("ada");
        all.phoneNumber = QStringLiteral("+1 555 0100");
        all.strategy = FactorStrategy::ticket();
        all.redirectUrl = QStringLiteral("app://cb");
        all.token = QStringLiteral("t");
        all.ticket = QStringLiteral("tkt");
        all.transfer = true;
        all.legalAccepted = true;
        all.locale = QStringLiteral("de");
        all.unsafeMetadata = json::parse(R"({"plan":"pro","tags":["a b",null,{"k":1}],"none":null})");
        const QByteArray allBody =
            "email_address=ada%40example.com&first_name=Ada&last_name=Lovelace-Byron&legal_accepted=true"
            "&locale=de&password=s3cret%21&phone_number=%2B1%20555%200100&redirect_url=app%3A//cb"
            "&strategy=ticket&ticket=tkt&token=t&transfer=true&unsafe_metadata%5Bplan%5D=pro"
            "&unsafe_metadata%5Btags%5D%5B0%5D=a%20b&unsafe_metadata%5Btags%5D%5B2%5D%5Bk%5D=1"
            "&username=ada";
        QTest::newRow("create, every field")
            << SignUpCall([all](const SignUpAPI& api) { return api.create(all); }) << QByteArray("POST")
            << QByteArray("/v1/client/sign_ups") << allBody;
        QTest::newRow("update, every field")
            << SignUpCall([all](const SignUpAPI& api) { return api.update("sua_1", all); })
            << QByteArray("PATCH") << QByteArray("/v1/client/sign_ups/sua_1") << allBody;
        SignUp::UpdateParams names;
        names.firstName = QStringLiteral("Ada");
        QTest::newRow("update, absent fields left out")
            << SignUpCall([names](const SignUpAPI& api) { return api.update("sua_1", names); })
            << QByteArray("PATCH") << QByteArray("/v1/client/sign_ups/sua_1") << QByteArray("first_name=Ada");
        QTest::newRow("transfer") << SignUpCall([](const SignUpAPI& api) { return api.createTransfer(); })
                                  << QByteArray("POST") << QByteArray("/v1/client/sign_ups")
                                  << QByteArray("transfer=true");

        SignUp::PrepareVerificationParams prepare;
        prepare.strategy = FactorStrategy::emailLink();
        prepare.emailAddressId = QStringLiteral("idn_1");
        prepare.phoneNumberId = QStringLiteral("idn_2");
        prepare.redirectUri = QStringLiteral("app://uri?a=1");
        prepare.codeChallenge = QStringLiteral("c");
        prepare.codeChallengeMethod = QStringLiteral("S256");
        QTest::newRow("prepare verification")
            << SignUpCall(
                   [prepare](const SignUpAPI& api) { return api.prepareVerification("sua_1", prepare); })
            << QByteArray("POST") << QByteArray("/v1/client/sign_ups/sua_1/prepare_verification")
            << QByteArray("code_challenge=c&code_challenge_method=S256&email_address_id=idn_1"
                          "&phone_number_id=idn_2&redirect_uri=app%3A//uri?a%3D1&strategy=email_link");

        SignUp::AttemptVerificationParams attempt;
        attempt.code = QStringLiteral("123456");
        QTest::newRow("attempt verification") << SignUpCall([attempt](const SignUpAPI& api) {
            return api.attemptVerification("sua_1", attempt);
        }) << QByteArray("POST") << QByteArray("/v1/client/sign_ups/sua_1/attempt_verification")
                                              << QByteArray("code=123456&strategy=email_code");
    }

    void signUpRequests() {
        QFETCH(SignUpCall, call);
        FrontendApiFixture f;
        f.server.enqueue(ScriptedResponse::json(
            200, R"({"response":{"object":"sign_up_attempt","id":"sua_1","status":"missing_requirements",)"
                 R"("unverified_fields":["email_address"]},"client":)" +
                     FrontendApiFixture::clientJson("client_1") + "}"));
        SignUp signUp;
        QVERIFY(!f.run(call(f.clerk->signUps()), &signUp));
        QCOMPARE(signUp.status, SignUp::Status::missingRequirements);
        QCOMPARE(f.clerk->client()->id, QStringLiteral("client_1"));

        const RecordedRequest request = f.server.requests().at(0);
        QTEST(request.method, "method");
        QTEST(request.path, "path");
        QCOMPARE(request.query, QByteArray("_is_native=true"));
        QTEST(request.body, "body");
    }

    // Codes go to the address or number of the factor of their kind.
    void codesAreSentToTheFactorsOwnAddress() {
        FrontendApiFixture f;
        f.server.setHandler([](const RecordedRequest&) {
            return ScriptedResponse::json(200, signInAnswer(signInJson("needs_first_factor")));
        });
        const SignIn signIn = decodedSignIn(signInJson("needs_first_factor", firstFactors));
        QVERIFY(!f.run(f.clerk->signIns().sendEmailCode(signIn)));
        QVERIFY(!f.run(f.clerk->signIns().sendPhoneCode(signIn)));
        QCOMPARE(f.server.requests().at(0).body,
                 QByteArray("email_address_id=idn_email&strategy=email_code"));
        QCOMPARE(f.server.requests().at(1).body, QByteArray("phone_number_id=idn_phone&strategy=phone_code"));
        QCOMPARE(f.server.requests().at(1).path,
                 QByteArray("/v1/client/sign_ins/sia_1/prepare_first_factor"));

        const SignIn passwordOnly = decodedSignIn(
            signInJson("needs_first_factor", R"(,"supported_first_factors":[{"strategy":"password"}])"));
        QCOMPARE(clientErrorOf(f.run(f.clerk->signIns().sendEmailCode(passwordOnly))),
                 QStringLiteral("This sign-in offers no 'email_code' factor."));
        QCOMPARE(clientErrorOf(f.run(f.clerk->signIns().sendPhoneCode(passwordOnly))),
                 QStringLiteral("This sign-in offers no 'phone_code' factor."));
        QCOMPARE(f.server.requestCount(), 2);
    }

    // The code goes to the strategy prepared last; without one, or for one that takes no code,
    // nothing is sent.
    void verifyingACodeAttemptsThePreparedStrategy_data() {
        QTest::addColumn<QByteArray>("signIn");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("error");
        QTest::newRow("email code") << signInJson("needs_first_factor", prepared("email_code"))
                                    << QByteArray("code=123456&strategy=email_code") << QString();
        QTest::newRow("phone code") << signInJson("needs_first_factor", prepared("phone_code"))
                                    << QByteArray("code=123456&strategy=phone_code") << QString();
        QTest::newRow("reset code") << signInJson("needs_first_factor", prepared("reset_password_email_code"))
                                    << QByteArray("code=123456&strategy=reset_password_email_code")
                                    << QString();
        QTest::newRow("nothing prepared")
            << signInJson("needs_first_factor") << QByteArray()
            << QStringLiteral("Unable to verify code because no first factor strategy is set.");
        QTest::newRow("verification without strategy")
            << signInJson("needs_first_factor", R"(,"first_factor_verification":{"status":"unverified"})")
            << QByteArray()
            << QStringLiteral("Unable to verify code because no first factor strategy is set.");
        QTest::newRow("browser oauth")
            << signInJson("needs_first_factor", prepared("oauth_google")) << QByteArray()
            << QStringLiteral("Unable to verify code for strategy 'oauth_google'");
        QTest::newRow("email link") << signInJson("needs_first_factor", prepared("email_link"))
                                    << QByteArray()
                                    << QStringLiteral("Unable to verify code for strategy 'email_link'");
    }

    void verifyingACodeAttemptsThePreparedStrategy() {
        QFETCH(QByteArray, signIn);
        QFETCH(QString, error);
        FrontendApiFixture f;
        f.server.enqueue(ScriptedResponse::json(200, signInAnswer(signInJson("complete"))));
        const std::exception_ptr failure =
            f.run(f.clerk->signIns().verifyCode(decodedSignIn(signIn), "123456"));
        if (!error.isEmpty()) {
            QCOMPARE(clientErrorOf(failure), error);
            QCOMPARE(f.server.requestCount(), 0);
            return;
        }
        QVERIFY(!failure);
        QCOMPARE(f.server.requests().at(0).path,
                 QByteArray("/v1/client/sign_ins/sia_1/attempt_first_factor"));
        QTEST(f.server.requests().at(0).body, "body");
    }

    void passwordResetSendsVerifiesAndSetsAPassword() {
        FrontendApiFixture f;
        f.server.enqueue(
            ScriptedResponse::json(200, signInAnswer(signInJson("needs_first_factor", firstFactors))));
        f.server.setHandler([](const RecordedRequest&) {
            return ScriptedResponse::json(200, signInAnswer(signInJson("needs_new_password")));
        });
        QVERIFY(!f.run(f.clerk->signIns().startPasswordReset("ada@example.com")));
        QCOMPARE(f.server.requests().at(0).body, QByteArray("identifier=ada%40example.com"));
        QCOMPARE(f.server.requests().at(1).path,
                 QByteArray("/v1/client/sign_ins/sia_1/prepare_first_factor"));
        // The email code factor's address is preferred to the reset factor's own.
        QCOMPARE(f.server.requests().at(1).body,
                 QByteArray("email_address_id=idn_email&strategy=reset_password_email_code"));

        const SignIn resetOnly = decodedSignIn(signInJson(
            "needs_first_factor",
            R"(,"supported_first_factors":[{"strategy":"reset_password_email_code","email_address_id":"idn_r"}])"));
        QVERIFY(!f.run(f.clerk->signIns().sendPasswordResetEmailCode(resetOnly)));
        QCOMPARE(f.server.requests().at(2).body,
                 QByteArray("email_address_id=idn_r&strategy=reset_password_email_code"));

        SignIn signIn;
        QVERIFY(!f.run(f.clerk->signIns().verifyPasswordResetCode(resetOnly, "654321"), &signIn));
        QCOMPARE(signIn.status, SignIn::Status::needsNewPassword);
        QCOMPARE(f.server.requests().at(3).body,
                 QByteArray("code=654321&strategy=reset_password_email_code"));

        const SignIn noReset = decodedSignIn(signInJson("needs_first_factor", prepared("email_code")));
        QCOMPARE(clientErrorOf(f.run(f.clerk->signIns().sendPasswordResetEmailCode(noReset))),
                 QStringLiteral("This sign-in offers no 'reset_password_email_code' factor."));
        QCOMPARE(f.server.requestCount(), 4);
    }

    void operationsOnAnEmailAddressNeedOne() {
        FrontendApiFixture f;
        const QString required = QStringLiteral("Email address is required.");
        QCOMPARE(clientErrorOf(f.run(f.clerk->signIns().createWithPassword("", "pw"))), required);
        QCOMPARE(clientErrorOf(f.run(f.clerk->signIns().startPasswordReset(" "))), required);
        QCOMPARE(clientErrorOf(f.run(f.clerk->signUps().createWithPassword("", "pw"))), required);
        QCOMPARE(f.server.requestCount(), 0);

        f.server.setHandler([](const RecordedRequest&) {
            return ScriptedResponse::json(200, signInAnswer(signInJson("complete")));
        });
        QVERIFY(!f.run(f.clerk->signIns().createWithPassword("a@b.c", "pw")));
        QCOMPARE(f.server.requests().at(0).body, QByteArray("identifier=a%40b.c&password=pw"));
    }

    void strategiesHaveTheirRawValues() {
        QCOMPARE(FactorStrategy::resetPasswordPhoneCode().rawValue(),
                 QStringLiteral("reset_password_phone_code"));
        QCOMPARE(FactorStrategy::enterpriseSso().rawValue(), QStringLiteral("enterprise_sso"));
        QCOMPARE(FactorStrategy::oauth(OAuthProvider::Kind::linkedinOidc).rawValue(),
                 QStringLiteral("oauth_linkedin_oidc"));
        QCOMPARE(FactorStrategy::oauthToken(OAuthProvider::Kind::huggingface).rawValue(),
                 QStringLiteral("oauth_token_huggingface"));
        // An instance's own provider, named with or without the prefix.
        QCOMPARE(FactorStrategy::oauth(OAuthProvider::custom("oauth_custom_acme")).rawValue(),
                 QStringLiteral("oauth_custom_acme"));
        QCOMPARE(FactorStrategy::oauthToken(OAuthProvider::custom("custom_acme")).rawValue(),
                 QStringLiteral("oauth_token_custom_acme"));
        QVERIFY(OAuthProvider::custom("oauth_custom_a") == OAuthProvider::custom("custom_a"));
        QVERIFY(!(OAuthProvider::custom("custom_a") == OAuthProvider::custom("custom_b")));

        QVERIFY(FactorStrategy::totp().takesCode());
        QVERIFY(!FactorStrategy::password().takesCode());
        QVERIFY(!FactorStrategy::saml().takesCode());

        // Strategies this client does not know still decode, and travel back unchanged.
        const auto unknown =
            json::fromValue<FactorStrategy>(QJsonValue(QStringLiteral("web3_solana_signature")));
        QCOMPARE(json::encodeValue(unknown), QJsonValue(QStringLiteral("web3_solana_signature")));
        const SignIn signIn = decodedSignIn(
            signInJson("needs_first_factor",
                       R"(,"supported_first_factors":[{"strategy":"web3_solana_signature"}],)"
                       R"("first_factor_verification":{"status":"unverified","strategy":"something_new"})"));
        QCOMPARE(signIn.supportedFirstFactors->first().strategy, QStringLiteral("web3_solana_signature"));
    }
};

QTEST_GUILESS_MAIN(ClerkSignInTest)
#include "tst_ClerkSignIn.moc"
