#include "app/shell/Commands.h"

#include "app/common/LanguageTexts.h"
#include "app/shell/TMainForm.h"

#include <utility>

namespace {

// The menu bar's order gives the language file's Menu1..Menu5.
constexpr MenuLayout kMenus[] = {
    {"mnuFile", "&File", "Menu1",
     "actProjectOpen CloseProject1 | actProfileCompare AddProfile1 | actPrintPreview "
     "actPrintProfiles | actProjectNew actLoadData actLoadDataDevice | actApplicationExit"},
    {"mnuEdit", "&Edit", "Menu2", "actProfileCopyTo actProfileSave actProfileDelete"},
    {"mnuTools", "Tools", "Menu3", "actProfileSearch actSummary mnuLanguage"},
    {"mnuWindow", "&Window", "Menu4", "WindowTileHorizontal1 WindowTileVertical1 WindowCascade1"},
    {"mnuHelp", "&Help", "Menu5", "actHelpManual1 actHelpManual2 | UpdateDevice | HelpAbout", true},
};

constexpr const char* kToolBar =
    "actProjectOpen | actProjectNew actLoadData | actPrintPreview actPrintProfiles | "
    "actProfileCopyTo actProfileSave actProfileDelete | actProfileCompare | actProfileSearch "
    "actSummary | "
    "WindowCascade1 WindowTileHorizontal1 WindowTileVertical1 |";

} // namespace

std::span<const Command> MainCommands() {
    using M = TMainForm;
    // Menu entries of features still to come have neither category nor handler. Print takes
    // the print keys: it is the command that prints a selection, Print Preview only shows one
    // page.
    static constexpr Command kCommands[] = {
        {"actProjectNew", "Project", "&New Project", "Create New Project", "Action1", true, true,
         &M::actProjectNewExecute},
        {"actProjectOpen", "Project", "&Open Project",
         "Open existing project (directory with measurement data)", "Action2", true, true,
         &M::actProjectOpenExecute, QKeySequence::Open},
        {"actLoadData", "Project", "Load &Data", "Load measurement data", "Action4", false, true,
         &M::actLoadDataExecute},
        {"actLoadDataDevice", "Project", "Load from De&vice", "Load measurement data from device",
         "Action5", false, false, &M::actLoadDataDeviceExecute},
        {"actPrintPreview", "Print", "Print Pre&view", "Print preview of current profile",
         "Action6", false, true, &M::actPrintPreviewExecute},
        {"actPrintProfiles", "Print", "Print Profile&S", "Print selected profiles", "Action7", true,
         true, &M::actPrintProfilesExecute, QKeySequence::Print},
        {"actProfileCompare", "Profile", "Com&pare", "Compare two profiles", "Action8", true, true,
         &M::actProfileCompareExecute},
        {"actProfileCopyTo", "Profile", "&Copy To", "Copy selected profile to another directory",
         "Action9", false, true, &M::actProfileCopyToExecute},
        {"actProfileSave", "Profile", "&Save", "Save profile changes", "Action10", false, true,
         &M::actProfileSaveExecute, QKeySequence::Save},
        {"actProfileDelete", "Profile", "&Delete", "Delete current profile", "Action11", false,
         true, &M::actProfileDeleteExecute},
        {"actProfileSearch", "Profile", "Search", "Search profiles in the current project",
         "Action12", false, true, &M::actProfileSearchExecute, QKeySequence::Find},
        {"actSummary", "Profile", "Su&mmary", "Summary of all profiles of the current project",
         "Action17", false, true, &M::actSummaryExecute},
        {"WindowCascade1", "Window", "&Cascade", "", nullptr, true, true,
         &M::WindowCascade1Execute},
        {"WindowTileHorizontal1", "Window", "Tile &Horizontally", "", nullptr, true, true,
         &M::WindowTileHorizontal1Execute},
        {"WindowTileVertical1", "Window", "&Tile Vertically", "", nullptr, true, true,
         &M::WindowTileVertical1Execute},
        {"actHelpManual1", "Help", "Manual &1", "", "Action13", true, true,
         &M::actHelpManual1Execute, QKeySequence::HelpContents},
        {"actHelpManual2", "Help", "Manual &2", "", "Action14", true, true,
         &M::actHelpManual2Execute},
        {"UpdateDevice", "", "Update Device Software", "", nullptr, true, false, nullptr},
        {"HelpAbout", "Help", "&About...", "", nullptr, true, true, &M::HelpAboutExecute},
        {"actApplicationExit", "", "E&xit", "", nullptr, true, true, &M::actApplicationExitExecute,
         QKeySequence::Quit},
        {"CloseProject1", "", "&Close Project", "", nullptr, true, false, nullptr},
        {"AddProfile1", "", "&Add Profile ", "Add an existing profile to a profile comparison form",
         nullptr, false, true, nullptr},
    };
    return kCommands;
}

QList<QKeySequence> CommandKeys(QKeySequence::StandardKey key) {
    QList<QKeySequence> keys = QKeySequence::keyBindings(key);
    // Where the platform leaves Quit to the window manager (Alt+F4), Exit still gets the
    // Ctrl+Q most desktops know.
    if (keys.isEmpty() && key == QKeySequence::Quit)
        keys << QKeySequence(Qt::CTRL | Qt::Key_Q);
    return keys;
}

QString LanguageCommandName(const QString& code) {
    // The English entry keeps the spelling its name has always had.
    return code == QLatin1String("EN") ? QStringLiteral("actLanguageEn") : "actLanguage" + code;
}

std::span<const MenuLayout> MainMenus() {
    return kMenus;
}

QStringList LayoutEntries(const char* entries) {
    return QString(entries).split(' ', Qt::SkipEmptyParts);
}

QStringList ToolBarLayout() {
    return LayoutEntries(kToolBar);
}

void CommandTexts::Read(const LanguageTexts& texts) {
    const auto dialogText = [&texts](int key) {
        return texts.Text("Dialogs", QString::number(key));
    };
    dlgNewProject.title = dialogText(1);
    dlgNewProject.filter = dialogText(2);
    dlgOpenProject.title = dialogText(3);
    dlgOpenProject.filter = dialogText(4);
    dlgLoadData.title = dialogText(5);
    dlgLoadData.filter = dialogText(6);
    dlgCompare1.title = dialogText(7);
    dlgCompare1.filter = dialogText(8);
    dlgCompare2.title = dialogText(9);
    dlgCompare2.filter = dialogText(10);
    dlgCopyTo.filter = dialogText(11);
    dlgCopyTo.fileName = dialogText(12);
    dlgCopyTo.title = dialogText(13);

    for (int number = 1; number <= messages.size(); ++number)
        messages[number - 1] = texts.Text("Messages", QString::number(number));
    // Language files from before these texts keep the built-in ones.
    for (auto [key, text] : {std::pair{"MoveQuestion", &moveQuestion},
                             {"Moved", &moved},
                             {"OneProfile", &oneProfile},
                             {"Profiles", &profiles},
                             {"More", &more}})
        *text = texts.Value("ProfileCommands", key, *text);
}

QString CommandTexts::Message(int number) const {
    return number >= 1 && number <= messages.size() ? messages[number - 1] : QString();
}
