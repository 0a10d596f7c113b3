// What a user does in the real grimsweep.exe, for the GUI tests and the demo: choosing menu entries from
// the keyboard, a scan with its removal and a restore, and the sliding notices.
#pragma once

#include "platform/win32/windows_api.h"

#include <string>

namespace grimsweep::gui::program {

// The visible top-level window of that class (any class when null) and title.
HWND VisibleWindow(const wchar_t* windowClass, const std::wstring& title);

// A user's choice of a menu entry from the keyboard: F10 opens the menu bar, the arrow keys go to menu
// `menuIndex` (0 the first on the bar) and down to its item `itemIndex`, Enter chooses it. (Another
// program's menus cannot be looked at under Wine: their handles belong to the program that made them.)
void ChooseMenuItem(HWND window, int menuIndex, int itemIndex);

// The window's screen position has stopped changing (a sliding window has arrived).
bool Settled(HWND window);

// The list view of the panel on show: visible and inside the window's client area (the hidden removal
// lists lie below it).
HWND VisibleListView(HWND main);

// The clipboard's text.
std::wstring ClipboardText();

// How many rows the results list and the removal list showed, and what the removal and restore met.
struct ScanRows {
    LRESULT found = -1;
    LRESULT removal = -1;
    bool allTicked = false;           // after a click on Select All
    LRESULT afterRemoval = -1;        // rows of the removal list after Delete
    bool problemWindow = false;       // "Delete Failed" came up
    std::wstring copiedList;          // the clipboard after its "Copy List"
    bool problemWindowClosed = false; // by its "Ok"
    LRESULT restoreListed = -1;       // rows of the Restore window
    bool restoreTicked = false;       // its first row, by a click on its check box
    bool restoreAnswered = false;     // the box that says what came back
    bool restoreClosed = false;       // by its "Close"
};

// What to do after the scan besides the screenshots of the Scan and Results panels: Delete everything
// (answering the question with Yes) and save the Results panel afterwards; open the Restore window from
// the Quarantine menu and save it.
struct AfterScan {
    std::string removedShot;
    std::string restoreShot;
    bool restoreFirst = false; // tick the first item of the Restore window and press Restore
};

// Presses Delete, answers the question with Yes, and waits for the removal to end: the ticked rows leave
// the removal list, or the window "Delete Failed" lists what stayed.
void RemoveInTheRealWindow(HWND main, HWND removal, ScanRows& rows);

// Saves the Restore window; with `restoreFirst` ticks its first row with a click on its check box, presses
// Restore and answers the box that says what came back; then closes the window.
void RestoreInTheRealWindow(HWND restore, const AfterScan& after, ScanRows& rows);

// In the running program: presses Scan Now and Start with real clicks, waits for the scan to end, saves
// the Scan panel, goes on to the Results panel with "Click Here to Continue", saves it, ticks everything
// with Select All, then does what `after` asks.
ScanRows ScanInTheProgram(HWND main, DWORD processId, const std::string& scanShot,
                          const std::string& resultsShot, const AfterScan& after = {});

// The same in a program started for it (beside the test program) and closed afterwards.
ScanRows ScanInTheRealWindow(const std::string& scanShot, const std::string& resultsShot,
                             const AfterScan& after = {});

// The process's visible form, whatever its title, that shows a child with text that begins with `head`
// and ends with `tail` (the program name between them is the catalogue's, placeholder or not).
HWND FormShowing(DWORD processId, const std::wstring& head, const std::wstring& tail);

// The update notice has slid up and come to rest: saved, then closed with its OK. Its position comes
// from fixed factors made for 15 twips a pixel: at a higher resolution it rests below the bottom of the
// screen, out of reach, and closes by itself after its rest.
bool SaveAndCloseNotice(HWND notice, const std::string& shot);

} // namespace grimsweep::gui::program
