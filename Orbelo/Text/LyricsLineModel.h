#pragma once

#include "Text/LyricsText.h"

#include <QAbstractListModel>

// The display lines of a song's lyrics as a list model: kind ("header", "lyric" or "blank") and text.
class LyricsLineModel : public QAbstractListModel {
    Q_OBJECT
    Q_PROPERTY(QString lyrics READ lyrics WRITE setLyrics NOTIFY lyricsChanged)

public:
    enum Role { KindRole = Qt::UserRole + 1, TextRole };

    explicit LyricsLineModel(QObject* parent = nullptr);

    QString lyrics() const { return m_lyrics; }
    void setLyrics(const QString& lyrics);
    const QList<LyricsText::Line>& lines() const { return m_lines; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void lyricsChanged();

private:
    QString m_lyrics;
    QList<LyricsText::Line> m_lines;
};
