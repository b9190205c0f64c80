#pragma once

class QTextDocument;

// Prints the whole document on the default printer as one job, without a
// dialog. The look-up and the job run on a thread of their own while the
// windows keep painting; false when there is no printer, the queue is stopped
// or refuses the job, or the print server has not answered within a few
// seconds.
bool printWithoutFreezing(const QTextDocument &document);
