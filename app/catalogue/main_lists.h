// The main window's two lists, which hold the catalogue, and the state that
// the commands on them share with the event loop. The main window's start-up
// creates the lists and sets the hook; everything here belongs to the script
// thread, the lists themselves to the GUI thread.
#pragma once

#include <windows.h>

#include <cstdint>

extern HWND NameList; // file names, invisible, parallel to MainList
extern HWND MainList; // shown names

// The main list's selection as the last pass read it (-1: none).
extern std::int32_t Selection;
// Set when Edit's key must be released before Edit runs again.
extern std::int32_t EnterLatch;

// Run by LoadCatalogue once the rows are listed and one is selected, before
// the main list takes the focus: the main window's update of its move
// buttons. Null until start-up sets it, and then nothing is run.
extern void (*CatalogueLoaded)();
