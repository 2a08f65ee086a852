#pragma once

// moc needs a Qt header before <coroutine>.
#include <QObject>

#include "APIClient.h"
#include "Calendar/CalendarFeedResponse.h"
#include "TaskScope.h"

#include <QUrl>
#include <QtQml/qqmlregistration.h>

#include <memory>

class Clipboard;
class PreferencesStore;
class UrlOpener;

// The calendar feed section: a private, revocable link to the study schedule that calendar apps
// subscribe to. Adding it to a calendar app (webcal:), copying it, replacing it, stopping it, and
// saving the feed as an .ics file for apps that import rather than subscribe. The link itself is a
// secret: it lives in memory for this run only and is never logged; the preference
// "calendarFeedIssued" only remembers that one was issued on this device.
class CalendarFeedModel : public QObject {
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(bool isBusy READ isBusy NOTIFY busyChanged)
    Q_PROPERTY(QString busyText READ busyText NOTIFY busyChanged)
    Q_PROPERTY(QString addTitle READ addTitle NOTIFY linkChanged)
    Q_PROPERTY(bool hasLink READ hasLink NOTIFY linkChanged)
    // A link may exist on the backend (issued here, in this run or before): replacing and stopping apply.
    Q_PROPERTY(bool canManage READ canManage NOTIFY linkChanged)
    Q_PROPERTY(QString linkText READ linkText NOTIFY linkChanged)
    Q_PROPERTY(QString refreshNote READ refreshNote NOTIFY linkChanged)
    Q_PROPERTY(QString errorMessage READ errorMessage NOTIFY messageChanged)
    Q_PROPERTY(QString infoMessage READ infoMessage NOTIFY messageChanged)
    // "", "replace" or "stop": the question waiting for an answer.
    Q_PROPERTY(QString confirmation READ confirmation NOTIFY confirmationChanged)
    Q_PROPERTY(QString confirmationTitle READ confirmationTitle NOTIFY confirmationChanged)
    Q_PROPERTY(QString confirmationMessage READ confirmationMessage NOTIFY confirmationChanged)
    Q_PROPERTY(QString confirmationAction READ confirmationAction NOTIFY confirmationChanged)
public:
    static inline const QString issuedKey = QStringLiteral("calendarFeedIssued");
    static inline const QString copiedText = QStringLiteral("Copied — treat it like a password");
    static inline const QString noSubscriberText =
        QStringLiteral("No calendar app on this computer subscribes to web calendars. Copy the link and add "
                       "it in your calendar app.");
    static inline const QString badLinkText = QStringLiteral("That calendar link couldn't be opened.");
    static inline const QString notOpenedText =
        QStringLiteral("Couldn't open Calendar. Copy the link and add it there manually.");

    // The app's backend client, preferences, desktop and clipboard.
    explicit CalendarFeedModel(QObject* parent = nullptr);
    CalendarFeedModel(APIClient client, PreferencesStore& preferences, UrlOpener& opener,
                      Clipboard& clipboard, QObject* parent = nullptr);
    ~CalendarFeedModel() override;

    bool isBusy() const { return !busyText_.isEmpty(); }
    QString busyText() const { return busyText_; }
    QString addTitle() const;
    bool hasLink() const { return link_.has_value(); }
    bool canManage() const;
    QString linkText() const { return link_ ? link_->httpsUrl : QString(); }
    QString refreshNote() const { return link_ ? link_->refreshNote.value_or(QString()) : QString(); }
    QString errorMessage() const { return errorMessage_; }
    QString infoMessage() const { return infoMessage_; }
    QString confirmation() const { return confirmation_; }
    QString confirmationTitle() const;
    QString confirmationMessage() const;
    QString confirmationAction() const;

    // Issues a link, remembers that one was issued, and opens it in the calendar app.
    Q_INVOKABLE void addToCalendar();
    // Opens this run's link again.
    Q_INVOKABLE void openInCalendar();
    // Copies the https form of the link, issuing one first when this run has none.
    Q_INVOKABLE void copyLink();
    Q_INVOKABLE void requestReplace();
    Q_INVOKABLE void requestStopSharing();
    // Answers the question waiting: confirm() goes ahead, cancelConfirmation() sends nothing.
    Q_INVOKABLE void confirm();
    Q_INVOKABLE void cancelConfirmation();
    // Downloads the feed and writes it to a local file, issuing a link first when this run has none.
    Q_INVOKABLE void saveCalendarFile(const QUrl& file);
    // Where the save dialog starts: "Study schedule.ics" in the user's documents.
    Q_INVOKABLE QUrl suggestedFile() const;

Q_SIGNALS:
    void busyChanged();
    void linkChanged();
    void messageChanged();
    void confirmationChanged();

private:
    enum class Follow { open, copy, show };
    static async::Task<void> issue(CalendarFeedModel* self, Follow follow);
    static async::Task<void> revoke(CalendarFeedModel* self);
    static async::Task<void> save(CalendarFeedModel* self, QString path);
    static async::Task<void> issueLink(CalendarFeedModel* self);
    void start(const QString& busyText, async::Task<void> task);
    void openLink();
    void putOnClipboard();
    void setMessages(const QString& error, const QString& info = {});
    void setConfirmation(const QString& kind);

    APIClient client_;
    PreferencesStore* preferences_;
    std::unique_ptr<UrlOpener> ownedOpener_;
    std::unique_ptr<Clipboard> ownedClipboard_;
    UrlOpener* opener_;
    Clipboard* clipboard_;
    std::optional<CalendarFeedResponse> link_;
    QString busyText_;
    QString errorMessage_;
    QString infoMessage_;
    QString confirmation_;
    async::TaskScope tasks_; // last: tasks end before what they use
};
