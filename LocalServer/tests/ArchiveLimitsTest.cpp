#include "Documents/DocumentText.h"
#include "Documents/ZipArchive.h"
#include "SampleDocuments.h"
#include "ZipBuilder.h"

#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using Error = ZipArchive::Error;
constexpr qint64 MiB = 1024 * 1024;

// Hostile ZIP archives: each limit at its edge and one past it, sizes that lie, and entries that
// share their data, read directly and through the document text they would fail.
class ArchiveLimitsTest : public QObject {
    Q_OBJECT

    QTemporaryDir dir;

    DocumentText extract(const QByteArray& bytes, const QString& filename) {
        return SampleDocuments::extracted(dir, bytes, filename);
    }

    // Bytes that do not deflate: a random block longer than the deflate window, repeated.
    static QByteArray incompressible(qint64 size) {
        QList<quint32> block(16 * 1024);
        QRandomGenerator(7).fillRange(block.data(), block.size());
        const QByteArray bytes(reinterpret_cast<const char*>(block.constData()), block.size() * 4);
        return bytes.repeated(size / bytes.size() + 1).left(size);
    }

    static QByteArray slideXml() {
        return "<p:sld xmlns:p=\"p\" xmlns:a=\"a\"><p:cSld><p:spTree><p:sp><p:txBody><a:p><a:r><a:t>" +
               QByteArray("bomb ").repeated(8 * MiB / 5) +
               "</a:t></a:r></a:p></p:txBody></p:sp></p:spTree></p:cSld></p:sld>";
    }

private slots:
    void bombOfEntriesSharingOneMemberIsRefused() {
        const ZipBuilder::Member member = ZipBuilder::deflated("ppt/slides/slide1.xml", slideXml(), 9);
        ZipBuilder builder;
        const quint32 offset = builder.addRecord(member);
        for (int i = 1; i <= 16; ++i) {
            ZipBuilder::Member entry = member;
            entry.name = QStringLiteral("ppt/slides/slide%1.xml").arg(i);
            builder.addEntry(entry, offset);
        }
        const QByteArray bytes = builder.bytes();
        QVERIFY2(bytes.size() < 16 * 1024, "a few kilobytes, as the bomb found in the wild");
        QCOMPARE(ZipArchive::open(bytes).error(), Error::overlappingEntries);
        const DocumentText result = extract(bytes, "bomb.pptx");
        QCOMPARE(result.error,
                 "The document's files share their data, as in a ZIP bomb; it was not unpacked.");
        QVERIFY(result.text.isEmpty());
    }

    void overlappingEntries_data() {
        QTest::addColumn<int>("extraBytes"); // of the first entry's packed size, into the second record
        QTest::addColumn<bool>("shared");    // the second entry points at the first's record
        QTest::addColumn<Error>("error");
        QTest::newRow("adjacent records") << 0 << false << Error::none;
        QTest::newRow("one byte into the next record") << 1 << false << Error::overlappingEntries;
        QTest::newRow("one record for two entries") << 0 << true << Error::overlappingEntries;
    }

    void overlappingEntries() {
        QFETCH(int, extraBytes);
        QFETCH(bool, shared);
        QFETCH(Error, error);
        const ZipBuilder::Member first = ZipBuilder::stored("word/document.xml", "<w:document/>");
        const ZipBuilder::Member second = ZipBuilder::stored("word/styles.xml", "<w:styles/>");
        ZipBuilder builder;
        const quint32 firstOffset = builder.addRecord(first);
        const quint32 secondOffset = builder.addRecord(second);
        // The first entry claims the opening bytes of the second record ("PK…") as its own.
        ZipBuilder::Member claimed =
            ZipBuilder::stored(first.name, "<w:document/>" + QByteArray("PK").left(extraBytes));
        builder.addEntry(claimed, firstOffset);
        builder.addEntry(second, shared ? firstOffset : secondOffset);
        ZipArchive archive = ZipArchive::open(builder.bytes());
        QCOMPARE(archive.error(), error);
        if (error == Error::none)
            QCOMPARE(archive.read("word/styles.xml").value_or(QByteArray()), "<w:styles/>");
        else
            QVERIFY(archive.names().isEmpty());
    }

    void entryCount_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<Error>("error");
        QTest::newRow("at the limit") << ZipArchive::maxEntries << Error::none;
        QTest::newRow("one past") << ZipArchive::maxEntries + 1 << Error::tooManyEntries;
    }

    void entryCount() {
        QFETCH(int, entries);
        QFETCH(Error, error);
        ZipBuilder builder;
        for (int i = 0; i < entries; ++i)
            builder.add(ZipBuilder::stored(QStringLiteral("member%1.xml").arg(i), "x"));
        const ZipArchive archive = ZipArchive::open(builder.bytes());
        QCOMPARE(archive.error(), error);
        QCOMPARE(archive.names().size(), error == Error::none ? entries : 0);
    }

    // Declared sizes are checked before anything is read (stored members: packed as they are).
    void declaredSizes_data() {
        QTest::addColumn<QList<qint64>>("sizes");
        QTest::addColumn<Error>("error");
        QTest::newRow("member at the limit") << QList<qint64>{ZipArchive::maxEntryBytes} << Error::none;
        QTest::newRow("member one byte past")
            << QList<qint64>{ZipArchive::maxEntryBytes + 1} << Error::entryTooLarge;
        QTest::newRow("total at the limit") << QList<qint64>{20 * MiB, 20 * MiB, 10 * MiB} << Error::none;
        QTest::newRow("total one byte past")
            << QList<qint64>{20 * MiB, 20 * MiB, 10 * MiB + 1} << Error::archiveTooLarge;
    }

    void declaredSizes() {
        QFETCH(QList<qint64>, sizes);
        QFETCH(Error, error);
        ZipBuilder builder;
        for (qsizetype i = 0; i < sizes.size(); ++i)
            builder.add(ZipBuilder::stored(QStringLiteral("member%1.xml").arg(i), QByteArray(sizes[i], 'x')));
        ZipArchive archive = ZipArchive::open(builder.bytes());
        QCOMPARE(archive.error(), error);
        if (error != Error::none)
            return;
        for (qsizetype i = 0; i < sizes.size(); ++i)
            QCOMPARE(archive.read(QStringLiteral("member%1.xml").arg(i)).value_or(QByteArray()).size(),
                     sizes[i]);
        QCOMPARE(archive.error(), Error::none);
    }

    // Packed data is padded after the end of its deflate stream to set the ratio exactly.
    void declaredRatio_data() {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<qint64>("packedSize"); // 0: as deflated
        QTest::addColumn<Error>("error");
        const qint64 packed = 4096;
        QTest::newRow("at the ratio") << packed * ZipArchive::maxRatio << packed << Error::none;
        QTest::newRow("one byte past the ratio")
            << packed * ZipArchive::maxRatio + 1 << packed << Error::ratioTooHigh;
        QTest::newRow("any ratio up to the grace size")
            << ZipArchive::ratioGraceBytes << qint64(0) << Error::none;
        QTest::newRow("one byte past the grace size")
            << ZipArchive::ratioGraceBytes + 1 << qint64(0) << Error::ratioTooHigh;
    }

    void declaredRatio() {
        QFETCH(qint64, size);
        QFETCH(qint64, packedSize);
        QFETCH(Error, error);
        ZipBuilder::Member member = ZipBuilder::deflated("word/document.xml", QByteArray(size, ' '));
        QVERIFY(member.packed.size() * ZipArchive::maxRatio < size);
        if (packedSize > 0)
            member.packed.append(QByteArray(packedSize - member.packed.size(), '\0'));
        ZipBuilder builder;
        builder.add(member);
        ZipArchive archive = ZipArchive::open(builder.bytes());
        QCOMPARE(archive.error(), error);
        if (error == Error::none)
            QCOMPARE(archive.read("word/document.xml").value_or(QByteArray()).size(), size);
    }

    // A header declaring a small size does not let its member inflate past a limit: inflating
    // stops one byte past it. Up to the limit, the lie shows as damage.
    void sizesAreCountedWhileInflating_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<Error>("error");
        const QByteArray noise = incompressible(ZipArchive::maxEntryBytes + 1);
        QTest::newRow("member at the limit") << noise.left(ZipArchive::maxEntryBytes) << Error::damaged;
        QTest::newRow("member one byte past") << noise << Error::entryTooLarge;
        QTest::newRow("ratio at the grace size")
            << QByteArray(ZipArchive::ratioGraceBytes, ' ') << Error::damaged;
        QTest::newRow("ratio past the grace size")
            << QByteArray(ZipArchive::ratioGraceBytes + 1, ' ') << Error::ratioTooHigh;
        QTest::newRow("ratio bomb") << QByteArray(32 * MiB, ' ') << Error::ratioTooHigh;
    }

    void sizesAreCountedWhileInflating() {
        QFETCH(QByteArray, data);
        QFETCH(Error, error);
        ZipBuilder::Member member = ZipBuilder::deflated("word/document.xml", data);
        member.size = 1000;
        ZipBuilder builder;
        builder.add(member);
        ZipArchive archive = ZipArchive::open(builder.bytes());
        QCOMPARE(archive.error(), Error::none);
        QVERIFY(!archive.read("word/document.xml"));
        QCOMPARE(archive.error(), error);
    }

    // Two honest 20 MiB members leave 10 MiB for the third, whatever it declares.
    void totalIsCountedWhileInflating_data() {
        QTest::addColumn<qint64>("lastSize");
        QTest::addColumn<Error>("error");
        QTest::newRow("at the limit") << 10 * MiB << Error::damaged;
        QTest::newRow("one byte past") << 10 * MiB + 1 << Error::archiveTooLarge;
    }

    void totalIsCountedWhileInflating() {
        QFETCH(qint64, lastSize);
        QFETCH(Error, error);
        ZipBuilder builder;
        builder.add(ZipBuilder::stored("a.xml", QByteArray(20 * MiB, 'a')));
        builder.add(ZipBuilder::stored("b.xml", QByteArray(20 * MiB, 'b')));
        ZipBuilder::Member last = ZipBuilder::deflated("c.xml", incompressible(lastSize));
        last.size = 1000;
        builder.add(last);
        ZipArchive archive = ZipArchive::open(builder.bytes());
        QVERIFY(archive.read("a.xml"));
        QVERIFY(archive.read("b.xml"));
        QVERIFY(!archive.read("c.xml"));
        QCOMPARE(archive.error(), error);
    }

    void documentsFailWithTheLimitTheyBreak_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        ZipBuilder many;
        for (int i = 0; i <= ZipArchive::maxEntries; ++i)
            many.add(ZipBuilder::stored(QStringLiteral("word/media%1.xml").arg(i), "x"));
        QTest::newRow("entries") << many.bytes()
                                 << "The document holds more than 2000 files; it was not unpacked.";
        ZipBuilder large;
        large.add(ZipBuilder::stored("word/document.xml", QByteArray(ZipArchive::maxEntryBytes + 1, 'x')));
        QTest::newRow("member") << large.bytes()
                                << "A file in the document unpacks to more than 20 MiB; it was not read.";
        ZipBuilder total;
        for (int i = 0; i < 3; ++i)
            total.add(
                ZipBuilder::stored(QStringLiteral("word/media%1.bin").arg(i), QByteArray(17 * MiB, 'x')));
        QTest::newRow("total") << total.bytes()
                               << "The document unpacks to more than 50 MiB; it was not read.";
        ZipBuilder lying;
        ZipBuilder::Member bomb = ZipBuilder::deflated("word/document.xml", QByteArray(8 * MiB, ' '));
        bomb.size = 100;
        lying.add(bomb);
        QTest::newRow("ratio")
            << lying.bytes()
            << "The document is compressed more than 100 to 1, as in a ZIP bomb; it was not read.";
    }

    void documentsFailWithTheLimitTheyBreak() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        const DocumentText result = extract(bytes, "limits.docx");
        QCOMPARE(result.error, reason);
        QCOMPARE(result.fileType, "docx");
    }
};

QTEST_MAIN(ArchiveLimitsTest)
#include "ArchiveLimitsTest.moc"
