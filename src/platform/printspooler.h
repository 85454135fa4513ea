#pragma once

class QPrinter;

namespace printspooler {

/// A page sent to a printer queue of the system's print spooler (CUPS). Qt
/// hands the finished job to the spooler when its painter ends and keeps
/// quiet when the spooler refuses it, so the print command asks the spooler
/// itself: before the job whether it knows the queue, after it whether it
/// took the job. Printers that write a file are not checked.
class SpooledJob {
public:
    /// Throws DkError in the spooler's words when the printer is a spooler
    /// queue that the spooler does not know (any more).
    explicit SpooledJob(const QPrinter &printer);

    /// Call once the painter has ended: throws DkError in the spooler's words
    /// when the spooler refused the job (a queue that rejects jobs, a job the
    /// spooler could not create or fill).
    void checkAccepted() const;

private:
    bool m_spooled = false;
};

} // namespace printspooler
