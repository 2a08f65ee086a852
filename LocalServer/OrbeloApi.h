#pragma once

#include "Account/AccountRoutes.h"
#include "Calendar/CalendarRoutes.h"
#include "Courses/CourseRoutes.h"
#include "Directory/DirectoryRoutes.h"
#include "Directory/UniversityRoutes.h"
#include "Feed/ForYouRoutes.h"
#include "Flashcards/FlashcardRoutes.h"
#include "Flashcards/VocabularyRoutes.h"
#include "Http/Router.h"
#include "Import/ImportRoutes.h"
#include "Library/DocumentProcessor.h"
#include "Library/LibraryRoutes.h"
#include "Library/SummaryRoutes.h"
#include "Mnemonics/MnemonicRoutes.h"
#include "Notifications/NotificationRoutes.h"
#include "Quiz/QuizRoutes.h"
#include "Quiz/QuizScoreRoutes.h"
#include "Reading/GuidedReadingRoutes.h"
#include "Rewards/GamificationRoutes.h"
#include "Rewards/RewardRoutes.h"
#include "Rewards/TutorSessionRoutes.h"
#include "Songs/SongRoutes.h"
#include "Speech/SpeechRoutes.h"

struct ServerContext;

// The Orbelo API under /api, with presigned storage under /storage, audio under /media and
// calendar feeds under /calendar, and notecard imports with their uploads under /import-storage.
class OrbeloApi {
public:
    explicit OrbeloApi(ServerContext& context)
        : context_(context), account_(context), library_(context), processor_(context), summaries_(context),
          courses_(context), speech_(context), universities_(context), directory_(context),
          calendar_(context), flashcards_(context), vocabulary_(context), imports_(context),
          quizScores_(context), gamification_(context), quizzes_(context), mnemonics_(context),
          notifications_(context), rewards_(context), songs_(context), forYou_(context),
          guidedReading_(context), tutorSessions_(context) {}

    void registerRoutes(Router& router);
    SpeechRoutes& speech() { return speech_; }
    SongRoutes& songs() { return songs_; }

private:
    ServerContext& context_;
    AccountRoutes account_;
    LibraryRoutes library_;
    DocumentProcessor processor_;
    SummaryRoutes summaries_;
    CourseRoutes courses_;
    SpeechRoutes speech_;
    UniversityRoutes universities_;
    DirectoryRoutes directory_;
    CalendarRoutes calendar_;
    FlashcardRoutes flashcards_;
    VocabularyRoutes vocabulary_;
    ImportRoutes imports_;
    QuizScoreRoutes quizScores_;
    GamificationRoutes gamification_;
    QuizRoutes quizzes_;
    MnemonicRoutes mnemonics_;
    NotificationRoutes notifications_;
    RewardRoutes rewards_;
    SongRoutes songs_;
    ForYouRoutes forYou_;
    GuidedReadingRoutes guidedReading_;
    TutorSessionRoutes tutorSessions_;
};
