#include "filefolders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <memory>

namespace {

// The program's own settings file (~/.config/dkedit/dkedit.conf). Made anew
// for every use, so that a changed settings path (tests) takes effect at once.
std::unique_ptr<QSettings> settings()
{
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("dkedit"), QStringLiteral("dkedit"));
}

QString existingFolder(const QString &folder)
{
    if (folder.isEmpty())
        return QString();
    const QFileInfo info(folder);
    return info.isDir() ? info.absoluteFilePath() : QString();
}

} // namespace

QString filefolders::settingsKey(FileKind kind)
{
    switch (kind) {
    case FileKind::Map:
        return QStringLiteral("folders/maps");
    case FileKind::Quest:
        return QStringLiteral("folders/quests");
    case FileKind::Picture:
        break;
    }
    return QStringLiteral("folders/pictures");
}

QString filefolders::startFolder(FileKind kind, const QString &currentDocument)
{
    if (!currentDocument.isEmpty()) {
        const QString folder = existingFolder(QFileInfo(currentDocument).absolutePath());
        if (!folder.isEmpty())
            return folder;
    }
    const QString remembered = existingFolder(settings()->value(settingsKey(kind)).toString());
    if (!remembered.isEmpty())
        return remembered;
    return QDir::homePath();
}

void filefolders::remember(FileKind kind, const QString &chosenFile)
{
    if (chosenFile.isEmpty())
        return;
    settings()->setValue(settingsKey(kind), QFileInfo(chosenFile).absolutePath());
}
