#pragma once

#include <QString>
#include <QStringList>

/// What the program is asked to do on its command line:
///
///     dkedit [FILE]...                              BMP maps and .dke quests to open
///     dkedit --sheet QUEST.dke --map MAP.bmp -o SHEET.pdf
///                                                   the printed sheet as PDF, no window
///     dkedit --help | --help-all | --version
struct CommandLine {
    enum Action {
        OpenWindows, ///< start the editor and open `files`
        ShowHelp,    ///< print `message` (the usage) and end
        ShowAllHelp, ///< the usage with the toolkit's own options: showAllHelp()
        ShowVersion, ///< print `message` (name and version) and end
        WriteSheet,  ///< write the sheet of `quest` and `map` to `output`
        Refuse,      ///< print `message` (what is wrong) and end with status 2; also
                     ///< for a sheet whose output file is one of its inputs
    };

    Action action = OpenWindows;
    /// Files to open, as absolute paths, in the order given.
    QStringList files;
    QString quest;
    QString map;
    QString output;
    QString message;

    /// Reads the program's arguments (the first one names the program), each
    /// decoded from its bytes by filenames::decode, so that every file named
    /// is reached under exactly the bytes given. The application object must
    /// exist: it gives the name and version.
    static CommandLine parse(const QStringList &arguments);

    /// Whether the raw arguments ask for something that opens no window (help,
    /// version, a sheet), so that the program can start without a display.
    /// Works before the application object exists.
    static bool opensNoWindow(const QStringList &arguments);

    /// Prints the usage together with the toolkit's own options (as the
    /// toolkit words them) and ends the program with status 0.
    [[noreturn]] static void showAllHelp();
};

/// Writes the printed quest sheet of a quest file and a map picture into an
/// A4 PDF file, through the quest editor's own print command (the same
/// composition and millimetre layout), without any window. The quest's text
/// is wrapped as the editor's fields wrap it; the intro keeps the editor's
/// start font and size. Returns the error as the error report words it, or
/// an empty string when the sheet was written. A `pdfFile` of "-" writes the
/// PDF to standard output. Every failure, running out of memory included,
/// comes back as its error, and no working file stays behind.
QString writeSheet(const QString &questFile, const QString &mapFile, const QString &pdfFile);
