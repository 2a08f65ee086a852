#pragma once

#include <QString>

struct ServerContext;

// The daily nudge to practise due flashcards: at most one per user per local day (in the user's
// time zone), made when the user next looks at their notifications on a day that has due cards.
class PracticeNudge {
public:
    explicit PracticeNudge(ServerContext& context) : context_(context) {}

    // Posts today's nudge if the user has due cards and has not had one today.
    void postIfDue(const QString& userId);

private:
    ServerContext& context_;
};
