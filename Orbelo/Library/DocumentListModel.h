#pragma once

#include "Documents/DocumentItem.h"

#include <QAbstractListModel>
#include <QSet>
#include <QtQml/qqmlregistration.h>

// The rows the library shows: each document's name, type symbol and processing state. Setting
// the same documents again (a poll) updates the rows in place, so the focused row keeps its focus.
class DocumentListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ANONYMOUS
public:
    enum Role {
        DocumentIdRole = Qt::UserRole + 1,
        TitleRole,
        SymbolRole,
        StateRole,
        StateTextRole,
        AccessibleDescriptionRole,
    };

    using QAbstractListModel::QAbstractListModel;

    void setDocuments(const QList<DocumentItem>& documents, const QSet<QString>& slowIds);
    const QList<DocumentItem>& documents() const { return documents_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    static QString stateName(DocumentItem::ProcessingState state);
    static QString stateText(DocumentItem::ProcessingState state, bool slow);
    static QString accessibleDescription(DocumentItem::ProcessingState state);

private:
    QList<DocumentItem> documents_;
    QSet<QString> slowIds_;
};
