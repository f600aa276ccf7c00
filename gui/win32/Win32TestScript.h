#pragma once

#include <string>

class CVirtualCalculator;

// A test build's hook: plays a script of user actions on the running sheet
// from a timer, as a user would (pages, buttons, list rows, fields, the
// answers to message boxes and file dialogs), and writes what the program
// showed to a log beside the script. Compiled only into vantrel92-test.exe.
//
// One action a line; each waits (up to 20 s) until it can be done:
//   page N                 show the page at tab index N
//   click NAME             press button NAME (IDC_...) of the shown page
//   check NAME             tick check box NAME of the shown page and press it
//   text NAME TEXT         put TEXT into field NAME of the shown page
//   activate NAME          open the folder row NAME of the folder list
//   select NAME            select the variable row NAME of the variable list
//   select-folder NAME     select the folder row NAME of the folder list
//   save-as PATH           type PATH into the next file dialog and confirm
//   offers PATH            the file dialog that is up opens in PATH's folder
//                          with PATH's name (a mismatch fails the script)
//   cancel-dialog          cancels the file dialog that is up
//   answer TEXT            types TEXT into the one-line input dialog, OK
//   key NAME               presses Enter in control NAME of the shown page
//   pc-folder NAME         chooses the entry [NAME] of the PC folder list
//   pc-file NAME           selects NAME in the PC file list
//   pc-path PATH           the path label reads PATH
//   columns-fit NAME       the columns of list NAME are as wide as their
//                          headings and cells need and fit its width
//   clip-ground            waits until the about clip shows, its ground in
//                          the colour of the page beside it
//   expect TEXT            a message box whose text holds TEXT was shown
//                          (also one shown before or without the sheet)
//   wait-file PATH         the file PATH exists
//   pause-for PATH         waits until PATH exists (made by the test driver)
//   close                  presses the sheet's close button
//   remote-key NAME        clicks the key NAME (as the key table names it) on
//                          the remote window's drawn calculator
//   remote-shows TEXT      the simulated calculator's home screen has TEXT as
//                          an entry or an answer, no key waits, and the
//                          remote window shows the calculator's screen as it
//                          is now
//   remote-close           closes the remote window
// Message boxes are answered with their first button (OK, or Yes).
bool StartTestScript(const std::string& scriptPath);
// The simulated calculator the sheet talks to, for remote-shows.
void SetTestScriptCalculator(CVirtualCalculator* calculator);
// After the sheet closed: true when every action of the script was done.
bool TestScriptPassed();
