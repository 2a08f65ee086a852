#include "Import/InstructionFlagger.h"

#include <QList>
#include <QRegularExpression>

namespace {

struct Pattern {
    QRegularExpression expression;
    QString reason;
};

Pattern pattern(const char* expression, const char* reason) {
    return {QRegularExpression(QString::fromLatin1(expression),
                               QRegularExpression::CaseInsensitiveOption |
                                   QRegularExpression::UseUnicodePropertiesOption),
            QString::fromUtf8(reason)};
}

// Phrases of prompt injection and jailbreaks, worded narrowly enough that study text ("enzymes
// act as catalysts", "the system: a set of parts") passes.
const QList<Pattern>& patterns() {
    // QRegularExpression is reentrant, not thread-safe: one list per worker thread.
    thread_local const QList<Pattern> list = {
        pattern(
            R"(\b(ignore|disregard|forget|override|skip)\s+(all\s+|any\s+)?(of\s+)?(the\s+|your\s+|my\s+)?)"
            R"((previous|prior|above|earlier|preceding|original|system)\s+(instructions?|prompts?|rules|)"
            R"(directions|guidelines|messages|context))",
            "Tells an AI to ignore its instructions"),
        pattern(R"(\bdisregard\s+(everything\s+|all\s+)?(the\s+)?(above|before|previous))",
                "Tells an AI to ignore its instructions"),
        pattern(
            R"(\byou\s+are\s+now\s+(an?\s+|the\s+|my\s+|in\s+\w+\s+mode|no\s+longer|free|unrestricted|dan\b))",
            "Tries to give an AI a new role (“you are now”)"),
        pattern(
            R"(\b(act|behave|respond)\s+as\s+(an?\s+|the\s+|if\s+you\s+were\s+)?(unrestricted|unfiltered|)"
            R"(uncensored|jailbroken|evil|different|new)?\s*(ai|assistant|chatbot|language\s+model|llm|gpt|dan)\b)",
            "Tries to give an AI a new role (“act as”)"),
        pattern(
            R"(\bpretend\s+(that\s+)?(you\s+are|to\s+be)\s+(an?\s+)?(unrestricted|unfiltered|different)?\s*(ai|)"
            R"(assistant|chatbot|language\s+model)\b)",
            "Tries to give an AI a new role (“pretend to be”)"),
        pattern(
            R"((^|\n)\s*(system|assistant|developer)(\s+prompt)?\s*:\s*(you\b|ignore|from\s+now|new\s+rules|)"
            R"(always|never|do\s+not|respond|answer))",
            "Imitates a message to an AI (“system:”)"),
        pattern(R"(\[/?(system|inst)\]|<\|?(im_start|im_end|system|endoftext)\|?>|\bnew\s+instructions\s*:)",
                "Imitates a message to an AI"),
        pattern(
            R"(\b(jailbreak|jailbroken|do\s+anything\s+now|dan\s+mode|developer\s+mode\s+(enabled|on))\b)",
            "Contains a jailbreak phrase"),
        pattern(
            R"(\b(reveal|print|show|repeat)\s+(me\s+)?(your|the)\s+(system\s+prompt|hidden\s+instructions|)"
            R"(initial\s+instructions)\b)",
            "Asks an AI to reveal its instructions"),
        pattern(
            R"(\b(bypass|disable|turn\s+off)\s+(any\s+|all\s+|your\s+|the\s+)?(safety\s+)?(filters|guardrails|)"
            R"(safeguards|restrictions|content\s+polic(y|ies))\b)",
            "Asks an AI to drop its safeguards"),
    };
    return list;
}

} // namespace

std::optional<QString> InstructionFlagger::reasonToFlag(const QString& term, const QString& definition) {
    const QString text = term + u'\n' + definition;
    for (const Pattern& candidate : patterns()) {
        if (candidate.expression.match(text).hasMatch())
            return candidate.reason;
    }
    return std::nullopt;
}
