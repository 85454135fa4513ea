#include "dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

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
} // namespace

QString askOpenFile(QWidget *parent, FileKind kind, const QString &title, const QString &filter,
                    const QString &currentDocument)
{
    return askFile(&Dialogs::openFile, parent, kind, title, filter, currentDocument);
}

QString askSaveFile(QWidget *parent, FileKind kind, const QString &title, const QString &filter,
                    const QString &currentDocument)
{
    return askFile(&Dialogs::saveFile, parent, kind, title, filter, currentDocument);
}

QString QtDialogs::openFile(QWidget *parent, const QString &title, const QString &filter,
                            const QString &folder)
{
    QFileDialog dialog(parent, title, folder, qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, false);
    dialog.setOption(QFileDialog::DontUseCustomDirectoryIcons);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::saveFile(QWidget *parent, const QString &title, const QString &filter,
                            const QString &folder)
{
    QFileDialog dialog(parent, title, folder, qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

std::unique_ptr<QMessageBox> confirmationBox(QWidget *parent, const QString &text)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, QStringLiteral("Confirm"),
                                             text, QMessageBox::NoButton, parent);
    // Buttons with texts of their own: the toolkit retranslates the texts of
    // its standard buttons whenever the language changes.
    QPushButton *yes = box->addButton(QStringLiteral("&Yes"), QMessageBox::YesRole);
    QPushButton *no = box->addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    yes->setObjectName(QStringLiteral("yes"));
    no->setObjectName(QStringLiteral("no"));
    box->setDefaultButton(yes);
    box->setEscapeButton(no);
    return box;
}

bool QtDialogs::confirm(QWidget *parent, const QString &text)
{
    const std::unique_ptr<QMessageBox> box = confirmationBox(parent, text);
    box->exec();
    return box->clickedButton() == box->defaultButton();
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
