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

// As the process ends: gives up every print and takes back from the print
// server each job that has not been seen to print, waiting at most two
// seconds. A job that the server could not be asked in that time stays held
// there, and only the program lets a held job go to print.
void takeBackUnprintedJobs();
