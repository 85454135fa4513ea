// Any bytes read as a quest file: either refused with an error that leaves the
// document as it was, or a document that saves back to a file which reads as
// the same document again.

#include "errors.h"
#include "questfile.h"

#include <QByteArray>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdlib>

namespace {
QString g_path;

// A document whose every field differs from what any file can give, so a
// refused read that changed anything shows.
QuestDocument sentinel()
{
    QuestDocument doc;
    doc.title = QStringLiteral("\u20ac unchanged");
    doc.monster = QStringLiteral("Ork");
    doc.intro = {QStringLiteral("intro")};
    doc.notes[QuestDocument::B] = {QStringLiteral("b1"), QString()};
    doc.active = {true, false, true, false, true};
    doc.introFont = QStringLiteral("Arial");
    doc.introSize = 12;
    return doc;
}

bool writeFile(const QByteArray &bytes)
{
    QFile file(g_path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(bytes) == bytes.size();
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    // A working folder in memory where there is one: one file per input.
    static QTemporaryDir dir(QFile::exists(QStringLiteral("/dev/shm"))
                                 ? QStringLiteral("/dev/shm/fuzz_quest-XXXXXX")
                                 : QString());
    if (!dir.isValid())
        std::abort();
    g_path = dir.filePath(QStringLiteral("input.dke"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    if (!writeFile(bytes))
        std::abort();

    const QuestDocument before = sentinel();
    QuestDocument doc = before;
    try {
        questfile::read(g_path, doc);
    } catch (const DkError &error) {
        if (doc != before)
            std::abort(); // a refused file changed the document
        if (error.text() != questfile::incompleteFile(g_path) &&
            error.text() != questfile::tooLargeFile(g_path))
            std::abort(); // a file that exists is readable: only "incomplete" or "too large" may
                          // refuse it
        return 0;
    }

    // Font and size are not part of the file.
    if (doc.introFont != before.introFont || doc.introSize != before.introSize)
        std::abort();
    // Every line that was read fits the code page and the line limit.
    if (!questfile::unencodableCharacters(doc).isEmpty())
        std::abort();
    for (const QString &line : questfile::toLines(doc))
        if (line.size() > questfile::kMaxLineLength || line.contains(QLatin1Char('\0')) ||
            line.contains(QLatin1Char('\r')) || line.contains(QLatin1Char('\n')))
            std::abort();
    // No text section holds a separator line: it would have ended the section.
    if (!questfile::sectionWithSeparatorLine(doc).isEmpty())
        std::abort();

    // Save and read back: the same document, and the same bytes once more.
    questfile::write(doc, g_path);
    QuestDocument again = sentinel();
    questfile::read(g_path, again);
    if (again != doc)
        std::abort();
    if (questfile::encode(again) != questfile::encode(doc))
        std::abort();
    return 0;
}
