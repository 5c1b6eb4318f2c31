#pragma once
// The main window's commands, one row each, and the order in which the menus and the tool bar
// show them. Besides the texts a command carries, the texts its dialogs and messages show.
#include "app/common/Dialogs.h"

#include <QKeySequence>
#include <QString>
#include <QStringList>
#include <span>

class LanguageTexts;
class TMainForm;

struct Command {
    const char* name;     // the action's objectName; it also picks the icon
    const char* category; // empty: none
    const char* caption;  // built-in caption and hint, kept unless the language file has them
    const char* hint;
    const char* section; // the language file's section of caption and hint; nullptr: none
    bool enabled;        // when built; the availability rule takes over from there
    bool visible;
    void (TMainForm::*handler)(); // nullptr: the entry does nothing yet
    // The platform's usual keys for the command (Ctrl+S for Save on most systems); shown in
    // the menu entry and the tooltip.
    QKeySequence::StandardKey keys = QKeySequence::UnknownKey;
};

// Every command but the language ones, which follow ostiva::kLanguageCodes.
std::span<const Command> MainCommands();

// The platform's keys of a command's standard key.
QList<QKeySequence> CommandKeys(QKeySequence::StandardKey key);

// The language command of `code` ("EN" gives actLanguageEn).
QString LanguageCommandName(const QString& code);

// One menu of the menu bar or the language sub-menu.
struct MenuLayout {
    const char* name;
    const char* title;   // built-in title
    const char* section; // the language file's section of the title
    // Command names between blanks; kSeparator draws a line, kLanguageMenu.name places the
    // sub-menu.
    const char* entries;
    // Lines on both sides of a hidden entry stay, instead of collapsing into one.
    bool keepSeparators = false;
};

inline constexpr char kSeparator[] = "|";
// Its entries follow ostiva::kLanguageCodes.
inline constexpr MenuLayout kLanguageMenu{"mnuLanguage", "Language", "Action16", ""};

std::span<const MenuLayout> MainMenus();
// The names of a layout's entries, in order.
QStringList LayoutEntries(const char* entries);
QStringList ToolBarLayout();

// What the commands show besides their own caption and hint: their file dialogs and message
// texts 1..9, all replaced from the language file.
struct CommandTexts {
    FileDialogSpec dlgNewProject{"New Project",
                                 "Select parent directory and enter project name|...", "", ""};
    FileDialogSpec dlgOpenProject{"Open Project", "Ostiva files (zq*.*)|zq*.*", "", ""};
    FileDialogSpec dlgLoadData{"", "Ostiva files (zq*.*)|zq*.*", "", ""};
    FileDialogSpec dlgCompare1;
    FileDialogSpec dlgCompare2;
    FileDialogSpec dlgCopyTo{"", "...", "", "Select directory"};
    QStringList messages = QStringList(9); // texts 1..9 at 0..8
    // Copy To: "%1" the profiles, "%2" the folder; one profile and several ("%1" the number);
    // the last line of a list of failures cut short ("%1" the number left out).
    QString moveQuestion = "Move %1 to %2? They leave this project.";
    QString moved = "%1 moved to %2.";
    QString oneProfile = "1 profile";
    QString profiles = "%1 profiles";
    QString more = "... and %1 more.";

    void Read(const LanguageTexts& texts);
    // Empty outside 1..9 and before the language file was read.
    QString Message(int number) const;
};
