#pragma once

// Makes the standard streams safe to use: a closed descriptor 0, 1 or 2 is
// opened on the null device so the result file cannot take its place, and a
// pipe whose reader has gone or a file-size limit makes writes fail instead
// of ending the process. A terminal that hangs up (SIGHUP) or a console
// window that is closed still ends it.
void prepareProcess();

// Prompts and waits for one key press where there is someone to press it,
// and takes every byte that the key press sends.
void waitForKey();
