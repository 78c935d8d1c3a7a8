#include "ui/shared/MainMenu.h"

#include "conversion/GamePresets.h"
#include "ui/shared/MainWindowView.h"

namespace brivane {
namespace {

// "Commander &Keen 4-6": an "&" before the first `key` in the text, as both toolkits read it.
std::string WithAccessKey(std::string_view text, char key)
{
    std::string marked(text);
    if (const auto at = marked.find(key); at != std::string::npos)
        marked.insert(at, 1, '&');
    return marked;
}

std::vector<MenuEntry> GameItems(int firstCommand, bool byTitle)
{
    std::vector<MenuEntry> items;
    for (std::size_t i = 0; i < kGamePresets.size(); ++i) {
        const GamePreset& game = kGamePresets[i];
        items.push_back({WithAccessKey(byTitle ? game.Title : game.Name, game.AccessKey), {},
                         firstCommand + static_cast<int>(i), {}, true, {}});
    }
    return items;
}

std::vector<MenuEntry> MakeMenus()
{
    return {
        {"&File", "mnuFile", 0, {}, false, {{"E&xit", "mnuFileExit", kFileExit, {}, false, {}}}},
        {"&Options", "mnuOptions", 0, {}, false,
         {{"&Make Backups", "mnuOptionsMakeBackups", kOptionsMakeBackups, {}, true, {}},
          {"&Exact Timing", "mnuOptionsExactTiming", kOptionsExactTiming, {}, true, {}},
          {"Game M&usic...", "mnuOptionsGameMusic", kOptionsGameMusic, {}, false, {}},
          {"&Game", "mnuOptionsGame", 0, {}, false, GameItems(kOptionsGame, true)},
          {"Convert &To", "mnuOptionsConvertTo", 0, {}, false, GameItems(kOptionsConvertTo, false)}}},
        {"&Play", "mnuPlay", 0, {}, false,
         {{"&Play Song", "mnuPlayPlaySong", kPlayPlaySong, "Ctrl+P", false, {}},
          {"&Stop", "mnuPlayStop", kPlayStop, "Esc", false, {}}}},
        {"&Help", "mnuHelp", 0, {}, false, {{"&About", "mnuHelpAbout", kHelpAbout, {}, false, {}}}},
    };
}

} // namespace

const GamePreset* GameOfCommand(int command, int first)
{
    const auto index = static_cast<std::size_t>(command - first);
    return command >= first && index < kGamePresets.size() ? &kGamePresets[index] : nullptr;
}

bool MenuStates::Checked(int command) const
{
    if (command == kOptionsMakeBackups)
        return MakeBackups;
    if (command == kOptionsExactTiming)
        return ExactTiming;
    if (const GamePreset* marked = GameOfCommand(command, kOptionsGame))
        return marked == Game;
    if (const GamePreset* marked = GameOfCommand(command, kOptionsConvertTo))
        return marked == Target;
    return false;
}

bool MenuStates::Enabled(int command) const
{
    return command == kPlayPlaySong ? CanPlay : command == kPlayStop ? CanStop : true;
}

const std::vector<MenuEntry>& MainMenus()
{
    static const std::vector<MenuEntry> menus = MakeMenus();
    return menus;
}

} // namespace brivane
