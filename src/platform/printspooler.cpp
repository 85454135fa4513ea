#include "printspooler.h"

#include "errors.h"

#include <QPrinter>

#include <cups/cups.h>
#include <dlfcn.h>
#include <type_traits>

namespace {

// The spooler's library, opened when the first job is printed, not at the
// program's start: it brings some twenty libraries of its own (encryption,
// Kerberos, service discovery) whose loading would make every start slower.
// Qt's print engine uses the very same library, so the status of the last
// request it made is the one read here.
struct SpoolerLibrary {
    decltype(&cupsGetNamedDest) getNamedDest = nullptr;
    decltype(&cupsFreeDests) freeDests = nullptr;
    decltype(&cupsLastError) lastError = nullptr;
    decltype(&cupsLastErrorString) lastErrorString = nullptr;
    decltype(&ippErrorString) errorString = nullptr;

    bool loaded() const { return errorString != nullptr; }
};

const SpoolerLibrary &spooler()
{
    static const SpoolerLibrary library = [] {
        SpoolerLibrary found;
        void *handle = dlopen("libcups.so.2", RTLD_NOW | RTLD_GLOBAL);
        if (!handle)
            return found;
        const auto take = [handle](auto &function, const char *name) {
            function =
                reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(handle, name));
            return function != nullptr;
        };
        if (!(take(found.getNamedDest, "cupsGetNamedDest") &&
              take(found.freeDests, "cupsFreeDests") && take(found.lastError, "cupsLastError") &&
              take(found.lastErrorString, "cupsLastErrorString") &&
              take(found.errorString, "ippErrorString")))
            return SpoolerLibrary();
        return found;
    }();
    return library;
}

// What the spooler answered to the last request of this thread.
[[noreturn]] void throwSpoolerError()
{
    const char *text = spooler().lastErrorString();
    throw DkError(text && *text ? QString::fromUtf8(text)
                                : QString::fromUtf8(spooler().errorString(spooler().lastError())));
}

} // namespace

printspooler::SpooledJob::SpooledJob(const QPrinter &printer)
    : m_spooled(printer.outputFormat() == QPrinter::NativeFormat &&
                !printer.printerName().isEmpty() && spooler().loaded())
{
    // Without the spooler's library there is no spooler queue to ask about:
    // Qt itself prints to such queues through that library.
    if (!m_spooled)
        return;
    // "queue/instance" names an instance with options of its own.
    const QByteArray name = printer.printerName().toLocal8Bit();
    const int slash = name.indexOf('/');
    const QByteArray queue = slash < 0 ? name : name.left(slash);
    const QByteArray instance = slash < 0 ? QByteArray() : name.mid(slash + 1);
    cups_dest_t *dest = spooler().getNamedDest(CUPS_HTTP_DEFAULT, queue.constData(),
                                               instance.isEmpty() ? nullptr : instance.constData());
    if (!dest)
        throwSpoolerError();
    // The answer also leaves the last request's status at "successful", so
    // that what checkAccepted() reads is the job's own.
    spooler().freeDests(1, dest);
}

void printspooler::SpooledJob::checkAccepted() const
{
    // Qt's print engine submits the job through the same spooler library in
    // this thread as the painter ends, and drops its result; the library
    // keeps the status of that last request.
    if (m_spooled && spooler().lastError() > IPP_STATUS_OK_CONFLICTING)
        throwSpoolerError();
}
