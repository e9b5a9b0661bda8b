// The actions of the request kinds, one operation per kind, run on the GUI
// thread by the request executor and the request window procedure. Each takes
// the request's parameter; a block kind given a null block does nothing.
// Failures show only in the result word (null handle, 0); nothing is reported.
#pragma once

#include <windows.h>

#include <cstdint>

void CreateMainWindowRequest(std::uintptr_t *block); // frees the block
void CreateControlRequest(std::uintptr_t *block);
void PeekInputRequest(std::uintptr_t *resultWord);
void CreateLDialogRequest(std::uintptr_t *block);
void CreateResourceDialogRequest(std::uintptr_t *block);
void ShowPopupRequest(std::uintptr_t *block);
void DestroyWindowRequest(std::uintptr_t *block);
void FileDialogRequest(std::uintptr_t *block);
void CreateTabControlRequest(std::uintptr_t *block);
void PumpPendingRequest();
void CallFunctionRequest(std::uintptr_t *block);
void CreateDialogWindowRequest(std::uintptr_t *block);
void BrowseFolderRequest(std::uintptr_t *block);
void EditBoxDialogRequest(std::uintptr_t *block);
void ListBoxDialogRequest(std::uintptr_t *block);
void InputDialogRequest(std::uintptr_t *block);
void SleepRequest(DWORD milliseconds);
void InputPendingRequest(std::uintptr_t *resultWord);
void FillListRequest(std::uintptr_t *block);
void ReadListRequest(std::uintptr_t *block);
void MoveListRowRequest(std::uintptr_t *block);
void CreateLDialogWithProcRequest(std::uintptr_t *block);
void CreateUpDownRequest(std::uintptr_t *block);
void CreateStatusBarRequest(std::uintptr_t *block);
void CreateTooltipRequest(std::uintptr_t *block);
