#pragma once

// Makes standard output and standard error reach the terminal the program was
// started from, where they do not already go somewhere: a windowed program on
// Windows gets no console of its own.
void useStartingTerminal();
