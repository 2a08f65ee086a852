#pragma once

#include <QObject>
#include <QString>

// Holds an HTML fragment and the minimal page it is shown in by a rich-text Text item. The page is
// rebuilt whenever the fragment changes.
class HTMLView : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString html READ html WRITE setHtml NOTIFY htmlChanged)
    Q_PROPERTY(QString page READ page NOTIFY htmlChanged)

public:
    explicit HTMLView(QObject* parent = nullptr);

    QString html() const { return m_html; }
    void setHtml(const QString& html);
    QString page() const { return m_page; }

    // The fragment inside a document with the page style in its head.
    static QString wrap(const QString& fragment);

signals:
    void htmlChanged();

private:
    QString m_html;
    QString m_page;
};
