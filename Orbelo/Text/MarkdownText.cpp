#include "Text/MarkdownText.h"

#include "Text/InlineMarkdown.h"

namespace {

QString kindName(MarkdownBlock::Kind kind) {
    switch (kind) {
    case MarkdownBlock::Kind::heading:
        return QStringLiteral("heading");
    case MarkdownBlock::Kind::bullet:
        return QStringLiteral("bullet");
    case MarkdownBlock::Kind::ordered:
        return QStringLiteral("ordered");
    case MarkdownBlock::Kind::paragraph:
        break;
    }
    return QStringLiteral("paragraph");
}

} // namespace

MarkdownText::MarkdownText(QObject* parent) : QAbstractListModel(parent) {}

void MarkdownText::setMarkdown(const QString& markdown) {
    if (markdown == m_markdown)
        return;
    beginResetModel();
    m_markdown = markdown;
    m_blocks = MarkdownBlock::parse(markdown);
    m_styledTexts.clear();
    for (const MarkdownBlock& block : m_blocks)
        m_styledTexts.append(InlineMarkdown::styledText(block.text));
    endResetModel();
    emit markdownChanged();
}

int MarkdownText::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_blocks.size());
}

QVariant MarkdownText::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const MarkdownBlock& block = m_blocks[index.row()];
    switch (role) {
    case KindRole:
        return kindName(block.kind);
    case LevelRole:
        return block.level;
    case NumberRole:
        return block.number;
    case TextRole:
        return block.text;
    case StyledTextRole:
        return m_styledTexts[index.row()];
    default:
        return {};
    }
}

QHash<int, QByteArray> MarkdownText::roleNames() const {
    return {{KindRole, "kind"},
            {LevelRole, "level"},
            {NumberRole, "number"},
            {TextRole, "text"},
            {StyledTextRole, "styledText"}};
}
