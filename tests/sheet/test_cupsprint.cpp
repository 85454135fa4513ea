// Printing through a real print spooler: a CUPS scheduler of the test's own
// (cupsd with its own configuration, spool and socket in a temporary folder,
// a child of this test, never the system's service) with cups-pdf queues
// whose PDF files land in that folder. "Quest drucken" there lays the sheet
// out as --sheet does, names each job after its quest, and a queue that
// refuses the job is reported by the error report.
//
// cups-pdf reads its settings from /etc/cups only; the scheduler runs in a
// mount namespace of its own where the test's folder stands in for /etc/cups.
// That needs root: elsewhere, and where cupsd or cups-pdf is missing, the
// test says so and skips.

#include "application.h"
#include "commandline.h"
#include "mapfile.h"
#include "pdfpage.h"
#include "program.h"
#include "questeditor.h"
#include "questfile.h"
#include "scripteddialogs.h"
#include "sheetprint.h"
#include "testhelpers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

#include <cups/cups.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>

namespace {

const QString kQueue = QStringLiteral("DKEditTest");
const QString kRefusing = QStringLiteral("DKEditRefuse");
const QString kRemoved = QStringLiteral("DKEditRemoved");
const QString kPpd = QStringLiteral("/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd");

QString dataPath(const QString &name)
{
    return QStringLiteral(DK_TEST_DATA "/quest/") + name;
}

// A tool of the spooler's, also where the search path lacks the sbin folders.
QString tool(const QString &name)
{
    const QString found = QStandardPaths::findExecutable(name);
    return found.isEmpty() ? QStandardPaths::findExecutable(name, {QStringLiteral("/usr/sbin")})
                           : found;
}

bool writeText(const QString &path, const QString &text)
{
    return writeBytes(path, text.toUtf8());
}

// The jobs the spooler holds for a queue, newest last: their titles, or
// only the count of those not yet done.
QStringList jobTitles(const QString &queue, int which)
{
    cups_job_t *jobs = nullptr;
    const int count = cupsGetJobs2(CUPS_HTTP_DEFAULT, &jobs, queue.toUtf8().constData(), 0, which);
    // The spooler's own order is not the order of submission on every
    // system: job ids are.
    std::vector<std::pair<int, QString>> byId;
    for (int i = 0; i < count; ++i)
        byId.emplace_back(jobs[i].id, QString::fromUtf8(jobs[i].title));
    cupsFreeJobs(count, jobs);
    std::sort(byId.begin(), byId.end());
    QStringList titles;
    for (const auto &job : byId)
        titles << job.second;
    return titles;
}

} // namespace

class TestCupsPrint : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;
    QProcess m_cupsd;
    QString m_map;
    std::unique_ptr<ScriptedDialogs> m_script;
    QString m_nameInDialog;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    bool run(const QString &tool, const QStringList &arguments)
    {
        QProcess process;
        process.start(::tool(tool), arguments);
        return process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit &&
               process.exitCode() == 0;
    }

    // Starts the scheduler; returns why it cannot, or an empty string.
    QString startSpooler()
    {
        if (geteuid() != 0)
            return QStringLiteral("cups-pdf's settings can be replaced only as root");
        for (const QString &tool :
             {QStringLiteral("cupsd"), QStringLiteral("lpadmin"), QStringLiteral("cupsreject"),
              QStringLiteral("unshare"), QStringLiteral("pdftoppm")})
            if (::tool(tool).isEmpty())
                return tool + QStringLiteral(" is not installed");
        if (!QFile::exists(QStringLiteral("/usr/lib/cups/backend/cups-pdf")) ||
            !QFile::exists(kPpd))
            return QStringLiteral("cups-pdf (printer-driver-cups-pdf) is not installed");

        // The scheduler's helpers run as the user lp and must reach the spool.
        QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                                QFile::ReadGroup | QFile::ExeGroup |
                                                QFile::ReadOther | QFile::ExeOther);
        for (const char *folder : {"etc", "spool", "tmp", "cache", "state", "pdfconf", "pdf"})
            QDir(m_dir.path()).mkpath(QLatin1String(folder));
        // Where the filters, running as lp, keep their own files.
        ::chmod(QFile::encodeName(path(QStringLiteral("tmp"))).constData(), 01777);
        const QString socket = path(QStringLiteral("cups.sock"));
        const bool written =
            writeText(path(QStringLiteral("etc/cupsd.conf")),
                      QStringLiteral("Listen %1\nLogLevel warn\nBrowsing No\nWebInterface No\n"
                                     "DefaultAuthType None\n<Policy default>\n<Limit All>\n"
                                     "Order allow,deny\nAllow all\n</Limit>\n</Policy>\n")
                          .arg(socket)) &&
            writeText(path(QStringLiteral("etc/cups-files.conf")),
                      QStringLiteral("ServerRoot %1/etc\nRequestRoot %1/spool\nTempDir %1/tmp\n"
                                     "CacheDir %1/cache\nStateDir %1/state\n"
                                     "ErrorLog %1/error_log\nAccessLog %1/access_log\n"
                                     "ServerBin /usr/lib/cups\nDataDir /usr/share/cups\n")
                          .arg(m_dir.path())) &&
            writeText(path(QStringLiteral("pdfconf/cups-pdf.conf")),
                      QStringLiteral("Out %1/pdf\nAnonDirName %1/pdf\nSpool %1/pdfspool\n"
                                     "Grp root\n")
                          .arg(m_dir.path()));
        if (!written)
            return QStringLiteral("the spooler's settings cannot be written");

        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
        // The scheduler ends with the test, also when the test is killed.
        m_cupsd.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
        m_cupsd.start(::tool(QStringLiteral("unshare")),
                      {QStringLiteral("--mount"), QStringLiteral("sh"), QStringLiteral("-c"),
                       QStringLiteral("mount --bind \"$0\" /etc/cups && exec \"$3\" -f -c \"$1\" "
                                      "-s \"$2\""),
                       path(QStringLiteral("pdfconf")), path(QStringLiteral("etc/cupsd.conf")),
                       path(QStringLiteral("etc/cups-files.conf")),
                       ::tool(QStringLiteral("cupsd"))});
        QElapsedTimer waited;
        waited.start();
        while (!QFile::exists(socket) && m_cupsd.state() != QProcess::NotRunning &&
               waited.elapsed() < 15000)
            QTest::qWait(50);
        if (!QFile::exists(socket))
            return QStringLiteral("cupsd did not start: ") +
                   QString::fromLocal8Bit(m_cupsd.readAll() +
                                          readBytes(path(QStringLiteral("error_log"))));
        // Read by the spooler's library here, in Qt's print support and in
        // the tools, before any of them first asks the spooler.
        qputenv("CUPS_SERVER", socket.toLocal8Bit());
        for (const QString &queue : {kQueue, kRefusing, kRemoved})
            if (!run(QStringLiteral("lpadmin"),
                     {QStringLiteral("-p"), queue, QStringLiteral("-E"), QStringLiteral("-v"),
                      QStringLiteral("cups-pdf:/"), QStringLiteral("-P"), kPpd}))
                return QStringLiteral("lpadmin cannot add the queue ") + queue;
        if (!run(QStringLiteral("cupsreject"), {kRefusing}))
            return QStringLiteral("cupsreject failed");
        return QString();
    }

    // Waits until the queue has no job left to do; the PDF files cups-pdf
    // wrote.
    QStringList printedFiles()
    {
        QElapsedTimer waited;
        waited.start();
        while (!jobTitles(kQueue, CUPS_WHICHJOBS_ACTIVE).isEmpty() && waited.elapsed() < 60000)
            QTest::qWait(100);
        return QDir(path(QStringLiteral("pdf"))).entryList({QStringLiteral("*.pdf")}, QDir::Files);
    }

    // The printer as chosen in the print dialog: the queue, A4 paper. The
    // name the job has while the dialog shows goes to m_nameInDialog.
    void choosePrinter(const QString &queue)
    {
        m_script->printChoice = [this, queue](QPrinter &printer) {
            m_nameInDialog = printer.docName();
            printer.setPrinterName(queue);
            printer.setPageSize(QPageSize(QPageSize::A4));
        };
    }

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        const QString why = startSpooler();
        if (!why.isEmpty())
            QSKIP(qPrintable(QStringLiteral("no private print spooler: ") + why));
        QVERIFY(QPrinterInfo::availablePrinterNames().contains(kQueue));
        m_map = writeSolidBmp(path(QStringLiteral("karte.bmp")), qRgb(20, 20, 20), 880, 656);
    }
    void cleanupTestCase()
    {
        if (m_cupsd.state() != QProcess::NotRunning) {
            m_cupsd.terminate();
            m_cupsd.waitForFinished(10000);
        }
    }
    void init()
    {
        m_script = std::make_unique<ScriptedDialogs>();
        m_script->printAnswers << true;
    }
    void cleanup() { m_script.reset(); }

    // The page cups-pdf writes equals --sheet's page at 150 dpi; every job
    // carries its quest's title, so the second file does not replace the
    // first.
    void printsAsTheSheetCommand_data()
    {
        QTest::addColumn<QString>("quest");
        QTest::addColumn<QString>("title");
        QTest::newRow("titled") << "worked_example.dke"
                                << QStringLiteral("Der verlorene Schlüssel");
        QTest::newRow("untitled") << "empty.dke"
                                  << "DK-Edit Quest";
    }
    void printsAsTheSheetCommand()
    {
        QFETCH(QString, quest);
        QFETCH(QString, title);
        const QStringList before = printedFiles();
        QuestEditor editor;
        editor.loadQuestFile(dataPath(quest));
        choosePrinter(kQueue);
        sheet::SheetPrinter printer;
        printer.print(&editor, editor.document(), mapfile::read(m_map));
        QVERIFY(m_script->errors.isEmpty());
        QCOMPARE(m_nameInDialog, title);

        const QStringList after = printedFiles();
        QCOMPARE(after.size(), before.size() + 1);
        QCOMPARE(jobTitles(kQueue, CUPS_WHICHJOBS_COMPLETED).value(before.size()), title);
        QString printed;
        for (const QString &name : after)
            if (!before.contains(name))
                printed = path(QStringLiteral("pdf/") + name);

        const QString sheet = path(QStringLiteral("sheet.pdf"));
        QCOMPARE(writeSheet(dataPath(quest), m_map, sheet), QString());
        const QImage expected = rasterisePdf(sheet, 150);
        const QImage page = rasterisePdf(printed, 150);
        QVERIFY(!expected.isNull());
        QCOMPARE(page.size(), expected.size());
        int differing = 0;
        for (int y = 0; y < page.height(); ++y)
            for (int x = 0; x < page.width(); ++x)
                differing += page.pixel(x, y) != expected.pixel(x, y);
        QCOMPARE(differing, 0);
    }

    // "Quest drucken" to a queue that refuses jobs, or to one removed after
    // the dialog: the error report says so in the spooler's words, and no
    // job is left anywhere.
    void refusedJobIsReported_data()
    {
        QTest::addColumn<QString>("queue");
        QTest::addColumn<QString>("error");
        QTest::newRow("refusing queue") << kRefusing << "is not accepting jobs";
        QTest::newRow("queue removed") << kRemoved << "does not exist";
    }
    void refusedJobIsReported()
    {
        QFETCH(QString, queue);
        QFETCH(QString, error);
        const QStringList before = printedFiles();
        Program program;
        m_script->openAnswers << m_map;
        program.questEditor().loadPicture();
        choosePrinter(queue);
        if (queue == kRemoved) {
            m_script->printChoice = [this, queue](QPrinter &printer) {
                printer.setPrinterName(queue);
                run(QStringLiteral("lpadmin"), {QStringLiteral("-x"), queue});
            };
        }
        program.questEditor().printButton()->click();
        flush();
        QCOMPARE(m_script->errors.size(), 1);
        QVERIFY2(m_script->errors[0].contains(error), qPrintable(m_script->errors[0]));
        QCOMPARE(jobTitles(queue, CUPS_WHICHJOBS_ALL), QStringList());
        QCOMPARE(printedFiles(), before);
    }
};

int main(int argc, char **argv)
{
    Application app(argc, argv);
    prepareApplication();
    TestCupsPrint test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_cupsprint.moc"
