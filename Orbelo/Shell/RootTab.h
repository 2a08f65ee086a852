#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

// The shell's sections, in sidebar order.
enum class RootTab { study, forYou, flashcards, quiz, library, rewards, notifications, settings };

namespace RootTabs {

QList<RootTab> all();
QString label(RootTab tab);
QString symbol(RootTab tab);
// 0 for the first sidebar section (study tools), 1 for the second (account).
int sidebarSection(RootTab tab);
// The tab a "Go" menu number selects: 1 study … 7 notifications. Anything else selects nothing
// (settings has no number).
std::optional<RootTab> forSectionNumber(int number);

} // namespace RootTabs
