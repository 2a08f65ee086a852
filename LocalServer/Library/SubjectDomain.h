#pragma once

#include <QHash>
#include <QString>

// The school subject whose vocabulary a text uses most ("biology", "economics", …), from how often
// the text uses each of its content words; "general" when it uses none of them.
namespace SubjectDomain {
QString of(const QHash<QString, int>& wordFrequency);
} // namespace SubjectDomain
