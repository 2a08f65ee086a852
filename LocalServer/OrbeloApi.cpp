#include "OrbeloApi.h"

#include "Jobs/JobQueue.h"
#include "ServerContext.h"

void OrbeloApi::registerRoutes(Router& router) {
    account_.registerRoutes(router);
    library_.registerRoutes(router);
    summaries_.registerRoutes(router);
    courses_.registerRoutes(router);
    speech_.registerRoutes(router);
    universities_.registerRoutes(router);
    directory_.registerRoutes(router);
    calendar_.registerRoutes(router);
    flashcards_.registerRoutes(router);
    vocabulary_.registerRoutes(router);
    imports_.registerRoutes(router);
    quizScores_.registerRoutes(router);
    gamification_.registerRoutes(router);
    quizzes_.registerRoutes(router);
    mnemonics_.registerRoutes(router);
    notifications_.registerRoutes(router);
    rewards_.registerRoutes(router);
    songs_.registerRoutes(router);
    forYou_.registerRoutes(router);
    guidedReading_.registerRoutes(router);
    tutorSessions_.registerRoutes(router);
    context_.jobs->registerRunner(DocumentProcessor::jobType, processor_.runner());
    context_.jobs->registerRunner(SummaryRoutes::jobType, summaries_.runner());
    context_.jobs->registerRunner(CourseRoutes::jobType, courses_.runner());
    context_.jobs->registerRunner(SpeechRoutes::jobType, speech_.runner());
    context_.jobs->registerRunner(VocabularyRoutes::jobType, vocabulary_.runner());
    context_.jobs->registerRunner(QuizRoutes::jobType, quizzes_.runner());
    context_.jobs->registerRunner(MnemonicRoutes::jobType, mnemonics_.runner());
    context_.jobs->registerRunner(SongRoutes::jobType, songs_.runner());
    context_.jobs->registerRunner(GuidedReadingRoutes::jobType, guidedReading_.runner());
}
