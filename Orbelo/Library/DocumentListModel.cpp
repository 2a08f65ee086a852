#include "Library/DocumentListModel.h"

#include "Common/DocumentText.h"

void DocumentListModel::setDocuments(const QList<DocumentItem>& documents, const QSet<QString>& slowIds) {
    const auto sameRows = [&] {
        if (documents.size() != documents_.size())
            return false;
        for (qsizetype i = 0; i < documents.size(); ++i) {
            if (documents[i].id != documents_[i].id)
                return false;
        }
        return true;
    }();
    if (!sameRows) {
        beginResetModel();
        documents_ = documents;
        slowIds_ = slowIds;
        endResetModel();
        return;
    }
    documents_ = documents;
    slowIds_ = slowIds;
    if (!documents_.isEmpty())
        Q_EMIT dataChanged(index(0), index(int(documents_.size()) - 1));
}

int DocumentListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(documents_.size());
}

QVariant DocumentListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const DocumentItem& document = documents_[index.row()];
    const auto state = document.processingState();
    switch (role) {
    case DocumentIdRole:
        return document.id;
    case Qt::DisplayRole:
    case TitleRole:
        return DocumentText::displayName(document);
    case SymbolRole:
        return DocumentText::typeSymbol(document);
    case StateRole:
        return stateName(state);
    case StateTextRole:
        return stateText(state, slowIds_.contains(document.id));
    case AccessibleDescriptionRole:
        return accessibleDescription(state);
    default:
        return {};
    }
}

QHash<int, QByteArray> DocumentListModel::roleNames() const {
    return {{DocumentIdRole, "documentId"}, {TitleRole, "title"},
            {SymbolRole, "symbol"},         {StateRole, "processingState"},
            {StateTextRole, "stateText"},   {AccessibleDescriptionRole, "accessibleDescription"}};
}

QString DocumentListModel::stateName(DocumentItem::ProcessingState state) {
    switch (state) {
    case DocumentItem::ProcessingState::processing:
        return QStringLiteral("processing");
    case DocumentItem::ProcessingState::failed:
        return QStringLiteral("failed");
    case DocumentItem::ProcessingState::ready:
        return QStringLiteral("ready");
    }
    return {};
}

QString DocumentListModel::stateText(DocumentItem::ProcessingState state, bool slow) {
    switch (state) {
    case DocumentItem::ProcessingState::processing:
        return slow ? QStringLiteral("Still processing — this can take a few minutes")
                    : QStringLiteral("Processing…");
    case DocumentItem::ProcessingState::failed:
        return QStringLiteral("Couldn't process — try re-uploading");
    case DocumentItem::ProcessingState::ready:
        return {};
    }
    return {};
}

QString DocumentListModel::accessibleDescription(DocumentItem::ProcessingState state) {
    switch (state) {
    case DocumentItem::ProcessingState::processing:
        return QStringLiteral("Still processing. Press Delete to remove it.");
    case DocumentItem::ProcessingState::failed:
        return QStringLiteral("Processing failed. Press Delete to remove it, then try uploading again.");
    case DocumentItem::ProcessingState::ready:
        return QStringLiteral("Opens notes for this document. Press Delete to remove it.");
    }
    return {};
}
