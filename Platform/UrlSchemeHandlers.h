#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

// Which installed applications open URLs of a scheme, found the freedesktop way: a scheme is the
// MIME type "x-scheme-handler/<scheme>", the mimeapps.list files choose defaults and add or remove
// associations, and the .desktop files under applications/ declare what they handle.
class UrlSchemeHandlers {
public:
    // The XDG base directories, in precedence order, and the desktops of the session
    // (XDG_CURRENT_DESKTOP) whose own "<desktop>-mimeapps.list" files come first.
    struct Directories {
        QString configHome;
        QStringList configDirs;
        QString dataHome;
        QStringList dataDirs;
        QStringList currentDesktops;

        static Directories fromEnvironment();
    };

    explicit UrlSchemeHandlers(Directories directories);

    // Desktop file ids ("org.gnome.Calendar.desktop") of the applications that handle the scheme,
    // the default first; empty when nothing does.
    QStringList handlers(const QString& scheme) const;

private:
    struct DesktopEntry {
        QStringList mimeTypes;
    };

    void indexApplications();
    QStringList mimeappsFiles() const;

    Directories directories_;
    // Every installed application by desktop id, and the ids in the order the directories give them.
    QHash<QString, DesktopEntry> installed_;
    QStringList installedOrder_;
};
