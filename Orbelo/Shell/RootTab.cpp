#include "Shell/RootTab.h"

namespace RootTabs {

QList<RootTab> all() {
    return {RootTab::study,   RootTab::forYou,  RootTab::flashcards,    RootTab::quiz,
            RootTab::library, RootTab::rewards, RootTab::notifications, RootTab::settings};
}

QString label(RootTab tab) {
    switch (tab) {
    case RootTab::study:
        return QStringLiteral("Study");
    case RootTab::forYou:
        return QStringLiteral("For You");
    case RootTab::flashcards:
        return QStringLiteral("Cards");
    case RootTab::quiz:
        return QStringLiteral("Quiz");
    case RootTab::library:
        return QStringLiteral("Library");
    case RootTab::rewards:
        return QStringLiteral("Rewards");
    case RootTab::notifications:
        return QStringLiteral("Notifications");
    case RootTab::settings:
        return QStringLiteral("Settings");
    }
    return {};
}

QString symbol(RootTab tab) {
    switch (tab) {
    case RootTab::study:
        return QStringLiteral("book.pages");
    case RootTab::forYou:
        return QStringLiteral("sparkles");
    case RootTab::flashcards:
        return QStringLiteral("rectangle.on.rectangle");
    case RootTab::quiz:
        return QStringLiteral("checkmark.bubble");
    case RootTab::library:
        return QStringLiteral("books.vertical");
    case RootTab::rewards:
        return QStringLiteral("gift.fill");
    case RootTab::notifications:
        return QStringLiteral("bell");
    case RootTab::settings:
        return QStringLiteral("gearshape");
    }
    return {};
}

int sidebarSection(RootTab tab) {
    return int(tab) <= int(RootTab::library) ? 0 : 1;
}

std::optional<RootTab> forSectionNumber(int number) {
    if (number < 1 || number > 7)
        return std::nullopt;
    return RootTab(number - 1);
}

} // namespace RootTabs
