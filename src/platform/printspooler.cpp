#include "printspooler.h"

#include "errors.h"

#include <QPrinter>

#include <cups/cups.h>

namespace {

// What the spooler answered to the last request of this thread.
[[noreturn]] void throwSpoolerError()
{
    const char *text = cupsLastErrorString();
    throw DkError(text && *text ? QString::fromUtf8(text)
                                : QString::fromUtf8(ippErrorString(cupsLastError())));
}

} // namespace

printspooler::SpooledJob::SpooledJob(const QPrinter &printer)
    : m_spooled(printer.outputFormat() == QPrinter::NativeFormat &&
                !printer.printerName().isEmpty())
{
    if (!m_spooled)
        return;
    // "queue/instance" names an instance with options of its own.
    const QByteArray name = printer.printerName().toLocal8Bit();
    const int slash = name.indexOf('/');
    const QByteArray queue = slash < 0 ? name : name.left(slash);
    const QByteArray instance = slash < 0 ? QByteArray() : name.mid(slash + 1);
    cups_dest_t *dest = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(),
                                         instance.isEmpty() ? nullptr : instance.constData());
    if (!dest)
        throwSpoolerError();
    // The answer also leaves the last request's status at "successful", so
    // that what checkAccepted() reads is the job's own.
    cupsFreeDests(1, dest);
}

void printspooler::SpooledJob::checkAccepted() const
{
    // Qt's print engine submits the job through the same spooler library in
    // this thread as the painter ends, and drops its result; the library
    // keeps the status of that last request.
    if (m_spooled && cupsLastError() > IPP_STATUS_OK_CONFLICTING)
        throwSpoolerError();
}
