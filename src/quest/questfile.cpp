#include "questfile.h"
#include "cp1252.h"
#include "errors.h"

#include "userfiles.h"

#include <QFile>
#include <QFileInfo>

namespace {
constexpr char kFlagLetters[QuestDocument::NoteCount] = {'A', 'B', 'C', 'D', 'S'};

// The six text sections in file order: the intro, then the five notes.
const QStringList &section(const QuestDocument &document, int index)
{
    return index == 0 ? document.intro : document.notes[std::size_t(index - 1)];
}
} // namespace

QString questfile::withExtension(const QString &path)
{
    return path.contains(QLatin1String(".dke")) ? path : path + QLatin1String(".dke");
}

bool questfile::isQuestFile(const QString &path)
{
    return QFileInfo(path).suffix().compare(QLatin1String("dke"), Qt::CaseInsensitive) == 0;
}

QString questfile::oneLine(const QString &text)
{
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n') || c == QChar::LineSeparator ||
            c == QChar::ParagraphSeparator) {
            line += QLatin1Char(' ');
            if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n'))
                ++i;
        } else {
            line += c;
        }
    }
    return line;
}

QStringList questfile::toLines(const QuestDocument &document)
{
    QStringList lines;
    lines << oneLine(document.title) << oneLine(document.monster);
    for (int i = 0; i < 6; ++i) {
        for (const QString &line : section(document, i))
            lines << oneLine(line);
        lines << kSeparator;
    }
    for (int n = 0; n < QuestDocument::NoteCount; ++n)
        lines << QString(QLatin1Char(document.active[std::size_t(n)] ? '+' : '-')) +
                     QLatin1Char(kFlagLetters[n]);
    return lines;
}

QByteArray questfile::encode(const QuestDocument &document)
{
    QByteArray bytes;
    for (const QString &line : toLines(document)) {
        bytes += cp1252::encode(line);
        bytes += "\r\n";
    }
    return bytes;
}

QStringList questfile::splitLines(const QByteArray &bytes)
{
    QStringList lines;
    QByteArray line;
    const auto finish = [&] {
        lines.append(cp1252::decode(line.left(kMaxLineLength)));
        line.clear();
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char b = bytes[i];
        if (b == '\r') {
            finish();
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
        } else if (b == '\n') {
            finish();
        } else if (b != '\0') {
            line.append(b);
        }
    }
    // A last line without a line end (but not the nothing after a final line end).
    if (!bytes.isEmpty() && bytes.back() != '\r' && bytes.back() != '\n')
        finish();
    return lines;
}

bool questfile::parseLines(const QStringList &lines, QuestDocument &document)
{
    QuestDocument result = document;
    result.title = lines.value(0);
    result.monster = lines.value(1);
    result.intro.clear();
    for (QStringList &note : result.notes)
        note.clear();

    int index = 2;
    for (int s = 0; s < 6; ++s) {
        QStringList &target = s == 0 ? result.intro : result.notes[std::size_t(s - 1)];
        while (index < lines.size() && lines[index] != kSeparator)
            target.append(lines[index++]);
        if (index >= lines.size())
            return false; // the file ended before the sixth separator
        ++index;          // the separator belongs to no field
    }
    for (int n = 0; n < QuestDocument::NoteCount; ++n) {
        const QString expected = QStringLiteral("+") + QLatin1Char(kFlagLetters[n]);
        result.active[std::size_t(n)] = lines.value(index + n) == expected;
    }
    document = result;
    return true;
}

void questfile::read(const QString &path, QuestDocument &document)
{
    const std::unique_ptr<QFile> file = userfiles::openForReading(path);
    // The size first: a file far too large is refused before it is read.
    if (file->size() > kMaxFileBytes)
        throw DkError(tooLargeFile(path));
    const QByteArray bytes = file->readAll();
    if (file->error() != QFileDevice::NoError)
        throw DkError(errors::cannotOpen(path));
    if (bytes.size() > kMaxFileBytes)
        throw DkError(tooLargeFile(path));
    const QStringList lines = splitLines(bytes);
    if (lines.size() > kMaxLines)
        throw DkError(tooLargeFile(path));
    if (!parseLines(lines, document))
        throw DkError(incompleteFile(path));
}

bool questfile::fitsInFile(const QuestDocument &document)
{
    const QStringList lines = toLines(document);
    if (lines.size() > kMaxLines)
        return false;
    qint64 bytes = 0;
    for (const QString &line : lines)
        bytes += line.size() + 2; // one byte per character, CR LF
    return bytes <= kMaxFileBytes;
}

void questfile::write(const QuestDocument &document, const QString &path)
{
    userfiles::Replacement file(path);
    file.open();
    file.write(encode(document));
    file.commit();
}

QString questfile::incompleteFile(const QString &path)
{
    return QStringLiteral("Die Datei %1 ist keine vollständige Quest-Datei.").arg(path);
}

QString questfile::tooLargeFile(const QString &path)
{
    return QStringLiteral("Die Datei %1 ist zu groß für eine Quest-Datei (%2).")
        .arg(path, kLimitText);
}

QString questfile::unencodableCharacters(const QuestDocument &document)
{
    QString all;
    for (const QString &line : toLines(document))
        all += line;
    return cp1252::unencodable(all);
}

QString questfile::sectionWithSeparatorLine(const QuestDocument &document)
{
    for (int s = 0; s < 6; ++s) {
        if (section(document, s).contains(kSeparator))
            return sectionName(s);
    }
    return QString();
}

QString questfile::sectionName(int section)
{
    switch (section) {
    case 0:
        return QStringLiteral("Einleitung");
    case 1:
        return QStringLiteral("Anmerkung A");
    case 2:
        return QStringLiteral("Anmerkung B");
    case 3:
        return QStringLiteral("Anmerkung C");
    case 4:
        return QStringLiteral("Anmerkung D");
    default:
        return QStringLiteral("Sonstiges");
    }
}
