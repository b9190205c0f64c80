#pragma once

class QTextDocument;

// Prints the whole document on the default printer as one job, without a
// dialog. The look-up and the job run on a thread of their own while the
// windows keep painting. True only when the print server has the whole job
// and prints it; false when there is no printer, the queue is stopped or
// refuses the job, the job could not be sent whole, or the print server has
// not answered within about ten seconds. Nothing prints after false: a job
// given up on is taken back.
bool printWithoutFreezing(const QTextDocument &document);
