// Quest files, the Windows-1252 codec and the shown lines of the text fields.

#include "cp1252.h"
#include "errors.h"
#include "fonts.h"
#include "questfile.h"
#include "textlines.h"

#include <QFile>
#include <QFontMetrics>
#include <QTemporaryDir>
#include <QtTest>

#include "testhelpers.h"

Q_DECLARE_METATYPE(QuestDocument)

namespace {
QString dataPath(const QString &name)
{
    return QStringLiteral(DK_TEST_DATA "/quest/") + name;
}

QuestDocument workedExample()
{
    QuestDocument doc;
    doc.title = QStringLiteral("Der verlorene Schlüssel");
    doc.monster = QStringLiteral("Ork");
    doc.intro =
        QStringList{QStringLiteral("Ein Schlüssel liegt"), QStringLiteral("im tiefsten Keller.")};
    doc.notes[QuestDocument::A] = QStringList{QStringLiteral("Hier liegt der Schlüssel.")};
    doc.notes[QuestDocument::D] = QStringList{QStringLiteral("Eine Falle.")};
    doc.notes[QuestDocument::Other] = QStringList{QStringLiteral("Viel Glück!")};
    doc.active = {true, false, false, false, true};
    return doc;
}

// A document that differs from every file read here, to see what a read keeps.
QuestDocument somethingElse()
{
    QuestDocument doc;
    doc.title = QStringLiteral("Alt");
    doc.intro = QStringList{QStringLiteral("bleibt")};
    doc.active = {true, true, true, true, true};
    doc.introFont = QStringLiteral("Default");
    doc.introSize = 12;
    return doc;
}
} // namespace

class TestQuestFile : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { questfonts::installFontSubstitutions(); }

    void writesStoredFilesByteForByte_data()
    {
        QTest::addColumn<QuestDocument>("document");
        QTest::addColumn<QString>("file");
        QTest::newRow("worked example, 18 lines, 175 bytes")
            << workedExample() << "worked_example.dke";
        QTest::newRow("empty document, 13 lines, 54 bytes") << QuestDocument() << "empty.dke";
    }
    void writesStoredFilesByteForByte()
    {
        QFETCH(QuestDocument, document);
        QFETCH(QString, file);
        const QByteArray expected = readBytes(dataPath(file));
        QVERIFY(!expected.isEmpty());
        QCOMPARE(questfile::encode(document), expected);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("q.dke"));
        questfile::write(document, path);
        QCOMPARE(readBytes(path), expected);
        // Writing again replaces the file without asking.
        questfile::write(QuestDocument(), path);
        QCOMPARE(readBytes(path).size(), 54);
    }

    void readsEveryLineEnd_data()
    {
        QTest::addColumn<QString>("file");
        QTest::newRow("CR LF") << "worked_example.dke";
        QTest::newRow("LF only") << "worked_example_lf.dke";
        QTest::newRow("CR only") << "worked_example_cr.dke";
        QTest::newRow("no line end after the last line") << "worked_example_noend.dke";
    }
    void readsEveryLineEnd()
    {
        QFETCH(QString, file);
        QuestDocument doc = somethingElse();
        questfile::read(dataPath(file), doc);
        QuestDocument expected = workedExample();
        // Intro font and size are not in the file: they stay.
        expected.introFont = QStringLiteral("Default");
        expected.introSize = 12;
        QCOMPARE(doc, expected);
    }

    void flagLinesAreComparedExactly()
    {
        QuestDocument doc;
        questfile::read(dataPath(QStringLiteral("flags_all.dke")), doc);
        QCOMPARE(doc.active, (std::array<bool, 5>{true, true, true, true, true}));
        // "+A " (trailing space), "+a", "+C", "+D", then the file ends.
        questfile::read(dataPath(QStringLiteral("flags_odd.dke")), doc);
        QCOMPARE(doc.active, (std::array<bool, 5>{false, false, true, true, false}));
    }

    // Whatever a document holds, each field and text line stays one file
    // line: a line break inside it is written as a space.
    void writerKeepsEveryLineWhole()
    {
        QuestDocument doc = workedExample();
        doc.title = QStringLiteral("Erste\nZweite\r\n---\r\n+A");
        doc.monster = QStringLiteral("Ork\rTroll");
        doc.intro = QStringList{QStringLiteral("a\u2028b"), QStringLiteral("c\u2029d\n\n")};
        doc.notes[QuestDocument::Other] = QStringList{QStringLiteral("---\r\n")};
        const QByteArray bytes = questfile::encode(doc);
        QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.takeLast(), QByteArray());
        QCOMPARE(lines.size(), 18);
        for (const QByteArray &line : lines)
            QVERIFY2(line.endsWith('\r') && line.count('\r') == 1, line.constData());
        QuestDocument back;
        QVERIFY(questfile::parseLines(questfile::splitLines(bytes), back));
        QCOMPARE(back.title, QStringLiteral("Erste Zweite --- +A"));
        QCOMPARE(back.monster, QStringLiteral("Ork Troll"));
        QCOMPARE(back.intro, (QStringList{"a b", "c d  "}));
        QCOMPARE(back.notes[QuestDocument::Other], QStringList{"--- "});
        QCOMPARE(back.active, doc.active);
    }

    void longLinesAreKeptWhole()
    {
        QuestDocument doc;
        questfile::read(dataPath(QStringLiteral("long_lines.dke")), doc);
        QCOMPARE(doc.title.size(), 60);
        QCOMPARE(doc.monster, QStringLiteral("Troll"));
        QCOMPARE(doc.intro, QStringList{QString(4096, QLatin1Char('x'))});
        QCOMPARE(doc.active, (std::array<bool, 5>{}));
    }

    // "---" ends a section only below title and monster; a section that
    // holds such a line cannot be saved.
    void separatorLines()
    {
        QuestDocument doc;
        questfile::read(dataPath(QStringLiteral("separator_title.dke")), doc);
        QCOMPARE(doc.title, QStringLiteral("---"));
        QCOMPARE(doc.monster, QStringLiteral("---"));
        QCOMPARE(doc.notes[QuestDocument::A], QStringList{QStringLiteral("Anmerkung")});
        QCOMPARE(questfile::encode(doc),
                 readBytes(dataPath(QStringLiteral("separator_title.dke"))));
        QVERIFY(questfile::sectionWithSeparatorLine(doc).isEmpty());
        doc.notes[QuestDocument::C] = QStringList{QStringLiteral("--- "), QStringLiteral("----")};
        QVERIFY(questfile::sectionWithSeparatorLine(doc).isEmpty());
        doc.notes[QuestDocument::C] << QStringLiteral("---");
        QCOMPARE(questfile::sectionWithSeparatorLine(doc), QStringLiteral("Anmerkung C"));
        doc.intro = QStringList{QStringLiteral("a"), QStringLiteral("---")};
        QCOMPARE(questfile::sectionWithSeparatorLine(doc), QStringLiteral("Einleitung"));
    }

    void incompleteFilesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("truncated after four separators")
            << readBytes(dataPath(QStringLiteral("truncated.dke")));
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("two lines") << QByteArray("Titel\r\nOrk\r\n");
        QTest::newRow("a picture") << QByteArray("BM\x36\x00\x00\x00\x00\x00\x00\x00\x36\x00", 12);
        QTest::newRow("separators with spaces")
            << QByteArray("T\nM\n--- \n---\n---\n---\n---\n---\n-A\n");
    }
    void incompleteFilesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("kaputt.dke"));
        QVERIFY(writeBytes(path, bytes));

        QuestDocument doc = somethingElse();
        QCOMPARE(errorOf([&] { questfile::read(path, doc); }),
                 QStringLiteral("Die Datei %1 ist keine vollständige Quest-Datei.").arg(path));
        QCOMPARE(doc, somethingElse());
    }

    // Files past 10,000 lines or 1 MB are refused before anything changes;
    // a file at both limits reads.
    void tooLargeFilesAreRefused_data()
    {
        QTest::addColumn<int>("emptyLines");
        QTest::addColumn<qint64>("extraBytes"); // a sparse tail of zero bytes
        QTest::addColumn<bool>("refused");
        // Title, monster, six separators and five flags: 13 lines besides.
        QTest::newRow("10,000 lines") << 10000 - 13 << qint64(0) << false;
        QTest::newRow("10,001 lines") << 10001 - 13 << qint64(0) << true;
        QTest::newRow("1.8 million empty lines") << 1800000 << qint64(0) << true;
        QTest::newRow("1,000,000 bytes") << 0 << qint64(0) << false;
        QTest::newRow("1,000,001 bytes") << 0 << qint64(1) << true;
        QTest::newRow("3 GB") << 0 << qint64(3) << true;
    }
    void tooLargeFilesAreRefused()
    {
        QFETCH(int, emptyLines);
        QFETCH(qint64, extraBytes);
        QFETCH(bool, refused);
        QByteArray bytes = "Titel\r\nOrk\r\n" + QByteArray(emptyLines, '\n');
        for (int i = 0; i < 6; ++i)
            bytes += "---\r\n";
        bytes += "+A\r\n-B\r\n-C\r\n-D\r\n-S";
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("gross.dke"));
        QVERIFY(writeBytes(path, bytes));
        if (QByteArray(QTest::currentDataTag()).endsWith("bytes"))
            // Zero bytes end the last line.
            QVERIFY(QFile::resize(path, questfile::kMaxFileBytes + extraBytes));
        else if (extraBytes == 3)
            QVERIFY(QFile::resize(path, qint64(3) << 30)); // sparse: takes no room

        QuestDocument doc = somethingElse();
        const QString error = errorOf([&] { questfile::read(path, doc); });
        if (!refused) {
            QCOMPARE(error, QString());
            QCOMPARE(doc.title, QStringLiteral("Titel"));
            return;
        }
        QCOMPARE(error,
                 QStringLiteral("Die Datei %1 ist zu groß für eine Quest-Datei (höchstens 10.000 "
                                "Zeilen und 1 MB).")
                     .arg(path));
        QCOMPARE(doc, somethingElse());
    }

    void fileErrors()
    {
        QuestDocument doc = somethingElse();
        const QString missing = dataPath(QStringLiteral("gibt-es-nicht.dke"));
        QCOMPARE(errorOf([&] { questfile::read(missing, doc); }), errors::cannotOpen(missing));
        QCOMPARE(doc, somethingElse());
        QTemporaryDir dir;
        const QString unwritable = dir.filePath(QStringLiteral("kein/ordner/q.dke"));
        QCOMPARE(errorOf([&] { questfile::write(doc, unwritable); }),
                 errors::cannotCreate(unwritable));
    }

    void splitLines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("nothing") << QByteArray() << QStringList();
        QTest::newRow("one line end") << QByteArray("\r\n") << QStringList{QString()};
        QTest::newRow("mixed ends")
            << QByteArray("a\r\rb\nc\r\nd") << QStringList{"a", "", "b", "c", "d"};
        QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
        QTest::newRow("zero bytes dropped") << QByteArray("a\0b\n", 4) << QStringList{"ab"};
    }
    void splitLines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(questfile::splitLines(bytes), lines);
    }

    void withExtension_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        QTest::newRow("plain") << "quest"
                               << "quest.dke";
        QTest::newRow("has it") << "quest.dke"
                                << "quest.dke";
        QTest::newRow("upper case") << "QUEST.DKE"
                                    << "QUEST.DKE.dke";
        QTest::newRow("inside") << "alt.dke.txt"
                                << "alt.dke.txt";
        QTest::newRow("folder") << "/home/a.dke/quest"
                                << "/home/a.dke/quest";
    }
    void withExtension()
    {
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        QCOMPARE(questfile::withExtension(typed), saved);
    }

    // A file given to open is a quest file by its last suffix, in any letter
    // case; naming a saved file (above) looks for ".dke" anywhere instead.
    void isQuestFile_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("quest");
        QTest::newRow("plain") << "quest" << false;
        QTest::newRow("has it") << "/home/quest.dke" << true;
        QTest::newRow("upper case") << "QUEST.DKE" << true;
        QTest::newRow("inside") << "alt.dke.txt" << false;
        QTest::newRow("folder") << "/home/a.dke/karte.bmp" << false;
        QTest::newRow("a map") << "karte.bmp" << false;
    }
    void isQuestFile()
    {
        QFETCH(QString, path);
        QFETCH(bool, quest);
        QCOMPARE(questfile::isQuestFile(path), quest);
    }

    void codePage()
    {
        // Every byte survives decoding and encoding again.
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all.append(char(b));
        QCOMPARE(cp1252::encode(cp1252::decode(all)), all);
        // What the code page cannot hold is named and written as "?", one per character.
        const QString text = QStringLiteral("€Łł漢😀€ü");
        QCOMPARE(cp1252::unencodable(text), QStringLiteral("Łł漢😀"));
        QCOMPARE(cp1252::encode(text), QByteArray("\x80????\x80\xfc"));
        QVERIFY(cp1252::unencodable(QStringLiteral("Öl für 5 € …")).isEmpty());
    }

    void codePageRoundTripThroughFile()
    {
        const QString path = dataPath(QStringLiteral("cp1252.dke"));
        QuestDocument doc;
        questfile::read(path, doc);
        QCOMPARE(doc.title, QStringLiteral("Preis: 5 € – „gut“"));
        QCOMPARE(doc.intro, QStringList{QStringLiteral("Straße, Öl, ü, ß, …, ™, Œ, Ÿ")});
        QCOMPARE(questfile::encode(doc), readBytes(path));
        doc.notes[QuestDocument::B] = QStringList{QStringLiteral("Łódź")};
        QCOMPARE(questfile::unencodableCharacters(doc), QStringLiteral("Łź"));
    }

    void shownLinesCountLikeTheField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("empty") << "" << QStringList();
        QTest::newRow("one line break") << "abc\n" << QStringList{"abc"};
        QTest::newRow("two line breaks") << "abc\n\n" << QStringList{"abc", ""};
        QTest::newRow("empty lines inside") << "\n\na\n" << QStringList{"", "", "a"};
    }
    void shownLinesCountLikeTheField()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(textlines::shownIntroLines(text), lines);
        QCOMPARE(textlines::shownNoteLines(text), lines);
        // Loading puts lines back as a field text that shows them again.
        QCOMPARE(textlines::shownNoteLines(textlines::fieldText(lines)), lines);
    }

    void shownLinesWrapAtTheFieldWidth()
    {
        const QString paragraph = QStringLiteral(
            "Tief unter der alten Burg liegt ein Gewölbe, in dem die Helden den verlorenen "
            "Schlüssel des Königs suchen müssen, bevor die Goblins ihn finden.");
        const QStringList intro = textlines::shownIntroLines(paragraph);
        const QStringList note = textlines::shownNoteLines(paragraph);
        QVERIFY(intro.size() > 1);
        // Wrapping adds no characters and drops none.
        QCOMPARE(intro.join(QString()), paragraph);
        QCOMPARE(note.join(QString()), paragraph);
        // Each line fits in the field; a line breaks at a space.
        const QFontMetrics metrics(questfonts::introFieldFont());
        const int width =
            textlines::wrapWidth(textlines::kIntroFieldWidth) - 2 * textlines::kFieldMargin;
        for (int i = 0; i < intro.size(); ++i) {
            QVERIFY2(metrics.horizontalAdvance(intro[i].trimmed()) <= width, qPrintable(intro[i]));
            if (i + 1 < intro.size())
                QVERIFY(intro[i].endsWith(QLatin1Char(' ')));
        }
        // A word wider than the field breaks anywhere.
        const QString word(300, QLatin1Char('W'));
        const QStringList pieces = textlines::shownNoteLines(word);
        QVERIFY(pieces.size() > 1);
        QCOMPARE(pieces.join(QString()), word);
    }

    void introFontList()
    {
        const QStringList list = questfonts::introFontList();
        QVERIFY(list.contains(QStringLiteral("Default")));
        for (int i = 1; i < list.size(); ++i)
            QVERIFY2(list[i - 1].compare(list[i], Qt::CaseInsensitive) <= 0, qPrintable(list[i]));
        QCOMPARE(QSet<QString>(list.begin(), list.end()).size(), list.size());
        for (const QString &name : list)
            QVERIFY2(!name.endsWith(QLatin1Char(']')), qPrintable(name));
        // Each family once under its plain name, whatever foundries make it.
        QCOMPARE(questfonts::plainFontList({"Nimbus Sans [URW ]", "C059 [UKWN]", "arial",
                                            "C059 [urw]", "DejaVu Sans", "C059"}),
                 (QStringList{"arial", "C059", "Default", "DejaVu Sans", "Nimbus Sans"}));
        QCOMPARE(questfonts::faceFor(QStringLiteral("dEfAuLt")), QStringLiteral("MS Sans Serif"));
        QCOMPARE(questfonts::faceFor(QStringLiteral("Liberation Serif")),
                 QStringLiteral("Liberation Serif"));
    }
};

QTEST_MAIN(TestQuestFile)
#include "test_questfile.moc"
