#include "dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
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

QString chooseSaveTarget(QWidget *parent, const QString &title, const QString &filter,
                         QString (*target)(const QString &chosen), const QString &ownFile)
{
    for (;;) {
        const QString chosen = dialogs().saveFile(parent, title, filter);
        if (chosen.isEmpty())
            return chosen;
        // A folder in the way is not asked about: writing there fails and
        // says so.
        const QFileInfo written(target(chosen));
        if ((!written.exists() && !written.isSymLink()) || written.isDir())
            return chosen;
        const QString own = ownFile.isEmpty() ? QString() : QFileInfo(ownFile).canonicalFilePath();
        if (!own.isEmpty() && written.canonicalFilePath() == own)
            return chosen;
        if (dialogs().confirmOverwrite(parent, title, written.filePath()))
            return chosen;
    }
}

QString QtDialogs::openFile(QWidget *parent, const QString &title, const QString &filter)
{
    QFileDialog dialog(parent, title, QString(), qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setOption(QFileDialog::DontUseNativeDialog, false);
    dialog.setOption(QFileDialog::DontUseCustomDirectoryIcons);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

QString QtDialogs::saveFile(QWidget *parent, const QString &title, const QString &filter)
{
    QFileDialog dialog(parent, title, QString(), qtFilter(filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

std::unique_ptr<QMessageBox> makeQuestionBox(QWidget *parent, const QString &text)
{
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, QStringLiteral("Confirm"), text,
                                             QMessageBox::Yes | QMessageBox::No, parent);
    box->button(QMessageBox::Yes)->setText(QStringLiteral("&Yes"));
    box->button(QMessageBox::No)->setText(QStringLiteral("&No"));
    box->setDefaultButton(QMessageBox::Yes);
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
    if (box.clickedButton() == box.button(QMessageBox::Yes))
        return Dialogs::Answer::Yes;
    if (box.clickedButton() == box.button(QMessageBox::No))
        return Dialogs::Answer::No;
    return Dialogs::Answer::Dismissed;
}

Dialogs::Answer QtDialogs::ask(QWidget *parent, const QString &text)
{
    const std::unique_ptr<QMessageBox> box = makeQuestionBox(parent, text);
    box->exec();
    return questionAnswer(*box);
}

bool QtDialogs::confirmOverwrite(QWidget *parent, const QString &title, const QString &path)
{
    QMessageBox box(QMessageBox::Warning, title,
                    QStringLiteral("„%1“ ist bereits vorhanden.\nMöchten Sie die Datei ersetzen?")
                        .arg(QDir::toNativeSeparators(path)),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
    box.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
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
