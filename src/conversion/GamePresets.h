#pragma once

#include "opl/ImfType.h"

#include <array>
#include <string_view>

namespace brivane {

// The games of the family: how each lays out its songs and the rate, in ticks per second, at
// which it plays them; each from the game's own source or its faithful reconstruction.
struct GamePreset {
    std::string_view Key;   // as --game and --to take it, and as the settings store it
    std::string_view Name;  // in messages and on the Convert button
    std::string_view Title; // as the Game menu shows it
    ImfType Layout;         // ImfHeaderless, or ImfLengthWord for a length word
    int OriginalTics;
    char AccessKey;         // the letter the menus underline, in Title and in Name alike
};

inline constexpr std::array<GamePreset, 6> kGamePresets{{
    // its engine reimplementation's music rate
    {"duke2", "Duke Nukem II", "Duke Nukem II (280)", ImfHeaderless, 280, 'D'},
    // one music tick per 560 Hz interrupt
    {"cosmo", "Cosmo's Cosmic Adventure", "Cosmo's Cosmic Adventure (560)", ImfHeaderless, 560, 'C'},
    // TickBase × 8
    {"keen", "Commander Keen 4\u20136", "Commander Keen 4\u20136 (560)", ImfLengthWord, 560, 'K'},
    {"biomenace", "Bio Menace", "Bio Menace (560)", ImfLengthWord, 560, 'B'},
    // TickBase × 10
    {"wolf3d", "Wolfenstein 3-D", "Wolfenstein 3-D and Spear of Destiny (700)", ImfLengthWord, 700, 'W'},
    {"blakestone", "Blake Stone", "Blake Stone (700)", ImfLengthWord, 700, 'S'},
}};

inline constexpr std::string_view kGameKeys = "duke2, cosmo, keen, biomenace, wolf3d, blakestone";

inline const GamePreset* FindGamePreset(std::string_view key)
{
    for (const GamePreset& preset : kGamePresets)
        if (preset.Key == key)
            return &preset;
    return nullptr;
}

} // namespace brivane
