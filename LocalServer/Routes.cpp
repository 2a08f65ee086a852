#include "Routes.h"

#include "Auth/ClerkError.h"
#include "Http/PresignedUpload.h"
#include "Jobs/JobQueue.h"
#include "ServerContext.h"

Routes::Routes(ServerContext& context, FaultInjector& faults, PushStreams& pushStreams)
    : context_(context), auth_(context), frontend_(context), signIns_(context), signUps_(context),
      account_(context), library_(context), summaries_(context), courses_(context), speech_(context),
      directory_(context), calendar_(context), flashcards_(context), vocabulary_(context), imports_(context),
      quizzes_(context), quizScores_(context), mnemonics_(context), notifications_(context),
      gamification_(context), rewards_(context), tutorSessions_(context), songs_(context), forYou_(context),
      guidedReading_(context), control_(context, faults), appcast_(context), health_(context),
      push_(context, pushStreams), processor_(context) {}

// A pattern's {placeholders} arrive in ServerRequest::pathParams; auth_.add() routes answer 401
// without a valid session.
void Routes::registerRoutes(Router& router) {
    // Auth: the sign-in service's frontend API
    router.add("GET", "/v1/environment", [this](const ServerRequest&) { return frontend_.environment(); });
    router.add("GET", "/v1/client", [this](const ServerRequest& r) { return frontend_.client(r); });
    router.add("POST", "/v1/client/sessions/{id}/tokens",
               [this](const ServerRequest& r) { return frontend_.token(r); });
    router.add("POST", "/v1/client/sessions/{id}/tokens/{template}", [](const ServerRequest&) {
        return ClerkError::notFound("No JWT template with that name exists.");
    });
    router.add("POST", "/v1/client/sessions/{id}/touch",
               [this](const ServerRequest& r) { return frontend_.touch(r); });
    router.add("POST", "/v1/client/sessions/{id}/remove",
               [this](const ServerRequest& r) { return frontend_.remove(r); });
    router.add("DELETE", "/v1/client/sessions",
               [this](const ServerRequest& r) { return frontend_.signOutAll(r); });
    router.add("POST", "/v1/event", [](const ServerRequest&) { return ServerResponse::json(QJsonObject{}); });
    if (context_.options.demo) {
        router.add("GET", "/oauth/consent",
                   [this](const ServerRequest& r) { return frontend_.consentPage(r); });
        router.add("POST", "/oauth/consent", [this](const ServerRequest& r) { return frontend_.consent(r); });
        router.add("GET", "/mailbox", [this](const ServerRequest&) { return frontend_.mailbox(); });
    }
    router.add("POST", "/v1/client/sign_ins", [this](const ServerRequest& r) { return signIns_.create(r); });
    router.add("GET", "/v1/client/sign_ins/{id}",
               [this](const ServerRequest& r) { return signIns_.reload(r); });
    router.add("POST", "/v1/client/sign_ins/{id}/prepare_first_factor",
               [this](const ServerRequest& r) { return signIns_.prepareFirstFactor(r); });
    router.add("POST", "/v1/client/sign_ins/{id}/attempt_first_factor",
               [this](const ServerRequest& r) { return signIns_.attemptFirstFactor(r); });
    router.add("POST", "/v1/client/sign_ins/{id}/prepare_second_factor",
               [this](const ServerRequest& r) { return signIns_.prepareSecondFactor(r); });
    router.add("POST", "/v1/client/sign_ins/{id}/attempt_second_factor",
               [this](const ServerRequest& r) { return signIns_.attemptSecondFactor(r); });
    router.add("POST", "/v1/client/sign_ins/{id}/reset_password",
               [this](const ServerRequest& r) { return signIns_.resetPassword(r); });
    router.add("POST", "/v1/client/sign_ups", [this](const ServerRequest& r) { return signUps_.create(r); });
    router.add("PATCH", "/v1/client/sign_ups/{id}",
               [this](const ServerRequest& r) { return signUps_.update(r); });
    router.add("GET", "/v1/client/sign_ups/{id}",
               [this](const ServerRequest& r) { return signUps_.reload(r); });
    router.add("POST", "/v1/client/sign_ups/{id}/prepare_verification",
               [this](const ServerRequest& r) { return signUps_.prepareVerification(r); });
    router.add("POST", "/v1/client/sign_ups/{id}/attempt_verification",
               [this](const ServerRequest& r) { return signUps_.attemptVerification(r); });

    // Account
    auth_.add(router, "GET", "/api/bootstrap",
              [this](const ServerRequest&, const QString& u) { return account_.bootstrap(u); });
    auth_.add(router, "GET", "/api/user/profile",
              [this](const ServerRequest&, const QString& u) { return account_.profile(u); });
    auth_.add(router, "PUT", "/api/user/profile",
              [this](const ServerRequest& r, const QString& u) { return account_.updateProfile(r, u); });
    auth_.add(router, "PATCH", "/api/user/timezone",
              [this](const ServerRequest& r, const QString& u) { return account_.reportTimeZone(r, u); });
    auth_.add(router, "DELETE", "/api/user/account",
              [this](const ServerRequest&, const QString& u) { return account_.deleteAccount(u); });

    // Library: uploads, storage, documents, jobs, summaries
    auth_.add(router, "POST", "/api/v2/uploads/document/initiate",
              [this](const ServerRequest& r, const QString& u) { return library_.initiate(r, u); });
    auth_.add(router, "POST", "/api/v2/uploads/document/complete",
              [this](const ServerRequest& r, const QString& u) { return library_.complete(r, u); });
    router.add(
        "PUT", "/storage/{key*}", [this](const ServerRequest& r) { return library_.store(r); },
        [this](const ServerRequest& head) {
            return PresignedUpload::refusal(context_, "PUT", head.param(0), head);
        });
    auth_.add(router, "DELETE", "/api/documents/{id}",
              [this](const ServerRequest& r, const QString& u) { return library_.remove(r.param(0), u); });
    auth_.add(router, "GET", "/api/documents/{id}/status", [this](const ServerRequest& r, const QString& u) {
        return library_.processingStatus(r.param(0), u);
    });
    auth_.add(router, "GET", "/api/jobs/{id}",
              [this](const ServerRequest& r, const QString& u) { return library_.job(r.param(0), u); });
    auth_.add(router, "GET", "/api/bookshelf/summaries/{id}",
              [this](const ServerRequest& r, const QString& u) { return summaries_.read(r.param(0), u); });
    auth_.add(router, "POST", "/api/bookshelf/generate-summary",
              [this](const ServerRequest& r, const QString& u) { return summaries_.generate(r, u); });

    // Courses
    auth_.add(router, "POST", "/api/process-document",
              [this](const ServerRequest& r, const QString& u) { return courses_.processDocument(r, u); });
    auth_.add(router, "POST", "/api/class-info",
              [this](const ServerRequest& r, const QString& u) { return courses_.classInfo(r, u); });
    auth_.add(router, "POST", "/api/generate-study-plan",
              [this](const ServerRequest& r, const QString& u) { return courses_.generateStudyPlan(r, u); });

    // Speech and its audio
    auth_.add(router, "POST", "/api/tts/speak",
              [this](const ServerRequest& r, const QString& u) { return speech_.speak(r, u); });
    auth_.add(router, "POST", "/api/tts/document/{id}",
              [this](const ServerRequest& r, const QString& u) { return speech_.narrate(r, u); });
    router.add("GET", "/media/{path*}", [this](const ServerRequest& r) { return speech_.media(r); });

    // Directory
    auth_.add(router, "GET", "/api/universities",
              [](const ServerRequest& r, const QString&) { return UniversityRoutes::search(r); });
    auth_.add(router, "GET", "/api/universities/{id}",
              [](const ServerRequest& r, const QString&) { return UniversityRoutes::find(r); });
    auth_.add(router, "GET", "/api/network/discoverability",
              [this](const ServerRequest&, const QString& u) { return directory_.status(u); });
    auth_.add(router, "POST", "/api/network/discoverability",
              [this](const ServerRequest& r, const QString& u) { return directory_.setVisibility(r, u); });

    // Calendar
    auth_.add(router, "GET", "/api/calendar/preview",
              [this](const ServerRequest&, const QString& u) { return calendar_.preview(u); });
    auth_.add(router, "POST", "/api/calendar/feed/issue",
              [this](const ServerRequest& r, const QString& u) { return calendar_.issue(r, u); });
    auth_.add(router, "POST", "/api/calendar/feed/revoke",
              [this](const ServerRequest&, const QString& u) { return calendar_.revoke(u); });
    router.add("GET", "/calendar/{file}", [this](const ServerRequest& r) { return calendar_.feed(r); });

    // Flashcards and vocabulary
    auth_.add(router, "GET", "/api/study-content/flashcards",
              [this](const ServerRequest&, const QString& u) { return flashcards_.list(u); });
    auth_.add(router, "GET", "/api/study-content/flashcards/due",
              [this](const ServerRequest& r, const QString& u) { return flashcards_.due(r, u); });
    auth_.add(router, "POST", "/api/study-content/flashcards/{id}/review",
              [this](const ServerRequest& r, const QString& u) { return flashcards_.review(r, u); });
    auth_.add(router, "GET", "/api/courses/{id}/vocabulary",
              [this](const ServerRequest& r, const QString& u) { return vocabulary_.read(r.param(0), u); });
    auth_.add(
        router, "POST", "/api/courses/{id}/vocabulary/generate",
        [this](const ServerRequest& r, const QString& u) { return vocabulary_.generate(r.param(0), u); });
    auth_.add(router, "POST", "/api/courses/{id}/vocabulary/enrich-synonyms",
              [this](const ServerRequest& r, const QString& u) { return vocabulary_.enrich(r.param(0), u); });

    // Notecard import
    auth_.add(router, "POST", "/api/study-content/import/initiate/paste",
              [this](const ServerRequest& r, const QString& u) { return imports_.initiatePaste(r, u); });
    auth_.add(router, "POST", "/api/study-content/import/initiate/upload",
              [this](const ServerRequest& r, const QString& u) { return imports_.initiateUpload(r, u); });
    router.add(
        "PUT", QString::fromLatin1(ImportRoutes::storagePath) + "{key*}",
        [this](const ServerRequest& r) { return imports_.store(r); },
        [this](const ServerRequest& head) {
            return PresignedUpload::refusal(context_, "PUT import", head.param(0), head);
        });
    auth_.add(router, "POST", "/api/study-content/import/preview",
              [this](const ServerRequest& r, const QString& u) { return imports_.preview(r, u); });
    auth_.add(router, "POST", "/api/study-content/import/commit",
              [this](const ServerRequest& r, const QString& u) { return imports_.commit(r, u); });

    // Quiz
    auth_.add(router, "GET", "/api/courses/{id}/quiz/cache-status",
              [this](const ServerRequest& r, const QString& u) { return quizzes_.cacheStatus(r, u); });
    auth_.add(router, "POST", "/api/courses/{id}/quiz/generate",
              [this](const ServerRequest& r, const QString& u) { return quizzes_.generate(r, u); });
    auth_.add(router, "POST", "/api/quiz-scores",
              [this](const ServerRequest& r, const QString& u) { return quizScores_.save(r, u); });

    // Mnemonics
    auth_.add(router, "POST", "/api/v1/learning-content/mnemonic",
              [this](const ServerRequest& r, const QString& u) { return mnemonics_.generate(r, u); });

    // Notifications
    auth_.add(router, "GET", "/api/notifications",
              [this](const ServerRequest& r, const QString& u) { return notifications_.list(r, u); });
    auth_.add(router, "GET", "/api/notifications/unread-count",
              [this](const ServerRequest&, const QString& u) { return notifications_.unreadCount(u); });
    auth_.add(router, "PATCH", "/api/notifications/read-all",
              [this](const ServerRequest&, const QString& u) { return notifications_.markAllRead(u); });
    auth_.add(router, "PATCH", "/api/notifications/{id}/read",
              [this](const ServerRequest& r, const QString& u) { return notifications_.markRead(r, u); });
    auth_.add(
        router, "POST", "/api/mobile/devices/register",
        [this](const ServerRequest& r, const QString& u) { return notifications_.registerDevice(r, u); });

    // Rewards: credits, levels, study sessions, the catalog, tutor sessions
    auth_.add(router, "POST", "/api/gamification/quiz/complete",
              [this](const ServerRequest& r, const QString& u) { return gamification_.completeQuiz(r, u); });
    auth_.add(
        router, "POST", "/api/gamification/study/session/start",
        [this](const ServerRequest& r, const QString& u) { return gamification_.startStudySession(r, u); });
    auth_.add(
        router, "POST", "/api/gamification/study/session/end",
        [this](const ServerRequest& r, const QString& u) { return gamification_.endStudySession(r, u); });
    auth_.add(router, "GET", "/api/gamification/credits",
              [this](const ServerRequest&, const QString& u) { return gamification_.summary(u); });
    auth_.add(
        router, "GET", "/api/gamification/credits/{user_id}",
        [this](const ServerRequest& r, const QString& u) { return gamification_.creditsBalance(r, u); });
    auth_.add(router, "GET", "/api/gamification/level/{user_id}",
              [this](const ServerRequest& r, const QString& u) { return gamification_.level(r, u); });
    auth_.add(router, "GET", "/api/gamification/rewards/catalog",
              [this](const ServerRequest&, const QString&) { return rewards_.catalog(); });
    auth_.add(router, "POST", "/api/gamification/rewards/purchase",
              [this](const ServerRequest& r, const QString& u) { return rewards_.purchase(r, u); });
    auth_.add(router, "GET", "/api/gamification/rewards/{user_id}/purchased",
              [this](const ServerRequest& r, const QString& u) { return rewards_.purchased(r, u); });
    auth_.add(router, "POST", "/api/gamification/rewards/use/tutor-session",
              [this](const ServerRequest& r, const QString& u) { return tutorSessions_.start(r, u); });

    // Songs
    auth_.add(router, "POST", "/api/gamification/rewards/use/song-from-notes",
              [this](const ServerRequest& r, const QString& u) { return songs_.useSongReward(r, u); });
    auth_.add(router, "POST", "/api/gamification/rewards/use/lyrics-from-notes",
              [this](const ServerRequest& r, const QString& u) { return songs_.useLyricsReward(r, u); });
    router.add("GET", "/api/media/songs/{file}", [this](const ServerRequest& r) { return songs_.media(r); });

    // Feed
    auth_.add(router, "GET", "/api/courses/foryou/feed",
              [this](const ServerRequest& r, const QString& u) { return forYou_.feed(r, u); });
    auth_.add(router, "POST", "/api/courses/foryou/events",
              [this](const ServerRequest& r, const QString& u) { return forYou_.recordEvent(r, u); });
    auth_.add(router, "POST", "/api/courses/foryou/cards/{id}/like",
              [this](const ServerRequest& r, const QString& u) { return forYou_.setLiked(r, u, true); });
    auth_.add(router, "DELETE", "/api/courses/foryou/cards/{id}/like",
              [this](const ServerRequest& r, const QString& u) { return forYou_.setLiked(r, u, false); });

    // Reading
    auth_.add(router, "GET", "/api/guided-reading/{id}/plan",
              [this](const ServerRequest& r, const QString& u) { return guidedReading_.plan(r, u); });
    auth_.add(router, "POST", "/api/guided-reading/{id}/regenerate",
              [this](const ServerRequest& r, const QString& u) { return guidedReading_.regenerate(r, u); });

    // Controls for tests and demos
    router.add("GET", "/__control/faults", [this](const ServerRequest&) { return control_.faultList(); });
    router.add("POST", "/__control/faults", [this](const ServerRequest& r) { return control_.addFault(r); });
    router.add("DELETE", "/__control/faults",
               [this](const ServerRequest&) { return control_.clearFaults(); });
    router.add("POST", "/__control/second-factor",
               [this](const ServerRequest& r) { return control_.enableSecondFactor(r); });
    router.add("POST", "/__control/credits",
               [this](const ServerRequest& r) { return control_.grantCredits(r); });
    router.add("POST", "/__control/xp", [this](const ServerRequest& r) { return control_.grantXp(r); });
    router.add("POST", "/__control/quiz", [this](const ServerRequest& r) { return control_.issueQuiz(r); });
    router.add("GET", "/__control/progress", [this](const ServerRequest& r) { return control_.progress(r); });
    router.add("POST", "/__control/session-token",
               [this](const ServerRequest& r) { return control_.sessionToken(r); });

    // Health checks of a balancer or supervisor
    router.add("GET", "/healthz", [this](const ServerRequest&) { return health_.live(); });
    router.add("GET", "/readyz", [this](const ServerRequest&) { return health_.ready(); });
    // The appcast
    router.add("GET", "/appcast.json", [this](const ServerRequest&) { return appcast_.appcast(); });
    router.add("GET", "/download", [this](const ServerRequest&) { return appcast_.downloadPage(); });

    // Push
    router.add("GET", PushStreamRoute::path,
               [this](const ServerRequest& request) { return push_.open(request); });
}

void Routes::registerRunners(JobQueue& jobs) {
    jobs.registerRunner(DocumentProcessor::jobType, processor_.runner());
    jobs.registerRunner(SummaryRoutes::jobType, summaries_.runner());
    jobs.registerRunner(CourseRoutes::jobType, courses_.runner());
    jobs.registerRunner(SpeechRoutes::jobType, speech_.runner());
    jobs.registerRunner(VocabularyRoutes::jobType, vocabulary_.runner());
    jobs.registerRunner(QuizRoutes::jobType, quizzes_.runner());
    jobs.registerRunner(MnemonicRoutes::jobType, mnemonics_.runner());
    jobs.registerRunner(SongRoutes::jobType, songs_.runner());
    jobs.registerRunner(GuidedReadingRoutes::jobType, guidedReading_.runner());
}
