#include "Text/LyricsLineModel.h"

LyricsLineModel::LyricsLineModel(QObject* parent) : QAbstractListModel(parent) {}

void LyricsLineModel::setLyrics(const QString& lyrics) {
    if (lyrics == m_lyrics)
        return;
    beginResetModel();
    m_lyrics = lyrics;
    m_lines = LyricsText::parse(lyrics);
    endResetModel();
    emit lyricsChanged();
}

int LyricsLineModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_lines.size());
}

QVariant LyricsLineModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const LyricsText::Line& line = m_lines[index.row()];
    if (role == TextRole)
        return line.text;
    if (role != KindRole)
        return {};
    switch (line.kind) {
    case LyricsText::Line::Kind::header:
        return QStringLiteral("header");
    case LyricsText::Line::Kind::lyric:
        return QStringLiteral("lyric");
    case LyricsText::Line::Kind::blank:
        break;
    }
    return QStringLiteral("blank");
}

QHash<int, QByteArray> LyricsLineModel::roleNames() const {
    return {{KindRole, "kind"}, {TextRole, "text"}};
}
