#pragma once
// The phone book's export and import commands: a progress window with Cancel
// while they run, and a message when something went wrong.
class QWidget;
class TPhoneBookStore;

// Writes the text files; false when it was cancelled or a file could not be
// written (then the user is told which).
bool ExportBook(QWidget *owner, TPhoneBookStore &store);
// Replaces the book by the text files; false when it did not end well (the
// user is told why, and whether the old book was kept, unless he cancelled).
bool ImportBook(QWidget *owner, TPhoneBookStore &store);
