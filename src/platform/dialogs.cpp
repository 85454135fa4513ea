#include "dialogs.h"

#include "filenames.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QUrl>

#include <sys/stat.h>

namespace {
Dialogs *g_replacement = nullptr;

// File dialogs of the editor take "Bitmaps (*.bmp)|*.bmp" style filters; Qt
// wants "Bitmaps (*.bmp)". Masks match regardless of letter case on Linux.
QString qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    if (parts.size() < 2)
        return filter;
    QString name = parts[0];
    const QString mask = parts[1];
    if (!name.contains(QLatin1Char('(')))
        name += QStringLiteral(" (%1)").arg(mask);
    return name;
}
} // namespace

Dialogs &dialogs()
{
    static QtDialogs real;
    return g_replacement ? *g_replacement : real;
}

void setDialogs(Dialogs *replacement)
{
    g_replacement = replacement;
}

namespace {
using FileQuestion = QString (Dialogs::*)(QWidget *, const QString &, const QString &,
                                          const QString &);

// A file dialog that starts where files of the kind are and remembers where
// the chosen one is.
QString askFile(FileQuestion ask, QWidget *parent, FileKind kind, const QString &title,
                const QString &filter, const QString &currentDocument)
{
    const QString path =
        (dialogs().*ask)(parent, title, filter, filefolders::startFolder(kind, currentDocument));
    filefolders::remember(kind, path);
    return path;
}

// A button of the program's own in a message box: its text stays whatever
// the language (the toolkit gives its standard buttons their texts anew on
// every change of language).
QPushButton *fixedButton(QMessageBox &box, const QString &text, QMessageBox::ButtonRole role,
                         const char *name)
{
    QPushButton *button = box.addButton(text, role);
    button->setObjectName(QLatin1String(name));
    return button;
}
enum class Occupant { Nothing, Folder, File };

// What a save to `path` would find there, by the path's exact bytes.
Occupant occupantOf(const QString &path)
{
    QByteArray bytes;
    struct stat status {};
    if (!filenames::encode(path, &bytes) || ::lstat(bytes.constData(), &status) != 0)
        return Occupant::Nothing;
    if (S_ISLNK(status.st_mode) && ::stat(bytes.constData(), &status) != 0)
        return Occupant::File;
    return S_ISDIR(status.st_mode) ? Occupant::Folder : Occupant::File;
}

// The file the dialog chose, by the bytes of its URL where the dialog gives
// them (a desktop's own dialog does), else by Qt's name for it.
QString chosenFile(const QFileDialog &dialog)
{
    const QList<QUrl> urls = dialog.selectedUrls();
    if (!urls.isEmpty() && urls.constFirst().isLocalFile())
        return filenames::localFile(urls.constFirst());
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.constFirst();
}
} // namespace

QString askOpenFile(QWidget *parent, FileKind kind, const QString &title, const QString &filter,
                    const QString &currentDocument)
{
    return askFile(&Dialogs::openFile, parent, kind, title, filter, currentDocument);
}

QString chooseSaveTarget(QWidget *parent, FileKind kind, const QString &title,
                         const QString &filter, QString (*target)(const QString &chosen),
                         const QString &ownFile)
{
    for (;;) {
        const QString chosen = askFile(&Dialogs::saveFile, parent, kind, title, filter, ownFile);
        if (chosen.isEmpty())
            return chosen;
        const QString path = target(chosen);
        // A folder in the way is not asked about: writing there fails and
        // says so. A link that leads nowhere is asked about: the save would
        // create the file it names.
        const Occupant occupant = occupantOf(path);
        if (occupant == Occupant::Nothing || occupant == Occupant::Folder)
            return path;
        const QString own = filenames::canonical(ownFile);
        if (!own.isEmpty() && filenames::canonical(path) == own)
            return path;
        if (dialogs().confirmOverwrite(parent, title, path))
            return path;
    }
}

QString QtDialogs::openFile(QWidget *parent, const QString &title, const QString &filter,
                            const QString &folder)
{
    QFileDialog dialog(parent, title, folder, qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, false);
    dialog.setOption(QFileDialog::DontUseCustomDirectoryIcons);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return chosenFile(dialog);
}

QString QtDialogs::saveFile(QWidget *parent, const QString &title, const QString &filter,
                            const QString &folder)
{
    QFileDialog dialog(parent, title, folder, qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return chosenFile(dialog);
}

std::unique_ptr<QMessageBox> makeQuestionBox(QWidget *parent, const QString &text)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, QStringLiteral("Confirm"), text,
                                             QMessageBox::NoButton, parent);
    box->setDefaultButton(fixedButton(*box, QStringLiteral("&Yes"), QMessageBox::YesRole, "yes"));
    fixedButton(*box, QStringLiteral("&No"), QMessageBox::NoRole, "no");
    // Without a cancel button the box would make "No" its escape button, so
    // Escape or the window manager's close would throw the changes away. A
    // hidden cancel button takes both instead; the box still shows only
    // "&Yes" and "&No".
    QPushButton *dismiss = box->addButton(QMessageBox::Cancel);
    dismiss->hide();
    box->setEscapeButton(dismiss);
    return box;
}

Dialogs::Answer questionAnswer(const QMessageBox &box)
{
    const QAbstractButton *clicked = box.clickedButton();
    if (clicked && clicked->objectName() == QLatin1String("yes"))
        return Dialogs::Answer::Yes;
    if (clicked && clicked->objectName() == QLatin1String("no"))
        return Dialogs::Answer::No;
    return Dialogs::Answer::Dismissed;
}

Dialogs::Answer QtDialogs::ask(QWidget *parent, const QString &text)
{
    const std::unique_ptr<QMessageBox> box = makeQuestionBox(parent, text);
    box->exec();
    return questionAnswer(*box);
}

bool QtDialogs::offerRestore(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Question, QCoreApplication::applicationName(), text,
                    QMessageBox::NoButton, parent);
    QPushButton *restore =
        fixedButton(box, QStringLiteral("Wiederherstellen"), QMessageBox::YesRole, "restore");
    QPushButton *keep = fixedButton(box, QStringLiteral("Nicht wiederherstellen"),
                                    QMessageBox::NoRole, "dontRestore");
    box.setDefaultButton(restore);
    box.setEscapeButton(keep);
    box.exec();
    return box.clickedButton() == restore;
}

bool QtDialogs::confirmOverwrite(QWidget *parent, const QString &title, const QString &path)
{
    QMessageBox box(QMessageBox::Warning, title,
                    QStringLiteral("„%1“ ist bereits vorhanden.\nMöchten Sie die Datei ersetzen?")
                        .arg(filenames::shown(path)),
                    QMessageBox::NoButton, parent);
    QPushButton *yes = fixedButton(box, QStringLiteral("&Ja"), QMessageBox::YesRole, "yes");
    QPushButton *no = fixedButton(box, QStringLiteral("&Nein"), QMessageBox::NoRole, "no");
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}

void QtDialogs::error(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::Critical, QApplication::applicationDisplayName(), text,
                    QMessageBox::Ok, parent);
    box.exec();
}

bool QtDialogs::print(QWidget *parent, QPrinter &printer)
{
    printer.setCopyCount(1);
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}
