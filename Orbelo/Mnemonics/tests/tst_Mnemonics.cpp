#include <QtTest>

#include "InMemoryClipboard.h"
#include "JobsAPI.h"
#include "MnemonicHTMLParser.h"
#include "Mnemonics/MnemonicAccentStyle.h"
#include "Mnemonics/MnemonicBlockModel.h"
#include "Mnemonics/MnemonicCardModel.h"
#include "Mnemonics/MnemonicContent.h"
#include "Mnemonics/MnemonicGenerationModel.h"
#include "Mnemonics/MnemonicImageExport.h"
#include "Mnemonics/MnemonicImageRenderer.h"
#include "ScriptedClient.h"
#include "ScriptedHttpServer.h"
#include "VirtualClock.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

namespace {

const QByteArray bootstrap = R"({
    "courses": [{"course_id": "c1", "course_name": "Biology"}, {"course_id": "c2"}],
    "documents": [
        {"document_id": "d1", "title": "Cell Biology", "course_id": "c1"},
        {"document_id": "d2", "filename": "essay.pdf", "course_id": "c2"},
        {"document_id": "d3", "title": "Loose notes"},
        {"document_id": "d4", "title": "Genetics", "course_id": "c1"}
    ]})";

QByteArray mnemonicAnswer(const QString& text) {
    return QJsonDocument(QJsonObject{{"success", true},
                                     {"mnemonic", text},
                                     {"explanation", "Each letter starts a stage."},
                                     {"type", "acronym"},
                                     {"difficulty", "medium"},
                                     {"created_at", "2026-01-01T09:00:00Z"}})
        .toJson(QJsonDocument::Compact);
}

QByteArray jobStatus(const QString& status, const QJsonValue& result = {}) {
    QJsonObject object{{"job_id", "job_m1"},
                       {"user_id", "u1"},
                       {"job_type", "mnemonic"},
                       {"status", status},
                       {"created_at", "2026-01-01T09:00:00Z"}};
    if (!result.isUndefined() && !result.isNull())
        object["result"] = result;
    if (status == "failed")
        object["error"] = "The document has no text";
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

// A guide of `count` cards, one per accent colour in turn, after a "how to use" section.
QString guideHtml(int count) {
    static const QStringList colours{"#FFF3E0", "#E8F5E9", "#E3F2FD", "#F3E5F5", "#FFF9C4", "#FFFFFF"};
    QString html = "<div style=\"background:#F5F5F5\"><h3>How to use these mnemonics</h3>"
                   "<p>Say each one aloud, then cover it.</p></div>";
    for (int i = 0; i < count; ++i) {
        html += QString("<div style=\"background-color: %1\"><h3>Card %2</h3>"
                        "<p><strong>PMAT</strong> gives the order: <em>prophase</em>, metaphase, anaphase, "
                        "telophase.</p><ul><li>Chromosomes condense</li><li>Spindle forms</li></ul>")
                    .arg(colours.at(i % colours.size()))
                    .arg(i + 1);
        if (i % 2 == 0)
            html +=
                "<table><tr><td>P</td><td>Prophase</td></tr><tr><td>M</td><td>Metaphase</td></tr></table>";
        html += "</div>";
    }
    return html;
}

// The backend on a scripted server: bootstrap, the mnemonic endpoint and the job status.
struct Backend {
    ScriptedHttpServer server;
    int bootstrapStatus = 200;
    int generateStatus = 200;
    QByteArray generateBody = mnemonicAnswer("**HOMES**: Huron, Ontario, Michigan, Erie, Superior");
    bool holdGenerate = false;
    QByteArrayList jobAnswers;

    Backend() {
        server.setHandler([this](const RecordedRequest& r) { return answer(r); });
    }

    ScriptedResponse answer(const RecordedRequest& r) {
        if (r.path == "/api/bootstrap")
            return ScriptedResponse::json(
                bootstrapStatus, bootstrapStatus == 200 ? bootstrap : R"({"detail":"Database down"})");
        if (r.path == "/api/v1/learning-content/mnemonic") {
            const ScriptedResponse response = ScriptedResponse::json(generateStatus, generateBody);
            return holdGenerate ? ScriptedResponse::held(response) : response;
        }
        if (r.path.startsWith("/api/jobs/"))
            return ScriptedResponse::json(200, jobAnswers.takeFirst());
        return ScriptedResponse::json(404, "{}");
    }

    QList<QJsonObject> generateBodies() const {
        QList<QJsonObject> bodies;
        for (const RecordedRequest& r : server.requests()) {
            if (r.path == "/api/v1/learning-content/mnemonic")
                bodies << QJsonDocument::fromJson(r.body).object();
        }
        return bodies;
    }
};

QStringList values(const QVariantList& options, const char* key) {
    QStringList found;
    for (const QVariant& option : options)
        found << option.toMap().value(key).toString();
    return found;
}

double luminance(const QColor& colour) {
    const auto channel = [](double c) {
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool containsColour(const QImage& image, const QColor& colour, QRect area = {}) {
    if (area.isNull())
        area = image.rect();
    const QRgb wanted = colour.rgb();
    for (int y = area.top(); y <= area.bottom(); y += 2) {
        for (int x = area.left(); x <= area.right(); x += 2) {
            if ((image.pixel(x, y) & 0xFFFFFF) == (wanted & 0xFFFFFF))
                return true;
        }
    }
    return false;
}

const QList<MnemonicAccent> allAccents{MnemonicAccent::orange, MnemonicAccent::green,
                                       MnemonicAccent::blue,   MnemonicAccent::purple,
                                       MnemonicAccent::yellow, MnemonicAccent::neutral};

} // namespace

// The mnemonic sheet against a scripted backend, the choice between guide and text, the picture
// of a mnemonic and its export, and the accent colours.
class MnemonicsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The documents come from bootstrap; "All courses" shows every one, a course only its own, and
    // the selection follows the filter. A document asked for wins over a course that lacks it.
    void documentsAndCourseFilter() {
        Backend backend;
        MnemonicGenerationModel model(scriptedClient(backend.server));
        QVERIFY(!model.canGenerate());
        model.begin({}, {});
        QVERIFY(model.isLoading());
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(values(model.courses(), "label"),
                 QStringList({"All courses", "Biology", "Untitled course"}));
        QCOMPARE(values(model.documents(), "label"),
                 QStringList({"Cell Biology", "essay.pdf", "Loose notes", "Genetics"}));
        QCOMPARE(model.documentId(), QStringLiteral("d1"));
        QVERIFY(model.canGenerate());

        model.setCourseId("c2");
        QCOMPARE(values(model.documents(), "id"), QStringList{"d2"});
        QCOMPARE(model.documentId(), QStringLiteral("d2"));
        model.setDocumentId("d1"); // not in the course
        QCOMPARE(model.documentId(), QStringLiteral("d2"));
        model.setCourseId("c1");
        QCOMPARE(values(model.documents(), "id"), QStringList({"d1", "d4"}));
        model.setDocumentId("d4");
        model.setCourseId("nope");
        QCOMPARE(model.courseId(), QString());
        QCOMPARE(model.documentId(), QStringLiteral("d4")); // still passes
        QCOMPARE(model.documentTitle(), QStringLiteral("Genetics"));

        model.begin("d4", "c1");
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(model.courseId(), QStringLiteral("c1"));
        QCOMPARE(model.documentId(), QStringLiteral("d4"));
        model.begin("d3", "c1");
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(model.courseId(), QString());
        QCOMPARE(model.documentId(), QStringLiteral("d3"));
        model.begin({}, "c2");
        QTRY_VERIFY(!model.isLoading());
        QCOMPARE(model.documentId(), QStringLiteral("d2"));

        Backend failing;
        failing.bootstrapStatus = 500;
        MnemonicGenerationModel broken(scriptedClient(failing.server));
        broken.begin("d1", {});
        QTRY_VERIFY(!broken.isLoading());
        QVERIFY2(broken.errorMessage().startsWith("Couldn't load your documents: Request failed (500)."),
                 qPrintable(broken.errorMessage()));
        QVERIFY(broken.errorMessage().contains("Database down"));
        QVERIFY(!broken.canGenerate());
    }

    // What goes over the wire: the document and its course, the type's value, the difficulty
    // (medium unless changed), trimmed key ideas only when there are some, and store = true. While
    // the answer is on its way the button is busy; an inline answer is the result at once.
    void requestAndInlineAnswer() {
        Backend backend;
        backend.holdGenerate = true;
        MnemonicGenerationModel model(scriptedClient(backend.server));
        QSignalSpy announced(&model, &MnemonicGenerationModel::announcement);
        model.begin("d4", {});
        QTRY_VERIFY(model.canGenerate());
        QCOMPARE(
            values(MnemonicGenerationModel::types(), "label"),
            QStringList({"Any (auto-select)", "Acronym", "Acrostic", "Rhyme", "Story", "Memory Palace"}));
        QCOMPARE(values(MnemonicGenerationModel::types(), "value"),
                 QStringList({"any", "acronym", "acrostic", "rhyme", "story", "method_of_loci"}));
        QCOMPARE(model.mnemonicType(), QStringLiteral("any"));
        QCOMPARE(model.difficulty(), QStringLiteral("medium"));
        model.setMnemonicType("method_of_loci");
        model.setKeyIdeas("  \n the four stages of mitosis \n");
        QCOMPARE(model.generateLabel(), QStringLiteral("Create Mnemonic"));
        model.generate();
        QVERIFY(model.isRunning());
        QVERIFY(!model.canGenerate());
        QCOMPARE(model.generateLabel(), QStringLiteral("Generating"));
        QTRY_COMPARE(backend.server.heldCount(), 1);
        model.generate(); // ignored while running
        backend.server.releaseHeld();
        QTRY_VERIFY(model.hasResult());
        QVERIFY(!model.isRunning());
        QCOMPARE(model.mnemonic(), QStringLiteral("**HOMES**: Huron, Ontario, Michigan, Erie, Superior"));
        QCOMPARE(model.explanation(), QStringLiteral("Each letter starts a stage."));
        QCOMPARE(announced.size(), 1);
        QCOMPARE(announced.at(0).at(0).toString(), QStringLiteral("Your mnemonic is ready."));

        QCOMPARE(backend.generateBodies().size(), 1);
        const QJsonObject body = backend.generateBodies().at(0);
        QCOMPARE(body, QJsonObject({{"document_id", "d4"},
                                    {"course_id", "c1"},
                                    {"mnemonic_type", "method_of_loci"},
                                    {"difficulty", "medium"},
                                    {"key_ideas", "the four stages of mitosis"},
                                    {"store", true}}));

        // "Try another" returns to the inputs as they were; blank key ideas are left out.
        model.tryAnother();
        QVERIFY(!model.hasResult());
        QCOMPARE(model.mnemonicType(), QStringLiteral("method_of_loci"));
        backend.holdGenerate = false;
        model.setKeyIdeas(" \t ");
        model.setDifficulty("hard");
        model.setDocumentId("d3");
        model.generate();
        QTRY_VERIFY(model.hasResult());
        QCOMPARE(backend.generateBodies().at(1), QJsonObject({{"document_id", "d3"},
                                                              {"mnemonic_type", "method_of_loci"},
                                                              {"difficulty", "hard"},
                                                              {"store", true}}));
    }

    // A queued answer is followed on the job endpoint every two seconds until it completes.
    void queuedJobIsFollowed() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        Backend backend;
        backend.generateBody = R"({"job_id":"job_m1","status":"queued","job_type":"mnemonic"})";
        const QJsonValue result = QJsonDocument::fromJson(mnemonicAnswer("Kings Play Chess")).object();
        backend.jobAnswers = {jobStatus("processing"), jobStatus("complete", result)};
        MnemonicGenerationModel model(scriptedClient(backend.server));
        model.begin("d1", {});
        QTRY_VERIFY(model.canGenerate());
        model.generate();
        QTRY_COMPARE(backend.server.requestCount(), 3); // bootstrap, generate, first status
        QTRY_COMPARE(clock.nextTimerIn(), std::chrono::milliseconds(JobsAPI::pollInterval));
        QVERIFY(model.isRunning());
        clock.advance(JobsAPI::pollInterval);
        QTRY_VERIFY(model.hasResult());
        QCOMPARE(model.mnemonic(), QStringLiteral("Kings Play Chess"));
        QCOMPARE(backend.server.requests().last().path, QByteArray("/api/jobs/job_m1"));
    }

    // A failed request or job shows "Generation failed: …" and keeps every input for another go.
    void failureKeepsTheInputs() {
        Backend backend;
        backend.generateStatus = 503;
        backend.generateBody = R"({"detail":"Model overloaded"})";
        MnemonicGenerationModel model(scriptedClient(backend.server));
        model.begin("d2", {});
        QTRY_VERIFY(model.canGenerate());
        model.setMnemonicType("rhyme");
        model.setDifficulty("easy");
        model.setKeyIdeas("essay structure");
        model.generate();
        QTRY_VERIFY(!model.isRunning());
        QVERIFY2(model.errorMessage().startsWith("Generation failed: Request failed (503)."),
                 qPrintable(model.errorMessage()));
        QVERIFY(model.errorMessage().contains("Model overloaded"));
        QVERIFY(!model.hasResult());
        QCOMPARE(model.documentId(), QStringLiteral("d2"));
        QCOMPARE(model.mnemonicType(), QStringLiteral("rhyme"));
        QCOMPARE(model.difficulty(), QStringLiteral("easy"));
        QCOMPARE(model.keyIdeas(), QStringLiteral("essay structure"));
        QVERIFY(model.canGenerate());

        backend.generateStatus = 200;
        backend.generateBody = R"({"job_id":"job_m1","status":"queued","job_type":"mnemonic"})";
        backend.jobAnswers = {jobStatus("failed")};
        model.generate();
        QVERIFY(model.errorMessage().isEmpty());
        QTRY_VERIFY(!model.isRunning());
        QVERIFY2(model.errorMessage().startsWith("Generation failed: ") &&
                     model.errorMessage().contains("The document has no text"),
                 qPrintable(model.errorMessage()));
        QCOMPARE(model.keyIdeas(), QStringLiteral("essay structure"));
    }

    // Text that parses into cards is a guide, with its summary and the cards' accents and blocks;
    // anything else, markup without sections included, is Markdown without tags.
    void contentChoice() {
        MnemonicContent content;
        content.setText(guideHtml(2));
        QVERIFY(content.isGuide());
        QCOMPARE(content.summary(), QStringLiteral("Say each one aloud, then cover it."));
        QCOMPARE(content.cards().size(), 2);
        auto* first = qobject_cast<MnemonicCardModel*>(content.cards().at(0));
        QCOMPARE(first->title(), QStringLiteral("Card 1"));
        QCOMPARE(first->accent(), QStringLiteral("orange"));
        QCOMPARE(qobject_cast<MnemonicCardModel*>(content.cards().at(1))->accent(), QStringLiteral("green"));
        QList<MnemonicBlockModel*> blocks;
        for (QObject* block : first->blocks())
            blocks << qobject_cast<MnemonicBlockModel*>(block);
        QVERIFY(std::any_of(blocks.begin(), blocks.end(), [](MnemonicBlockModel* block) {
            return block->isGrid() && block->columns() == 2 &&
                   block->rows() ==
                       QVariantList({QStringList{"P", "Prophase"}, QStringList{"M", "Metaphase"}});
        }));
        QVERIFY(std::any_of(blocks.begin(), blocks.end(), [](MnemonicBlockModel* block) {
            return !block->isGrid() && block->markdown()->rowCount() > 0;
        }));
        QCOMPARE(content.markdown()->rowCount(), 0);

        QSignalSpy changed(&content, &MnemonicContent::textChanged);
        content.setText("**ROY G BIV**\n- Red\n- Orange");
        QCOMPARE(changed.size(), 1);
        QVERIFY(!content.isGuide());
        QVERIFY(content.cards().isEmpty());
        QCOMPARE(content.markdown()->rowCount(), 3);

        QVERIFY(!MnemonicContent::guide(u"<h3>Only a title</h3><p>and a line</p>"));
        QCOMPARE(MnemonicContent::fallbackMarkdown(u"<p>Remember <b>HOMES</b></p>"),
                 QStringLiteral("Remember **HOMES**"));
        content.setText("<p>Remember <b>HOMES</b></p>");
        QVERIFY(!content.isGuide());
        QCOMPARE(content.markdown()->index(0, 0).data(MarkdownText::TextRole).toString(),
                 QStringLiteral("Remember **HOMES**"));
        content.setText({});
        QVERIFY(!content.isGuide());
        QCOMPARE(content.markdown()->rowCount(), 0);
    }

    // The picture: the header band on top, the footer with the app's name and "Mnemonic Notes" at
    // the bottom, each card in its accent's background; more cards make it taller; and a size no
    // image can hold gives a null image rather than a crash.
    void imageRendering() {
        const QImage guide = MnemonicImageRenderer::render(guideHtml(6), "Cell division");
        QVERIFY(!guide.isNull());
        QCOMPARE(guide.width(), 2160);
        QCOMPARE(guide.devicePixelRatio(), 2.0);
        QCOMPARE(QColor(guide.pixel(10, 10)), MnemonicImageRenderer::headerColor);
        QCOMPARE(QColor(guide.pixel(10, guide.height() - 10)), MnemonicImageRenderer::footerColor);
        // Ink in the footer on both sides: the app's name on the left, "Mnemonic Notes" on the right.
        const int footerTop = guide.height() - 2 * 100;
        const QColor footer = MnemonicImageRenderer::footerColor;
        const auto hasInk = [&](int left, int right) {
            for (int y = footerTop + 10; y < guide.height() - 10; ++y)
                for (int x = left; x < right; ++x)
                    if (QColor(guide.pixel(x, y)) != footer &&
                        QColor(guide.pixel(x, y)) != QColor(0xE3, 0xE3, 0xEC))
                        return true;
            return false;
        };
        QVERIFY(hasInk(96, 600));
        QVERIFY(hasInk(guide.width() - 700, guide.width() - 96));
        QVERIFY(!hasInk(800, 1300)); // nothing in between
        for (MnemonicAccent accent : allAccents)
            QVERIFY2(containsColour(guide, MnemonicAccentStyle::colors(accent, false).background),
                     qPrintable(rawValue(accent)));

        const QImage shorter = MnemonicImageRenderer::render(guideHtml(2), "Cell division");
        QVERIFY(shorter.height() < guide.height());
        QVERIFY(
            !containsColour(shorter, MnemonicAccentStyle::colors(MnemonicAccent::blue, false).background));

        const QImage plain = MnemonicImageRenderer::render("**HOMES**: the Great Lakes", {});
        QVERIFY(!plain.isNull());
        QVERIFY(
            containsColour(plain, MnemonicAccentStyle::colors(MnemonicAccent::neutral, false).background));
        QVERIFY(
            !containsColour(plain, MnemonicAccentStyle::colors(MnemonicAccent::orange, false).background));

        QVERIFY(MnemonicImageRenderer::render(guideHtml(1), "x", {0, 2}).isNull());
        QVERIFY(MnemonicImageRenderer::render(guideHtml(1), "x", {1080, 0}).isNull());
        QVERIFY(MnemonicImageRenderer::render(guideHtml(1), "x", {4'000'000, 2}).isNull());
    }

    // Copying paints on the worker (the button reads "Preparing image…"), puts the picture on the
    // clipboard and reads "Copied" for two seconds; saving asks for a file named after the title
    // and writes a PNG there; a picture that cannot be painted says so.
    void imageExport() {
        async::VirtualClock clock;
        async::ScopedClock scoped(clock);
        InMemoryClipboard clipboard;
        MnemonicImageExport exporter(clipboard, {540, 1});
        exporter.setText(guideHtml(3));
        exporter.setTitle("Cell: Biology");
        QCOMPARE(exporter.copyLabel(), QStringLiteral("Copy image"));
        exporter.copy();
        QVERIFY(exporter.isPreparing());
        QCOMPARE(exporter.copyLabel(), QStringLiteral("Preparing image…"));
        QCOMPARE(exporter.saveLabel(), QStringLiteral("Save image…"));
        QTRY_VERIFY(!exporter.isPreparing());
        QCOMPARE(clipboard.image().width(), 540);
        QCOMPARE(exporter.copyLabel(), QStringLiteral("Copied"));
        clock.advance(MnemonicImageExport::copiedDuration);
        QTRY_COMPARE(exporter.copyLabel(), QStringLiteral("Copy image"));

        QSignalSpy ready(&exporter, &MnemonicImageExport::saveReady);
        exporter.prepareSave(); // the picture is kept: no painting again
        QCOMPARE(ready.size(), 1);
        const QUrl suggested = ready.at(0).at(0).toUrl();
        QCOMPARE(suggested.fileName(), QStringLiteral("Cell Biology mnemonic.png"));
        QTemporaryDir dir;
        const QString path = dir.filePath("out.png");
        QSignalSpy saved(&exporter, &MnemonicImageExport::saved);
        exporter.save(QUrl::fromLocalFile(path));
        QCOMPARE(exporter.saveLabel(), QStringLiteral("Preparing image…"));
        QTRY_COMPARE(saved.size(), 1);
        QCOMPARE(QImage(path, "PNG").size(), clipboard.image().size());
        QCOMPARE(exporter.saveLabel(), QStringLiteral("Save image…"));
        exporter.save(QUrl::fromLocalFile(dir.filePath("missing/dir/out.png")));
        QTRY_VERIFY(!exporter.isPreparing());
        QVERIFY2(exporter.errorMessage().startsWith("Couldn't save the image: "),
                 qPrintable(exporter.errorMessage()));
        QCOMPARE(saved.size(), 1);

        // A new text drops the old picture; the save then waits for the new one.
        exporter.setText("Plain words");
        exporter.prepareSave();
        QCOMPARE(exporter.saveLabel(), QStringLiteral("Preparing image…"));
        QVERIFY(exporter.errorMessage().isEmpty());
        QTRY_COMPARE(ready.size(), 2);

        MnemonicImageExport impossible(clipboard, {0, 2});
        impossible.setText(guideHtml(1));
        impossible.copy();
        QTRY_VERIFY(!impossible.isPreparing());
        QCOMPARE(impossible.errorMessage(), QStringLiteral("Couldn't render image."));
        QCOMPARE(impossible.copyLabel(), QStringLiteral("Copy image"));
        QCOMPARE(clipboard.image().width(), 540); // unchanged
    }

    // Every accent in both themes: readable text on its background, backgrounds that tell the
    // accents apart, and light backgrounds that are the guide's own section colours.
    void accentStyles() {
        for (bool dark : {false, true}) {
            QSet<QRgb> backgrounds;
            for (MnemonicAccent accent : allAccents) {
                const MnemonicAccentStyle::Colors colors = MnemonicAccentStyle::colors(accent, dark);
                const QString name = rawValue(accent) + (dark ? " dark" : " light");
                QVERIFY2(contrast(colors.text, colors.background) >= 4.5, qPrintable(name));
                QVERIFY2(contrast(colors.accent, colors.background) >= 1.8, qPrintable(name));
                QVERIFY2(dark == (luminance(colors.background) < 0.2), qPrintable(name));
                backgrounds.insert(colors.background.rgb());
                QCOMPARE(MnemonicAccentStyle::background(rawValue(accent), dark), colors.background);
                QCOMPARE(MnemonicAccentStyle::text(rawValue(accent), dark), colors.text);
                if (!dark)
                    QCOMPARE(mnemonicAccentForBackground(colors.background.name()), accent);
            }
            QCOMPARE(backgrounds.size(), allAccents.size());
        }
        QCOMPARE(MnemonicAccentStyle::accent("magenta", false),
                 MnemonicAccentStyle::colors(MnemonicAccent::neutral, false).accent);
    }
};

QTEST_MAIN(MnemonicsTest)
#include "tst_Mnemonics.moc"
