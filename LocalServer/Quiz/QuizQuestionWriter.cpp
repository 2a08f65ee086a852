#include "Quiz/QuizQuestionWriter.h"

#include "Quiz/QuizGenerator.h"

#include <QJsonArray>
#include <QRegularExpression>

QString QuizQuestionWriter::quoted(const QString& text) {
    return QStringLiteral("“") + text + QStringLiteral("”");
}

QString QuizQuestionWriter::neutralArticles(const QString& blanked) {
    static const QRegularExpression article(
        QStringLiteral(R"(\b([Aa])n?(\s+)%1)").arg(QRegularExpression::escape(QuizGenerator::blank)));
    return QString(blanked).replace(article, QStringLiteral("\\1(n)\\2") + QuizGenerator::blank);
}

qsizetype QuizQuestionWriter::wordsBesideBlanks(const QString& blanked) {
    return QString(blanked).remove(QuizGenerator::blank).split(' ', Qt::SkipEmptyParts).size();
}

QString QuizQuestionWriter::explanation(int source, const QString& heading, const QString& sentence) const {
    QString where = tools_.documents.value(source);
    if (!heading.isEmpty())
        where += QStringLiteral(", under ") + quoted(heading);
    return QStringLiteral("From ") + where + QStringLiteral(": ") + quoted(sentence);
}

QString QuizQuestionWriter::explanationOfSentence(int sentence) const {
    const KeyTermEngine::Sentence& s = material().sentences()[sentence];
    return explanation(s.source, s.heading, s.text);
}

QString QuizQuestionWriter::explanationOfTerm(int term) const {
    const KeyTermEngine::Term& t = material().terms()[term];
    return explanation(t.text, t.heading, t.sentence);
}

QJsonObject QuizQuestionWriter::choiceQuestion(const QString& question, const QString& answer,
                                               const QStringList& wrong, const QString& explanation) {
    // Each run of as many questions as options puts the answer at every position once.
    if (positions_.isEmpty()) {
        for (int i = 0; i < QuizGenerator::choices; ++i)
            positions_.append(i);
        for (qsizetype i = positions_.size() - 1; i > 0; --i)
            positions_.swapItemsAt(i, qsizetype(tools_.random.bounded(quint32(i + 1))));
    }
    const int position = positions_.takeLast();
    QJsonArray options;
    for (const QString& option : wrong)
        options.append(option);
    options.insert(position, answer);
    return {{"question", question},
            {"question_type", "multiple_choice"},
            {"options", options},
            {"correct_answer", position},
            {"explanation", explanation}};
}

QJsonObject QuizQuestionWriter::truthQuestion(const QString& statement, bool truth,
                                              const QString& explanation) {
    return {{"question", QStringLiteral("True or false: ") + statement},
            {"question_type", "true_false"},
            {"options", QJsonArray{"True", "False"}},
            {"correct_answer", truth ? 0 : 1},
            {"explanation", explanation}};
}

QString QuizQuestionWriter::withArticle(int sentence, const TermMention& mention) const {
    static const QRegularExpression article(R"((?<![\w\-])(the|an?)\s+$)",
                                            QRegularExpression::CaseInsensitiveOption);
    const QString before = material().sentences()[sentence].text.left(mention.start);
    const QRegularExpressionMatch match = article.match(before);
    return match.hasMatch() ? match.captured(1).toLower() + ' ' + asWritten(sentence, mention)
                            : asWritten(sentence, mention);
}

QString QuizQuestionWriter::asWritten(int sentence, const TermMention& mention) const {
    QString text = material().sentences()[sentence].text.mid(mention.start, mention.end - mention.start);
    const QString& term = material().terms()[mention.term].term;
    if (!term.isEmpty() && term.at(0).isLower() && !text.isEmpty())
        text[0] = text.at(0).toLower();
    return text;
}
