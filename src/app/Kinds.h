#pragma once

// Registers every kind of window the program offers, in the order of the Tools menu.
// Safe to call more than once.
void registerKinds();
