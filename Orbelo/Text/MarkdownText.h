#pragma once

#include "Text/MarkdownBlock.h"

#include <QAbstractListModel>

// The blocks of a light Markdown text as a list model, each with its inline runs already rendered
// as styled text.
class MarkdownText : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(QString markdown READ markdown WRITE setMarkdown NOTIFY markdownChanged)

public:
    enum Role { KindRole = Qt::UserRole + 1, LevelRole, NumberRole, TextRole, StyledTextRole };

    explicit MarkdownText(QObject* parent = nullptr);

    QString markdown() const { return m_markdown; }
    void setMarkdown(const QString& markdown);
    const QList<MarkdownBlock>& blocks() const { return m_blocks; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void markdownChanged();

private:
    QString m_markdown;
    QList<MarkdownBlock> m_blocks;
    QStringList m_styledTexts;
};
