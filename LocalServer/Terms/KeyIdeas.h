#pragma once

#include "Terms/KeyTerm.h"

#include <QList>
#include <QString>
#include <QStringList>

// The key ideas a student types for a mnemonic: one per line (or separated by semicolons, or by
// commas when written on one line), each a term or "term: meaning" ("term - meaning" and
// "term — meaning" too), with list bullets and numbers dropped.
namespace KeyIdeas {
constexpr int maxIdeas = 20;
constexpr int maxTermChars = 80;

QList<KeyTerm> parse(const QString& text);
// The texts' own key terms (KeyTermEngine), best first, with their definitions and context.
QList<KeyTerm> found(const QStringList& texts);
// Gives each idea without a meaning one: the definition of the same term among `found` (the
// text's own terms), else the first sentence of `texts` that names it, else `fallback`.
void define(QList<KeyTerm>& ideas, const QList<KeyTerm>& found, const QStringList& texts,
            const QString& fallback);
} // namespace KeyIdeas
