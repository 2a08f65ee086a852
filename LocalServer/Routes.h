#pragma once

#include "Account/AccountRoutes.h"
#include "Account/AppcastRoutes.h"
#include "Auth/ApiAuth.h"
#include "Auth/FrontendApi.h"
#include "Auth/SignInRoutes.h"
#include "Auth/SignUpRoutes.h"
#include "Calendar/CalendarRoutes.h"
#include "ControlApi.h"
#include "Courses/CourseRoutes.h"
#include "Directory/DirectoryRoutes.h"
#include "Directory/UniversityRoutes.h"
#include "Feed/ForYouRoutes.h"
#include "Flashcards/FlashcardRoutes.h"
#include "Flashcards/VocabularyRoutes.h"
#include "Health/HealthRoutes.h"
#include "Http/Router.h"
#include "Import/ImportRoutes.h"
#include "Library/DocumentProcessor.h"
#include "Library/LibraryRoutes.h"
#include "Library/SummaryRoutes.h"
#include "Mnemonics/MnemonicRoutes.h"
#include "Notifications/NotificationRoutes.h"
#include "Push/PushStreamRoute.h"
#include "Quiz/QuizRoutes.h"
#include "Quiz/QuizScoreRoutes.h"
#include "Reading/GuidedReadingRoutes.h"
#include "Rewards/GamificationRoutes.h"
#include "Rewards/RewardRoutes.h"
#include "Rewards/TutorSessionRoutes.h"
#include "Songs/SongRoutes.h"
#include "Speech/SpeechRoutes.h"

class FaultInjector;
class JobQueue;
class PushStreams;
struct ServerContext;

// Every route the server answers, with its handler, in one table (Routes.cpp); the handlers live
// in their feature's folder. Also the runners of the queued jobs.
class Routes {
public:
    Routes(ServerContext& context, FaultInjector& faults, PushStreams& pushStreams);

    void registerRoutes(Router& router);
    void registerRunners(JobQueue& jobs);
    SpeechRoutes& speech() { return speech_; }
    SongRoutes& songs() { return songs_; }

private:
    ServerContext& context_;
    ApiAuth auth_; // routes under /api answer a signed-in user only
    FrontendApi frontend_;
    SignInRoutes signIns_;
    SignUpRoutes signUps_;
    AccountRoutes account_;
    LibraryRoutes library_;
    SummaryRoutes summaries_;
    CourseRoutes courses_;
    SpeechRoutes speech_;
    DirectoryRoutes directory_;
    CalendarRoutes calendar_;
    FlashcardRoutes flashcards_;
    VocabularyRoutes vocabulary_;
    ImportRoutes imports_;
    QuizRoutes quizzes_;
    QuizScoreRoutes quizScores_;
    MnemonicRoutes mnemonics_;
    NotificationRoutes notifications_;
    GamificationRoutes gamification_;
    RewardRoutes rewards_;
    TutorSessionRoutes tutorSessions_;
    SongRoutes songs_;
    ForYouRoutes forYou_;
    GuidedReadingRoutes guidedReading_;
    ControlApi control_;
    AppcastRoutes appcast_;
    HealthRoutes health_;
    PushStreamRoute push_;
    DocumentProcessor processor_;
};
