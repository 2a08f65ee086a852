#pragma once

#include "Quiz/DistractorCloseness.h"

#include <QString>

// The part of a document about a topic: the paragraphs that hold every word stem of the topic
// (little words like "the" and "of" aside), and whole sections, up to the next markdown heading,
// whose heading does, each section's heading kept above what is kept of it.
namespace TopicPassages {
QString of(const QString& text, const QString& topic, DistractorCloseness& stems);
} // namespace TopicPassages
