// Finding the applications that open a URL scheme, over a temporary XDG tree.
#include "UrlSchemeHandlers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString webcal = QStringLiteral("x-scheme-handler/webcal");

// config/, config-sys/, data/ and data-sys/ under one temporary directory.
struct XdgTree {
    QTemporaryDir root;

    UrlSchemeHandlers::Directories directories(QStringList desktops = {}) const {
        return {root.filePath("config"),
                {root.filePath("config-sys")},
                root.filePath("data"),
                {root.filePath("data-sys"), root.filePath("data-sys2")},
                std::move(desktops)};
    }
    void write(const QString& relativePath, const QByteArray& content) const {
        const QString path = root.filePath(relativePath);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            qFatal("cannot write %s", qPrintable(path));
        file.write(content);
    }
    void application(const QString& dataDir, const QString& name, const QString& mimeTypes,
                     const QByteArray& extra = {}) const {
        write(dataDir + "/applications/" + name, "[Desktop Entry]\nType=Application\nName=" + name.toUtf8() +
                                                     "\nExec=true %u\nMimeType=" + mimeTypes.toUtf8() + "\n" +
                                                     extra);
    }
    QStringList handlers(QStringList desktops = {}) const {
        return UrlSchemeHandlers(directories(std::move(desktops))).handlers("webcal");
    }
};

} // namespace

class UrlSchemeHandlersTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // Applications count when they declare the scheme's type and are really installed: not hidden,
    // their TryExec program present, and not shadowed by a same-named entry of higher precedence.
    void declaredApplications() {
        XdgTree tree;
        QVERIFY(tree.handlers().isEmpty());

        tree.application("data-sys", "viewer.desktop", "text/plain;");
        tree.application("data-sys", "mail.desktop", "x-scheme-handler/mailto;");
        QVERIFY(tree.handlers().isEmpty());

        tree.application("data-sys", "org.gnome.Calendar.desktop", "text/calendar;" + webcal + ";");
        tree.application("data-sys", "kde/korganizer.desktop", webcal);
        tree.application("data-sys", "gone.desktop", webcal, "TryExec=/nonexistent/gone-app\n");
        tree.application("data-sys", "hidden.desktop", webcal, "Hidden=true\n");
        tree.write("data-sys/applications/link.desktop",
                   "[Desktop Entry]\nType=Link\nMimeType=" + webcal.toUtf8());
        QCOMPARE(tree.handlers(), QStringList({"kde-korganizer.desktop", "org.gnome.Calendar.desktop"}));

        // The user's own entry of the same id hides the system's.
        tree.application("data", "org.gnome.Calendar.desktop", webcal, "Hidden=true\n");
        QCOMPARE(tree.handlers(), QStringList({"kde-korganizer.desktop"}));
        // The scheme is matched without regard to case, as URL schemes are.
        QCOMPARE(UrlSchemeHandlers(tree.directories()).handlers("WebCal"),
                 QStringList({"kde-korganizer.desktop"}));
    }

    // mimeapps.list: the default of highest precedence comes first, added associations join,
    // removed ones leave; a default that is not installed is passed over.
    void mimeappsChoices() {
        XdgTree tree;
        tree.application("data-sys", "evolution.desktop", webcal);
        tree.application("data-sys", "thunderbird.desktop", webcal);
        tree.application("data-sys2", "calendar-helper.desktop", "text/calendar;");
        QCOMPARE(tree.handlers(), QStringList({"evolution.desktop", "thunderbird.desktop"}));

        tree.write("data-sys/applications/mimeapps.list",
                   "[Default Applications]\nx-scheme-handler/webcal=thunderbird.desktop\n");
        QCOMPARE(tree.handlers(), QStringList({"thunderbird.desktop", "evolution.desktop"}));

        tree.write("config/mimeapps.list",
                   "[Default Applications]\nx-scheme-handler/webcal=uninstalled.desktop;"
                   "evolution.desktop;\n[Added Associations]\n"
                   "x-scheme-handler/webcal=calendar-helper.desktop;\n");
        QCOMPARE(tree.handlers(),
                 QStringList({"evolution.desktop", "calendar-helper.desktop", "thunderbird.desktop"}));

        // The session's desktop-specific file outranks the plain one in the same directory.
        tree.write("config/gnome-mimeapps.list",
                   "[Default Applications]\nx-scheme-handler/webcal=thunderbird.desktop\n"
                   "[Removed Associations]\nx-scheme-handler/webcal=evolution.desktop\n");
        QCOMPARE(tree.handlers({"gnome"}).first(), QStringLiteral("thunderbird.desktop"));
        QCOMPARE(tree.handlers({"gnome"}), QStringList({"thunderbird.desktop", "calendar-helper.desktop"}));
        QCOMPARE(tree.handlers({"kde"}).first(), QStringLiteral("evolution.desktop"));

        // Removing every association, with no default named anywhere, leaves nothing to open the link with.
        tree.write("data-sys/applications/mimeapps.list", "");
        tree.write("config/mimeapps.list", "[Removed Associations]\nx-scheme-handler/webcal="
                                           "evolution.desktop;thunderbird.desktop;\n");
        QVERIFY(tree.handlers().isEmpty());
    }

    void directoriesFromTheEnvironment() {
        qputenv("XDG_CONFIG_HOME", "/tmp/cfg");
        qunsetenv("XDG_DATA_DIRS");
        qputenv("XDG_CURRENT_DESKTOP", "ubuntu:GNOME");
        const auto directories = UrlSchemeHandlers::Directories::fromEnvironment();
        QCOMPARE(directories.configHome, QStringLiteral("/tmp/cfg"));
        QCOMPARE(directories.dataDirs, QStringList({"/usr/local/share", "/usr/share"}));
        QCOMPARE(directories.currentDesktops, QStringList({"ubuntu", "gnome"}));
    }
};

QTEST_GUILESS_MAIN(UrlSchemeHandlersTest)
#include "tst_UrlSchemeHandlers.moc"
